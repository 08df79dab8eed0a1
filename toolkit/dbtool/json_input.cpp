#include "json_input.h"

#include <cstring>

#include "store/error.h"

namespace dbtool {
namespace {

bool isDigit(int ch) { return ch >= '0' && ch <= '9'; }
bool isLetterOrDigit(int ch) {
  return isDigit(ch) || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

// RapidJSON reads a number's value as it goes and stops at one beyond the range of a double
// (1e999, which export writes for infinity), or with more than 300 digits before the point; such
// literals are handed to it as a stand-in and read from their own text.
constexpr int longestWhole = 300;
constexpr int longestExponent = 2;

}  // namespace

std::string describe(TextPosition position) {
  return "line " + std::to_string(position.line) + ", column " + std::to_string(position.column);
}

const char* tokenName(Token token) {
  switch (token) {
    case Token::BeginObject: return "'{'";
    case Token::EndObject: return "'}'";
    case Token::BeginArray: return "'['";
    case Token::EndArray: return "']'";
    case Token::Colon: return "':'";
    case Token::Comma: return "','";
    case Token::String: return "a string";
    case Token::Number: return "a number";
    case Token::True: return "true";
    case Token::False: return "false";
    case Token::Null: return "null";
    case Token::End: return "the end of the input";
  }
  return "?";
}

JsonInput::JsonInput(Input& input) : input_(input), buffer_(chunk + 1) {
  begin_ = next_ = end_ = buffer_.data();
  *end_ = 0;
}

void failAt(TextPosition where, const std::string& message) {
  throw store::Error(store::Fault::Input, describe(where) + ": " + message);
}

char JsonInput::peekSlow() {
  if (next_ == end_ && !refill(1)) return 0;
  // A NUL byte in the text, which RapidJSON would take for the end: any other control character
  // is refused in the same places.
  return *next_ != 0 ? *next_ : '\x01';
}

bool JsonInput::refill(std::size_t wanted) {
  if (unread() >= wanted) return true;
  if (atEnd_ || wanted > chunk) return false;
  consumed_ = Tell();
  const std::size_t kept = unread();
  std::memmove(buffer_.data(), next_, kept);
  begin_ = next_ = buffer_.data();
  end_ = next_ + kept;
  while (unread() < wanted && !atEnd_) {
    const std::size_t got = input_.read(end_, chunk - unread());
    atEnd_ = got == 0;
    end_ += got;
  }
  *end_ = 0;
  return unread() >= wanted;
}

void JsonInput::noteToken(char first) {
  switch (first) {
    case ' ':
    case '\t':
    case '\n':
    case '\r':
    case ',':
    case ':':
    case '[':
    case ']':
    case '{':
    case '}': return;
    default: break;
  }
  seeking_ = false;
  tokenStart_ = here_;
  if (first == '-' || isDigit(first)) {
    checkNumber();
  } else if (first == 't' || first == 'f' || first == 'n') {
    checkWord();
  }
}

// -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?, not followed by a letter, digit, '.', '+' or '-'.
void JsonInput::checkNumber() {
  // Most numbers are a few digits before a comma or bracket, all in the buffer.
  const char* digits = next_ + (*next_ == '-');
  const char* end = digits;
  while (end < end_ && isDigit(*end)) ++end;
  if (end < end_ && end > digits && end - digits <= longestWhole &&
      (*digits != '0' || end == digits + 1) &&
      (*end == ',' || *end == ']' || *end == '}' || *end == ' ' || *end == '\n' || *end == '\r')) {
    literal_ = next_;
    literalSize_ = static_cast<std::size_t>(end - next_);
    return;
  }
  checkNumberWhole();
}

void JsonInput::checkNumberWhole() {
  std::size_t end = 0;
  auto malformed = [&](const std::string& what) {
    failAt(tokenStart_, "malformed number '" + ahead(end) + "': " + what);
  };
  if (at(0) == '-') {
    if (!isDigit(at(1))) failAt(tokenStart_, "malformed number: a digit must follow '-'");
    end = 1;
  }
  int whole = 1;
  if (at(end++) != '0') {
    while (isDigit(at(end))) ++end, ++whole;
  }
  if (at(end) == '.') {
    ++end;
    if (!isDigit(at(end))) malformed("a digit must follow the decimal point");
    while (isDigit(at(end))) ++end;
  }
  int exponent = 0;
  if (at(end) == 'e' || at(end) == 'E') {
    ++end;
    if (at(end) == '+' || at(end) == '-') ++end;
    if (!isDigit(at(end))) malformed("the exponent has no digits");
    while (isDigit(at(end))) ++end, ++exponent;
  }
  const int after = at(end);
  if (isLetterOrDigit(after) || after == '.' || after == '+' || after == '-') {
    failAt(tokenStart_, "malformed number '" + ahead(end) + static_cast<char>(after) + "...'");
  }
  if (end + 1 >= chunk) failAt(tokenStart_, "the number has more than a million characters");
  literal_ = next_;
  literalSize_ = end;
  if (whole > longestWhole || exponent > longestExponent) {
    // The same length, so that positions stay true: "-0.000..." or "d.000...".
    longNumber_ = ahead(end);
    std::size_t i = 1;
    if (next_[0] == '-') next_[i++] = '0';
    next_[i++] = '.';
    std::memset(next_ + i, '0', end - i);
    standIn_ = true;
  }
}

Token JsonInput::checkWord() {
  constexpr std::size_t longest = 40;  // of a word shown in a message
  std::size_t end = 0;
  while (end < longest && isLetterOrDigit(at(end))) ++end;
  const std::string word = ahead(end);
  if (word == "true") return Token::True;
  if (word == "false") return Token::False;
  if (word == "null") return Token::Null;
  failAt(tokenStart_, "'" + word + "' is not JSON (a string needs double quotes)");
}

TextPosition JsonInput::positionOf(std::size_t offset) const {
  if (offset < consumed_ || offset > Tell()) return here_;
  TextPosition position = here_;
  for (const char* at = begin_ + (offset - consumed_); at < next_; ++at) {
    if (*at == '\n') return here_;
    if ((static_cast<unsigned char>(*at) & 0xC0) != 0x80) --position.column;
  }
  return position;
}

Token JsonInput::found() {
  const int ch = at(0);
  switch (ch) {
    case -1: return Token::End;
    case '{': return Token::BeginObject;
    case '}': return Token::EndObject;
    case '[': return Token::BeginArray;
    case ']': return Token::EndArray;
    case ':': return Token::Colon;
    case ',': return Token::Comma;
    case '"': return Token::String;
    default: break;
  }
  tokenStart_ = here_;
  if (ch == '-' || isDigit(ch)) {
    checkNumber();
    return Token::Number;
  }
  if (ch >= 'a' && ch <= 'z') return checkWord();
  if (ch < 0x20 || ch >= 0x80)
    failAt(here_, "unexpected character (byte " + std::to_string(ch) + ")");
  failAt(here_, std::string("unexpected character '") + static_cast<char>(ch) + "'");
}

}  // namespace dbtool
