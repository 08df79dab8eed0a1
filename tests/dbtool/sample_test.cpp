// The sample building: sizes, determinism, and the formats and relations the tools rely on.
#include "sample/sample.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>
#include <set>

#include "store/database.h"
#include "store/engine/handle.h"
#include "store/schema.h"
#include "store/table.h"
#include "store/text_case.h"
#include "support.h"
#include "support/temp_dir.h"

using namespace store;
namespace names = store::schema;

namespace {

using Records = std::vector<std::vector<Value>>;

Records readAll(const Database& db, const std::string& table) {
  Table cursor = db.openTable(table);
  Records records;
  if (cursor.eof()) return records;
  for (cursor.moveFirst(); !cursor.eof(); cursor.moveNext()) {
    std::vector<Value> record;
    for (std::size_t i = 0; i < cursor.fieldCount(); ++i) record.push_back(cursor.field(i));
    records.push_back(std::move(record));
  }
  return records;
}

std::vector<std::string> column(const Database& db, const std::string& table,
                                const std::string& field) {
  const std::size_t at = *db.tableDef(table).fieldPosition(field);
  std::vector<std::string> values;
  for (const auto& record : readAll(db, table))
    values.push_back(record[at].isNull() ? "<null>" : record[at].toText());
  return values;
}

bool isUpper(const std::string& text) { return toUpper(text) == text; }

class SampleTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;

  Database make(const sample::Options& options, const std::string& name = "JOX_S.MDB") {
    sample::writeBuilding(dir.file(name), options);
    return Database::open(dir.file(name));
  }
};

TEST_F(SampleTest, CountsFollowTheOptions) {
  const struct { int rooms, banks; } sizes[] = {{300, 5}, {7, 1}, {45, 3}, {0, 2}, {12, 0}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(std::to_string(size.rooms) + " rooms, " + std::to_string(size.banks) + " banks");
    const std::string name =
        "JOX_" + std::to_string(size.rooms) + "_" + std::to_string(size.banks) + ".MDB";
    Database db = make({size.rooms, size.banks, 3}, name);
    EXPECT_EQ(readAll(db, names::roomInfo).size(), static_cast<std::size_t>(size.rooms));
    EXPECT_EQ(readAll(db, names::roomTime).size(), static_cast<std::size_t>(size.rooms));
    const Records inventory = readAll(db, names::roomInventory);
    ASSERT_EQ(inventory.size(), static_cast<std::size_t>(size.rooms * size.banks));
    std::vector<std::string> banks;
    for (int b = 1; b <= size.banks; ++b) banks.push_back(std::to_string(b));
    EXPECT_EQ(column(db, names::inventoryBanks, names::bank), banks);
    // One record per room and bank, room after room.
    const std::vector<std::string> rooms = column(db, names::roomInfo, names::roomNumber);
    const std::vector<std::string> inventoryRooms =
        column(db, names::roomInventory, names::roomNumber);
    const std::vector<std::string> inventoryBanks = column(db, names::roomInventory, names::bank);
    for (std::size_t i = 0; i < inventory.size(); ++i) {
      EXPECT_EQ(inventoryRooms[i], rooms[i / static_cast<std::size_t>(size.banks)]);
      EXPECT_EQ(inventoryBanks[i], banks[i % static_cast<std::size_t>(size.banks)]);
    }
    EXPECT_GE(readAll(db, names::scheduleDescribe).size(), 24u);
  }
}

TEST_F(SampleTest, SameOptionsGiveTheSameContentAndOtherNumbersOther) {
  make({150, 4, 5}, "JOX_A.MDB");
  make({150, 4, 5}, "JOX_B.MDB");
  make({150, 4, 6}, "JOX_C.MDB");
  const std::string a = dbtest::exportText(dir.file("JOX_A.MDB"));
  EXPECT_EQ(dbtest::exportText(dir.file("JOX_B.MDB")), a);
  EXPECT_NE(dbtest::exportText(dir.file("JOX_C.MDB")), a);
  EXPECT_NE(sample::roomNumbers({150, 4, 6}), sample::roomNumbers({150, 4, 5}));
}

TEST_F(SampleTest, RoomNumbersAreTheStoredOnesInOrder) {
  const sample::Options options{260, 2, 11};
  Database db = make(options);
  const std::vector<std::string> numbers = sample::roomNumbers(options);
  EXPECT_EQ(column(db, names::roomInfo, names::roomNumber), numbers);
  EXPECT_EQ(column(db, names::roomTime, names::roomNumber), numbers);
}

