// JSON text as export writes it: escapes, numbers, UTF-8.
#include "dbtool/json_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace dbtool;

namespace {

TEST(JsonTextTest, EscapesQuoteBackslashAndControlCharactersOnly) {
  const struct {
    std::string text;
    std::string json;
  } cases[] = {
      {"OFFICE", "\"OFFICE\""},
      {"CONF \"A\"", "\"CONF \\\"A\\\"\""},
      {"C:\\ROOMS", "\"C:\\\\ROOMS\""},
      {"a\nb\tc\rd\be\ff", "\"a\\nb\\tc\\rd\\be\\ff\""},
      {std::string("x\0y", 3), "\"x\\u0000y\""},
      {"\x01\x1f\x7f", "\"\\u0001\\u001f\\u007f\""},
      {"/ stays", "\"/ stays\""},
      {"ÄÖÜ € 日本 😀", "\"ÄÖÜ € 日本 😀\""},
  };
  for (const auto& c : cases) EXPECT_EQ(jsonString(c.text), c.json) << c.json;
}

TEST(JsonTextTest, DoublesInShortestExactFormAndInfinityAsOverflow) {
  const struct {
    double number;
    const char* json;
  } cases[] = {
      {0.0, "0"},
      {12.5, "12.5"},
      {0.1, "0.1"},
      {-2.25, "-2.25"},
      {729.0, "729"},
      {1e21, "1e+21"},
      {1e-7, "1e-07"},
      {5e-324, "5e-324"},
      {1.0 / 3, "0.3333333333333333"},
      {std::numeric_limits<double>::infinity(), "1e999"},
      {-std::numeric_limits<double>::infinity(), "-1e999"},
  };
  for (const auto& c : cases) {
    std::string out;
    appendJsonDouble(out, c.number);
    EXPECT_EQ(out, c.json);
  }
  std::string whole;
  appendJsonInteger(whole, std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(whole, "-9223372036854775808");
}

TEST(JsonTextTest, RecognisesWellFormedUtf8) {
  EXPECT_TRUE(isUtf8(""));
  EXPECT_TRUE(isUtf8("plain"));
  EXPECT_TRUE(isUtf8("Ä€😀"));
  EXPECT_FALSE(isUtf8("\x80"));              // stray continuation byte
  EXPECT_FALSE(isUtf8("\xC3"));              // cut short
  EXPECT_FALSE(isUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(isUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(isUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(isUtf8("\xE2\x82"));
  EXPECT_FALSE(isUtf8("ok \xC3"));  // cut short at the very end
  EXPECT_TRUE(isUtf8(std::string("x\0y\xC3\xA4z", 6)));
}

}  // namespace
