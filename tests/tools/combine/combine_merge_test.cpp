// The merge on a database, without the panel: sums, the new target room, the removal of the
// merged rooms from every table, and the roll-back of a refused run.
#include <gtest/gtest.h>

#include <memory>

#include "combine_building.h"
#include "store/schema.h"
#include "store/table.h"
#include "support/building.h"
#include "support/temp_dir.h"
#include "tools/combine_rooms_work.h"

namespace {

namespace sch = store::schema;
namespace work = roomkit::combine_rooms;
using combinetest::quantity;
using combinetest::roomsOf;
using store::Value;
using Rooms = std::vector<std::string>;

class MergeTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  std::string path = dir.file("JOX_M.MDB");
  store::Database db;
  store::Table info, inventory, banks, time;
  std::unique_ptr<work::TargetTables> target;
  std::unique_ptr<work::CombineLog> log;

  void SetUp() override {
    combinetest::makeCombineBuilding(path);
    db = store::Database::open(path);
  }

  // Opens the tables as the shell keeps them, and prepares the log.
  void open() {
    info = db.openTable(sch::roomInfo);
    info.setIndex(sch::primaryKey);
    inventory = db.openTable(sch::roomInventory);
    banks = db.openTable(sch::inventoryBanks);
    time = db.openTable(sch::roomTime);
    target = std::make_unique<work::TargetTables>(db);
    log = std::make_unique<work::CombineLog>(path + ".log");
    ASSERT_EQ(log->prepare().message(), "");
  }

  work::MergeResult merge(const Rooms& ticked, const std::string& into, bool remove,
                          std::optional<work::NewRoom> create = std::nullopt) {
    if (!target) open();
    work::MergePlan plan{ticked, into, std::move(create), remove};
    work::MergeResult result =
        work::mergeRooms(db, {info, inventory, banks, time}, *target, plan, *log);
    log->close();
    return result;
  }

  std::string logText() const { return testsupport::readFile(path + ".log"); }
};

TEST_F(MergeTest, IntoAnExistingRoomAddsUpAndRemovesTheSources) {
  const work::MergeResult result = merge({"101", "102", "103"}, "102", true);
  EXPECT_EQ(result.message(), "");
  EXPECT_EQ(result.merged, 2) << "the target is not merged into itself";
  EXPECT_EQ(quantity(db, "102", 1, 1), 13.0);
  EXPECT_EQ(quantity(db, "102", 1, 2), 3.0);
  EXPECT_EQ(quantity(db, "102", 1, 3), 6.0);
  EXPECT_EQ(quantity(db, "102", 2, 5), 1.0);
  EXPECT_EQ(quantity(db, "102", 2, 100), 4.0);
  EXPECT_EQ(roomsOf(db, sch::roomInfo), (Rooms{"10", "100", "102"}));
  EXPECT_EQ(roomsOf(db, sch::roomTime), (Rooms{"10", "100", "102"}));
  EXPECT_EQ(roomsOf(db, sch::roomInventory), (Rooms{"10", "10", "100", "100", "102", "102"}));
  EXPECT_EQ(roomsOf(db, sch::areaAssignments), Rooms{"102"});
  EXPECT_EQ(roomsOf(db, sch::projectAssignments), Rooms{});
  EXPECT_EQ(testsupport::rows(db, sch::roomInfo)[2][1], "STORE") << "the target keeps its record";
  EXPECT_EQ(logText(), "Original Room Number, New Room Number\r\n101,102\r\n103,102\r\n");
  EXPECT_FALSE(db.inTransaction());
}

TEST_F(MergeTest, WithoutDeletionTheSourcesStayAndCountTwice) {
  const combinetest::Snapshot before = combinetest::snapshot(db);
  const work::MergeResult result = merge({"101", "103"}, "102", false);
  EXPECT_EQ(result.merged, 2);
  EXPECT_EQ(quantity(db, "102", 1, 1), 13.0);
  EXPECT_EQ(quantity(db, "101", 1, 1), 2.0);
  EXPECT_EQ(quantity(db, "103", 1, 1), 1.0);
  combinetest::Snapshot after = combinetest::snapshot(db);
  EXPECT_EQ(after[sch::roomInfo], before.at(sch::roomInfo));
  EXPECT_EQ(after[sch::roomTime], before.at(sch::roomTime));
  EXPECT_EQ(after[sch::areaAssignments], before.at(sch::areaAssignments));
  EXPECT_EQ(after[sch::roomInventory].size(), before.at(sch::roomInventory).size());
}

