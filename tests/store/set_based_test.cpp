// The set-based statements give the writes and refusals of a walk over every record.
#include <gtest/gtest.h>

#include "store/database.h"
#include "store/inserter.h"
#include "store/schema.h"
#include "store/table.h"
#include "store/writes.h"
#include "support/temp_dir.h"

using namespace store;

namespace {

class SetBasedTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  Database db;
  void SetUp() override {
    const std::string path = dir.file("JOX_S.MDB");
    schema::createBuildingDatabase(path);
    db = Database::open(path);
    Table rooms = db.openTable("Project Assignments");
    for (const char* n : {"a1", "A1", " A1", "A10", "b2"}) {
      rooms.addNew();
      rooms.setField("Room Number", Value(n));
      rooms.update();
    }
  }
  std::vector<std::string> numbers() {
    Table rooms = db.openTable("Project Assignments");
    std::vector<std::string> out;
    for (rooms.moveFirst(); !rooms.eof(); rooms.moveNext())
      out.push_back(rooms.field("Room Number").text());
    return out;
  }
};

TEST_F(SetBasedTest, UpdateMatchesUpperCasedTextExactly) {
  Table rooms = db.openTable("Project Assignments");
  const char* sorts[] = {"north", "NORTH", "North", "NORTH WING", nullptr};
  int i = 0;
  for (rooms.moveFirst(); !rooms.eof(); rooms.moveNext(), ++i) {
    rooms.edit();
    rooms.setField("Project", sorts[i] ? Value(sorts[i]) : Value());
    rooms.update();
  }
  EXPECT_EQ(
      store::updateWhereUpperText(db, "Project Assignments", "Project", Value("SOUTH"), "NORTH"),
      3);
  std::vector<std::string> after;
  for (rooms.moveFirst(); !rooms.eof(); rooms.moveNext()) {
    after.push_back(rooms.field("Project").toText());
  }
  EXPECT_EQ(after, (std::vector<std::string>{"SOUTH", "SOUTH", "SOUTH", "NORTH WING", ""}));
  EXPECT_EQ(store::updateWhereUpperText(db, "Project Assignments", "Project", Value("X"), "north"),
            0)
      << "a lower-case search text never equals an upper-cased value";
}

TEST_F(SetBasedTest, UniqueRefusalIsTheEnginesAndChangesNothing) {
  Table rooms = db.openTable("Room Info");
  for (const char* n : {"A10", "B2"}) {
    rooms.addNew();
    rooms.setField("Room Number", Value(n));
    rooms.update();
  }
  db.begin();
  try {
    store::updateWhereUpperText(db, "Room Info", "Room Number", Value("B2"), "A10");
    FAIL();
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find("UNIQUE"), std::string::npos) << error.what();
  }
  db.rollback();
  rooms.setIndex("PrimaryKey");
  rooms.seek({Value("A10")});
  EXPECT_FALSE(rooms.noMatch());
}

TEST_F(SetBasedTest, AValueTooLongFailsOnlyWhenARecordMatches) {
  const std::string tooLong(30, 'X');
  EXPECT_EQ(
      store::updateWhereUpperText(db, "Project Assignments", "Room Number", Value(tooLong), "NONE"),
      0);
  EXPECT_THROW(
      store::updateWhereUpperText(db, "Project Assignments", "Room Number", Value(tooLong), "B2"),
      Error);
}

TEST_F(SetBasedTest, DeleteMatchesTextExactly) {
  EXPECT_EQ(store::deleteWhereText(db, "Project Assignments", "Room Number", "A1"), 1);
  EXPECT_EQ(numbers(), (std::vector<std::string>{"a1", " A1", "A10", "b2"}));
  Table banks = db.openTable("Inventory Banks");
  for (int b : {1, 12}) {
    banks.addNew();
    banks.setField("Bank", Value(b));
    banks.update();
  }
  EXPECT_EQ(store::deleteWhereText(db, "Inventory Banks", "Bank", "012"), 0);
  EXPECT_EQ(store::deleteWhereText(db, "Inventory Banks", "Bank", "12"), 1);
}

TEST_F(SetBasedTest, CursorsSeeSetBasedWrites) {
  Table rooms = db.openTable("Project Assignments");
  rooms.moveFirst();
  rooms.moveNext();  // A1, the rest read ahead
  store::deleteWhereText(db, "Project Assignments", "Room Number", " A1");
  rooms.moveNext();
  EXPECT_EQ(rooms.field("Room Number").text(), "A10");
}

}  // namespace

