// JSON text as export writes it and as import reads it: escapes, numbers, UTF-8, syntax errors.
#include "dbtool/json_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dbtool/error.h"
#include "dbtool/json_lexer.h"

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
}

struct Lexed {
  std::vector<Token> tokens;
  std::vector<std::string> texts;
};

Lexed lex(const std::string& json) {
  StringInput input(json);
  JsonLexer lexer(input);
  Lexed out;
  for (Token token = lexer.next();; token = lexer.next()) {
    out.tokens.push_back(token);
    out.texts.push_back(token == Token::String || token == Token::Number ? lexer.text() : "");
    if (token == Token::End) return out;
  }
}

TEST(JsonLexerTest, ReadsTokensDecodingEscapes) {
  const Lexed lexed = lex(" {\"a\\u00e9\\ud83d\\ude00\\n\": [-0.5e+3, 0, true, false, null]}\r\n");
  const std::vector<Token> expected = {
      Token::BeginObject, Token::String,   Token::Colon,     Token::BeginArray,
      Token::Number,      Token::Comma,    Token::Number,    Token::Comma,
      Token::True,        Token::Comma,    Token::False,     Token::Comma,
      Token::Null,        Token::EndArray, Token::EndObject, Token::End};
  EXPECT_EQ(lexed.tokens, expected);
  EXPECT_EQ(lexed.texts[1], "aé😀\n");
  EXPECT_EQ(lexed.texts[4], "-0.5e+3");
}

TEST(JsonLexerTest, PositionsCountLinesAndCharacters) {
  StringInput input("[\n  \"Ä\", x]");
  JsonLexer lexer(input);
  lexer.next();
  lexer.next();
  EXPECT_EQ(lexer.position().line, 2);
  EXPECT_EQ(lexer.position().column, 3);
  lexer.next();
  try {
    lexer.next();
    FAIL();
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "line 2, column 8: 'x' is not JSON (a string needs double quotes)");
  }
}

TEST(JsonLexerTest, RefusesMalformedText) {
  const struct {
    const char* json;
    const char* message;
  } cases[] = {
      {"\"open", "the string is not closed"},
      {"\"tab\there\"", "control character"},
      {"\"\\x\"", "unknown escape"},
      {"\"\\u12\"", "four hexadecimal digits"},
      {"\"\\ud800\"", "without its low surrogate"},
      {"\"\\udc00\"", "lone low surrogate"},
      {"\"\xC3(\"", "not valid UTF-8"},
      {"\"\xED\xA0\x80\"", "not valid UTF-8"},
      {"01", "malformed number '01"},
      {"1.", "a digit must follow the decimal point"},
      {"1e", "the exponent has no digits"},
      {"-x", "a digit must follow '-'"},
      {"12abc", "malformed number"},
      {"nul", "'nul' is not JSON"},
      {"True", "unexpected character 'T'"},
      {"'a'", "unexpected character '''"},
  };
  for (const auto& c : cases) {
    try {
      lex(c.json);
      ADD_FAILURE() << "accepted " << c.json;
    } catch (const Error& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
          << c.json << ": " << error.what();
    }
  }
}

}  // namespace
