// Every field type through export and import: the edges of each type come back exactly, the
// document shows them in their one form, and values a type cannot take are refused.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "store/database.h"
#include "store/table.h"
#include "support.h"
#include "support/temp_dir.h"

using namespace store;

namespace {

std::string allBytes(std::size_t count) {
  std::string bytes;
  for (std::size_t i = 0; i < count; ++i) bytes += static_cast<char>(i % 256);
  return bytes;
}

const TableDef everyType = {"Every Type",
                            {{"Text", FieldType::Text, 10},
                             {"Byte", FieldType::Integer, 1},
                             {"Short", FieldType::Integer, 2},
                             {"Long", FieldType::Integer, 4},
                             {"Huge", FieldType::Integer, 8},
                             {"Single", FieldType::Double, 4},
                             {"Double", FieldType::Double, 8},
                             {"When", FieldType::Date, 8},
                             {"Yes", FieldType::Boolean, 1},
                             {"Money", FieldType::Currency, 8},
                             {"Memo", FieldType::Memo, 0},
                             {"Bytes", FieldType::Binary, 255},
                             {"Picture", FieldType::Ole, 0},
                             {"Id", FieldType::Guid, 16}},
                            {{"PrimaryKey", {"Id"}, true},
                             {"By money, latest first", {"Money", "When"}, false, {false, true}}}};

class FieldTypesTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;

  std::string writeEveryType() {
    const std::string path = dir.file("JOX_TYPES.MDB");
    Database db = Database::create(path);
    db.createTable(everyType);
    Table table = db.openTable(everyType.name);
    const double single = std::numeric_limits<float>::max();
    const std::vector<std::vector<Value>> records = {
        {Value("ÄÖÜ€😀"), Value(0), Value(-32768), Value(2147483647),
         Value(std::numeric_limits<std::int64_t>::min()), Value(0.1), Value(0.1),
         Value(Date{1753, 1, 1}), Value::boolean(true), Value::currency(INT64_MAX),
         Value(std::string(70000, 'm') + "\n\"end\""), Value::binary(allBytes(255)),
         Value::binary(allBytes(256 * 40)), Value("{0123ABCD-4567-89AB-CDEF-0123456789AB}")},
        {Value(""), Value(255), Value(32767), Value(-1),
         Value(std::numeric_limits<std::int64_t>::max()), Value(single), Value(-1e300),
         Value(Date{1850, 6, 15, 13 * 3600 + 45 * 60 + 30}), Value::boolean(false),
         Value::currency(INT64_MIN), Value(""), Value::binary(""), Value::binary("\xff"),
         Value("{FFFFFFFF-0000-0000-0000-000000000001}")},
        {Value(), Value(), Value(), Value(), Value(), Value(1e-45), Value(),
         Value(Date{9999, 12, 31, 86399}), Value(), Value::currency(-1), Value(),
         Value::binary("ab"), Value(), Value()},
        {Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value(Date{100, 1, 1}),
         Value(), Value::currency(125000), Value(), Value(), Value(), Value()},
    };
    for (const auto& record : records) {
      table.addNew();
      for (std::size_t i = 0; i < record.size(); ++i) table.setField(i, record[i]);
      table.update();
    }
    return path;
  }
};

