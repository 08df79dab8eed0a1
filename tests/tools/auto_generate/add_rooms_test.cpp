// Writing the generated rooms: what one new room gets, what is skipped, and runs that fail as a
// whole.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "store/engine/handle.h"
#include "store/schema.h"
#include "support/building.h"
#include "support/temp_dir.h"
#include "tools/auto_generate_work.h"

namespace sch = store::schema;
using roomkit::autogen::AddResult;
using roomkit::autogen::addRooms;
using store::Value;
using testsupport::count;
using testsupport::rows;

namespace {

class AddRoomsTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  std::string path = dir.file("JOX_T.MDB");
  store::Database db = testsupport::makeBuilding(path);

  void SetUp() override {
    for (int bank : {3, 1, 2}) testsupport::addBank(db, bank);
  }

  std::vector<std::string> numbers(int from, int to) {
    std::vector<std::string> out;
    for (int n = from; n <= to; ++n) out.push_back(std::to_string(n));
    return out;
  }

  // Counts of the three tables a run writes.
  std::vector<std::size_t> counts() {
    return {count(db, sch::roomInfo), count(db, sch::roomTime), count(db, sch::roomInventory)};
  }
};

TEST_F(AddRoomsTest, ANewRoomGetsItsRecordsWithNeutralValues) {
  const AddResult result = addRooms(path, {"  101 "}, "  a1 ");
  ASSERT_TRUE(result.ok()) << result.message();
  EXPECT_EQ(result.added, 1);
  EXPECT_EQ(rows(db, sch::roomInfo),
            (std::vector<std::vector<std::string>>{{"101", "RM# 101", "A1", "", ""}}));

  store::Table time = db.openTable(sch::roomTime);
  time.moveFirst();
  EXPECT_EQ(time.field(0), Value("101"));
  ASSERT_TRUE(time.field(sch::lastUpdated).isDate()) << "a date, not text with a two-digit year";
  EXPECT_EQ(time.field(sch::lastUpdated).date(), store::Date::today());
  for (std::size_t i = 2; i <= 13; ++i) EXPECT_EQ(time.field(i), Value(0)) << i;
  EXPECT_EQ(time.field(sch::miscTime), Value(""));

  const auto inventory = rows(db, sch::roomInventory);
  ASSERT_EQ(inventory.size(), 3u) << "one record per bank";
  const std::size_t bank = db.tableDef(sch::roomInventory).fieldPosition(sch::bank).value();
  for (std::size_t r = 0; r < inventory.size(); ++r) {
    EXPECT_EQ(inventory[r][0], "101");
    EXPECT_EQ(inventory[r][bank], std::to_string(r + 1)) << "banks in PrimaryKey order";
    for (std::size_t i = 1; i <= 100; ++i) ASSERT_EQ(inventory[r][i], "0") << i;
  }
}

TEST_F(AddRoomsTest, ExistingNumbersAreLeftAloneAndNotCounted) {
  for (const char* existing : {"103", "107", "111", "115", "a119"}) {
    testsupport::addRoom(db, {existing, Value("KEEP"), Value("Z9")});
  }
  std::vector<std::string> lines = numbers(101, 118);
  lines.push_back("A119");  // exists in another letter case
  lines.push_back("A120");
  const AddResult result = addRooms(path, lines, "B2");
  ASSERT_TRUE(result.ok()) << result.message();
  EXPECT_EQ(result.added, 15);
  EXPECT_EQ(counts(), (std::vector<std::size_t>{20, 15, 45}));
  for (const auto& room : rows(db, sch::roomInfo)) {
    const bool old = room[1] == "KEEP";
    EXPECT_EQ(room[2], old ? "Z9" : "B2") << room[0];
  }
  const AddResult again = addRooms(path, lines, "B2");
  EXPECT_TRUE(again.ok());
  EXPECT_EQ(again.added, 0) << "every number exists now";
  EXPECT_EQ(counts(), (std::vector<std::size_t>{20, 15, 45}));
}

