// Structured reading on top of the lexer: objects whose member names must not repeat, arrays,
// expected tokens, names and whole numbers, each failure naming the place in the text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "json_lexer.h"

namespace dbtool {

class JsonReader {
 public:
  explicit JsonReader(JsonLexer& lexer) : lexer_(lexer) {}

  JsonLexer& lexer() { return lexer_; }

  // Reads an object's members after its '{': onMember(name) reads each value. `context()` names
  // the object in messages ("table \"Rooms\"").
  template <typename Context, typename OnMember>
  void readMembers(Context context, OnMember onMember) {
    std::vector<std::string> seen;
    if (lexer_.peek() == Token::EndObject) {
      lexer_.next();
      return;
    }
    for (;;) {
      const Token token = lexer_.next();
      if (token != Token::String) {
        lexer_.fail("expected a member name in double quotes in " + context() + ", found " +
                    tokenName(token));
      }
      std::string key = lexer_.text();
      for (const std::string& earlier : seen) {
        if (earlier == key) duplicateMember(key, context());
      }
      seen.push_back(key);
      expect(Token::Colon, "expected ':' after the member name");
      onMember(key);
      const Token after = lexer_.next();
      if (after == Token::EndObject) return;
      if (after != Token::Comma) {
        lexer_.fail("expected ',' or '}' in " + context() + ", found " + tokenName(after));
      }
    }
  }

  // Reads an array's elements after its '['.
  template <typename OnElement>
  void readElements(const std::string& context, OnElement onElement) {
    if (lexer_.peek() == Token::EndArray) {
      lexer_.next();
      return;
    }
    for (;;) {
      onElement();
      const Token after = lexer_.next();
      if (after == Token::EndArray) return;
      if (after != Token::Comma) {
        lexer_.fail("expected ',' or ']' in " + context + ", found " + tokenName(after));
      }
    }
  }

  void expect(Token wanted, const std::string& otherwise);
  std::string readString(const std::string& what);
  std::string readName(const std::string& what);  // a string that is not empty and has no NUL
  std::int64_t readWholeNumber(const std::string& what);

  [[noreturn]] void unknownMember(const std::string& key, const std::string& context,
                                  const char* known) const;
  [[noreturn]] void failAt(TextPosition position, const std::string& message) const;

 private:
  [[noreturn]] void duplicateMember(const std::string& key, const std::string& context) const;

  JsonLexer& lexer_;
};

}  // namespace dbtool