TEST_F(SampleTest, RoomsKeepTheKeyFormats) {
  Database db = make({2000, 1, 21});
  std::set<std::string> seen;
  int unnamed = 0;
  for (const auto& room : readAll(db, names::roomInfo)) {
    const std::string number = room[0].text();
    EXPECT_TRUE(seen.insert(toUpper(number)).second) << "twice: " << number;
    EXPECT_FALSE(number.empty());
    EXPECT_LE(number.size(), 20u);
    EXPECT_EQ(number.find(','), std::string::npos) << number;
    EXPECT_TRUE(isUpper(number)) << number;
    EXPECT_NE(number.front(), ' ');
    EXPECT_NE(number.back(), ' ');
    if (room[1].isNull()) {
      ++unnamed;
    } else {
      EXPECT_LE(characterCount(room[1].text()), 24u) << room[1].text();
      EXPECT_TRUE(isUpper(room[1].text())) << room[1].text();
    }
  }
  EXPECT_GE(unnamed, 5);
  EXPECT_LE(unnamed, 100);
  // Floor and wing patterns such as "1-101", "2A-214" and "B-012".
  bool wing = false;
  for (const std::string& number : seen)
    wing = wing || (number.size() > 2 && number[1] >= 'A' && number[1] <= 'H' && number[2] == '-');
  EXPECT_TRUE(wing);
}

TEST_F(SampleTest, SchedulesHaveNumberedLinesAndSomeAreUnused) {
  Database db = make({400, 1, 2});
  std::map<std::string, std::vector<std::int64_t>> lines;
  for (const auto& line : readAll(db, names::scheduleLines)) {
    lines[line[0].text()].push_back(line[1].integer());
    EXPECT_FALSE(line[2].text().empty());
    EXPECT_LE(characterCount(line[3].text()), 10u);
  }
  std::set<std::string> codes;
  for (const auto& schedule : readAll(db, names::scheduleDescribe)) {
    const std::string code = schedule[0].text();
    codes.insert(code);
    EXPECT_LE(code.size(), 6u);
    EXPECT_TRUE(isUpper(code));
    const auto& numbers = lines[code];
    EXPECT_GE(numbers.size(), 3u) << code;
    EXPECT_LE(numbers.size(), 8u) << code;
    for (std::size_t i = 0; i < numbers.size(); ++i)
      EXPECT_EQ(numbers[i], static_cast<std::int64_t>(i + 1)) << code;
  }
  EXPECT_EQ(lines.size(), codes.size());
  std::set<std::string> used;
  for (const std::string& code : column(db, names::roomInfo, names::schedule)) {
    if (code == "<null>") continue;
    EXPECT_TRUE(codes.count(code)) << code;
    used.insert(code);
  }
  EXPECT_GE(codes.size() - used.size(), 4u);
  EXPECT_GT(used.size(), codes.size() / 2);
}

TEST_F(SampleTest, SortValuesAndAssignmentsReferToWhatExists) {
  Database db = make({600, 2, 4});
  const std::vector<std::string> roomList = column(db, names::roomInfo, names::roomNumber);
  const std::set<std::string> rooms(roomList.begin(), roomList.end());
  for (const auto& [field, table] : {std::pair{names::sortField1, names::invSortField1},
                                     std::pair{names::sortField2, names::invSortField2}}) {
    std::set<std::string> used;
    int empty = 0;
    for (const std::string& value : column(db, names::roomInfo, field)) {
      if (value == "<null>")
        ++empty;
      else
        used.insert(value);
    }
    const std::vector<std::string> listed = column(db, table, names::sortField);
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), used) << table;
    EXPECT_GT(empty, 0) << field;
    for (const std::string& value : listed) EXPECT_TRUE(isUpper(value));
  }
  const std::vector<std::string> areas = column(db, names::areaAssignments, names::areaAssignment);
  EXPECT_GT(areas.size(), 400u);
  for (const std::string& area : areas) {
    EXPECT_TRUE(isUpper(area));
    EXPECT_LE(area.size(), 10u);
  }
  for (const std::string& room : column(db, names::areaAssignments, names::roomNumber))
    EXPECT_TRUE(rooms.count(room)) << room;
  const std::vector<std::string> projects =
      column(db, names::projectAssignments, names::roomNumber);
  EXPECT_FALSE(projects.empty());
  for (const std::string& room : projects) EXPECT_TRUE(rooms.count(room)) << room;
  const std::set<std::string> areaSet(areas.begin(), areas.end());
  for (const std::string& area : column(db, names::projectAssignments, names::areaAssignment))
    EXPECT_TRUE(areaSet.count(area));
}

TEST_F(SampleTest, InventoryIsMostlyZeroWithFloorAreas) {
  Database db = make({300, 3, 8});
  const TableDef def = db.tableDef(names::roomInventory);
  const std::size_t bank = *def.fieldPosition(names::bank), tile = *def.fieldPosition("1"),
                    carpet = *def.fieldPosition("2");
  int zero = 0, other = 0, withArea = 0, fractional = 0, firstBank = 0;
  for (const auto& record : readAll(db, names::roomInventory)) {
    for (int item = 1; item <= names::quantityCount; ++item) {
      const Value& quantity = record[*def.fieldPosition(names::quantityField(item))];
      ASSERT_EQ(quantity.kind(), Value::Kind::Double);
      (quantity.number() == 0 ? zero : other)++;
      if (quantity.number() != static_cast<double>(static_cast<long long>(quantity.number())))
        ++fractional;
    }
    if (record[bank].integer() == 1) {
      ++firstBank;
      if (record[tile].number() > 0 || record[carpet].number() > 0) ++withArea;
    }
  }
  EXPECT_GT(zero, 30 * other);
  EXPECT_GT(fractional, 10);
  EXPECT_GT(withArea, firstBank * 3 / 4);
}

