// The renumbering runs: which tables and fields they rewrite, what matches, and that a refused
// run leaves nothing changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "records.h"
#include "store/schema.h"
#include "support/building.h"
#include "support/temp_dir.h"
#include "tools/walking_work.h"

using namespace roomkit;
using store::Value;
using walkingtest::column;
using walkingtest::makeTable;
using walkingtest::put;
using Texts = std::vector<std::string>;
namespace sch = store::schema;

namespace {

bool mentions(const store::Outcome& result, const std::string& part) {
  return result.message().find(part) != std::string::npos;
}

class RenumberTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  std::string path = dir.file("JOX_R.MDB");
  store::Database db = testsupport::makeBuilding(path);
};

// --- Change Room Number -------------------------------------------------------------------

class RoomNumberTest : public RenumberTest {
 protected:
  void SetUp() override {
    testsupport::addRooms(
        db, {{"1B", Value("LAB"), Value("A1")}, {"2", Value(), Value()}, {"10", Value(), Value()}});
    testsupport::addInventory(db, "1B", 1);
    testsupport::addInventory(db, "1B", 2);
    testsupport::addInventory(db, "2", 1);
    testsupport::addTime(db, "1B");
    put(db, sch::areaAssignments,
        {{sch::areaAssignment, Value("A1")}, {sch::roomNumber, Value("1B")}});
    put(db, sch::projectAssignments,
        {{sch::areaAssignment, Value("P1")}, {sch::roomNumber, Value("1b")}});
    for (const char* skipped : {"MSysObjects", "Old mSyS Copy"}) {
      makeTable(db, skipped, {sch::roomNumber});
      put(db, skipped, {{sch::roomNumber, Value("1B")}});
    }
    makeTable(db, "Moves", {"Note", "ROOM number"});
    put(db, "Moves", {{"Note", Value("1B")}, {"ROOM number", Value("1B")}});
    makeTable(db, "Notes", {sch::roomNumber});
    for (const Value& v : {Value(" 1B"), Value("1B "), Value(), Value("1B")}) {
      put(db, "Notes", {{sch::roomNumber, v}});
    }
  }
};

TEST_F(RoomNumberTest, RenumbersEveryTableButThoseNamedMsys) {
  const WalkResult result = changeRoomNumber(path, "1B", "1C");
  ASSERT_TRUE(result.ok()) << result.message();
  EXPECT_EQ(result.changed, 8);
  EXPECT_EQ(column(db, sch::roomInfo, sch::roomNumber), (Texts{"1C", "2", "10"}));
  EXPECT_EQ(column(db, sch::roomInventory, sch::roomNumber), (Texts{"1C", "1C", "2"}));
  EXPECT_EQ(column(db, sch::roomTime, sch::roomNumber), (Texts{"1C"}));
  EXPECT_EQ(column(db, sch::areaAssignments, sch::roomNumber), (Texts{"1C"}));
  EXPECT_EQ(column(db, sch::projectAssignments, sch::roomNumber), (Texts{"1C"}))
      << "a stored value in lower case matches";
  EXPECT_EQ(column(db, "MSysObjects", sch::roomNumber), (Texts{"1B"}));
  EXPECT_EQ(column(db, "Old mSyS Copy", sch::roomNumber), (Texts{"1B"})) << "MSYS anywhere";
  EXPECT_EQ(column(db, "Moves", "ROOM number"), (Texts{"1C"})) << "field name in any case";
  EXPECT_EQ(column(db, "Moves", "Note"), (Texts{"1B"})) << "only the room number field";
  EXPECT_EQ(column(db, "Notes", sch::roomNumber), (Texts{" 1B", "1B ", "<null>", "1C"}))
      << "stored blanks never match; null is never touched";
}

TEST_F(RoomNumberTest, ComparesTheCurrentNumberAsGivenAndWritesTheNewOneAsGiven) {
  WalkResult result = changeRoomNumber(path, "1b", "1C");
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.changed, 0) << "only the stored value is upper-cased";
  EXPECT_EQ(column(db, sch::roomInfo, sch::roomNumber), (Texts{"1B", "2", "10"}));

  result = changeRoomNumber(path, "2", "2x");
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(column(db, sch::roomInfo, sch::roomNumber), (Texts{"1B", "2x", "10"}));
  EXPECT_EQ(column(db, sch::roomInventory, sch::roomNumber), (Texts{"1B", "1B", "2x"}));
}

TEST_F(RoomNumberTest, ANumberNobodyHoldsChangesNothing) {
  const WalkResult result = changeRoomNumber(path, "99", "100");
  EXPECT_TRUE(result.ok());
  EXPECT_EQ(result.changed, 0);
  EXPECT_EQ(column(db, sch::roomInfo, sch::roomNumber), (Texts{"1B", "2", "10"}));
}

