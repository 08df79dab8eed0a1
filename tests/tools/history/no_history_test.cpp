// Databases made before the change history, or without it: by the schema builders, by the sample
// generator and by roomkit-db import. They have nothing to undo and no history tables until the
// first run that changes something makes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "case_test.h"
#include "dbtool/byte_io.h"
#include "dbtool/import.h"
#include "history_building.h"
#include "runs.h"
#include "sample/sample.h"
#include "store/database.h"
#include "store/schema.h"
#include "support/building.h"
#include "support/temp_dir.h"
#include "tools/walking_work.h"

namespace historytest {
namespace {

struct Origin {
  const char* name;
  std::function<void(const std::string& path)> make;
  std::string room;  // a room of the database
};

void PrintTo(const Origin& origin, std::ostream* out) { *out << origin.name; }

const sample::Options sampleOptions{40, 3, 5};

const Origin origins[] = {
    {"SchemaBuilders",
     [](const std::string& path) {
       store::Database db = testsupport::makeBuilding(path);
       testsupport::addRooms(db, {{"101", store::Value("LAB"), store::Value("A1")},
                                  {"102", store::Value(), store::Value()}});
       testsupport::addBank(db, 1);
       testsupport::addInventory(db, "101", 1, {{1, 2}});
       testsupport::addTime(db, "101");
     },
     "101"},
    {"SampleGenerator", [](const std::string& path) { sample::writeBuilding(path, sampleOptions); },
     sample::roomNumbers(sampleOptions).at(3)},
    {"Import",
     [](const std::string& path) {
       testsupport::TempDir other;
       makeHistoryBuilding(other.file("JOX_OLD.MDB"));
       const std::string document = stateOf(other.file("JOX_OLD.MDB")).exported;
       dbtool::StringInput in(document);
       dbtool::importDocument(in, path);
     },
     "104"},
};

bool anyHistoryTable(const std::string& path) {
  for (const std::string& table : store::Database::open(path).tableNames()) {
    if (table.rfind("MSys", 0) == 0) return true;
  }
  return false;
}

using WithoutHistory = CaseTest<Origin>;

TEST_P(WithoutHistory, HasNothingToUndoUntilTheFirstRun) {
  GetParam().make(path);
  const State before = stateOf(path);
  EXPECT_FALSE(anyHistoryTable(path));
  EXPECT_TRUE(runsOf(path).empty());
  {
    store::Database db = store::Database::open(path);
    EXPECT_FALSE(store::latestUndoable(db));
  }
  const store::UndoResult refused = undoOn(path);
  EXPECT_FALSE(refused.ok());
  EXPECT_FALSE(refused.run);
  EXPECT_EQ(refused.message(), "There is nothing to undo.");

  // A run that finds nothing to change leaves no history behind either.
  const roomkit::WalkResult nothing = roomkit::changeRoomNumber(path, "NO SUCH ROOM", "1");
  EXPECT_TRUE(nothing.ok());
  EXPECT_EQ(nothing.changed, 0);
  EXPECT_FALSE(anyHistoryTable(path));
  EXPECT_EQ(difference(before, stateOf(path)), "");

  const roomkit::WalkResult first = roomkit::changeRoomNumber(path, GetParam().room, "NEW-1");
  ASSERT_TRUE(first.ok()) << first.message();
  EXPECT_GT(first.changed, 0);
  const std::vector<std::string> tables = store::Database::open(path).tableNames();
  EXPECT_NE(std::find(tables.begin(), tables.end(), "MSysRoomkitRuns"), tables.end());
  const std::vector<store::RunInfo> runs = runsOf(path);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].number, 1);
  EXPECT_EQ(runs[0].function, "Change Room Number");
  EXPECT_EQ(runs[0].records, first.changed);
  const store::UndoResult undone = undoOn(path);
  ASSERT_TRUE(undone.ok()) << undone.message();
  EXPECT_EQ(difference(before, stateOf(path)), "");
}

INSTANTIATE_TEST_SUITE_P(MadeBy, WithoutHistory, ::testing::ValuesIn(origins), caseName);

}  // namespace
}  // namespace historytest
