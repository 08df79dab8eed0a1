// The export's canonical form, and its refusal of values that the document cannot show as their
// field's type.
#include <gtest/gtest.h>

#include "store/database.h"
#include "store/error.h"
#include "store/schema.h"
#include "store/table.h"
#include "support.h"
#include "support/temp_dir.h"

using namespace store;
using dbtest::exportText;

namespace {

class ExportTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  std::string path = dir.file("JOX_E.MDB");

  void SetUp() override {
    Database db = Database::create(path);
    db.createTable({"Banks",
                    {{"Bank", FieldType::Integer, 4}, {"Description", FieldType::Text, 40}},
                    {{"PrimaryKey", {"Bank"}, true}}});
    db.createTable({"Times",
                    {{"Room Number", FieldType::Text, 20},
                     {"Last Updated", FieldType::Date, 8},
                     {"Minutes", FieldType::Double, 8}},
                    {}});
    Table banks = db.openTable("Banks");
    for (int bank : {2, 1}) {
      banks.addNew();
      banks.setField(0, Value(bank));
      banks.setField(1, bank == 1 ? Value("MAIN") : Value());
      banks.update();
    }
  }
};

TEST_F(ExportTest, WritesTheCanonicalLayout) {
  dbtest::execute(path,
                  "INSERT INTO Times VALUES ('1-101', '12/08/26', 12.5), ('1-102', '2026-1-5', 3)");
  EXPECT_EQ(exportText(path),
            "{\n"
            "  \"tables\": [\n"
            "    {\n"
            "      \"name\": \"Banks\",\n"
            "      \"fields\": [\n"
            "        {\"name\": \"Bank\", \"type\": \"integer\"},\n"
            "        {\"name\": \"Description\", \"type\": \"text\", \"size\": 40}\n"
            "      ],\n"
            "      \"indexes\": [\n"
            "        {\"name\": \"PrimaryKey\", \"fields\": [\"Bank\"], \"unique\": true}\n"
            "      ],\n"
            "      \"records\": [\n"
            "        [2, null],\n"
            "        [1, \"MAIN\"]\n"
            "      ]\n"
            "    },\n"
            "    {\n"
            "      \"name\": \"Times\",\n"
            "      \"fields\": [\n"
            "        {\"name\": \"Room Number\", \"type\": \"text\", \"size\": 20},\n"
            "        {\"name\": \"Last Updated\", \"type\": \"date\"},\n"
            "        {\"name\": \"Minutes\", \"type\": \"double\"}\n"
            "      ],\n"
            "      \"indexes\": [],\n"
            "      \"records\": [\n"
            "        [\"1-101\", \"2026-12-08\", 12.5],\n"
            "        [\"1-102\", \"2026-01-05\", 3]\n"
            "      ]\n"
            "    }\n"
            "  ]\n"
            "}\n");
}

TEST_F(ExportTest, SameDatabaseGivesTheSameBytes) {
  const std::string first = exportText(path);
  EXPECT_EQ(exportText(path), first);
  // Deleting and adding back changes the stored order, and so the document.
  dbtest::execute(path, "DELETE FROM Banks WHERE Bank = 2; INSERT INTO Banks VALUES (2, NULL)");
  const std::string reordered = exportText(path);
  EXPECT_NE(reordered, first);
  EXPECT_LT(reordered.find("[1, \"MAIN\"]"), reordered.find("[2, null]"));
}

TEST_F(ExportTest, RefusesValuesTheFieldTypeCannotHold) {
  const struct {
    const char* insert;
    const char* field;
    const char* what;
  } cases[] = {
      {"INSERT INTO Times VALUES ('1', '2026-12-08', 'lots')", "\"Minutes\"",
       "holds text (\"lots\") instead of a number"},
      {"INSERT INTO Times VALUES ('1', 'soon', 1)", "\"Last Updated\"", "that is not a date"},
      {"INSERT INTO Times VALUES ('1', 46000, 1)", "\"Last Updated\"",
       "holds a number instead of a date"},
      {"INSERT INTO Times VALUES (CAST(x'ff00' AS BLOB), NULL, 1)", "\"Room Number\"", "not UTF-8"},
      {"INSERT INTO Banks VALUES (2.5, 'HALF')", "\"Bank\"", "2.5, which is not a whole number"},
      {"INSERT INTO Banks VALUES ('three', NULL)", "\"Bank\"", "instead of a whole number"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.insert);
    testsupport::TempDir own;
    const std::string file = own.file("JOX_BAD.MDB");
    std::filesystem::copy_file(path, file);
    dbtest::execute(file, c.insert);
    try {
      exportText(file);
      ADD_FAILURE() << "exported";
    } catch (const store::Error& error) {
      EXPECT_TRUE(error.is(store::Fault::Input)) << error.what();
      const std::string message = error.what();
      const std::string table = std::string(c.insert).find("Banks") != std::string::npos
                                    ? "table \"Banks\", record 3"
                                    : "table \"Times\", record 1";
      EXPECT_NE(message.find(table), std::string::npos) << message;
      EXPECT_NE(message.find(std::string("field ") + c.field), std::string::npos) << message;
      EXPECT_NE(message.find(c.what), std::string::npos) << message;
    }
  }
}

TEST_F(ExportTest, MissingFileIsRefusedAndNotCreated) {
  EXPECT_THROW(exportText(dir.file("JOX_NONE.MDB")), store::Error);
  EXPECT_EQ(dbtest::filesIn(dir.path()), (std::vector<std::string>{"JOX_E.MDB"}));
}

TEST_F(ExportTest, EmptyBuildingListsEverySchemaTable) {
  const std::string building = dir.file("JOX_B.MDB");
  schema::createBuildingDatabase(building);
  const std::string json = exportText(building);
  std::size_t at = 0;
  for (const TableDef& def : schema::buildingTables()) {
    at = json.find("\"name\": \"" + def.name + "\",\n      \"fields\"", at);
    ASSERT_NE(at, std::string::npos) << def.name;
  }
  EXPECT_NE(
      json.find(
          "{\"name\": \"PrimaryKey\", \"fields\": [\"Room Number\", \"Bank\"], \"unique\": true}"),
      std::string::npos);
}

}  // namespace
