// Export, import, export again: the document comes back byte for byte, for sample buildings and
// for tables with odd names and values.
#include <gtest/gtest.h>

#include <limits>

#include "dbtool/export.h"
#include "sample/sample.h"
#include "store/database.h"
#include "store/table.h"
#include "support.h"
#include "support/temp_dir.h"

using namespace store;
using dbtest::exportText;
using dbtest::importText;

namespace {

class RoundTripTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;

  // Imports the document into a new file and exports that again.
  std::string again(const std::string& json, const std::string& name) {
    const std::string path = dir.file(name);
    importText(json, path);
    return exportText(path);
  }
};

TEST_F(RoundTripTest, SampleBuildingComesBackByteForByte) {
  const std::string path = dir.file("JOX_S.MDB");
  sample::writeBuilding(path, {120, 3, 9});
  const std::string first = exportText(path);
  const std::string second = again(first, "JOX_COPY.MDB");
  EXPECT_EQ(second, first);
  EXPECT_EQ(again(second, "JOX_COPY2.MDB"), first);
  EXPECT_EQ(dbtest::filesIn(dir.path()),
            (std::vector<std::string>{"JOX_COPY.MDB", "JOX_COPY2.MDB", "JOX_S.MDB"}));
}

TEST_F(RoundTripTest, EmptyDatabaseHasAnEmptyTableList) {
  const std::string path = dir.file("EMPTY.MDB");
  Database::create(path).close();
  const std::string json = exportText(path);
  EXPECT_EQ(json, "{\n  \"tables\": []\n}\n");
  EXPECT_EQ(again(json, "EMPTY2.MDB"), json);
}

// Tables whose names need quoting in SQL and escaping in JSON, a system-like table, fields that
// shadow the rowid names, and values at the edges of each type.
TEST_F(RoundTripTest, OddNamesAndValuesComeBack) {
  const std::string path = dir.file("ODD.MDB");
  Database db = Database::create(path);
  const double inf = std::numeric_limits<double>::infinity();
  db.createTable({"Room \"Info\" [old]",
                  {{"Room Number", FieldType::Text, 20},
                   {"Näme [x]", FieldType::Text, 10},
                   {"back\\slash", FieldType::Integer, 4},
                   {"When", FieldType::Date, 8},
                   {"Qty.1", FieldType::Double, 8}},
                  {{"PrimaryKey", {"Room Number"}, true},
                   {"By \"name\", date", {"Näme [x]", "When"}, false}}});
  db.createTable({"MSysObjects", {{"Name", FieldType::Text, 255}}, {}});
  db.createTable({"  spaced table  ",
                  {{" lead", FieldType::Text, 5},
                   {"rowid", FieldType::Integer, 4},
                   {"oid", FieldType::Double, 8}},
                  {}});
  db.createTable({"Empty []", {{"x", FieldType::Text, 1}}, {{"x", {"x"}, true}}});
  {
    Table odd = db.openTable("Room \"Info\" [old]");
    auto add = [&](std::vector<Value> values) {
      odd.addNew();
      for (std::size_t i = 0; i < values.size(); ++i) odd.setField(i, values[i]);
      odd.update();
    };
    add({Value("1-101"), Value("ÄÖÜ€😀日本"), Value(std::numeric_limits<std::int64_t>::max()),
         Value(Date{2026, 12, 8}), Value(12.5)});
    add({Value("1-102"), Value(), Value(std::numeric_limits<std::int64_t>::min()),
         Value(Date{1899, 12, 30}), Value(0.1)});
    add({Value("B-012"), Value("tab\tnl\n\x01"), Value(0), Value(Date{9999, 12, 31}),
         Value(5e-324)});
    add({Value("\"Q\" \\ [1]"), Value("123"), Value(), Value(), Value(1e300)});
    add({Value("INF"), Value(""), Value(-7), Value("12/08/26"), Value(inf)});
    add({Value("NEG"), Value("x"), Value(1), Value(), Value(-inf)});
    add({Value(), Value(), Value(), Value(), Value()});
    Table system = db.openTable("MSysObjects");
    system.addNew();
    system.setField(0, Value("MSysACEs"));
    system.update();
    Table spaced = db.openTable("  spaced table  ");
    spaced.addNew();
    spaced.setField(0, Value(" a b "));
    spaced.setField(1, Value(42));
    spaced.setField(2, Value(-2.5));
    spaced.update();
  }
  db.close();

  const std::string json = exportText(path);
  for (const char* piece :
       {"\"name\": \"Room \\\"Info\\\" [old]\"",
        "\"name\": \"Näme [x]\", \"type\": \"text\", \"size\": 10",
        "{\"name\": \"back\\\\slash\", \"type\": \"integer\"}",
        "{\"name\": \"By \\\"name\\\", date\", \"fields\": [\"Näme [x]\", \"When\"], \"unique\": "
        "false}",
        "[\"1-101\", \"ÄÖÜ€😀日本\", 9223372036854775807, \"2026-12-08\", 12.5]",
        "[\"B-012\", \"tab\\tnl\\n\\u0001\", 0, \"9999-12-31\", 5e-324]",
        "[\"INF\", \"\", -7, \"2026-12-08\", 1e999]", "[\"NEG\", \"x\", 1, null, -1e999]",
        "[\"\\\"Q\\\" \\\\ [1]\", \"123\", null, null, 1e+300]", "[null, null, null, null, null]",
        "\"name\": \"MSysObjects\"", "[\" a b \", 42, -2.5]", "\"name\": \"Empty []\""}) {
    EXPECT_NE(json.find(piece), std::string::npos) << piece;
  }
  const std::string copy = dir.file("ODD2.MDB");
  importText(json, copy);
  EXPECT_EQ(exportText(copy), json);

  // What the store reads back is what was written: the digits stay text, the date a date.
  Database back = Database::open(copy);
  EXPECT_EQ(back.tableNames(), (std::vector<std::string>{"Room \"Info\" [old]", "MSysObjects",
                                                         "  spaced table  ", "Empty []"}));
  Table odd = back.openTable("Room \"Info\" [old]");
  odd.setIndex("PrimaryKey");
  odd.seek({Value("\"q\" \\ [1]")});
  ASSERT_FALSE(odd.noMatch());
  EXPECT_TRUE(odd.field("Näme [x]").isText());
  EXPECT_EQ(odd.field("Näme [x]").text(), "123");
  odd.seek({Value("inf")});
  ASSERT_FALSE(odd.noMatch());
  EXPECT_EQ(odd.field("When"), Value(Date{2026, 12, 8}));
  EXPECT_EQ(odd.field("Qty.1").number(), inf);
}

