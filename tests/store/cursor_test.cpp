// The cursor: stored and index order, seeks, moves, edits, adds and deletes.
#include <gtest/gtest.h>

#include "store/database.h"
#include "store/schema.h"
#include "store/table.h"
#include "support/temp_dir.h"

using namespace store;

namespace {

class CursorTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  Database db;

  void SetUp() override {
    const std::string path = dir.file("JOX_C.MDB");
    schema::createBuildingDatabase(path);
    db = Database::open(path);
  }

  void addRoom(Table& rooms, const Value& number, const Value& name = Value()) {
    rooms.addNew();
    rooms.setField("Room Number", number);
    rooms.setField("Room Name", name);
    rooms.update();
  }

  // Room numbers in the cursor's order from the first record.
  static std::vector<std::string> walk(Table& table, const char* field = "Room Number") {
    std::vector<std::string> seen;
    try {
      table.moveFirst();
    } catch (const Error&) {
    }
    while (!table.eof()) {
      seen.push_back(table.field(field).isNull() ? "<null>" : table.field(field).toText());
      table.moveNext();
    }
    return seen;
  }
};

using Names = std::vector<std::string>;

TEST_F(CursorTest, MoveFirstOnAnEmptyTableFailsAndLeavesEnd) {
  Table rooms = db.openTable("Room Info");
  EXPECT_TRUE(rooms.eof());
  EXPECT_THROW(rooms.moveFirst(), Error);
  EXPECT_TRUE(rooms.eof());
  EXPECT_THROW(rooms.field("Room Number"), Error);
  EXPECT_THROW(rooms.moveNext(), Error);
}

TEST_F(CursorTest, StoredOrderIsInsertionOrderAcrossDeletesAndAdds) {
  Table rooms = db.openTable("Room Info");
  for (const char* n : {"C", "A", "B", "E", "D"}) addRoom(rooms, Value(n));
  EXPECT_EQ(walk(rooms), (Names{"C", "A", "B", "E", "D"}));
  rooms.moveFirst();
  rooms.moveNext();
  rooms.remove();  // A
  rooms.moveNext();
  EXPECT_EQ(rooms.field("Room Number").text(), "B");
  rooms.moveNext();
  rooms.moveNext();
  rooms.remove();  // D, the last record
  rooms.moveNext();
  EXPECT_TRUE(rooms.eof());
  addRoom(rooms, Value("F"));
  addRoom(rooms, Value("A"));
  EXPECT_EQ(walk(rooms), (Names{"C", "B", "E", "F", "A"}));
}

TEST_F(CursorTest, DeleteThenMoveNextGoesOnWithTheFollowingRecordInIndexOrder) {
  Table rooms = db.openTable("Room Info");
  for (const char* n : {"30", "10", "20", "40"}) addRoom(rooms, Value(n));
  rooms.setIndex("PrimaryKey");
  rooms.moveFirst();
  Names kept;
  while (!rooms.eof()) {
    const std::string number = rooms.field("Room Number").text();
    if (number == "20" || number == "10") {
      rooms.remove();
      EXPECT_THROW(rooms.field("Room Number"), Error);
    } else {
      kept.push_back(number);
    }
    rooms.moveNext();
  }
  EXPECT_EQ(kept, (Names{"30", "40"}));
}

TEST_F(CursorTest, AddNewKeepsTheCurrentRecord) {
  Table rooms = db.openTable("Room Info");
  for (const char* n : {"1", "2", "3"}) addRoom(rooms, Value(n));
  rooms.setIndex("PrimaryKey");
  rooms.seek({Value("2")});
  addRoom(rooms, Value("0"));
  EXPECT_EQ(rooms.field("Room Number").text(), "2");
  rooms.moveNext();
  EXPECT_EQ(rooms.field("Room Number").text(), "3");
}

TEST_F(CursorTest, SeekWithNoMatch) {
  Table rooms = db.openTable("Room Info");
  addRoom(rooms, Value("101"));
  rooms.setIndex("PrimaryKey");
  rooms.seek({Value("102")});
  EXPECT_TRUE(rooms.noMatch());
  EXPECT_THROW(rooms.field("Room Number"), Error);
  rooms.seek({Value("101")});
  EXPECT_FALSE(rooms.noMatch());
}