TEST_F(AddRoomsTest, AnEmptyListWritesNothing) {
  const AddResult result = addRooms(path, {}, "A1");
  EXPECT_TRUE(result.ok());
  EXPECT_EQ(result.added, 0);
  EXPECT_EQ(counts(), (std::vector<std::size_t>{0, 0, 0}));
}

TEST_F(AddRoomsTest, WithoutBanksARoomGetsNoInventory) {
  store::Database other = testsupport::makeBuilding(dir.file("JOX_NB.MDB"));
  const AddResult result = addRooms(dir.file("JOX_NB.MDB"), {"1", "2"}, "A1");
  ASSERT_TRUE(result.ok()) << result.message();
  EXPECT_EQ(count(other, sch::roomInfo), 2u);
  EXPECT_EQ(count(other, sch::roomTime), 2u);
  EXPECT_EQ(count(other, sch::roomInventory), 0u);
}

// Records that a new number already has, and writes the store refuses, end the whole run.
struct FailingRun {
  const char* name;
  void (*prepare)(store::Database&);
  std::vector<std::string> lines;
  std::vector<std::string> reasonParts;
};

class FailingRunTest : public AddRoomsTest, public ::testing::WithParamInterface<FailingRun> {};

TEST_P(FailingRunTest, RollsEverythingBackAndSaysWhy) {
  GetParam().prepare(db);
  const auto before = counts();
  const AddResult result = addRooms(path, GetParam().lines, "A1");
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.added, 0);
  for (const std::string& part : GetParam().reasonParts) {
    EXPECT_NE(result.message().find(part), std::string::npos) << result.message();
  }
  EXPECT_EQ(counts(), before) << "rooms written before the failure are gone too";
  EXPECT_NO_THROW({
    db.begin();
    db.rollback();
  }) << "the run's transaction is over";
}

const FailingRun failingRuns[] = {
    {"TimeRecordOfANewNumber",
     [](store::Database& d) { testsupport::addTime(d, "105"); },
     {"101", "102", "103", "104", "105", "106"},
     {"105", "\"Room Time\""}},
    {"InventoryRecordOfANewNumber",
     [](store::Database& d) { testsupport::addInventory(d, "104", 7); },
     {"101", "102", "103", "104", "105"},
     {"104", "\"Room Inventory\""}},
    {"NumberLongerThanTheField",
     [](store::Database&) {},
     {"101", "102", "123456789012345678901"},
     {"123456789012345678901", "Room Number"}},
    {"BankIndexMissing",
     [](store::Database& d) {
       sqlite3_exec(store::engineHandle(d), "DROP INDEX \"Inventory Banks.PrimaryKey\"", nullptr,
                    nullptr, nullptr);
     },
     {"101", "102"},
     {"101", "Inventory Banks"}},
};

INSTANTIATE_TEST_SUITE_P(Runs, FailingRunTest, ::testing::ValuesIn(failingRuns),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AddRoomsTest, AFileThatCannotBeOpenedIsAFailure) {
  const AddResult missing = addRooms(dir.file("NONE.MDB"), {"1"}, "A1");
  EXPECT_FALSE(missing.ok());
  testsupport::writeFile(dir.file("TEXT.MDB"), "not a database\r\n");
  const AddResult text = addRooms(dir.file("TEXT.MDB"), {"1"}, "A1");
  EXPECT_FALSE(text.ok());
  EXPECT_NE(text.message().find("TEXT.MDB"), std::string::npos) << text.message();
}

TEST_F(AddRoomsTest, ProgressIsToldEveryFewHundredLinesAndAtTheEnd) {
  std::vector<std::pair<std::size_t, std::size_t>> told;
  const AddResult result =
      addRooms(path, numbers(1, 600), "A1",
               [&](std::size_t done, std::size_t total) { told.emplace_back(done, total); });
  ASSERT_TRUE(result.ok()) << result.message();
  EXPECT_EQ(result.added, 600);
  EXPECT_EQ(told,
            (std::vector<std::pair<std::size_t, std::size_t>>{{250, 600}, {500, 600}, {600, 600}}));
}

}  // namespace