TEST_F(RoomNumberTest, ARefusalInALaterTableUndoesTheWholeRun) {
  testsupport::addTime(db, "3");  // a time record without its room: "3" is free in "Room Info"
  const WalkResult result = changeRoomNumber(path, "1B", "3");
  ASSERT_FALSE(result.ok());
  EXPECT_TRUE(mentions(result, "\"Room Time\"")) << result.message();
  EXPECT_TRUE(mentions(result, "UNIQUE")) << "the engine's reason: " << result.message();
  EXPECT_TRUE(mentions(result, "nothing was changed"));
  // The message names the table; the failure stays the engine's, with its code.
  EXPECT_TRUE(result.failure->is(store::Fault::Engine));
  EXPECT_EQ(result.failure->code() & 0xFF, store::code::constraint);
  EXPECT_EQ(result.changed, 0);
  EXPECT_EQ(column(db, sch::roomInfo, sch::roomNumber), (Texts{"1B", "2", "10"}));
  EXPECT_EQ(column(db, sch::roomInventory, sch::roomNumber), (Texts{"1B", "1B", "2"}));
  EXPECT_EQ(column(db, "Notes", sch::roomNumber), (Texts{" 1B", "1B ", "<null>", "1B"}));
}

TEST_F(RoomNumberTest, RefusedNumbers) {
  struct Case {
    const char* newNumber;
    const char* table;
    const char* reason;
  };
  const Case cases[] = {
      {"10", "\"Room Info\"", "UNIQUE"},                            // an existing room
      {"ABCDEFGHIJKLMNOPQRSTU", "\"Room Info\"", "20 characters"},  // longer than the field
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.newNumber);
    const WalkResult result = changeRoomNumber(path, "1B", c.newNumber);
    EXPECT_TRUE(mentions(result, c.table));
    EXPECT_TRUE(mentions(result, c.reason));
    EXPECT_EQ(column(db, sch::roomInfo, sch::roomNumber), (Texts{"1B", "2", "10"}));
  }
}

// --- Change Assignment Number ---------------------------------------------------------------

class AssignmentTest : public RenumberTest {
 protected:
  void SetUp() override {
    put(db, sch::areaAssignments,
        {{sch::areaAssignment, Value("a1")}, {sch::roomNumber, Value("1B")}});
    put(db, sch::areaAssignments,
        {{sch::areaAssignment, Value("A1")}, {sch::roomNumber, Value("2")}});
    put(db, sch::areaAssignments,
        {{sch::areaAssignment, Value("A10")}, {sch::roomNumber, Value("3")}});
    put(db, sch::projectAssignments,
        {{sch::areaAssignment, Value("A1")}, {sch::roomNumber, Value("2")}});
    makeTable(db, "zone aSSignments old", {"area ASSIGNMENT"});
    put(db, "zone aSSignments old", {{"area ASSIGNMENT", Value("A1")}});
    makeTable(db, "Areas", {sch::areaAssignment});
    put(db, "Areas", {{sch::areaAssignment, Value("A1")}});
  }
};

TEST_F(AssignmentTest, RewritesOnlyTablesNamedAssignmentsAndWritesCapitals) {
  const WalkResult result = changeAssignmentNumber(path, "a1", "b7");
  ASSERT_TRUE(result.ok()) << result.message();
  EXPECT_EQ(result.changed, 4);
  EXPECT_EQ(column(db, sch::areaAssignments, sch::areaAssignment), (Texts{"B7", "B7", "A10"}));
  EXPECT_EQ(column(db, sch::projectAssignments, sch::areaAssignment), (Texts{"B7"}));
  EXPECT_EQ(column(db, "zone aSSignments old", "area ASSIGNMENT"), (Texts{"B7"}));
  EXPECT_EQ(column(db, "Areas", sch::areaAssignment), (Texts{"A1"}))
      << "a table without ASSIGNMENTS in its name is never touched";
}

TEST_F(AssignmentTest, ARefusalInALaterTableUndoesTheWholeRun) {
  db.createTable({"Zz Assignments",
                  {{sch::areaAssignment, store::FieldType::Text, 10}},
                  {{sch::primaryKey, {sch::areaAssignment}, true}}});
  put(db, "Zz Assignments", {{sch::areaAssignment, Value("A1")}});
  put(db, "Zz Assignments", {{sch::areaAssignment, Value("A2")}});
  const WalkResult result = changeAssignmentNumber(path, "A1", "A2");
  EXPECT_TRUE(mentions(result, "\"Zz Assignments\""));
  EXPECT_TRUE(mentions(result, "UNIQUE"));
  EXPECT_EQ(column(db, sch::areaAssignments, sch::areaAssignment), (Texts{"a1", "A1", "A10"}));
  EXPECT_EQ(column(db, sch::projectAssignments, sch::areaAssignment), (Texts{"A1"}));
}

// --- Change Sort Fields -----------------------------------------------------------------------

class SortFieldTest : public RenumberTest {
 protected:
  void SetUp() override {
    const Value sorts[] = {Value("North"), Value("NORTH"), Value("north"), Value("NORTH WING"),
                           Value()};
    int n = 1;
    for (const Value& sort : sorts) {
      testsupport::addRoom(db, {std::to_string(n++), Value(), Value(), sort, Value("NORTH")});
    }
    for (const char* v : {"NORTH", "NORTH WING"})
      put(db, sch::invSortField1, {{sch::sortField, Value(v)}});
    put(db, sch::invSortField2, {{sch::sortField, Value("NORTH")}});
    put(db, sch::invSortField2, {{sch::sortField, Value()}});
  }
};