TEST_F(MergeTest, IntoANewRoomMadeFirst) {
  const work::MergeResult result =
      merge({"101", "103"}, "200", true, work::NewRoom{"NEW", "B1", store::Date{2026, 3, 4}});
  EXPECT_EQ(result.merged, 2);
  const auto rooms = testsupport::rows(db, sch::roomInfo);
  EXPECT_EQ(rooms.back(), (std::vector<std::string>{"200", "NEW", "B1", "<null>", "<null>"}));
  EXPECT_EQ(quantity(db, "200", 1, 1), 3.0);
  EXPECT_EQ(quantity(db, "200", 1, 2), 3.0);
  EXPECT_EQ(quantity(db, "200", 1, 3), 6.0);
  EXPECT_EQ(quantity(db, "200", 2, 5), 1.0);
  EXPECT_EQ(quantity(db, "200", 2, 99), 0.0);
  std::vector<std::string> expectedTime{"200", "3/4/2026"};
  for (int i = 0; i < 12; ++i) expectedTime.push_back("0");
  expectedTime.push_back("");
  EXPECT_EQ(testsupport::rows(db, sch::roomTime).back(), expectedTime);
  EXPECT_EQ(roomsOf(db, sch::roomInfo), (Rooms{"10", "100", "102", "200"}));
}

TEST_F(MergeTest, ABankTheTargetLacksCarriesNothing) {
  // 103 has no bank 2 record: 101's bank 2 quantities are not carried.
  EXPECT_EQ(merge({"101", "103"}, "103", false).merged, 1);
  EXPECT_EQ(quantity(db, "103", 1, 1), 3.0);
  EXPECT_FALSE(quantity(db, "103", 2, 5).has_value());
  EXPECT_EQ(quantity(db, "101", 2, 5), 1.0) << "kept without deletion";
}

TEST_F(MergeTest, ABankTheTargetLacksIsStillDeletedFromTheSource) {
  EXPECT_EQ(merge({"101", "103"}, "103", true).merged, 1);
  EXPECT_FALSE(quantity(db, "101", 1, 1).has_value());
  EXPECT_FALSE(quantity(db, "101", 2, 5).has_value());
}

TEST_F(MergeTest, EmptyQuantitiesCountAsZero) {
  combinetest::setQuantity(db, "101", 1, 1, Value());  // source empty, target 10
  combinetest::setQuantity(db, "102", 1, 2, Value());  // target empty, source 3
  combinetest::setQuantity(db, "101", 1, 4, Value());  // both empty
  combinetest::setQuantity(db, "102", 1, 4, Value());
  merge({"101", "102"}, "102", true);
  EXPECT_EQ(quantity(db, "102", 1, 1), 10.0);
  EXPECT_EQ(quantity(db, "102", 1, 2), 3.0);
  store::Table rows = db.openTable(sch::roomInventory);
  rows.setIndex(sch::primaryKey);
  rows.seek({Value("102"), Value(1)});
  EXPECT_EQ(rows.field("4"), Value(0.0)) << "written as 0, not left empty";
}

TEST_F(MergeTest, TheTargetIsRecognisedWhateverItsLetterCase) {
  testsupport::addRoom(db, {"lab-1", Value("SIDE"), Value("A1")});
  testsupport::addInventory(db, "lab-1", 1, {{1, 5}});
  testsupport::addInventory(db, "lab-1", 2);
  // Typed capitals find the stored lower-case room; ticking it must not merge it into itself.
  const work::MergeResult result = merge({"101", "lab-1"}, "LAB-1", true);
  EXPECT_EQ(result.merged, 1);
  EXPECT_EQ(quantity(db, "lab-1", 1, 1), 7.0);
  EXPECT_EQ(roomsOf(db, sch::roomInfo), (Rooms{"10", "100", "102", "103", "lab-1"}));
  EXPECT_EQ(logText(), "Original Room Number, New Room Number\r\n101,LAB-1\r\n");
}

// Tables beyond the suite's own that carry a room number.
void addRoomTable(store::Database& db, const std::string& name, const std::string& field) {
  db.createTable(
      {name, {{"Note", store::FieldType::Text, 10}, {field, store::FieldType::Text, 20}}, {}});
  store::Table table = db.openTable(name);
  table.addNew();
  table.setField(field, Value("101"));
  table.update();
}

