// An undo refused because another program changed, since the run, a record that the undo would
// put back: the refusal names the table and the record's key, and nothing changes, the history
// included. Once the other program's change is taken back, the undo goes through.
#include <gtest/gtest.h>

#include <functional>

#include "case_test.h"
#include "history_building.h"
#include "runs.h"
#include "store/schema.h"
#include "tool_runs.h"

namespace historytest {
namespace {

namespace modify = roomkit::modify_room_data;

struct RefusalCase {
  const char* name;
  std::function<void(const std::string& path)> run;
  const char* later;  // the other program's SQL
  // What the refusal says after "cannot be undone: " (the engine's own words may follow).
  const char* reason;
  const char* revert;  // SQL that takes the later change back; null when none is simple
};

void renumber(const std::string& p) { renumberRoom(p, "103", "303"); }
void generate(const std::string& p) { generateRooms(p, {"201", "202", "203", "204"}, "A1"); }
void merge(const std::string& p) { combineRooms(p, {"101", "103"}, "102", true); }
void sortValues(const std::string& p) {
  changeSortValue(p, store::schema::sortField1, "east", "northeast");
}

const RefusalCase refusalCases[] = {
    {"RenumberedRecordChangedAgain", renumber,
     "UPDATE \"Room Time\" SET \"Room Number\" = '313' WHERE \"Room Number\" = '303'",
     "the record \"313\" of the table \"Room Time\" has changed since the run",
     "UPDATE \"Room Time\" SET \"Room Number\" = '303' WHERE \"Room Number\" = '313'"},
    {"RoomNameWrittenAgain",
     [](const std::string& p) {
       modifyRoom(p, "102", {modify::Mode::RoomName, {}, "new lab", ""});
     },
     "UPDATE \"Room Info\" SET \"Room Name\" = 'OTHER' WHERE \"Room Number\" = '102'",
     "the record \"102\" of the table \"Room Info\" has changed since the run",
     "UPDATE \"Room Info\" SET \"Room Name\" = 'NEW LAB' WHERE \"Room Number\" = '102'"},
    {"FloorAreaWrittenAgain",
     [](const std::string& p) {
       modifyRoom(p, "105", {modify::Mode::FloorArea, modify::FloorKind::Carpet, "250", "30"});
     },
     "UPDATE \"Room Inventory\" SET \"2\" = 7 WHERE \"Room Number\" = '105' AND Bank = 2",
     "the record \"105, 2\" of the table \"Room Inventory\" has changed since the run",
     "UPDATE \"Room Inventory\" SET \"2\" = 250.0 WHERE \"Room Number\" = '105' AND Bank = 2"},
    {"GeneratedRoomRenamed", generate,
     "UPDATE \"Room Info\" SET \"Room Name\" = 'MINE' WHERE \"Room Number\" = '202'",
     "the record \"202\" of the table \"Room Info\" has changed since the run",
     "UPDATE \"Room Info\" SET \"Room Name\" = 'RM# 202' WHERE \"Room Number\" = '202'"},
    {"GeneratedRecordDeleted", generate, "DELETE FROM \"Room Time\" WHERE \"Room Number\" = '203'",
     "the record \"203\" of the table \"Room Time\" is no longer in the database", nullptr},
    {"DeletedScheduleKeyTaken", cleanUp,
     "INSERT INTO \"Cleaning Schedules- Describe\" VALUES ('C1', 'AGAIN')",
     "the record \"C1\" of the table \"Cleaning Schedules- Describe\" cannot be put back: another "
     "record now holds its key",
     "DELETE FROM \"Cleaning Schedules- Describe\" WHERE \"Description\" = 'AGAIN'"},
    // E1 was the last record: a record added since takes its place in the stored order.
    {"DeletedSchedulePlaceTaken", cleanUp,
     "INSERT INTO \"Cleaning Schedules- Describe\" VALUES ('Z1', 'NEW')",
     "the record \"E1\" of the table \"Cleaning Schedules- Describe\" cannot be put back: another "
     "record, \"Z1\", now stands in its place",
     "DELETE FROM \"Cleaning Schedules- Describe\" WHERE \"Cleaning Schedule\" = 'Z1'"},
    {"AssignmentChangedAgain", [](const std::string& p) { renumberAssignment(p, "A1", "A9"); },
     "UPDATE \"Area Assignments\" SET \"Area Assignment\" = 'A8' WHERE \"Room Number\" = '102'",
     "the record \"A8, 102\" of the table \"Area Assignments\" has changed since the run",
     "UPDATE \"Area Assignments\" SET \"Area Assignment\" = 'A9' WHERE \"Room Number\" = '102'"},
    {"MergedRoomAddedAgain", merge,
     "INSERT INTO \"Room Info\" (\"Room Number\", \"Room Name\") VALUES ('101', 'BACK')",
     "the record \"101\" of the table \"Room Info\" cannot be put back: another record now holds "
     "its key",
     "DELETE FROM \"Room Info\" WHERE \"Room Name\" = 'BACK'"},
    {"MergeTargetChangedAgain", merge,
     "UPDATE \"Room Inventory\" SET \"1\" = 0 WHERE \"Room Number\" = '102' AND Bank = 1",
     "the record \"102, 1\" of the table \"Room Inventory\" has changed since the run", nullptr},
    {"CopiedRecordDeleted",
     [](const std::string& p) {
       copyRoomInventory(p, "101", {"102", "104"}, {1, false, false});
     },
     "DELETE FROM \"Room Inventory\" WHERE \"Room Number\" = '104' AND Bank = 3",
     "the record \"104, 3\" of the table \"Room Inventory\" is no longer in the database", nullptr},
    {"SortedRoomDeleted", sortValues, "DELETE FROM \"Room Info\" WHERE \"Room Number\" = '107'",
     "the record \"107\" of the table \"Room Info\" is no longer in the database", nullptr},
    {"SortValueChangedAgain", sortValues,
     "UPDATE \"Inv Sort Field 1\" SET \"Sort Field\" = 'NE' WHERE \"Sort Field\" = 'NORTHEAST'",
     "the record \"NE\" of the table \"Inv Sort Field 1\" has changed since the run",
     "UPDATE \"Inv Sort Field 1\" SET \"Sort Field\" = 'NORTHEAST' WHERE \"Sort Field\" = 'NE'"},
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

using RefusedUndo = CaseTest<RefusalCase>;

TEST_P(RefusedUndo, NamesTheTableAndKeyAndChangesNothing) {
  const RefusalCase& c = GetParam();
  makeHistoryBuilding(path);
  const State before = stateOf(path);
  c.run(path);
  otherProgram(path, c.later);
  const State changed = stateOf(path);

  const store::UndoResult refused = undoOn(path);
  EXPECT_FALSE(refused.ok());
  const std::string said = "Run 1 cannot be undone: " + std::string(c.reason);
  EXPECT_EQ(refused.message().substr(0, said.size()), said) << refused.message();
  const std::string end = ". Nothing was changed.";
  EXPECT_TRUE(refused.message().ends_with(end)) << refused.message();
  EXPECT_EQ(difference(changed, stateOf(path)), "");
  const std::vector<store::RunInfo> runs = runsOf(path);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_FALSE(runs[0].undone);

  if (!c.revert) return;
  otherProgram(path, c.revert);
  const store::UndoResult undone = undoOn(path);
  ASSERT_TRUE(undone.ok()) << undone.message();
  EXPECT_EQ(difference(before, stateOf(path)), "");
}

INSTANTIATE_TEST_SUITE_P(LaterChanges, RefusedUndo, ::testing::ValuesIn(refusalCases), caseName);

}  // namespace
}  // namespace historytest
