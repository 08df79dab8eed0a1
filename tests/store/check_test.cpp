// The check of a building database: each kind of finding from one fault put into a sound
// building, the mend of each (what it removes, renumbers and makes, and what it leaves alone),
// the engine's own report, and the refusals of a database that cannot be checked.
#include "store/check.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "store/engine/handle.h"
#include "store/history.h"
#include "store/schema.h"
#include "support/building.h"
#include "support/temp_dir.h"

namespace {

namespace sch = store::schema;
using store::Value;

void sql(store::Database& db, const std::string& text) {
  char* message = nullptr;
  const int rc = sqlite3_exec(store::engineHandle(db), text.c_str(), nullptr, nullptr, &message);
  const std::string why = message ? message : "";
  sqlite3_free(message);
  ASSERT_EQ(rc, SQLITE_OK) << why << "\n" << text;
}

// A sound building: rooms 101, 102 and 10A (whose other records write it 10a, and whose
// schedule is a1), with their times, inventories in banks 1 and 2, listed sort values, a
// described schedule with lines, and assignments.
void fill(store::Database& db) {
  testsupport::addRooms(db, {{"101", Value("LAB"), Value("A1"), Value("EAST"), Value("FLOOR 1")},
                             {"102", Value(), Value("A1")},
                             {"10A", Value("HALL"), Value("a1"), Value("east")}});
  testsupport::addSchedule(db, "A1", "DAILY", 2);
  for (int bank : {1, 2}) testsupport::addBank(db, bank);
  for (const char* room : {"101", "102", "10a"}) {
    testsupport::addTime(db, room);
    for (int bank : {1, 2}) testsupport::addInventory(db, room, bank);
  }
  sql(db,
      "INSERT INTO \"Inv Sort Field 1\" VALUES ('EAST', 'EAST WING');"
      "INSERT INTO \"Inv Sort Field 2\" VALUES ('FLOOR 1', 'GROUND');"
      "INSERT INTO \"Area Assignments\" VALUES ('A', '101', 'SAM'), ('A', '10a', 'SAM');"
      "INSERT INTO \"Project Assignments\" VALUES ('P', '102', 'PAINT');");
}

// A finding as one line: kind, table, key, mend.
std::string line(const store::Finding& f) {
  return std::string(store::kindCode(f.kind)) + " | " + f.table + " | " + store::keyText(f) +
         " | " + (f.mendable ? "mend: " : "") + f.mend;
}

std::vector<std::string> lines(const store::CheckResult& result) {
  std::vector<std::string> out;
  for (const store::Finding& f : result.findings) out.push_back(line(f));
  return out;
}

struct Case {
  const char* name;
  const char* fault;  // SQL put into the sound building
  std::vector<std::string> findings;
  // After the mend and a check again: what is left, and rows of tables that show the mend.
  std::vector<std::string> left;
  std::vector<std::pair<const char*, std::vector<std::string>>> numbers;  // room numbers per table
};

std::vector<std::string> numbersOf(store::Database& db, const char* table) {
  std::vector<std::string> out;
  for (const auto& row : testsupport::rows(db, table))
    out.push_back(row[db.tableDef(table).fieldPosition(sch::roomNumber).value()]);
  return out;
}

const std::vector<Case> cases = {
    {"Sound", "", {}, {}, {}},
    {"InventoryOfMissingRoom",
     "INSERT INTO \"Room Inventory\" (\"Room Number\", \"Bank\") VALUES ('X9', 1), ('X9', 2)",
     {"missing-room | Room Inventory | Room Number \"X9\", Bank 1 | mend: removed",
      "missing-room | Room Inventory | Room Number \"X9\", Bank 2 | mend: removed"},
     {},
     {{"Room Inventory", {"101", "101", "102", "102", "10a", "10a"}}}},
    {"TimesAndAssignmentsOfMissingRooms",
     "INSERT INTO \"Room Time\" (\"Room Number\") VALUES ('X9'), (NULL);"
     "INSERT INTO \"Area Assignments\" VALUES ('B', 'X9', 'JO');"
     "INSERT INTO \"Project Assignments\" VALUES ('P', '1O1', 'JO')",
     {"missing-room | Room Time | Room Number \"X9\" | mend: removed",
      "missing-room | Room Time | Room Number (none) | mend: removed",
      "missing-room | Area Assignments | Area Assignment \"B\", Room Number \"X9\" | mend: removed",
      "missing-room | Project Assignments | Area Assignment \"P\", Room Number \"1O1\" | mend: "
      "removed"},
     {},
     {{"Room Time", {"101", "102", "10a"}},
      {"Area Assignments", {"101", "10a"}},
      {"Project Assignments", {"102"}}}},
    {"RoomWithoutTime",
     "DELETE FROM \"Room Time\" WHERE \"Room Number\" = '102'",
     {"no-room-time | Room Info | Room Number \"102\" | mend: a \"Room Time\" record is made"},
     {},
     {{"Room Time", {"101", "10a", "102"}}}},
    {"CodesWithoutDescriptions",
     "UPDATE \"Room Info\" SET \"Schedule\" = 'ZZ', \"Sort Field 2\" = 'ROOF' WHERE \"Room "
     "Number\" = '102';"
     "INSERT INTO \"Cleaning Schedules\" (\"Cleaning Schedule\", \"Line Number\") VALUES ('ZZ', 1);"
     "INSERT INTO \"Room Inventory\" (\"Room Number\", \"Bank\") VALUES ('102', 3)",
     {"undescribed-schedule | Room Info | Room Number \"102\" | ",
      "undescribed-line | Cleaning Schedules | Cleaning Schedule \"ZZ\", Line Number 1 | ",
      "unlisted-sort-value | Room Info | Room Number \"102\" | ",
      "unknown-bank | Room Inventory | Room Number \"102\", Bank 3 | "},
     {"undescribed-schedule | Room Info | Room Number \"102\" | ",
      "undescribed-line | Cleaning Schedules | Cleaning Schedule \"ZZ\", Line Number 1 | ",
      "unlisted-sort-value | Room Info | Room Number \"102\" | ",
      "unknown-bank | Room Inventory | Room Number \"102\", Bank 3 | "},
     {}},
    // Each record of the room carries the malformed number; the mend rewrites them all.
    {"NumberTrimmedAndUpperCased",
     "UPDATE \"Room Info\" SET \"Room Number\" = ' 10b ' WHERE \"Room Number\" = '10A';"
     "UPDATE \"Room Time\" SET \"Room Number\" = ' 10B ' WHERE \"Room Number\" = '10a';"
     "UPDATE \"Room Inventory\" SET \"Room Number\" = ' 10b ' WHERE \"Room Number\" = '10a';"
     "UPDATE \"Area Assignments\" SET \"Room Number\" = ' 10b ' WHERE \"Room Number\" = '10a'",
     {"key-format | Room Info | Room Number \" 10b \" | mend: becomes \"10B\""},
     {},
     {{"Room Info", {"101", "102", "10B"}},
      {"Room Time", {"101", "102", "10B"}},
      {"Room Inventory", {"101", "101", "102", "102", "10B", "10B"}},
      {"Area Assignments", {"101", "10B"}}}},
    {"NumberWithCommaLeftAlone",
     "UPDATE \"Room Info\" SET \"Room Number\" = '1,02' WHERE \"Room Number\" = '102';"
     "UPDATE \"Room Time\" SET \"Room Number\" = '1,02' WHERE \"Room Number\" = '102';"
     "DELETE FROM \"Room Inventory\" WHERE \"Room Number\" = '102';"
     "DELETE FROM \"Project Assignments\"",
     {"key-format | Room Info | Room Number \"1,02\" | left alone: a comma has no sound mend"},
     {"key-format | Room Info | Room Number \"1,02\" | left alone: a comma has no sound mend"},
     {{"Room Info", {"101", "1,02", "10A"}}}},
    // " 102" and "102" would share a number: neither the room nor the other's records move.
    {"TrimThatWouldShareANumber",
     "INSERT INTO \"Room Info\" (\"Room Number\") VALUES (' 102'), ('x7 '), (' X7');"
     "INSERT INTO \"Room Time\" (\"Room Number\") VALUES (' 102'), ('x7 '), (' X7')",
     {"key-format | Room Info | Room Number \" 102\" | left alone: another room would have the "
      "number \"102\"",
      "key-format | Room Info | Room Number \"x7 \" | left alone: another room would have the "
      "number \"X7\"",
      "key-format | Room Info | Room Number \" X7\" | left alone: another room would have the "
      "number \"X7\""},
     {"key-format | Room Info | Room Number \" 102\" | left alone: another room would have the "
      "number \"102\"",
      "key-format | Room Info | Room Number \"x7 \" | left alone: another room would have the "
      "number \"X7\"",
      "key-format | Room Info | Room Number \" X7\" | left alone: another room would have the "
      "number \"X7\""},
     {{"Room Info", {"101", "102", "10A", " 102", "x7 ", " X7"}}}},
    // Records that hold the number a trim would give may be the room's own: both stay.
    {"TrimMeetingRecordsOfThatNumber",
     "INSERT INTO \"Room Info\" (\"Room Number\") VALUES (' 104');"
     "INSERT INTO \"Room Time\" (\"Room Number\") VALUES (' 104');"
     "INSERT INTO \"Room Inventory\" (\"Room Number\", \"Bank\") VALUES ('104', 1)",
     {"missing-room | Room Inventory | Room Number \"104\", Bank 1 | left alone: a room's number "
      "differs from it only in blanks at an end",
      "key-format | Room Info | Room Number \" 104\" | left alone: \"Room Inventory\" has records "
      "of \"104\""},
     {"missing-room | Room Inventory | Room Number \"104\", Bank 1 | left alone: a room's number "
      "differs from it only in blanks at an end",
      "key-format | Room Info | Room Number \" 104\" | left alone: \"Room Inventory\" has records "
      "of \"104\""},
     {{"Room Inventory", {"101", "101", "102", "102", "10a", "10a", "104"}}}},
};

class CheckCase : public ::testing::TestWithParam<Case> {
 protected:
  testsupport::TempDir dir;
  std::string path = dir.file("JOX_CHECK.MDB");
};

TEST_P(CheckCase, FindsAndMends) {
  const Case& c = GetParam();
  store::Database db = testsupport::makeBuilding(path);
  fill(db);
  sql(db, c.fault);
  const store::CheckResult found = store::checkDatabase(db);
  ASSERT_TRUE(found.ok()) << found.message();
  EXPECT_EQ(lines(found), c.findings);
  EXPECT_TRUE(store::listRuns(db).empty()) << "the check wrote";

  const store::MendResult mend = store::mendDatabase(db);
  ASSERT_TRUE(mend.ok()) << mend.message();
  EXPECT_EQ(lines(mend.found), c.findings);
  EXPECT_EQ(lines(store::checkDatabase(db)), c.left);
  for (const auto& [table, numbers] : c.numbers) EXPECT_EQ(numbersOf(db, table), numbers) << table;
  const auto runs = store::listRuns(db);
  if (mend.mended() == 0) {
    EXPECT_TRUE(runs.empty());
  } else {
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].function, "Check Database");
    EXPECT_EQ(runs[0].detail, "Mend");
  }
}

