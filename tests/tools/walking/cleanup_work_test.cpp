// Database Cleanup's walk: which schedules and lines go, what is counted, and that a failed run
// deletes nothing.
#include "tools/cleanup_work.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "records.h"
#include "store/schema.h"
#include "support/building.h"
#include "support/temp_dir.h"

using namespace roomkit;
using store::Value;
using walkingtest::column;
using walkingtest::put;
using Texts = std::vector<std::string>;
namespace sch = store::schema;

namespace {

bool mentions(const store::Outcome& result, const std::string& part) {
  return result.message().find(part) != std::string::npos;
}

void addLine(store::Database& db, const std::string& code, int line) {
  put(db, sch::scheduleLines,
      {{sch::cleaningSchedule, Value(code)},
       {sch::lineNumber, Value(line)},
       {sch::task, Value(code + "/" + std::to_string(line))}});
}

class CleanupTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  std::string path = dir.file("JOX_C.MDB");
  store::Database db = testsupport::makeBuilding(path);

  // "Cleaning Schedules" as code/line, in the "Sched" order.
  Texts lines() {
    store::Table t = db.openTable(sch::scheduleLines);
    t.setIndex(sch::schedIndex);
    Texts out;
    for (store::moveToFirst(t); !t.eof(); t.moveNext()) {
      out.push_back(t.field(sch::cleaningSchedule).toText() + "/" +
                    t.field(sch::lineNumber).toText());
    }
    return out;
  }
};

TEST_F(CleanupTest, DeletesUnusedSchedulesWithTheirOwnLinesOnly) {
  testsupport::addRooms(db, {{"1", Value(), Value("B1")},
                             {"2", Value(), Value("b2")},
                             {"3", Value(), Value("C2")},
                             {"4", Value(), Value()}});
  testsupport::addSchedule(db, "B1", "USED", 2);
  testsupport::addSchedule(db, "B2", "USED BY A ROOM IN SMALL LETTERS", 1);
  testsupport::addSchedule(db, "C1", "FIVE LINES", 5);
  testsupport::addSchedule(db, "C2", "USED, ITS LINES FOLLOW C1'S", 2);
  testsupport::addSchedule(db, "D1", "NO LINES");
  testsupport::addSchedule(db, "E1", "FIRST LINE IN SMALL LETTERS");
  addLine(db, "e1", 1);
  addLine(db, "E1", 2);
  testsupport::addSchedule(db, "F1", "LAST LINE IN SMALL LETTERS");
  addLine(db, "F1", 1);
  addLine(db, "F1", 2);
  addLine(db, "f1", 3);

  const CleanupResult result = removeUnusedSchedules(path);
  ASSERT_TRUE(result.ok()) << result.message();
  EXPECT_EQ(result.deleted, 4) << "C1, D1, E1, F1; five lines count once";
  EXPECT_EQ(column(db, sch::scheduleDescribe, sch::cleaningSchedule), (Texts{"B1", "B2", "C2"}));
  EXPECT_EQ(lines(), (Texts{"B1/1", "B1/2", "B2/1", "C2/1", "C2/2", "e1/1", "E1/2", "f1/3"}))
      << "the detail walk stops at a code that differs only in case";
}

TEST_F(CleanupTest, NothingToDelete) {
  struct Case {
    const char* name;
    bool withSchedules;
  };
  for (const Case c : {Case{"every schedule used", true}, Case{"no schedules", false}}) {
    SCOPED_TRACE(c.name);
    testsupport::TempDir here;
    const std::string file = here.file("JOX_N.MDB");
    store::Database building = testsupport::makeBuilding(file);
    testsupport::addRooms(building, {{"1", Value(), Value("A1")}, {"2", Value(), Value("A2")}});
    if (c.withSchedules) {
      testsupport::addSchedule(building, "A1", "ONE", 3);
      testsupport::addSchedule(building, "A2", "TWO", 1);
    }
    const CleanupResult result = removeUnusedSchedules(file);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.deleted, 0);
    EXPECT_EQ(testsupport::count(building, sch::scheduleLines), c.withSchedules ? 4u : 0u);
  }
}

TEST_F(CleanupTest, RecordsWithoutACodeArePassedOver) {
  put(db, sch::scheduleDescribe, {{sch::description, Value("NO CODE")}});
  put(db, sch::scheduleDescribe,
      {{sch::cleaningSchedule, Value("")}, {sch::description, Value("EMPTY")}});
  testsupport::addSchedule(db, "Z9", "UNUSED");
  addLine(db, "", 1);
  const CleanupResult result = removeUnusedSchedules(path);
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.deleted, 1);
  EXPECT_EQ(column(db, sch::scheduleDescribe, sch::description), (Texts{"NO CODE", "EMPTY"}));
  EXPECT_EQ(lines(), (Texts{"/1"}));
}

TEST(CleanupOpenTest, AFileThatCannotBeOpenedIsReported) {
  testsupport::TempDir dir;
  const std::string missing = dir.file("JOX_NONE.MDB");
  const CleanupResult result = removeUnusedSchedules(missing);
  EXPECT_TRUE(mentions(result, "The database could not be opened"));
  EXPECT_TRUE(mentions(result, "nothing was deleted"));
  EXPECT_FALSE(std::filesystem::exists(missing));
}

// A building with only some of the suite's tables, and a "Cleaning Schedules" of its own making.
store::Database partialBuilding(const std::string& path, std::optional<store::TableDef> lines) {
  store::Database db = store::Database::create(path);
  for (const store::TableDef& def : sch::buildingTables()) {
    if (def.name == sch::roomInfo || def.name == sch::scheduleDescribe) db.createTable(def);
  }
  if (lines) db.createTable(*lines);
  return db;
}

TEST(CleanupOpenTest, AMissingTableIsNamedAndNothingIsDeleted) {
  testsupport::TempDir dir;
  const std::string path = dir.file("JOX_P.MDB");
  store::Database db = partialBuilding(path, std::nullopt);
  put(db, sch::scheduleDescribe, {{sch::cleaningSchedule, Value("A1")}});
  const CleanupResult result = removeUnusedSchedules(path);
  EXPECT_TRUE(mentions(result, "The table \"Cleaning Schedules\" could not be opened"))
      << result.message();
  EXPECT_EQ(column(db, sch::scheduleDescribe, sch::cleaningSchedule), (Texts{"A1"}));
}

TEST(CleanupOpenTest, AFailureDuringTheWalkUndoesEarlierDeletions) {
  testsupport::TempDir dir;
  const std::string path = dir.file("JOX_W.MDB");
  // Its lines lack the "Cleaning Schedule" field, which only the first found line shows.
  store::Database db = partialBuilding(path, store::TableDef{sch::scheduleLines,
                                                             {{"Code", store::FieldType::Text, 6}},
                                                             {{sch::schedIndex, {"Code"}, false}}});
  put(db, sch::scheduleDescribe, {{sch::cleaningSchedule, Value("A1")}});
  put(db, sch::scheduleDescribe, {{sch::cleaningSchedule, Value("B1")}});
  put(db, sch::scheduleLines, {{"Code", Value("B1")}});
  const CleanupResult result = removeUnusedSchedules(path);
  EXPECT_TRUE(mentions(result, "The cleanup failed in the table \"Cleaning Schedules\""))
      << result.message();
  EXPECT_EQ(result.deleted, 0);
  EXPECT_EQ(column(db, sch::scheduleDescribe, sch::cleaningSchedule), (Texts{"A1", "B1"}))
      << "A1 was deleted before the failure and is back";
}

}  // namespace