TEST_F(FieldTypesTest, EveryTypeComesBackExactly) {
  const std::string json = dbtest::exportText(writeEveryType());
  for (const char* piece :
       {"{\"name\": \"Text\", \"type\": \"text\", \"size\": 10}",
        "{\"name\": \"Byte\", \"type\": \"integer\", \"size\": 1}",
        "{\"name\": \"Short\", \"type\": \"integer\", \"size\": 2}",
        "{\"name\": \"Long\", \"type\": \"integer\"}",
        "{\"name\": \"Huge\", \"type\": \"integer\", \"size\": 8}",
        "{\"name\": \"Single\", \"type\": \"double\", \"size\": 4}",
        "{\"name\": \"Double\", \"type\": \"double\"}",
        "{\"name\": \"When\", \"type\": \"date\"}",
        "{\"name\": \"Yes\", \"type\": \"boolean\"}",
        "{\"name\": \"Money\", \"type\": \"currency\"}",
        "{\"name\": \"Memo\", \"type\": \"memo\"}",
        "{\"name\": \"Bytes\", \"type\": \"binary\", \"size\": 255}",
        "{\"name\": \"Picture\", \"type\": \"ole\"}",
        "{\"name\": \"Id\", \"type\": \"guid\"}",
        "{\"name\": \"PrimaryKey\", \"fields\": [\"Id\"], \"unique\": true}",
        "{\"name\": \"By money, latest first\", \"fields\": [\"Money\", \"When\"], "
        "\"descending\": [false, true], \"unique\": false}",
        "[\"ÄÖÜ€😀\", 0, -32768, 2147483647, -9223372036854775808, 0.1, 0.1, \"1753-01-01\", "
        "true, 922337203685477.5807, \"mmm",
        "\\n\\\"end\\\"\", \"AAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEy",
        "9vf4+fr7/P3+\", \"AAECAwQF",
        "\", \"{0123ABCD-4567-89AB-CDEF-0123456789AB}\"]",
        "[\"\", 255, 32767, -1, 9223372036854775807, 3.4028235e+38, -1e+300, "
        "\"1850-06-15 13:45:30\", false, -922337203685477.5808, \"\", \"\", \"/w==\", "
        "\"{FFFFFFFF-0000-0000-0000-000000000001}\"]",
        "[null, null, null, null, null, 1e-45, null, \"9999-12-31 23:59:59\", null, -0.0001, "
        "null, \"YWI=\", null, null]",
        "\"0100-01-01\", null, 12.5, null"}) {
    EXPECT_NE(json.find(piece), std::string::npos) << piece;
  }

  const std::string copy = dir.file("JOX_COPY.MDB");
  dbtest::importText(json, copy);
  EXPECT_EQ(dbtest::exportText(copy), json);

  // What the store reads back is of the field's own kind and value.
  Database back = Database::open(copy);
  const TableDef def = back.tableDef(everyType.name);
  ASSERT_EQ(def.indexes.size(), 2u);
  EXPECT_EQ(def.indexes[1].descending, (std::vector<bool>{false, true}));
  Table table = back.openTable(everyType.name);
  table.moveFirst();
  EXPECT_FLOAT_EQ(static_cast<float>(table.field("Single").number()), 0.1f);
  EXPECT_EQ(table.field("Money"), Value::currency(INT64_MAX));
  EXPECT_EQ(table.field("Picture").bytes(), allBytes(256 * 40));
  EXPECT_TRUE(table.field("Yes").boolean());
  table.moveNext();
  EXPECT_EQ(table.field("When").date(), (Date{1850, 6, 15, 49530}));
  EXPECT_EQ(table.field("Bytes").kind(), Value::Kind::Binary);
  EXPECT_TRUE(table.field("Bytes").bytes().empty());
  EXPECT_EQ(table.field("Huge").integer(), std::numeric_limits<std::int64_t>::max());
}

// A hand-written document may write numbers in other forms; they are read exactly.
TEST_F(FieldTypesTest, AmountsAndSinglesAreReadFromTheirText) {
  const std::string path = dir.file("JOX_HAND.MDB");
  dbtest::importText(
      R"({"tables": [{"name": "T", "fields": [{"name": "M", "type": "currency"},
 {"name": "S", "type": "double", "size": 4}, {"name": "W", "type": "date"}],
 "records": [[0.30000, 0.3, "2026-12-08 00:00:00"], [1e3, 16777217, null], [-12.34E-2, -0, null]]}]})",
      path);
  const std::string json = dbtest::exportText(path);
  EXPECT_NE(json.find("[0.3, 0.3, \"2026-12-08\"],\n        [1000, 16777216, null],\n        "
                      "[-0.1234, 0, null]"),
            std::string::npos)
      << json;
}

struct Refusal {
  const char* name;
  const char* fields;
  const char* record;
  const char* says;
};

class FieldTypeRefusalTest : public ::testing::TestWithParam<Refusal> {};

TEST_P(FieldTypeRefusalTest, NamesTheFieldAndLeavesNoFile) {
  const Refusal& refusal = GetParam();
  const std::string message = dbtest::importRefusal(
      std::string(R"({"tables": [{"name": "T", "fields": [)") + refusal.fields +
      R"(], "indexes": [], "records": [)" + refusal.record + "]}]}");
  EXPECT_NE(message.find(refusal.says), std::string::npos) << message;
}

const char* byteField = R"({"name": "B", "type": "integer", "size": 1})";

