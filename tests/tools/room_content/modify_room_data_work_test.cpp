// Reading and writing one room's value, on open tables as the shell keeps them.
#include "tools/modify_room_data_work.h"

#include <gtest/gtest.h>

#include "store/schema.h"
#include "support/building.h"
#include "support/temp_dir.h"

using namespace roomkit::modify_room_data;
using store::Value;
using testsupport::Room;

namespace {

class RoomDataWork : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  store::Database db = testsupport::makeBuilding(dir.file("JOX_W.MDB"));
  store::Table info;
  store::Table inventory;

  void SetUp() override {
    testsupport::addRooms(db, {{"101", Value("  front office "), Value("d1")},
                               {"102", Value(), Value()},
                               {"103", Value("STORE"), Value("W2")}});
    testsupport::addInventory(db, "101", 1, {{1, 12.5}, {2, 40}, {28, 3}});
    testsupport::addInventory(db, "101", 2, {{1, 99}, {28, 99}});
    testsupport::addInventory(db, "103", 1, {{1, 7}});
    info = db.openTable(store::schema::roomInfo);
    inventory = db.openTable(store::schema::roomInventory);
  }

  RoomTables tables() { return {info, inventory}; }
  std::string field(const std::string& room, int bank, const char* name) {
    store::Table t = db.openTable(store::schema::roomInventory);
    t.setIndex(store::schema::primaryKey);
    t.seek({Value(room), Value(bank)});
    return t.noMatch() ? "<none>" : t.field(name).toText();
  }
  std::string roomField(const std::string& room, const char* name) {
    store::Table t = db.openTable(store::schema::roomInfo);
    t.setIndex(store::schema::primaryKey);
    t.seek({Value(room)});
    return t.noMatch() ? "<none>" : t.field(name).isNull() ? "<null>" : t.field(name).toText();
  }
};

TEST_F(RoomDataWork, PresentValueByModeAndKind) {
  struct Case {
    std::string room;
    Mode mode;
    FloorKind kind;
    std::string value;
    std::optional<std::string> linear;
  };
  const std::vector<Case> cases = {
      {"101", Mode::RoomName, FloorKind::Tile, "FRONT OFFICE", std::nullopt},
      {"101", Mode::Schedule, FloorKind::Tile, "D1", std::nullopt},
      {"102", Mode::RoomName, FloorKind::Tile, "", std::nullopt},  // null name
      {"102", Mode::Schedule, FloorKind::Tile, "", std::nullopt},
      {"999", Mode::RoomName, FloorKind::Tile, "", std::nullopt},
      {"101", Mode::FloorArea, FloorKind::Tile, "12.5", "3"},  // the first bank's record
      {"101", Mode::FloorArea, FloorKind::Carpet, "40", "3"},
      {"103", Mode::FloorArea, FloorKind::Carpet, "0", "0"},
      {"102", Mode::FloorArea, FloorKind::Tile, "", std::nullopt},  // no inventory
      {"", Mode::FloorArea, FloorKind::Tile, "", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.room + " mode " + std::to_string(static_cast<int>(c.mode)));
    const PresentValue present = presentValue(tables(), c.room, c.mode, c.kind);
    EXPECT_EQ(present.value, c.value);
    EXPECT_EQ(present.linear, c.linear);
    EXPECT_EQ(present.message(), "");
  }
}

TEST_F(RoomDataWork, NullQuantitiesReadAsEmpty) {
  inventory.setIndex(store::schema::primaryKey);
  inventory.seek({Value("103"), Value(1)});
  inventory.edit();
  inventory.setField("1", Value());
  inventory.setField("28", Value());
  inventory.update();
  const PresentValue present = presentValue(tables(), "103", Mode::FloorArea, FloorKind::Tile);
  EXPECT_EQ(present.value, "");
  EXPECT_EQ(present.linear, std::optional<std::string>(""));
}

TEST_F(RoomDataWork, NamesAndSchedulesAreWrittenTrimmedInCapitals) {
  EXPECT_EQ(writeValue(tables(), "102", {Mode::RoomName, FloorKind::Tile, "  lab 2  ", ""}).status,
            UpdateResult::Status::Written);
  EXPECT_EQ(roomField("102", "Room Name"), "LAB 2");
  EXPECT_EQ(writeValue(tables(), "103", {Mode::Schedule, FloorKind::Tile, " zz9", ""}).status,
            UpdateResult::Status::Written);
  EXPECT_EQ(roomField("103", "Schedule"), "ZZ9");  // no such schedule: written as typed
  EXPECT_EQ(roomField("103", "Room Name"), "STORE");
}

