// Every refused document gets a message that names what and where, and leaves no file behind.
#include <gtest/gtest.h>

#include "store/database.h"
#include "store/error.h"
#include "support.h"
#include "support/temp_dir.h"

namespace {

// A table "Rooms" with a unique text key of 6 characters, an integer, a double and a date.
std::string document(const std::string& records,
                     const std::string& indexes =
                         R"([{"name": "PrimaryKey", "fields": ["Number"], "unique": true}])") {
  return R"({"tables": [{"name": "Banks", "fields": [{"name": "Bank", "type": "integer"}], "indexes": [], "records": [[1], [2]]},
{"name": "Rooms", "fields": [{"name": "Number", "type": "text", "size": 6}, {"name": "Count", "type": "integer"},
{"name": "Area", "type": "double"}, {"name": "Updated", "type": "date"}],
"indexes": )" +
         indexes + R"(, "records": [)" + records + "]}]}";
}

std::string table(const std::string& members) { return R"({"tables": [{)" + members + "}]}"; }

const std::string fields = R"("fields": [{"name": "A", "type": "text", "size": 3}])";

struct Refusal {
  const char* name;
  std::string json;
  std::vector<std::string> says;  // pieces of the message
};

std::vector<Refusal> refusals() {
  return {
      {"Empty", "", {"line 1, column 1", "must be a JSON object"}},
      {"NotAnObject", "[]", {"must be a JSON object"}},
      {"Unclosed", R"({"tables": [)", {"a table must be an object", "found the end of the input"}},
      {"TrailingComma", R"({"tables": [],})", {"expected a member name"}},
      {"TextAfterDocument", R"({"tables": []} {})", {"line 1, column 16", "more text follows"}},
      {"SingleQuotes", R"({'tables': []})", {"unexpected character '''"}},
      {"NoTables", "{}", {"has no \"tables\""}},
      {"UnknownTopMember",
       R"({"tables": [], "extra": 1})",
       {"unknown member \"extra\" in the document"}},
      {"DuplicateTopMember",
       R"({"tables": [], "tables": []})",
       {"duplicate member \"tables\" in the document"}},
      {"DuplicateTableMember",
       table(R"("name": "T", "name": "U", )" + fields),
       {"duplicate member \"name\" in table \"T\""}},
      {"DuplicateFieldMember",
       table(R"("name": "T", "fields": [{"name": "A", "type": "text", "type": "date"}])"),
       {"duplicate member \"type\" in field 1 of table \"T\""}},
      {"DuplicateIndexMember",
       table(R"("name": "T", )" + fields +
             R"(, "indexes": [{"name": "I", "fields": ["A"], "fields": ["A"]}])"),
       {"duplicate member \"fields\" in index 1 of table \"T\""}},
      {"UnknownType",
       table(R"("name": "T", "fields": [{"name": "A", "type": "varchar"}])"),
       {"unknown type \"varchar\" of field 1 of table \"T\""}},
      {"SizeOfDouble",
       table(R"("name": "T", "fields": [{"name": "A", "type": "double", "size": 6}])"),
       {"line 1, column 78", "the size of field 1 of table \"T\" must be 4 or 8"}},
      {"SizeOfDate",
       table(R"("name": "T", "fields": [{"name": "A", "type": "date", "size": 4}])"),
       {"the size of field 1 of table \"T\" must be 8 for a date field"}},
      {"ZeroSize",
       table(R"("name": "T", "fields": [{"name": "A", "type": "text", "size": 0}])"),
       {"size of field 1", "from 1 to"}},
      {"FieldWithoutType",
       table(R"("name": "T", "fields": [{"name": "A"}])"),
       {"field 1 of table \"T\" has no \"type\""}},
      {"TableWithoutName", table(fields), {"table 1 has no \"name\""}},
      {"TableWithoutFields", table(R"("name": "T", "records": [])"), {"table \"T\" has no fields"}},
      {"EmptyTableName", table(R"("name": "", )" + fields), {"the name of table 1 is empty"}},
      {"EngineTableName", table(R"("name": "SQLITE_x", )" + fields), {"reserved"}},
      {"DuplicateTableName",
       R"({"tables": [{"name": "Rooms", )" + fields + R"(}, {"name": "ROOMS", )" + fields + "}]}",
       {"duplicate table name \"ROOMS\"", "differ only in letter case"}},
      {"DuplicateFieldName",
       table(
           R"("name": "T", "fields": [{"name": "A", "type": "text"}, {"name": "a", "type": "date"}])"),
       {"duplicate field name \"a\" in table \"T\""}},
      {"IndexOfUnknownField",
       table(R"("name": "T", )" + fields + R"(, "indexes": [{"name": "I", "fields": ["B"]}])"),
       {"the index \"I\" of table \"T\" names the field \"B\", which the table does not have"}},
      {"DuplicateIndexName",
       table(R"("name": "T", )" + fields +
             R"(, "indexes": [{"name": "I", "fields": ["A"]}, {"name": "i", "fields": ["A"]}])"),
       {"duplicate index name \"i\""}},
      {"IndexWithoutFields",
       table(R"("name": "T", )" + fields + R"(, "indexes": [{"name": "I", "fields": []}])"),
       {"names no fields"}},
      {"MemberAfterRecords",
       table(R"("name": "T", )" + fields + R"(, "records": [], "indexes": [])"),
       {"the member \"indexes\" must come before \"records\""}},
      {"RecordNotAnArray",
       document(R"({"Number": "1-101"})"),
       {"table \"Rooms\", record 1: a record must be an array of 4 values"}},
      {"ShortRecord",
       document(R"(["1-101", 1, 2.5, null], ["1-102", 1])"),
       {"line 4, column 113",
        "table \"Rooms\", record 2: the record has 2 values for the table's 4 fields"}},
      {"LongRecord",
       document(R"(["1-101", 1, 2.5, null, "extra"])"),
       {"record 1: the record has more values than the table's 4 fields"}},
      {"EmptyRecord", document("[]"), {"record 1: the record has 0 values"}},
      {"TextInNumberField",
       document(R"(["1-101", 1, "12.5", null])"),
       {"record 1, field \"Area\": a string is no value for a double field"}},
      {"NumberInTextField",
       document(R"([101, 1, 12.5, null])"),
       {"field \"Number\": a number is no value for a text field (write text in double quotes)"}},
      {"FractionInIntegerField",
       document(R"(["1-101", 1.5, null, null])"),
       {"field \"Count\": 1.5 is not a whole number"}},
      {"ExponentInIntegerField",
       document(R"(["1-101", 1e3, null, null])"),
       {"field \"Count\": 1e3 is not a whole number"}},
      {"IntegerOutOfRange",
       document(R"(["1-101", 9223372036854775808, null, null])"),
       {"outside the range of an integer field"}},
      {"BooleanValue",
       document(R"(["1-101", true, null, null])"),
       {"field \"Count\": true is no value for an integer field"}},
      {"NestedValue",
       document(R"(["1-101", null, [1], null])"),
       {"field \"Area\": an array is no value"}},
      {"DateNotIso",
       document(R"(["1-101", null, null, "12/08/26"])"),
       {"field \"Updated\": \"12/08/26\" is not a date in the form \"YYYY-MM-DD\""}},
      {"DateNotReal",
       document(R"(["1-101", null, null, "2026-02-30"])"),
       {"\"2026-02-30\" is not a date"}},
      {"NumberAsDate",
       document(R"(["1-101", null, null, 46000])"),
       {"a number is no value for a date field"}},
      {"TextTooLong",
       document(R"(["1-101", 1, 1, null], ["ÄÖÜ-1234", 2, 2, null])"),
       {"table \"Rooms\", record 2, field \"Number\": a text of 8 characters is longer than the "
        "field's size of 6"}},
      {"DuplicateKey",
       document(R"(["1-101", 1, 1, null], ["2-202", 2, 2, null], ["1-101", 3, 3, null])"),
       {"line 4, column 134",
        "table \"Rooms\", record 3: duplicate key: an earlier record has the same \"Number\" "
        "(unique index \"PrimaryKey\")"}},
      {"DuplicateKeyInOtherCase",
       document(R"(["ab-1", 1, 1, null], ["AB-1", 2, 2, null])"),
       {"record 2: duplicate key"}},
      {"DuplicateCompositeKey",
       document(R"(["1", 1, 1, null], ["1", 2, 1, null], ["1", 1, 1, null])",
                R"([{"name": "Both", "fields": ["Number", "Count"], "unique": true}])"),
       {"record 3: duplicate key: an earlier record has the same \"Number\", \"Count\" (unique "
        "index \"Both\")"}},
      {"MissingComma",
       document(R"(["1-101" 1, 1, null])"),
       {"record 1: expected ',' or ']', found a number"}},
  };
}

class ImportRefusalTest : public ::testing::TestWithParam<Refusal> {};

TEST_P(ImportRefusalTest, NamesTheFaultAndLeavesNoFile) {
  testsupport::TempDir dir;
  const Refusal& refusal = GetParam();
  try {
    dbtest::importText(refusal.json, dir.file("JOX_NEW.MDB"));
    FAIL() << "imported";
  } catch (const store::Error& error) {
    EXPECT_TRUE(error.is(store::Fault::Input)) << error.what();
    for (const std::string& piece : refusal.says)
      EXPECT_NE(std::string(error.what()).find(piece), std::string::npos) << error.what();
  }
  EXPECT_TRUE(dbtest::filesIn(dir.path()).empty());
}

INSTANTIATE_TEST_SUITE_P(Documents, ImportRefusalTest, ::testing::ValuesIn(refusals()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ImportTest, NullKeysAreNoDuplicatesAndNumbersTakeAnyJsonForm) {
  testsupport::TempDir dir;
  const std::string path = dir.file("JOX_NEW.MDB");
  dbtest::importText(
      document(
          R"([null, -0, 2e2, "2026-12-08"], [null, 1, -1.25E-1, null], ["x", 2, 1e999, null])"),
      path);
  const std::string json = dbtest::exportText(path);
  EXPECT_NE(json.find("[null, 0, 200, \"2026-12-08\"],\n        [null, 1, -0.125, null],\n        "
                      "[\"x\", 2, 1e999, null]"),
            std::string::npos)
      << json;
}

TEST(ImportTest, ExistingTargetIsLeftAlone) {
  testsupport::TempDir dir;
  const std::string path = dir.file("JOX_OLD.MDB");
  testsupport::writeFile(path, "precious");
  try {
    dbtest::importText(R"({"tables": []})", path);
    FAIL() << "imported over an existing file";
  } catch (const store::Error& error) {
    EXPECT_TRUE(error.is(store::Fault::Input)) << error.what();
    EXPECT_NE(std::string(error.what()).find("exists"), std::string::npos);
  }
  EXPECT_EQ(testsupport::readFile(path), "precious");
  EXPECT_EQ(dbtest::filesIn(dir.path()), (std::vector<std::string>{"JOX_OLD.MDB"}));
}

TEST(ImportTest, FailureLateInABigDocumentRemovesEverything) {
  testsupport::TempDir dir;
  std::string records;
  for (int i = 0; i < 5000; ++i)
    records += "[\"R" + std::to_string(i) + "\", " + std::to_string(i) + ", 1.5, null], ";
  records += "[\"R17\", 0, 0, null]";
  try {
    dbtest::importText(document(records), dir.file("JOX_NEW.MDB"));
    FAIL();
  } catch (const store::Error& error) {
    EXPECT_TRUE(error.is(store::Fault::Input)) << error.what();
    EXPECT_NE(std::string(error.what()).find("record 5001: duplicate key"), std::string::npos)
        << error.what();
  }
  EXPECT_TRUE(dbtest::filesIn(dir.path()).empty());
}

}  // namespace
