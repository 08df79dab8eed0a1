// Each of the eight functions run through its database work and undone: the file comes back to
// the byte in its export and to the place in its stored order, and the history lists the run
// with its function and the records it changed per table.
#include <gtest/gtest.h>

#include <functional>

#include "case_test.h"
#include "history_building.h"
#include "runs.h"
#include "store/schema.h"
#include "support/temp_dir.h"
#include "tool_runs.h"

namespace historytest {
namespace {

namespace sch = store::schema;
namespace modify = roomkit::modify_room_data;
using roomkit::copy_inventory::CopyOptions;

struct ToolCase {
  const char* name;
  std::function<void(const std::string& path)> run;
  const char* function;
  std::int64_t records;
  Counts tables;
};

// The building's rooms, banks and schedules give these counts: every room has three
// "Room Inventory" records; 103 is named by one assignment of each kind, 101 too.
const ToolCase toolCases[] = {
    {"ChangeRoomNumber",
     [](const std::string& p) { renumberRoom(p, "103", "303"); },
     "Change Room Number",
     7,
     {{sch::roomInfo, {0, 1, 0}},
      {sch::roomInventory, {0, 3, 0}},
      {sch::roomTime, {0, 1, 0}},
      {sch::areaAssignments, {0, 1, 0}},
      {sch::projectAssignments, {0, 1, 0}}}},
    {"ModifyRoomName",
     [](const std::string& p) {
       modifyRoom(p, "102", {modify::Mode::RoomName, {}, " new lab ", ""});
     },
     "Modify Room Data",
     1,
     {{sch::roomInfo, {0, 1, 0}}}},
    {"ModifySchedule",
     [](const std::string& p) {
       modifyRoom(p, "104", {modify::Mode::Schedule, {}, "c1", ""});
     },
     "Modify Room Data",
     1,
     {{sch::roomInfo, {0, 1, 0}}}},
    {"ModifyFloorArea",
     [](const std::string& p) {
       modifyRoom(p, "105", {modify::Mode::FloorArea, modify::FloorKind::Carpet, "250", "30.5"});
     },
     "Modify Room Data",
     1,
     {{sch::roomInventory, {0, 1, 0}}}},
    {"CopyReplace",
     [](const std::string& p) {
       copyRoomInventory(p, "101", {"102", "104"}, {2, false, false});
     },
     "Copy Room Inventory (Templates)",
     5,  // one of the six records is written with what it held: that is no change
     {{sch::roomInventory, {0, 5, 0}}}},
    {"CopyAdd",
     [](const std::string& p) {
       copyRoomInventory(p, "101", {"102", "104"}, {3, false, true});
     },
     "Copy Room Inventory (Templates)",
     6,
     {{sch::roomInventory, {0, 6, 0}}}},
    {"CopyExact",
     [](const std::string& p) {
       copyRoomInventory(p, "101", {"107", "104"}, {1, true, false});
     },
     "Copy Room Inventory (Templates)",
     6,
     {{sch::roomInventory, {0, 6, 0}}}},
    {"AutoGenerateRooms",
     [](const std::string& p) {
       generateRooms(p, {"201", "202", "101", " 203", "204"}, "a1");
     },
     "Auto Generate Rooms",
     20,
     {{sch::roomInfo, {4, 0, 0}}, {sch::roomTime, {4, 0, 0}}, {sch::roomInventory, {12, 0, 0}}}},
    {"DatabaseCleanup",
     [](const std::string& p) { cleanUp(p); },
     "Database Cleanup",
     5,
     {{sch::scheduleDescribe, {0, 0, 2}}, {sch::scheduleLines, {0, 0, 3}}}},
    {"ChangeAssignmentNumber",
     [](const std::string& p) { renumberAssignment(p, "a1", "a9"); },
     "Change Assignment Number",
     3,
     {{sch::areaAssignments, {0, 2, 0}}, {sch::projectAssignments, {0, 1, 0}}}},
    {"CombineWithDeletion",
     [](const std::string& p) {
       combineRooms(p, {"101", "103", "102"}, "102", true);
     },
     "Combine Rooms",
     17,
     {{sch::roomInfo, {0, 0, 2}},
      {sch::roomInventory, {0, 3, 6}},
      {sch::roomTime, {0, 0, 2}},
      {sch::areaAssignments, {0, 0, 2}},
      {sch::projectAssignments, {0, 0, 2}}}},
    {"CombineWithoutDeletion",
     [](const std::string& p) {
       combineRooms(p, {"101", "103"}, "102", false);
     },
     "Combine Rooms",
     3,
     {{sch::roomInventory, {0, 3, 0}}}},
    {"CombineIntoANewRoom",
     [](const std::string& p) {
       combineRooms(p, {"101", "103"}, "300", true,
                    roomkit::combine_rooms::NewRoom{"COMBINED ROOM", "A1", {2026, 3, 4}});
     },
     "Combine Rooms",
     19,
     {{sch::roomInfo, {1, 0, 2}},
      {sch::roomInventory, {3, 0, 6}},
      {sch::roomTime, {1, 0, 2}},
      {sch::areaAssignments, {0, 0, 2}},
      {sch::projectAssignments, {0, 0, 2}}}},
    {"ChangeSortField1",
     [](const std::string& p) { changeSortValue(p, sch::sortField1, "east", "northeast"); },
     "Change Sort Fields",
     4,
     {{sch::roomInfo, {0, 3, 0}}, {sch::invSortField1, {0, 1, 0}}}},
    {"ChangeSortField2",
     [](const std::string& p) { changeSortValue(p, sch::sortField2, "UP", "TOP"); },
     "Change Sort Fields",
     2,
     {{sch::roomInfo, {0, 1, 0}}, {sch::invSortField2, {0, 1, 0}}}},
};

void PrintTo(const ToolCase& c, std::ostream* out) { *out << c.name; }

using ToolUndo = CaseTest<ToolCase>;

TEST_P(ToolUndo, TheUndoneRunLeavesTheFileAsBefore) {
  const ToolCase& c = GetParam();
  makeHistoryBuilding(path);
  const State before = stateOf(path);
  c.run(path);
  ASSERT_NE(difference(before, stateOf(path)), "") << "the run changed nothing";

  const std::vector<store::RunInfo> runs = runsOf(path);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].number, 1);
  EXPECT_EQ(runs[0].function, c.function);
  EXPECT_EQ(runs[0].records, c.records);
  EXPECT_EQ(countsOf(runs[0]), c.tables);
  EXPECT_FALSE(runs[0].undone);

