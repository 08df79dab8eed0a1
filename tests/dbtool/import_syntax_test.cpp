// Documents that are no JSON: each fault named with its line and column in characters, also deep
// in a document of several megabytes, and numbers beyond the range of a double read as they mean.
#include <gtest/gtest.h>

#include "support.h"
#include "support/temp_dir.h"

namespace {

::testing::AssertionResult startsWith(const std::string& text, const std::string& start) {
  if (text.compare(0, start.size(), start) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "\"" << text << "\" does not start with \"" << start << "\"";
}
::testing::AssertionResult holds(const std::string& text, const std::string& part) {
  if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\"" << text << "\" does not hold \"" << part << "\"";
}

// One record of one value for a field of the type; the value's text starts at column
// prefix(type).size() + 1 of line 1.
std::string prefix(const std::string& type) {
  return R"({"tables": [{"name": "T", "fields": [{"name": "A", "type": ")" + type +
         R"("}], "records": [[)";
}
std::string withValue(const std::string& type, const std::string& value) {
  return prefix(type) + value + "]]}]}";
}
std::string at(const std::string& type, std::size_t offset) {
  return "line 1, column " + std::to_string(prefix(type).size() + 1 + offset) + ": ";
}

struct Fault {
  const char* name;
  std::string json;
  std::string says;  // the start of the message
};

std::vector<Fault> faults() {
  const std::string memo = "memo", real = "double";
  return {
      {"UnclosedString", prefix(memo) + "\"open", at(memo, 0) + "the string is not closed"},
      {"ControlCharacter", withValue(memo, "\"tab\there\""),
       at(memo, 4) + "a control character in a string must be written as an escape"},
      {"NulByteInString", withValue(memo, std::string("\"a\0b\"", 5)),
       at(memo, 2) + "a control character"},
      {"UnknownEscape", withValue(memo, R"("ab\x")"), at(memo, 3) + "unknown escape in a string"},
      {"ShortUnicodeEscape", withValue(memo, R"("\u12")"),
       at(memo, 1) + "\\u must be followed by four hexadecimal digits"},
      {"HighSurrogateAlone", withValue(memo, R"("\ud800")"),
       at(memo, 1) + "\\u escape of a high surrogate without its low surrogate"},
      {"LowSurrogateAlone", withValue(memo, R"("\udc00")"),
       at(memo, 0) + "\\u escape of a lone low surrogate"},
      {"BrokenUtf8", withValue(memo, "\"\xC3(\""), at(memo, 1) + "the text is not valid UTF-8"},
      {"EncodedSurrogate", withValue(memo, "\"\xED\xA0\x80\""),
       at(memo, 1) + "the text is not valid UTF-8"},
      {"LeadingZero", withValue(real, "01"), at(real, 0) + "malformed number '01...'"},
      {"NoFraction", withValue(real, "1."),
       at(real, 0) + "malformed number '1.': a digit must follow the decimal point"},
      {"NoExponent", withValue(real, "1e+"),
       at(real, 0) + "malformed number '1e+': the exponent has no digits"},
      {"MinusAlone", withValue(real, "-x"),
       at(real, 0) + "malformed number: a digit must follow '-'"},
      {"LettersAfterNumber", withValue(real, "12abc"), at(real, 0) + "malformed number '12a...'"},
      {"SecondPoint", withValue(real, "1e999.5"), at(real, 0) + "malformed number '1e999....'"},
      {"WordCutShort", withValue(real, "nul"), at(real, 0) + "'nul' is not JSON"},
      {"WordGoesOn", withValue(real, "truex"), at(real, 0) + "'truex' is not JSON"},
      {"UnquotedWord", withValue(real, "x1"),
       at(real, 0) + "'x1' is not JSON (a string needs double quotes)"},
      {"CapitalWord", withValue(real, "True"), at(real, 0) + "unexpected character 'T'"},
      {"NulByte", withValue(real, std::string("\0", 1)),
       at(real, 0) + "unexpected character (byte 0)"},
      {"NulAfterDocument", R"({"tables": []})" + std::string("\0", 1),
       "line 1, column 15: unexpected character (byte 0)"},
      {"WordAfterDocument", R"({"tables": []} x)", "line 1, column 16: 'x' is not JSON"},
      {"ColonInArray", withValue(real, "1: 2"),
       at(real, 1) + "table \"T\", record 1: expected ',' or ']', found ':'"},
      {"MissingColon", R"({"tables" [])",
       "line 1, column 11: expected ':' after the member name, found '['"},
      {"MissingCommaInObject", R"({"tables": [] "x": 1})",
       "line 1, column 15: expected ',' or '}' in the document, found a string"},
      {"MissingCommaInList",
       R"({"tables": [{"name": "T", "fields": [{"name": "A", "type": "text"} {}]}]})",
       "line 1, column 68: expected ',' or ']' in the fields of table \"T\", found '{'"},
      {"TrailingCommaInRecord", withValue(real, "1,"),
       at(real, 2) + "table \"T\", record 1: the record has more values than the table's 1 field"},
      {"CutShortInRecord", prefix(real) + "1, ",
       at(real, 3) + "table \"T\", record 1: the record has more values"},
      {"CutShortInDefinition", R"({"tables": [{"name": )",
       "line 1, column 22: the name of table 1 must be a string, found the end of the input"},
      {"CharactersNotBytes", "{\"tables\": [{\"name\": \"ÄÖÜ€😀\" \"x\"}]}",
       "line 1, column 30: expected ',' or '}' in table \"ÄÖÜ€😀\", found a string"},
      {"SecondLine", "{\"tables\":\n  [x]}", "line 2, column 4: 'x' is not JSON"},
      {"WindowsLineEnds", "{\"tables\": [\r\n{\"name\": 1}]}",
       "line 2, column 10: the name of table 1 must be a string, found a number"},
  };
}