TEST_F(SortFieldTest, ChangesEveryCaseOfTheValueInRoomsAndValueTable) {
  const WalkResult result = changeSortField(path, "Sort Field 1", "north", "south");
  ASSERT_TRUE(result.ok()) << result.message();
  EXPECT_EQ(result.changed, 4);
  EXPECT_EQ(column(db, sch::roomInfo, sch::sortField1),
            (Texts{"SOUTH", "SOUTH", "SOUTH", "NORTH WING", "<null>"}));
  EXPECT_EQ(column(db, sch::roomInfo, sch::sortField2), Texts(5, "NORTH"));
  EXPECT_EQ(column(db, sch::invSortField1, sch::sortField), (Texts{"SOUTH", "NORTH WING"}));
  EXPECT_EQ(column(db, sch::invSortField2, sch::sortField), (Texts{"NORTH", "<null>"}));
}

TEST_F(SortFieldTest, TheSecondFieldUsesItsOwnValueTable) {
  const WalkResult result = changeSortField(path, "Sort Field 2", "NORTH", "Upper");
  ASSERT_TRUE(result.ok()) << result.message();
  EXPECT_EQ(column(db, sch::roomInfo, sch::sortField2), Texts(5, "UPPER"));
  EXPECT_EQ(column(db, sch::roomInfo, sch::sortField1),
            (Texts{"North", "NORTH", "north", "NORTH WING", "<null>"}));
  EXPECT_EQ(column(db, sch::invSortField2, sch::sortField), (Texts{"UPPER", "<null>"}));
  EXPECT_EQ(column(db, sch::invSortField1, sch::sortField), (Texts{"NORTH", "NORTH WING"}));
}

TEST_F(SortFieldTest, BlanksInsideAValueStay) {
  const WalkResult result = changeSortField(path, "Sort Field 1", "north wing", "east  wing");
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(column(db, sch::invSortField1, sch::sortField), (Texts{"NORTH", "EAST  WING"}));
  EXPECT_EQ(changeSortField(path, "Sort Field 1", "northwing", "X").changed, 0);
}

TEST_F(SortFieldTest, AValueAlreadyListedUndoesTheRoomsToo) {
  put(db, sch::invSortField1, {{sch::sortField, Value("SOUTH")}});
  const WalkResult result = changeSortField(path, "Sort Field 1", "NORTH", "SOUTH");
  EXPECT_TRUE(mentions(result, "\"Inv Sort Field 1\""));
  EXPECT_TRUE(mentions(result, "UNIQUE"));
  EXPECT_EQ(column(db, sch::roomInfo, sch::sortField1),
            (Texts{"North", "NORTH", "north", "NORTH WING", "<null>"}));
}

// --- Opening --------------------------------------------------------------------------------

TEST(RenumberOpenTest, AFileThatCannotBeOpenedChangesNothingAndCreatesNothing) {
  testsupport::TempDir dir;
  const std::string missing = dir.file("JOX_NONE.MDB");
  const std::string notADatabase = dir.file("JOX_TEXT.MDB");
  testsupport::writeFile(notADatabase, "room list\r\n");
  const std::pair<const char*, std::function<WalkResult(const std::string&)>> runs[] = {
      {"room number", [](const std::string& p) { return changeRoomNumber(p, "1", "2"); }},
      {"assignment", [](const std::string& p) { return changeAssignmentNumber(p, "1", "2"); }},
      {"sort field",
       [](const std::string& p) { return changeSortField(p, "Sort Field 1", "A", "B"); }},
  };
  for (const auto& [name, run] : runs) {
    SCOPED_TRACE(name);
    for (const std::string& p : {missing, notADatabase}) {
      const WalkResult result = run(p);
      EXPECT_TRUE(mentions(result, "The database could not be opened")) << p;
      EXPECT_TRUE(mentions(result, p)) << "the reason names the file";
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(testsupport::readFile(notADatabase), "room list\r\n");
  }
}

TEST(RenumberOpenTest, AMissingValueTableIsReportedAndUndoesTheRooms) {
  testsupport::TempDir dir;
  const std::string path = dir.file("JOX_PART.MDB");
  store::Database db = store::Database::create(path);
  for (const store::TableDef& def : sch::buildingTables()) {
    if (def.name == sch::roomInfo) db.createTable(def);
  }
  testsupport::addRoom(db, {"1", Value(), Value(), Value("EAST"), Value()});
  const WalkResult result = changeSortField(path, "Sort Field 1", "EAST", "WEST");
  EXPECT_TRUE(mentions(result, "\"Inv Sort Field 1\"")) << result.message();
  EXPECT_EQ(column(db, sch::roomInfo, sch::sortField1), (Texts{"EAST"}));
}

}  // namespace
