#include "converted_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "store/schema.h"

namespace historytest {

namespace sch = store::schema;
using store::Value;

namespace {

// The building with `newValue` wherever one of the fields reads `upperOld`.
Snapshot renamed(Snapshot building, const FieldOf& fields, const std::string& upperOld,
                 const std::string& newValue) {
  for (const auto& [table, field] : fields) {
    Records& records = building.at(table);
    const std::size_t at = records.column(field);
    for (Row& row : records.rows) {
      if (upperText(row[at]) == upperOld) row[at] = Value(newValue);
    }
  }
  return building;
}

}  // namespace

FieldOf tablesWith(const Snapshot& building, const char* field) {
  FieldOf found;
  for (const auto& [table, records] : building) {
    if (records.has(field)) found.emplace_back(table, field);
  }
  return found;
}

std::string lower(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return text;
}

void add(Counts& counts, const std::string& table, std::size_t kind, std::size_t n) {
  if (n > 0) counts[table][kind] += static_cast<std::int64_t>(n);
}

Counts changedBetween(const Snapshot& before, const Snapshot& expected) {
  Counts counts;
  for (const auto& [table, records] : before) {
    const std::vector<Row>& now = expected.at(table).rows;
    std::size_t changed = 0;
    for (std::size_t r = 0; r < records.rows.size(); ++r) {
      for (std::size_t f = 0; f < records.fields.size(); ++f) {
        const Value& was = records.rows[r][f];
        if (!(was == now[r][f]) || was.kind() != now[r][f].kind()) {
          ++changed;
          break;
        }
      }
    }
    add(counts, table, 1, changed);
  }
  return counts;
}

Counts expectRenamed(const Snapshot& before, const Snapshot& after, const FieldOf& fields,
                     const std::string& upperOld, const std::string& newValue) {
  const Snapshot expected = renamed(before, fields, upperOld, newValue);
  EXPECT_EQ(differenceOf(expected, after), "");
  return changedBetween(before, expected);
}

Row* rowOf(Snapshot& building, const char* table, const char* field, const std::string& upper,
           const Value& bank) {
  Records& records = building.at(table);
  for (Row& row : records.rows) {
    if (upperText(row[records.column(field)]) != upper) continue;
    if (bank.isNull() || row[records.column(sch::bank)] == bank) return &row;
  }
  ADD_FAILURE() << "no record " << upper << " in " << table;
  static Row none;
  return &none;
}

std::map<std::string, std::vector<Row>> appended(const Snapshot& expected, Snapshot after) {
  std::map<std::string, std::vector<Row>> added;
  for (auto& [table, records] : after) {
    const std::size_t kept = expected.count(table) ? expected.at(table).rows.size() : 0;
    if (records.rows.size() <= kept) continue;
    added[table].assign(records.rows.begin() + static_cast<std::ptrdiff_t>(kept),
                        records.rows.end());
    records.rows.resize(kept);
  }
  EXPECT_EQ(differenceOf(expected, after), "") << "the records that were there before";
  return added;
}

void expectNewRoom(const Snapshot& building, const Row& row, const std::string& number,
                   const std::string& name, const std::string& schedule) {
  const Records& info = building.at(sch::roomInfo);
  EXPECT_EQ(row[info.column(sch::roomNumber)], Value(number));
  EXPECT_EQ(row[info.column(sch::roomName)], Value(name));
  EXPECT_EQ(row[info.column(sch::schedule)], Value(schedule));
  if (info.has("Active")) {
    const Value active = row[info.column("Active")];
    EXPECT_EQ(active.kind(), Value::Kind::Boolean) << number << " is active: " << active.toText();
    EXPECT_EQ(active, Value::boolean(false)) << number;
  }
}

void carry(Snapshot& building, const std::vector<std::string>& sources, Row& target) {
  const Records& inventory = building.at(sch::roomInventory);
  const Value bank = target[inventory.column(sch::bank)];
  for (const std::string& source : sources) {
    const Row from = *rowOf(building, sch::roomInventory, sch::roomNumber, source, bank);
    for (int item = 1; item <= sch::quantityCount; ++item) {
      const std::size_t at = inventory.column(sch::quantityField(item));
      target[at] = inventory.fitted(at, target[at].number() + from[at].number());
    }
  }
}

Snapshot withoutRooms(Snapshot building, const std::vector<std::string>& rooms, Counts& counts) {
  for (auto& [table, records] : building) {
    if (!records.has(sch::roomNumber)) continue;
    const std::size_t at = records.column(sch::roomNumber);
    const std::size_t was = records.rows.size();
    std::erase_if(records.rows, [&](const Row& row) {
      return std::find(rooms.begin(), rooms.end(), row[at].toText()) != rooms.end();
    });
    add(counts, table, 2, was - records.rows.size());
  }
  return building;
}

}  // namespace historytest