TEST_F(RoundTripTest, HandWrittenDocumentBecomesCanonical) {
  const std::string json =
      R"({"tables":[{"indexes":[{"fields":["A"],"name":"PK","unique":true},{"name":"N","fields":["B"]}],)"
      R"("fields":[{"type":"text","name":"A","size":5},{"name":"B","type":"text"},{"name":"C","type":"double"}],)"
      R"("name":"T","records":[ [ "x" , "\u00c4\/" , 1.50 ] ,[null,null,-0.0e0]]}, {"name": "U", "fields": [{"name": "D", "type": "date"}]}]})";
  const std::string expected =
      "{\n"
      "  \"tables\": [\n"
      "    {\n"
      "      \"name\": \"T\",\n"
      "      \"fields\": [\n"
      "        {\"name\": \"A\", \"type\": \"text\", \"size\": 5},\n"
      "        {\"name\": \"B\", \"type\": \"text\", \"size\": 255},\n"
      "        {\"name\": \"C\", \"type\": \"double\"}\n"
      "      ],\n"
      "      \"indexes\": [\n"
      "        {\"name\": \"PK\", \"fields\": [\"A\"], \"unique\": true},\n"
      "        {\"name\": \"N\", \"fields\": [\"B\"], \"unique\": false}\n"
      "      ],\n"
      "      \"records\": [\n"
      "        [\"x\", \"Ä/\", 1.5],\n"
      "        [null, null, 0]\n"
      "      ]\n"
      "    },\n"
      "    {\n"
      "      \"name\": \"U\",\n"
      "      \"fields\": [\n"
      "        {\"name\": \"D\", \"type\": \"date\"}\n"
      "      ],\n"
      "      \"indexes\": [],\n"
      "      \"records\": []\n"
      "    }\n"
      "  ]\n"
      "}\n";
  EXPECT_EQ(again(json, "HAND.MDB"), expected);
}

}  // namespace
