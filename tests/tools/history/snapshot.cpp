#include "snapshot.h"

#include <gtest/gtest.h>

#include "store/database.h"
#include "store/history.h"
#include "store/table.h"
#include "store/text_case.h"

namespace historytest {

bool Records::has(std::string_view field) const {
  for (const std::string& name : fields) {
    if (store::compareFolded(name, field) == 0) return true;
  }
  return false;
}

std::size_t Records::column(std::string_view field) const {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (store::compareFolded(fields[i], field) == 0) return i;
  }
  ADD_FAILURE() << "no field " << field;
  return 0;
}

std::vector<Row> Records::where(std::string_view field, const std::string& upper) const {
  const std::size_t at = column(field);
  std::vector<Row> found;
  for (const Row& row : rows) {
    if (upperText(row[at]) == upper) found.push_back(row);
  }
  return found;
}

std::size_t Records::count(std::string_view field, const std::string& upper) const {
  return where(field, upper).size();
}

store::Value Records::fitted(std::size_t column, double number) const {
  return store::Value(single[column] ? static_cast<double>(static_cast<float>(number)) : number);
}

Snapshot snapshotOf(const std::string& path) {
  store::Database db = store::Database::open(path);
  Snapshot snapshot;
  for (const std::string& name : db.tableNames()) {
    if (store::isHistoryTable(name)) continue;
    store::Table table = db.openTable(name);
    Records& records = snapshot[name];
    for (const store::FieldDef& field : table.def().fields) {
      records.fields.push_back(field.name);
      records.single.push_back(field.type == store::FieldType::Double && field.size == 4);
    }
    for (store::moveToFirst(table); !table.eof(); table.moveNext()) {
      Row& row = records.rows.emplace_back();
      for (std::size_t i = 0; i < table.fieldCount(); ++i) row.push_back(table.field(i));
    }
  }
  return snapshot;
}

namespace {

std::string shown(const store::Value& value) {
  return value.isNull() ? "<null>" : "'" + value.toText() + "'";
}

std::string rowDifference(const Records& expected, const Records& actual) {
  if (expected.fields != actual.fields) return "other fields";
  for (std::size_t r = 0; r < expected.rows.size() && r < actual.rows.size(); ++r) {
    for (std::size_t f = 0; f < expected.fields.size(); ++f) {
      const store::Value& want = expected.rows[r][f];
      const store::Value& got = actual.rows[r][f];
      if (want == got && want.kind() == got.kind()) continue;
      return "record " + std::to_string(r + 1) + ", field " + expected.fields[f] + ": expected " +
             shown(want) + ", actual " + shown(got);
    }
  }
  if (expected.rows.size() != actual.rows.size()) {
    return std::to_string(expected.rows.size()) + " records expected, " +
           std::to_string(actual.rows.size()) + " found";
  }
  return "";
}

}  // namespace

std::string differenceOf(const Snapshot& expected, const Snapshot& actual) {
  for (const auto& [table, records] : expected) {
    const auto found = actual.find(table);
    if (found == actual.end()) return "no table " + table;
    if (const std::string why = rowDifference(records, found->second); !why.empty()) {
      return table + ", " + why;
    }
  }
  return expected.size() == actual.size() ? "" : "other tables";
}

std::string upperText(const store::Value& value) { return store::toUpper(value.toText()); }

}  // namespace historytest