TEST_F(MergeTest, EveryTableWithARoomNumberIsSearchedButThoseBeginningWithMsys) {
  addRoomTable(db, "MSysRooms", "Room Number");
  addRoomTable(db, "OldMSYSRooms", "Room Number");
  addRoomTable(db, "Keys", "ROOM NUMBER");
  addRoomTable(db, "Notes", "Room No");
  merge({"101", "102"}, "102", true);
  EXPECT_EQ(testsupport::count(db, "MSysRooms"), 1u);
  EXPECT_EQ(testsupport::count(db, "OldMSYSRooms"), 0u);
  EXPECT_EQ(testsupport::count(db, "Keys"), 0u);
  EXPECT_EQ(testsupport::count(db, "Notes"), 1u) << "no \"Room Number\" field";
}

struct WalkCase {
  const char* stored;
  bool deleted;
};

class DeleteWalkTest : public MergeTest, public ::testing::WithParamInterface<WalkCase> {};

TEST_P(DeleteWalkTest, OtherTablesLoseOnlyRecordsOfExactlyTheSourceNumber) {
  combinetest::addAssignment(db, sch::projectAssignments, "Z", GetParam().stored);
  merge({"101", "102"}, "102", true);
  const Rooms left = roomsOf(db, sch::projectAssignments);
  EXPECT_EQ(left.empty(), GetParam().deleted) << GetParam().stored;
}

INSTANTIATE_TEST_SUITE_P(Values, DeleteWalkTest,
                         ::testing::Values(WalkCase{"101", true}, WalkCase{"101 ", false},
                                           WalkCase{" 101", false}, WalkCase{"1010", false},
                                           WalkCase{"10", false}));

TEST_F(MergeTest, TheWalkComparesLetterCaseWhileTheSeeksDoNot) {
  testsupport::addRoom(db, {"7X", Value("ANNEX"), Value("A1")});
  testsupport::addTime(db, "7x");
  combinetest::addAssignment(db, sch::areaAssignments, "B7", "7x");
  combinetest::addAssignment(db, sch::areaAssignments, "B8", "7X");
  merge({"7X", "102"}, "102", true);
  EXPECT_EQ(roomsOf(db, sch::roomTime), (Rooms{"10", "100", "101", "102", "103"}))
      << "found by its seek";
  EXPECT_EQ(roomsOf(db, sch::areaAssignments), (Rooms{"101", "103", "102", "7x"}));
}

TEST_F(MergeTest, ARefusedWriteRollsTheWholeMergeBack) {
  combinetest::execute(db,
                       "CREATE TRIGGER keep BEFORE DELETE ON \"Area Assignments\" "
                       "WHEN old.\"Room Number\" = '103' BEGIN SELECT RAISE(ABORT, 'kept'); END");
  const combinetest::Snapshot before = combinetest::snapshot(db);
  const work::MergeResult result = merge({"101", "102", "103"}, "102", true);
  EXPECT_NE(result.message().find("kept"), std::string::npos) << result.message();
  EXPECT_EQ(result.merged, 0);
  EXPECT_EQ(combinetest::snapshot(db), before) << "101 was merged before 103 failed";
  EXPECT_EQ(logText(), "Original Room Number, New Room Number\r\n");
  EXPECT_FALSE(db.inTransaction());
  info.seek({Value("101")});
  EXPECT_FALSE(info.noMatch()) << "the shell's cursors read the restored records";
}

TEST_F(MergeTest, ARefusedNewRoomChangesNothing) {
  const combinetest::Snapshot before = combinetest::snapshot(db);
  const work::MergeResult result = merge(
      {"101", "103"}, "200", true, work::NewRoom{std::string(25, 'N'), "B1", store::Date::today()});
  EXPECT_NE(result.message().find("Room Name"), std::string::npos) << result.message();
  EXPECT_EQ(combinetest::snapshot(db), before);
  EXPECT_EQ(logText(), "Original Room Number, New Room Number\r\n");
}

TEST_F(MergeTest, AnUnwritableLogRollsTheMergeBack) {
  open();
  log->close();  // the log can no longer take the run's lines
  const combinetest::Snapshot before = combinetest::snapshot(db);
  const work::MergeResult result = merge({"101", "103"}, "102", true);
  EXPECT_NE(result.message().find("combine log"), std::string::npos) << result.message();
  EXPECT_EQ(combinetest::snapshot(db), before);
}

}  // namespace