// An update by key writes what a seek, edit and update write, and refuses what they refuse.
TEST_F(SetBasedTest, UpdateByKeyWritesTheSeeksRecordOnly) {
  Table inventory = db.openTable("Room Inventory");
  for (auto [room, bank] : {std::pair{"A1", 1}, std::pair{"A1", 2}, std::pair{"B2", 1}}) {
    inventory.addNew();
    inventory.setField("Room Number", Value(room));
    inventory.setField("Bank", Value(bank));
    inventory.update();
  }
  const std::size_t item = inventory.fieldPosition("3");
  EXPECT_EQ(store::updateWhereKey(db, "Room Inventory", "primarykey", {Value("a1"), Value(2)},
                                  {{item, Value(7.0)}}),
            1)
      << "keys compare as a seek compares them, index names as the cursor takes them";
  EXPECT_EQ(store::updateWhereKey(db, "Room Inventory", "PrimaryKey", {Value("A1"), Value(3)},
                                  {{item, Value(7.0)}}),
            0);
  inventory.setIndex("PrimaryKey");
  inventory.seek({Value("A1"), Value(2)});
  EXPECT_EQ(inventory.field("3").number(), 7.0) << "a cursor on the table sees the write";
  inventory.seek({Value("A1"), Value(1)});
  EXPECT_TRUE(inventory.field("3").isNull());

  EXPECT_EQ(store::updateWhereKey(db, "Room Inventory", "PrimaryKey", {Value("A1"), Value(2)},
                                  {{item, Value(2.5)}}, true),
            1);
  EXPECT_EQ(store::updateWhereKey(db, "Room Inventory", "PrimaryKey", {Value("A1"), Value(1)},
                                  {{item, Value(4.0)}}, true),
            1);
  inventory.seek({Value("A1"), Value(2)});
  EXPECT_EQ(inventory.field("3").number(), 9.5) << "added to the present number";
  inventory.seek({Value("A1"), Value(1)});
  EXPECT_EQ(inventory.field("3").number(), 4.0) << "no present value counts as 0";

  EXPECT_EQ(
      store::updateWhereKey(db, "Room Inventory", "RoomNumber", {Value("a1")}, {{item, Value(1)}}),
      1)
      << "a key that is not unique writes the seek's record only";
  inventory.setIndex("RoomNumber");
  inventory.seek({Value("A1")});
  EXPECT_EQ(inventory.field("3").number(), 1.0);
  EXPECT_EQ(inventory.field("Bank").number(), 1.0) << "the first A1 in the index order";
  inventory.moveNext();
  EXPECT_EQ(inventory.field("3").number(), 9.5) << "the second A1 keeps its value";
  inventory.setIndex("PrimaryKey");
  const std::size_t room = inventory.fieldPosition("Room Number");
  EXPECT_THROW(store::updateWhereKey(db, "Room Inventory", "PrimaryKey", {Value("B2"), Value(1)},
                                     {{room, Value(std::string(21, 'X'))}}),
               Error)
      << "a value too long for its field is refused as a field write refuses it";
  EXPECT_THROW(store::updateWhereKey(db, "Room Inventory", "PrimaryKey", {Value("B2"), Value(1)},
                                     {{room, Value("A1")}}),
               Error)
      << "the unique key refuses a second A1 in bank 1";
}

// A prepared insert adds what add new, setting the fields and update add.
TEST_F(SetBasedTest, PreparedInsertAddsTheRecordAndRefusesWhatUpdateRefuses) {
  Table inventory = db.openTable("Room Inventory");
  inventory.setIndex("PrimaryKey");
  const std::size_t room = inventory.fieldPosition("Room Number");
  const std::size_t bank = inventory.fieldPosition("Bank");
  const std::size_t item = inventory.fieldPosition("7");
  Inserter insert(db, "Room Inventory", {room, item, bank});
  insert.insert({Value("C3"), Value(2.0), Value(4)});
  inventory.seek({Value("c3"), Value(4)});
  ASSERT_FALSE(inventory.noMatch()) << "a cursor on the table sees the new record";
  EXPECT_EQ(inventory.field("7").number(), 2.0);
  EXPECT_TRUE(inventory.field("8").isNull()) << "fields not named keep the table's defaults";

  EXPECT_THROW(insert.insert({Value("C3"), Value(1), Value(4)}), Error) << "the unique key";
  EXPECT_THROW(insert.insert({Value(std::string(21, 'X')), Value(1), Value(5)}), Error)
      << "a room number longer than its field";
  EXPECT_THROW(insert.insert({Value("C4"), Value("many"), Value(5)}), Error)
      << "a text that is no number in a number field";
  EXPECT_THROW(insert.insert({Value("C4")}), Error) << "one value per field";
  inventory.seek({Value("C4")});
  EXPECT_TRUE(inventory.noMatch()) << "nothing of a refused insert is written";
}