INSTANTIATE_TEST_SUITE_P(
    Values, FieldTypeRefusalTest,
    ::testing::Values(
        Refusal{"ByteAbove", byteField, "[256]",
                "field \"B\": 256 is outside the range of an integer field of 1 bytes (0 to 255)"},
        Refusal{"ByteBelow", byteField, "[-1]", "-1 is outside the range"},
        Refusal{"ShortAbove", R"({"name": "S", "type": "integer", "size": 2})", "[32768]",
                "32768 is outside the range of an integer field of 2 bytes (-32768 to 32767)"},
        Refusal{"HugeAbove", R"({"name": "H", "type": "integer", "size": 8})",
                "[9223372036854775808]", "9223372036854775808 is outside the range"},
        Refusal{"SingleBeyond", R"({"name": "S", "type": "double", "size": 4})", "[1e39]",
                "1e39 is outside the range of a single-precision field"},
        Refusal{"CurrencyFiveDecimals", R"({"name": "M", "type": "currency"})", "[1.00001]",
                "field \"M\": 1.00001 is no currency amount, which has at most 4 decimals"},
        Refusal{"CurrencyBeyond", R"({"name": "M", "type": "currency"})", "[922337203685477.5808]",
                "922337203685477.5808 is no currency amount"},
        Refusal{"CurrencyAsText", R"({"name": "M", "type": "currency"})", R"(["12.5"])",
                "a string is no value for a currency field"},
        Refusal{"Base64Length", R"({"name": "P", "type": "ole"})", R"(["YWI"])",
                "field \"P\": \"YWI\" is not base64"},
        Refusal{"Base64Letter", R"({"name": "P", "type": "ole"})", R"(["YW*="])", "is not base64"},
        Refusal{"Base64LooseBits", R"({"name": "P", "type": "ole"})", R"(["YWJ="])",
                "is not base64"},
        Refusal{"Base64InsidePadding", R"({"name": "P", "type": "ole"})", R"(["YQ==YWI="])",
                "is not base64"},
        Refusal{"BinaryTooLong", R"({"name": "B", "type": "binary", "size": 2})", R"(["YWJj"])",
                "field \"B\": 3 bytes are more than the field's size of 2"},
        Refusal{"GuidWithoutBraces", R"({"name": "G", "type": "guid"})",
                R"(["0123ABCD-4567-89AB-CDEF-0123456789AB"])", "is not a GUID in the form"},
        Refusal{"GuidBadDigit", R"({"name": "G", "type": "guid"})",
                R"(["{0123ABCD-4567-89AB-CDEF-0123456789AG}"])", "is not a GUID"},
        Refusal{"GuidAsNumber", R"({"name": "G", "type": "guid"})", "[1]",
                "a number is no value for a guid field (write it as"},
        Refusal{"DateTimeHour", R"({"name": "W", "type": "date"})", R"(["2026-12-08 24:00:00"])",
                "\"2026-12-08 24:00:00\" is not a date in the form"},
        Refusal{"DateTimeWithT", R"({"name": "W", "type": "date"})", R"(["2026-12-08T10:00:00"])",
                "is not a date"},
        Refusal{"DateTimeNoSeconds", R"({"name": "W", "type": "date"})", R"(["2026-12-08 10:00"])",
                "is not a date"},
        Refusal{"DateBeforeYear100", R"({"name": "W", "type": "date"})", R"(["0099-12-31"])",
                "is not a date"},
        Refusal{"BooleanAsNumber", R"({"name": "Y", "type": "boolean"})", "[-1]",
                "a number is no value for a boolean field (write true or false)"},
        Refusal{"BooleanAsText", R"({"name": "Y", "type": "boolean"})", R"(["yes"])",
                "a string is no value for a boolean field"},
        Refusal{"TrueForText", R"({"name": "A", "type": "memo"})", "[true]",
                "true is no value for a memo field"},
        Refusal{"IntegerSize", R"({"name": "I", "type": "integer", "size": 3})", "",
                "the size of field 1 of table \"T\" must be 1, 2, 4 or 8"},
        Refusal{"GuidSize", R"({"name": "G", "type": "guid", "size": 38})", "",
                "must be 16 for a guid field"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FieldTypeDefinitionTest, DescendingMustMatchTheKeys) {
  testsupport::TempDir dir;
  const std::string start =
      R"({"tables": [{"name": "T", "fields": [{"name": "A", "type": "text"}, {"name": "B", "type": "date"}],
"indexes": [{"name": "I", "fields": ["A", "B"], )";
  const struct {
    const char* index;
    const char* says;
  } cases[] = {
      {R"("descending": [true]}])",
       "line 2, column 63: \"descending\" of index 1 of table \"T\" "
       "must have one true or false for each of its 2 fields"},
      {R"("descending": [true, 1]}])",
       "each of \"descending\" of index 1 of table \"T\" must be true or false, found a number"},
      {R"("descending": true}])",
       "\"descending\" of index 1 of table \"T\" must be an array of true or false, found true"},
  };
  for (const auto& c : cases) {
    const std::string message = dbtest::importRefusal(start + c.index + "}]}");
    EXPECT_NE(message.find(c.says), std::string::npos) << message;
  }
  dbtest::importText(start + R"("descending": [true, false], "unique": true}]}]})",
                     dir.file("JOX_OK.MDB"));
  EXPECT_EQ(Database::open(dir.file("JOX_OK.MDB")).tableDef("T").indexes[0].descending,
            (std::vector<bool>{true, false}));
}

}  // namespace
