#include "json_reader.h"

#include <charconv>

#include "error.h"
#include "json_text.h"

namespace dbtool {

void JsonReader::expect(Token wanted, const std::string& otherwise) {
  const Token token = lexer_.next();
  if (token != wanted) lexer_.fail(otherwise + ", found " + tokenName(token));
}

std::string JsonReader::readString(const std::string& what) {
  const Token token = lexer_.next();
  if (token != Token::String) lexer_.fail(what + " must be a string, found " + tokenName(token));
  return lexer_.text();
}

std::string JsonReader::readName(const std::string& what) {
  std::string name = readString(what);
  if (name.empty()) lexer_.fail(what + " is empty");
  if (name.find('\0') != std::string::npos) lexer_.fail(what + " holds a NUL character");
  return name;
}

std::int64_t JsonReader::readWholeNumber(const std::string& what) {
  const Token token = lexer_.next();
  if (token != Token::Number) {
    lexer_.fail(what + " must be a whole number, found " + tokenName(token));
  }
  std::int64_t number = 0;
  const std::string& text = lexer_.text();
  const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
    lexer_.fail(what + " must be a whole number, found " + text);
  }
  return number;
}

void JsonReader::unknownMember(const std::string& key, const std::string& context,
                               const char* known) const {
  lexer_.fail("unknown member " + jsonString(key) + " in " + context + "; " + known);
}

void JsonReader::failAt(TextPosition position, const std::string& message) const {
  throw Error(describe(position) + ": " + message);
}

void JsonReader::duplicateMember(const std::string& key, const std::string& context) const {
  lexer_.fail("duplicate member " + jsonString(key) + " in " + context);
}

}  // namespace dbtool