struct CaseSeek {
  const char* stored;
  const char* sought;
  bool found;
};

class CaseSeekTest : public CursorTest, public ::testing::WithParamInterface<CaseSeek> {};

TEST_P(CaseSeekTest, TextKeysIgnoreLetterCase) {
  Table rooms = db.openTable("Room Info");
  addRoom(rooms, Value(GetParam().stored));
  rooms.setIndex("PrimaryKey");
  rooms.seek({Value(GetParam().sought)});
  EXPECT_EQ(!rooms.noMatch(), GetParam().found);
  if (GetParam().found) {
    EXPECT_EQ(rooms.field("Room Number").text(), GetParam().stored);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CaseSeekTest,
    ::testing::Values(CaseSeek{"A1", "a1", true}, CaseSeek{"a1", "A1", true},
                      CaseSeek{"ÉTÉ", "été", true}, CaseSeek{"ŁÓDŹ", "łódź", true},
                      CaseSeek{"ΣΟΦΙΑ", "σοφια", true}, CaseSeek{"МОСКВА", "москва", true},
                      CaseSeek{"A1", "A1 ", false}, CaseSeek{"E", "É", false}));

TEST_F(CursorTest, UniqueKeysIgnoreLetterCaseToo) {
  Table rooms = db.openTable("Room Info");
  addRoom(rooms, Value("a1"));
  EXPECT_THROW(addRoom(rooms, Value("A1")), Error);
}

TEST_F(CursorTest, TwoKeySeekAndIndexOrder) {
  Table inventory = db.openTable("Room Inventory");
  for (auto [room, bank] :
       std::vector<std::pair<const char*, int>>{{"B", 2}, {"A", 3}, {"b", 1}, {"A", 1}}) {
    inventory.addNew();
    inventory.setField("Room Number", Value(room));
    inventory.setField("Bank", Value(bank));
    inventory.setField("1", Value(bank * 10));
    inventory.update();
  }
  inventory.setIndex("PrimaryKey");
  inventory.seek({Value("B"), Value("1")});  // a text key against a number field
  ASSERT_FALSE(inventory.noMatch());
  EXPECT_EQ(inventory.field("Room Number").text(), "b");
  EXPECT_EQ(inventory.field("1").number(), 10.0);
  inventory.moveNext();
  EXPECT_EQ(inventory.field("Room Number").text(), "B");
  inventory.setIndex("RoomNumber");
  inventory.seek({Value("a")});
  EXPECT_EQ(inventory.field("Bank").integer(), 3);  // first of the room in that index: stored order
  EXPECT_EQ(walk(inventory, "Bank"), (Names{"3", "1", "2", "1"}));
}

TEST_F(CursorTest, NullKeysSortFirstAndAreNotLostInAWalk) {
  Table rooms = db.openTable("Room Info");
  addRoom(rooms, Value("B"), Value("x"));
  rooms.addNew();
  rooms.setField("Room Name", Value("no number"));
  rooms.update();
  addRoom(rooms, Value("A"));
  rooms.addNew();
  rooms.update();
  Table bySchedule = db.openTable("Room Info");
  bySchedule.setIndex("PrimaryKey");
  EXPECT_EQ(walk(bySchedule), (Names{"<null>", "<null>", "A", "B"}));
}

TEST_F(CursorTest, LongWalksCrossManyBatches) {
  Table inventory = db.openTable("Room Inventory");
  db.begin();
  for (int i = 0; i < 3000; ++i) {
    inventory.addNew();
    inventory.setField("Room Number", Value("R" + std::to_string(i % 1000)));
    inventory.setField("Bank", Value(i / 1000));
    inventory.update();
  }
  db.commit();
  EXPECT_EQ(walk(inventory).size(), 3000u);
  inventory.setIndex("PrimaryKey");
  const Names ordered = walk(inventory);
  ASSERT_EQ(ordered.size(), 3000u);
  EXPECT_EQ(ordered[0], "R0");
  EXPECT_EQ(ordered[3], "R1");
  EXPECT_TRUE(std::is_sorted(ordered.begin(), ordered.end()));
}

TEST_F(CursorTest, TwoCursorsOnOneTableSeeEachOthersWritesAtOnce) {
  Table first = db.openTable("Room Info");
  for (const char* n : {"1", "2", "3", "4"}) addRoom(first, Value(n));
  Table second = db.openTable("Room Info");
  first.moveFirst();
  second.moveFirst();
  second.moveNext();  // on 2, with 3 and 4 read ahead

  first.moveNext();
  first.edit();
  first.setField("Room Name", Value("EDITED"));
  first.update();
  EXPECT_EQ(second.field("Room Name").text(), "EDITED");

  first.moveNext();
  first.remove();  // 3
  second.moveNext();
  EXPECT_EQ(second.field("Room Number").text(), "4");

  addRoom(first, Value("5"));
  second.moveNext();
  ASSERT_FALSE(second.eof());
  EXPECT_EQ(second.field("Room Number").text(), "5");

  second.remove();
  EXPECT_THROW(first.field("Room Number"), Error) << "first stood on 3, deleted";
}

TEST_F(CursorTest, EditingAKeyInAnIndexWalkMovesTheRecord) {
  Table rooms = db.openTable("Room Info");
  for (const char* n : {"A", "B", "C"}) addRoom(rooms, Value(n));
  rooms.setIndex("PrimaryKey");
  rooms.moveFirst();
  rooms.edit();
  rooms.setField("Room Number", Value("BB"));
  rooms.update();
  rooms.moveNext();
  EXPECT_EQ(rooms.field("Room Number").text(), "C");
}

TEST_F(CursorTest, ValuesByFieldType) {
  Table time = db.openTable("Room Time");
  time.addNew();
  time.setField("Room Number", Value("101"));
  time.setField("Last Updated", Value("12/08/26"));
  time.setField("Daily Normal1", Value("12.5"));
  time.setField(2 + 1, Value(3));
  time.update();
  time.addNew();
  time.setField("Room Number", Value("102"));
  time.setField("Last Updated", Value(Date{2031, 1, 2}));
  time.update();

  time.moveFirst();
  EXPECT_EQ(time.field("Last Updated").date(), (Date{2026, 12, 8}));
  EXPECT_EQ(time.field("Daily Normal1").kind(), Value::Kind::Double);
  EXPECT_EQ(time.field("Daily Normal1").number(), 12.5);
  EXPECT_EQ(time.field("Daily Normal2").number(), 3.0);
  EXPECT_TRUE(time.field("Misc Time").isNull());
  time.moveNext();
  EXPECT_EQ(time.field("Last Updated").date(), (Date{2031, 1, 2}));
}

TEST_F(CursorTest, RefusedValues) {
  Table rooms = db.openTable("Room Info");
  Table time = db.openTable("Room Time");
  rooms.addNew();
  EXPECT_THROW(rooms.setField("Room Name", Value("A NAME LONGER THAN 24 CHARS")), Error);
  EXPECT_NO_THROW(rooms.setField("Room Name", Value("ÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉÉ")));
  EXPECT_THROW(rooms.setField("No Such Field", Value("x")), Error);
  time.addNew();
  EXPECT_THROW(time.setField("Daily Normal1", Value("abc")), Error);
  EXPECT_THROW(time.setField("Last Updated", Value("13/45/26")), Error);
  EXPECT_THROW(time.setField("Last Updated", Value(5)), Error);
  rooms.cancelUpdate();
  EXPECT_THROW(rooms.update(), Error);
  EXPECT_THROW(rooms.setField("Room Name", Value("x")), Error);
}

TEST_F(CursorTest, FieldNamesIgnoreCase) {
  Table rooms = db.openTable("Room Info");
  addRoom(rooms, Value("101"), Value("OFFICE"));
  rooms.moveFirst();
  EXPECT_EQ(rooms.field("ROOM NAME").text(), "OFFICE");
  EXPECT_EQ(rooms.fieldPosition("room number"), 0u);
}

}  // namespace
