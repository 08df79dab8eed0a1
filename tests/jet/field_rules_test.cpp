// What Jet enforces on fields and indexes comes across into the converted file: a record added
// without a value for a Yes/No field gets No, Required fields and the key fields of a primary key
// take no null, Allow Zero Length "No" refuses an empty text, and defaults fill what is left out.
#include <gtest/gtest.h>

#include "jet/convert.h"
#include "jet_support.h"
#include "store/database.h"
#include "store/error.h"
#include "store/table.h"
#include "support/temp_dir.h"
#include "tools/auto_generate_work.h"

namespace {

class Converted : public ::testing::Test {
 protected:
  std::string convert(const char* file) {
    const std::string path = dir.file(std::string(file) + ".db");
    jet::convert(jettest::dataFile(file), path);
    return path;
  }
  testsupport::TempDir dir;
};

// "Active" of "Room Info" is a Yes/No field that no tool names.
TEST_F(Converted, ARoomAddedByAutoGenerateRoomsIsNotActive) {
  const std::string path = convert("JOX_JETDEMO.MDB");
  const auto result = roomkit::autogen::addRooms(path, {"Z-900"}, "");
  ASSERT_TRUE(result.ok()) << result.message();
  store::Database db = store::Database::open(path);
  store::Table rooms = db.openTable("Room Info");
  rooms.setIndex("PrimaryKey");
  rooms.seek({store::Value("Z-900")});
  ASSERT_FALSE(rooms.noMatch());
  ASSERT_EQ(rooms.field("Active").kind(), store::Value::boolean(false).kind());
  EXPECT_FALSE(rooms.field("Active").boolean());
}

// Access does not test the records a field already holds when Required is set on it: a table
// whose records break the rule comes in whole without it, and the conversion says so.
TEST_F(Converted, RecordsThatBreakARuleComeInWithoutIt) {
  std::string bytes = testsupport::readFile(jettest::dataFile("JOX_JETDEMO.MDB"));
  constexpr std::size_t firstRoomsNulls = 28 * 4096 + 4094;  // the null flags of the first room
  ASSERT_EQ(static_cast<unsigned char>(bytes[firstRoomsNulls]), 0xFF);
  bytes[firstRoomsNulls] = static_cast<char>(0xFE);  // its "Room Number" is null
  testsupport::writeFile(dir.file("a.mdb"), bytes);
  const jet::Summary summary = jet::convert(dir.file("a.mdb"), dir.file("a.db"));
  ASSERT_EQ(summary.tables.at(0).name, "Room Info");
  EXPECT_EQ(summary.tables[0].records, 120);
  EXPECT_EQ(summary.tables[0].leftOut,
            std::vector<std::string>{"the rules Required and Allow Zero Length of its fields, "
                                     "which record 1 breaks (NOT NULL constraint failed: Room "
                                     "Info.Room Number)"});
  EXPECT_TRUE(summary.tables[1].leftOut.empty());
  store::Database db = store::Database::open(dir.file("a.db"));
  store::Table rooms = db.openTable("Room Info");
  rooms.moveFirst();
  EXPECT_TRUE(rooms.field("Room Number").isNull());
  rooms.addNew();
  rooms.setField("Room Name", store::Value("Z-HALL"));
  rooms.update();  // no Required any more; the Yes/No field still gets No
  store::Table again = db.openTable("Room Info");
  again.moveFirst();
  while (!again.eof() && again.field("Room Name") != store::Value("Z-HALL")) again.moveNext();
  ASSERT_FALSE(again.eof());
  EXPECT_EQ(again.field("Active"), store::Value::boolean(false));
}

struct Addition {
  const char* name;
  const char* file;
  const char* table;
  std::vector<std::pair<const char*, store::Value>> values;
  // The field to look at afterwards and what it holds, or "" when the addition is refused.
  const char* field;
  store::Value holds;
};

const Addition additions[] = {
    {"YesNoGetsNo",
     "JOX_JETDEMO.MDB",
     "Room Info",
     {{"Room Number", "Z-1"}},
     "Active",
     store::Value::boolean(false)},
    {"RequiredIsRefusedWithoutValue",
     "JOX_JETDEMO.MDB",
     "Room Info",
     {{"Room Name", "HALL"}},
     "",
     {}},
    {"DefaultFillsANumber", "testV1997.mdb", "Table1", {{"A", "key"}}, "C", store::Value(0)},
    {"DefaultFillsACurrency",
     "testV1997.mdb",
     "Table1",
     {{"A", "key"}},
     "H",
     store::Value::currency(0)},
    {"NoDefaultLeavesADateNull", "testV1997.mdb", "Table1", {{"A", "key"}}, "G", {}},
    {"ZeroLengthIsRefused", "testV1997.mdb", "Table1", {{"A", "key"}, {"B", ""}}, "", {}},
    {"ZeroLengthIsTakenWhereAllowed",
     "JOX_JETDEMO.MDB",
     "Room Info",
     {{"Room Number", "Z-2"}, {"Room Name", ""}},
     "Room Name",
     store::Value("")},
    {"PrimaryKeyFieldTakesNoNull",
     "testIndexPropertiesV2000.mdb",
     "TableIgnoreNulls1",
     {{"data", "x"}},
     "",
     {}},
};

class Additions : public Converted, public ::testing::WithParamInterface<Addition> {};

TEST_P(Additions, FollowTheRulesOfTheJetFile) {
  const Addition& addition = GetParam();
  store::Database db = store::Database::open(convert(addition.file));
  store::Table table = db.openTable(addition.table);
  table.addNew();
  for (const auto& [name, value] : addition.values) table.setField(name, value);
  if (*addition.field == '\0') {
    EXPECT_THROW(table.update(), store::Error);
    return;
  }
  table.update();
  table.moveFirst();
  while (!table.eof() && table.field(addition.values[0].first) != addition.values[0].second)
    table.moveNext();
  ASSERT_FALSE(table.eof());
  EXPECT_EQ(table.field(addition.field), addition.holds);
}

INSTANTIATE_TEST_SUITE_P(Rules, Additions, ::testing::ValuesIn(additions),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