INSTANTIATE_TEST_SUITE_P(Building, CheckCase, ::testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

// The time record a mend makes is the one Auto Generate Rooms makes for a new room.
TEST(CheckMend, MakesTimeAsTheFunctionsDo) {
  testsupport::TempDir dir;
  store::Database db = testsupport::makeBuilding(dir.file("JOX_T.MDB"));
  testsupport::addRoom(db, {"7", Value(), Value()});
  ASSERT_EQ(store::mendDatabase(db).timesAdded, 1);
  const auto rows = testsupport::rows(db, sch::roomTime);
  ASSERT_EQ(rows.size(), 1u);
  std::vector<std::string> expected{"7", Value(store::Date::today()).toText()};
  for (std::size_t k = 0; k < sch::timeFields.size(); ++k) expected.push_back("0");
  expected.push_back("");
  EXPECT_EQ(rows[0], expected);
}

// Without a unique room key two rooms may share a number, letter case aside.
TEST(CheckFinds, DuplicateNumbers) {
  testsupport::TempDir dir;
  store::Database db = store::Database::create(dir.file("JOX_D.MDB"));
  for (store::TableDef table : sch::buildingTables()) {
    for (store::IndexDef& index : table.indexes) index.unique = false;
    db.createTable(table);
  }
  testsupport::addRooms(
      db, {{"5A", Value(), Value()}, {"5a", Value(), Value()}, {"6", Value(), Value()}});
  for (const char* room : {"5A", "6"}) testsupport::addTime(db, room);
  EXPECT_EQ(lines(store::checkDatabase(db)),
            (std::vector<std::string>{"key-format | Room Info | Room Number \"5a\" | left alone: "
                                      "another room would have the number \"5A\"",
                                      "duplicate-number | Room Info | Room Number \"5A\" | "}));
}

// Index entries written under another order than the store's case-blind one: the engine's check
// reports them, and nothing is mended while it does.
TEST(CheckFinds, WhatTheEngineReports) {
  testsupport::TempDir dir;
  const std::string path = dir.file("JOX_E.MDB");
  sch::createBuildingDatabase(path);
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  sqlite3_create_collation(raw, "FOLD", SQLITE_UTF8, nullptr,
                           [](void*, int la, const void* a, int lb, const void* b) {
                             return -std::string(static_cast<const char*>(a), la)
                                         .compare(std::string(static_cast<const char*>(b), lb));
                           });
  ASSERT_EQ(
      sqlite3_exec(raw, "INSERT INTO \"Room Info\" (\"Room Number\") VALUES ('1'), ('2'), ('3')",
                   nullptr, nullptr, nullptr),
      SQLITE_OK);
  sqlite3_close(raw);
  store::Database db = store::Database::open(path);
  const store::CheckResult found = store::checkDatabase(db);
  ASSERT_TRUE(found.ok()) << found.message();
  ASSERT_FALSE(found.findings.empty());
  EXPECT_EQ(found.findings.back().kind, store::FindingKind::Engine);
  EXPECT_EQ(found.findings.back().table, "");
  const store::MendResult mend = store::mendDatabase(db);
  EXPECT_EQ(mend.message(), "The engine's integrity check reports damage.");
  EXPECT_EQ(testsupport::count(db, sch::roomTime), 0u);
  EXPECT_TRUE(store::listRuns(db).empty());
}

TEST(CheckRefuses, ADatabaseWithoutTheTablesItNeeds) {
  testsupport::TempDir dir;
  store::Database db = store::Database::create(dir.file("JOX_N.MDB"));
  db.createTable(sch::buildingTables()[0]);
  const store::CheckResult found = store::checkDatabase(db);
  EXPECT_FALSE(found.ok());
  EXPECT_NE(found.message().find("does not exist"), std::string::npos) << found.message();
  EXPECT_FALSE(store::mendDatabase(db).ok());
  store::Database closed;
  EXPECT_EQ(store::checkDatabase(closed).message(), "The database is not open.");
}

}  // namespace