// Raw storage classes: what a cursor's writes would give, text as text, whole numbers as INTEGER,
// double fields as REAL or, for whole values, INTEGER (numeric affinity), dates as ISO text.
TEST_F(SampleTest, ValuesAreStoredAsTheStoreStoresThem) {
  Database db = make({30, 2, 1});
  const auto typesOf = [&](const std::string& sql) {
    std::set<std::string> types;
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(store::engineHandle(db), sql.c_str(), -1, &stmt, nullptr),
              SQLITE_OK)
        << sql;
    while (sqlite3_step(stmt) == SQLITE_ROW)
      types.insert(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return types;
  };
  using Types = std::set<std::string>;
  EXPECT_EQ(typesOf("SELECT typeof(\"1\") FROM \"Room Inventory\" UNION SELECT typeof(\"100\") "
                    "FROM \"Room Inventory\""),
            (Types{"integer", "real"}));
  EXPECT_EQ(typesOf("SELECT typeof(\"Bank\") FROM \"Room Inventory\" UNION SELECT typeof(\"Bank\") "
                    "FROM \"Inventory Banks\""),
            Types{"integer"});
  EXPECT_EQ(typesOf("SELECT typeof(\"Line Number\") FROM \"Cleaning Schedules\""),
            Types{"integer"});
  EXPECT_EQ(typesOf("SELECT typeof(\"Room Number\") FROM \"Room Time\" UNION SELECT typeof(\"Misc "
                    "Time\") FROM \"Room Time\""),
            Types{"text"});
  EXPECT_EQ(
      typesOf("SELECT \"Last Updated\" GLOB '20[12][0-9]-[01][0-9]-[0-3][0-9]' FROM \"Room Time\""),
      Types{"1"});
  EXPECT_EQ(typesOf("SELECT typeof(\"Daily Normal1\") FROM \"Room Time\""),
            (Types{"integer", "real"}));
  const Records times = readAll(db, names::roomTime);
  EXPECT_TRUE(times[0][1].isDate());
  EXPECT_EQ(times[0][14], Value(""));
}

TEST_F(SampleTest, RefusesAnExistingPath) {
  const std::string path = dir.file("JOX_S.MDB");
  testsupport::writeFile(path, "keep me");
  EXPECT_THROW(sample::writeBuilding(path, {}), store::Error);
  EXPECT_THROW(sample::writeAccount(path, {"S"}, 1), store::Error);
  EXPECT_EQ(testsupport::readFile(path), "keep me");
}

TEST_F(SampleTest, AccountGivesAdminEveryBuildingAndOthersSome) {
  const std::string path = dir.file("JOXINIT.MDB");
  sample::writeAccount(path, {"Main", "NORTH2"}, 1);
  Database db = Database::open(path);
  std::map<std::string, std::set<std::string>> access;
  std::vector<std::string> order;
  for (const auto& record : readAll(db, names::userAccess)) {
    const std::string user = record[0].text();
    if (order.empty() || order.back() != user) order.push_back(user);
    access[user].insert(record[1].text());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"ADMIN", "USER1", "USER2",
                                             "USER3"}));  // each user's records together
  EXPECT_TRUE(access["ADMIN"].count("Main") && access["ADMIN"].count("NORTH2"));
  EXPECT_GT(access["ADMIN"].size(), 2u);
  EXPECT_TRUE(access["USER1"].count("Main"));
  EXPECT_FALSE(access["USER2"].count("Main"));
  EXPECT_EQ(access["USER3"], (std::set<std::string>{"Main", "NORTH2"}));
  int empty = 0;
  for (std::uint64_t variant = 1; variant <= 4; ++variant) {
    const std::string other = dir.file("JOXINIT" + std::to_string(variant) + ".MDB");
    sample::writeAccount(other, {"A", "B", "C"}, variant);
    for (const auto& record : readAll(Database::open(other), names::userAccess))
      empty += record[2].isNull() + record[3].isNull();
  }
  EXPECT_GT(empty, 0);
}

TEST_F(SampleTest, AccountRefusesACodeLongerThanItsFieldAndLeavesNoFile) {
  EXPECT_THROW(sample::writeAccount(dir.file("JOXINIT.MDB"), {"FAR TOO LONG CODE"}, 1),
               store::Error);
  EXPECT_TRUE(dbtest::filesIn(dir.path()).empty());
}

}  // namespace