TEST_F(RoomDataWork, FloorAreaReadsTheLeadingNumber) {
  struct Case {
    std::string typed, linear;
    FloorKind kind;
    std::string square, lin;
  };
  const std::vector<Case> cases = {
      {"ABC", "", FloorKind::Tile, "0", "0"},
      {"12.5 FT", "4", FloorKind::Tile, "12.5", "4"},
      {"1 2", "1 0.5", FloorKind::Carpet, "12", "10.5"},
      {"-3E2", "2D1", FloorKind::Carpet, "-300", "20"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ASSERT_EQ(writeValue(tables(), "101", {Mode::FloorArea, c.kind, c.typed, c.linear}).status,
              UpdateResult::Status::Written);
    EXPECT_EQ(field("101", 1, c.kind == FloorKind::Tile ? "1" : "2"), c.square);
    EXPECT_EQ(field("101", 1, "28"), c.lin);
    EXPECT_EQ(field("101", 2, "1"), "99");  // only the first record of the room
    EXPECT_EQ(field("101", 2, "28"), "99");
  }
}

TEST_F(RoomDataWork, FloorAreaWithoutInventoryWritesNothing) {
  // The inventory cursor stands on another room's record before the update.
  EXPECT_EQ(presentValue(tables(), "103", Mode::FloorArea, FloorKind::Tile).value, "7");
  const auto before = testsupport::rows(db, store::schema::roomInventory);
  const auto roomsBefore = testsupport::rows(db, store::schema::roomInfo);
  EXPECT_EQ(writeValue(tables(), "102", {Mode::FloorArea, FloorKind::Tile, "50", "5"}).status,
            UpdateResult::Status::NoInventory);
  EXPECT_EQ(testsupport::rows(db, store::schema::roomInventory), before);
  EXPECT_EQ(testsupport::rows(db, store::schema::roomInfo), roomsBefore);
}

TEST_F(RoomDataWork, UnknownRoomAndRefusedWrites) {
  const auto before = testsupport::rows(db, store::schema::roomInfo);
  const UpdateResult unknown =
      writeValue(tables(), "999", {Mode::RoomName, FloorKind::Tile, "X", ""});
  EXPECT_EQ(unknown.status, UpdateResult::Status::NoRoom);
  EXPECT_FALSE(unknown.ok()) << "every status but Written is a failure";
  // A schedule holds at most 6 characters; the store refuses a longer one.
  const UpdateResult longer =
      writeValue(tables(), "101", {Mode::Schedule, FloorKind::Tile, "TOOLONGCODE", ""});
  EXPECT_EQ(longer.status, UpdateResult::Status::Refused);
  EXPECT_FALSE(longer.ok());
  EXPECT_NE(longer.message().find("6 characters"), std::string::npos) << longer.message();
  EXPECT_EQ(testsupport::rows(db, store::schema::roomInfo), before);
  // The cursors are usable again afterwards.
  EXPECT_EQ(writeValue(tables(), "101", {Mode::Schedule, FloorKind::Tile, "ok", ""}).status,
            UpdateResult::Status::Written);
  EXPECT_EQ(roomField("101", "Schedule"), "OK");
}

TEST_F(RoomDataWork, RoomKeysIgnoreLetterCase) {
  testsupport::addRoom(db, {"2B", Value("LAB"), Value("A")});
  EXPECT_EQ(presentValue(tables(), "2b", Mode::RoomName, FloorKind::Tile).value, "LAB");
  EXPECT_EQ(writeValue(tables(), "2b", {Mode::RoomName, FloorKind::Tile, "new", ""}).status,
            UpdateResult::Status::Written);
  EXPECT_EQ(roomField("2B", "Room Name"), "NEW");
}

TEST(RoomDataWorkClosed, TablesNotOpenIsAFailureNotAThrow) {
  store::Table info, inventory;
  const PresentValue present =
      presentValue({info, inventory}, "1", Mode::RoomName, FloorKind::Tile);
  EXPECT_NE(present.message(), "");
  EXPECT_EQ(writeValue({info, inventory}, "1", {Mode::RoomName, FloorKind::Tile, "X", ""}).status,
            UpdateResult::Status::Refused);
}

}  // namespace
