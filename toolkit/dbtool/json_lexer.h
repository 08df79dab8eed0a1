// Reads JSON text token by token from a stream, checking its syntax on the way: strings come out
// decoded (escapes resolved, UTF-8 checked), numbers as their literal text. Every failure is an
// Error that names the line and column.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "byte_io.h"

namespace dbtool {

struct TextPosition {
  std::int64_t line = 1;
  std::int64_t column = 1;  // in characters
};

std::string describe(TextPosition position);  // "line 3, column 14"

enum class Token {
  BeginObject,
  EndObject,
  BeginArray,
  EndArray,
  Colon,
  Comma,
  String,
  Number,
  True,
  False,
  Null,
  End
};

const char* tokenName(Token token);  // "a string", "'{'", "the end of the input", ...

class JsonLexer {
 public:
  explicit JsonLexer(Input& input);

  Token peek();
  Token next();
  // The decoded string or the number literal of the token last returned by next() (or peeked).
  const std::string& text() const { return text_; }
  TextPosition position() const { return tokenStart_; }  // where that token began

  [[noreturn]] void fail(const std::string& message) const;      // at the token's position
  [[noreturn]] void failHere(const std::string& message) const;  // at the reading position

 private:
  int get();
  int look();
  void skipBlanks();
  Token lex();
  void lexString();
  void lexNumber(int first);
  void lexWord(int first);
  void appendEscape();
  void appendMultibyte(int lead);
  unsigned hexQuad();
  void refill();

  Input& input_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool atEnd_ = false;
  TextPosition here_;
  TextPosition tokenStart_;
  std::string text_;
  bool peeked_ = false;
  Token peekedToken_ = Token::End;
};

}  // namespace dbtool