class ImportSyntaxTest : public ::testing::TestWithParam<Fault> {};

TEST_P(ImportSyntaxTest, NamesTheFaultWhereItIs) {
  EXPECT_TRUE(startsWith(dbtest::importRefusal(GetParam().json), GetParam().says));
}

INSTANTIATE_TEST_SUITE_P(Documents, ImportSyntaxTest, ::testing::ValuesIn(faults()),
                         [](const auto& info) { return std::string(info.param.name); });

// The reader takes the document in chunks of a megabyte: places stay true across them, in long
// strings and after many lines.
TEST(ImportSyntaxTest, PlacesStayTrueBeyondTheFirstChunks) {
  const std::string longText(3'000'000, 'a');
  EXPECT_TRUE(startsWith(dbtest::importRefusal(withValue("memo", "\"" + longText + "\\x\"")),
                         at("memo", 1 + longText.size()) + "unknown escape"));

  std::string records;
  for (int i = 0; i < 100'000; ++i) records += "[" + std::to_string(i * 7919) + ".25],\n";
  const std::string json = prefix("double") + "0],\n" + records + "[1e]]}]}";
  EXPECT_TRUE(startsWith(dbtest::importRefusal(json),
                         "line 100002, column 2: malformed number '1e': the exponent"));
}

TEST(ImportSyntaxTest, DeepNestingIsRefusedAtItsFirstBracket) {
  const std::string deep(1'000'000, '[');
  EXPECT_TRUE(startsWith(dbtest::importRefusal(deep),
                         "line 1, column 1: the document must be a JSON object: "
                         "{\"tables\": [...]}, found '['"));
  EXPECT_TRUE(startsWith(dbtest::importRefusal(withValue("double", deep)),
                         at("double", 0) + "table \"T\", record 1, field \"A\": an array is no "
                                           "value for a double field"));
}

TEST(ImportSyntaxTest, NumbersBeyondADoubleReadAsTheyMean) {
  testsupport::TempDir dir;
  const std::string path = dir.file("JOX_BIG.MDB");
  const std::string many(400, '9');
  dbtest::importText(prefix("double") + "1e999], [-1E+0999], [" + many + "], [1.5e-999], [" + many +
                         ".5e-390], [-0.000000e00001]]}]}",
                     path);
  const std::string json = dbtest::exportText(path);
  EXPECT_NE(json.find("[1e999],\n        [-1e999],\n        [1e999],\n        [0],\n        "
                      "[1e+10],\n        [0]"),
            std::string::npos)
      << json;
  EXPECT_TRUE(
      holds(dbtest::importRefusal(withValue("integer", "1e999")), "1e999 is not a whole number"));
  EXPECT_TRUE(
      holds(dbtest::importRefusal(withValue("integer", many)), many + " is outside the range"));
}

}  // namespace