  const store::UndoResult undone = undoOn(path);
  ASSERT_TRUE(undone.ok()) << undone.message();
  ASSERT_TRUE(undone.run);
  EXPECT_EQ(undone.run->number, 1);
  EXPECT_EQ(undone.message(), "");
  EXPECT_EQ(difference(before, stateOf(path)), "");

  const std::vector<store::RunInfo> after = runsOf(path);
  ASSERT_EQ(after.size(), 1u);
  EXPECT_TRUE(after[0].undone) << "the run is listed as undone";
  EXPECT_EQ(after[0].function, c.function);
  EXPECT_EQ(after[0].records, c.records);
  EXPECT_EQ(undoOn(path).message(), "There is nothing to undo.");
  EXPECT_EQ(difference(before, stateOf(path)), "");
}

INSTANTIATE_TEST_SUITE_P(EachFunction, ToolUndo, ::testing::ValuesIn(toolCases), caseName);

// The walks over every table with a "Room Number" field pass over the history's own tables: the
// rows of an earlier run stay as they were, the counts hold the rooms' records only, and every
// run still undoes.
TEST(ToolWalks, PassOverTheHistory) {
  testsupport::TempDir dir;
  const std::string path = dir.file("JOX_W.MDB");
  makeHistoryBuilding(path);
  const State original = stateOf(path);
  modifyRoom(path, "103", {modify::Mode::RoomName, {}, "103", ""});  // a name that is a number
  const State first = stateOf(path);
  const std::string firstRun = historyRows(path, 1);

  renumberRoom(path, "103", "303");
  std::vector<store::RunInfo> runs = runsOf(path);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].records, 7);
  EXPECT_EQ(countsOf(runs[0]).count("MSysRoomkitRuns"), 0u);
  EXPECT_EQ(historyRows(path, 1), firstRun);
  const State second = stateOf(path);
  const std::string secondRun = historyRows(path, 2);

  combineRooms(path, {"101", "104"}, "102", true);
  runs = runsOf(path);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].function, "Combine Rooms");
  EXPECT_EQ(runs[0].records, 16);
  EXPECT_EQ(countsOf(runs[0]), (Counts{{sch::roomInfo, {0, 0, 2}},
                                       {sch::roomInventory, {0, 3, 6}},
                                       {sch::roomTime, {0, 0, 2}},
                                       {sch::areaAssignments, {0, 0, 2}},
                                       {sch::projectAssignments, {0, 0, 1}}}));
  EXPECT_EQ(historyRows(path, 1), firstRun);
  EXPECT_EQ(historyRows(path, 2), secondRun);

  for (const State* expected : {&second, &first, &original}) {
    const store::UndoResult undone = undoOn(path);
    ASSERT_TRUE(undone.ok()) << undone.message();
    EXPECT_EQ(difference(*expected, stateOf(path)), "")
        << "after undoing run " << undone.run->number;
  }
}

// Runs of different tools that touch the same records, undone newest first: each undo gives the
// file as it was before that run, records that a later run changed or removed included.
TEST(ToolUndoInTurn, EachUndoGivesTheStateBeforeItsRun) {
  testsupport::TempDir dir;
  const std::string path = dir.file("JOX_T.MDB");
  makeHistoryBuilding(path);
  std::vector<State> states{stateOf(path)};
  const std::vector<std::function<void()>> steps = {
      [&] {
        generateRooms(path, {"201", "202", "203"}, "B1");
      },
      [&] { renumberRoom(path, "201", "250"); },
      [&] {
        copyRoomInventory(path, "101", {"250", "203"}, {2, false, true});
      },
      [&] {
        combineRooms(path, {"250", "202", "105"}, "203", true);
      },
      [&] { cleanUp(path); },
  };
  for (const auto& step : steps) {
    step();
    states.push_back(stateOf(path));
    ASSERT_NE(difference(states[states.size() - 2], states.back()), "");
  }
  const std::vector<store::RunInfo> runs = runsOf(path);
  ASSERT_EQ(runs.size(), steps.size());
  const std::vector<std::string> functions = {"Database Cleanup", "Combine Rooms",
                                              "Copy Room Inventory (Templates)",
                                              "Change Room Number", "Auto Generate Rooms"};
  for (std::size_t i = 0; i < runs.size(); ++i) {
    EXPECT_EQ(runs[i].function, functions[i]) << "newest first";
    EXPECT_EQ(runs[i].number, static_cast<std::int64_t>(runs.size() - i));
  }
  for (std::size_t i = steps.size(); i-- > 0;) {
    const store::UndoResult undone = undoOn(path);
    ASSERT_TRUE(undone.ok()) << undone.message();
    EXPECT_EQ(undone.run->number, static_cast<std::int64_t>(i + 1));
    EXPECT_EQ(difference(states[i], stateOf(path)), "") << "after undoing run " << i + 1;
  }
  for (const store::RunInfo& run : runsOf(path)) EXPECT_TRUE(run.undone) << run.number;
}

}  // namespace
}  // namespace historytest
