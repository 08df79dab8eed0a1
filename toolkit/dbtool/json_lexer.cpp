#include "json_lexer.h"

#include "error.h"
#include "json_text.h"

namespace dbtool {

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

JsonLexer::JsonLexer(Input& input) : input_(input), buffer_(1 << 20) {}

void JsonLexer::refill() {
  if (atEnd_) return;
  end_ = input_.read(buffer_.data(), buffer_.size());
  pos_ = 0;
  if (end_ == 0) atEnd_ = true;
}

int JsonLexer::look() {
  if (pos_ == end_) refill();
  if (pos_ == end_) return -1;
  return static_cast<unsigned char>(buffer_[pos_]);
}

int JsonLexer::get() {
  const int ch = look();
  if (ch < 0) return ch;
  ++pos_;
  if (ch == '\n') {
    ++here_.line;
    here_.column = 1;
  } else if ((ch & 0xC0) != 0x80) {
    ++here_.column;
  }
  return ch;
}

void JsonLexer::fail(const std::string& message) const {
  throw Error(describe(tokenStart_) + ": " + message);
}

void JsonLexer::failHere(const std::string& message) const {
  throw Error(describe(here_) + ": " + message);
}

void JsonLexer::skipBlanks() {
  for (;;) {
    const int ch = look();
    if (ch != ' ' && ch != '\t' && ch != '\n' && ch != '\r') return;
    get();
  }
}

Token JsonLexer::peek() {
  if (!peeked_) {
    peekedToken_ = lex();
    peeked_ = true;
  }
  return peekedToken_;
}

Token JsonLexer::next() {
  if (peeked_) {
    peeked_ = false;
    return peekedToken_;
  }
  return lex();
}

Token JsonLexer::lex() {
  skipBlanks();
  tokenStart_ = here_;
  const int ch = get();
  switch (ch) {
    case -1: return Token::End;
    case '{': return Token::BeginObject;
    case '}': return Token::EndObject;
    case '[': return Token::BeginArray;
    case ']': return Token::EndArray;
    case ':': return Token::Colon;
    case ',': return Token::Comma;
    case '"': lexString(); return Token::String;
    default: break;
  }
  if (ch == '-' || (ch >= '0' && ch <= '9')) {
    lexNumber(ch);
    return Token::Number;
  }
  if (ch >= 'a' && ch <= 'z') {
    lexWord(ch);
    if (text_ == "true") return Token::True;
    if (text_ == "false") return Token::False;
    if (text_ == "null") return Token::Null;
    fail("'" + text_ + "' is not JSON (a string needs double quotes)");
  }
  if (ch < 0x20 || ch >= 0x80) fail("unexpected character (byte " + std::to_string(ch) + ")");
  fail(std::string("unexpected character '") + static_cast<char>(ch) + "'");
}

void JsonLexer::lexWord(int first) {
  text_.assign(1, static_cast<char>(first));
  for (int ch = look();
       (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
       ch = look()) {
    text_ += static_cast<char>(get());
  }
}

// -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
void JsonLexer::lexNumber(int first) {
  text_.assign(1, static_cast<char>(first));
  auto digits = [&]() {
    int count = 0;
    for (int ch = look(); ch >= '0' && ch <= '9'; ch = look()) {
      text_ += static_cast<char>(get());
      ++count;
    }
    return count;
  };
  int lead = first;
  if (first == '-') {
    lead = look();
    if (lead < '0' || lead > '9') fail("malformed number: a digit must follow '-'");
    text_ += static_cast<char>(get());
  }
  if (lead != '0') digits();
  if (look() == '.') {
    text_ += static_cast<char>(get());
    if (digits() == 0)
      fail("malformed number '" + text_ + "': a digit must follow the decimal point");
  }
  if (look() == 'e' || look() == 'E') {
    text_ += static_cast<char>(get());
    if (look() == '+' || look() == '-') text_ += static_cast<char>(get());
    if (digits() == 0) fail("malformed number '" + text_ + "': the exponent has no digits");
  }
  const int after = look();
  if ((after >= '0' && after <= '9') || (after >= 'a' && after <= 'z') ||
      (after >= 'A' && after <= 'Z') || after == '.' || after == '+' || after == '-') {
    fail("malformed number '" + text_ + static_cast<char>(after) + "...'");
  }
}

void JsonLexer::lexString() {
  text_.clear();
  for (;;) {
    const int ch = get();
    if (ch < 0) fail("the string is not closed");
    if (ch == '"') return;
    if (ch == '\\') {
      appendEscape();
    } else if (ch < 0x20) {
      failHere("a control character in a string must be written as an escape (\\n, \\u0001, ...)");
    } else if (ch >= 0x80) {
      appendMultibyte(ch);
    } else {
      text_ += static_cast<char>(ch);
    }
  }
}

void JsonLexer::appendMultibyte(int lead) {
  const int extra = (lead >= 0xC2 && lead <= 0xDF)   ? 1
                    : (lead >= 0xE0 && lead <= 0xEF) ? 2
                    : (lead >= 0xF0 && lead <= 0xF4) ? 3
                                                     : 0;
  char bytes[4] = {static_cast<char>(lead)};
  for (int k = 1; k <= extra; ++k) {
    const int ch = look();
    if (ch < 0 || (ch & 0xC0) != 0x80) break;
    bytes[k] = static_cast<char>(get());
    if (k == extra) {
      const std::string_view sequence(bytes, static_cast<std::size_t>(extra + 1));
      if (isUtf8(sequence)) {
        text_.append(sequence);
        return;
      }
    }
  }
  failHere("the text is not valid UTF-8");
}

unsigned JsonLexer::hexQuad() {
  unsigned value = 0;
  for (int k = 0; k < 4; ++k) {
    const int ch = get();
    unsigned digit;
    if (ch >= '0' && ch <= '9')
      digit = static_cast<unsigned>(ch - '0');
    else if (ch >= 'a' && ch <= 'f')
      digit = static_cast<unsigned>(ch - 'a' + 10);
    else if (ch >= 'A' && ch <= 'F')
      digit = static_cast<unsigned>(ch - 'A' + 10);
    else
      failHere("\\u must be followed by four hexadecimal digits");
    value = value * 16 + digit;
  }
  return value;
}

void JsonLexer::appendEscape() {
  const int ch = get();
  switch (ch) {
    case '"': text_ += '"'; return;
    case '\\': text_ += '\\'; return;
    case '/': text_ += '/'; return;
    case 'b': text_ += '\b'; return;
    case 'f': text_ += '\f'; return;
    case 'n': text_ += '\n'; return;
    case 'r': text_ += '\r'; return;
    case 't': text_ += '\t'; return;
    case 'u': break;
    default:
      failHere("unknown escape in a string (known: \\\" \\\\ \\/ \\b \\f \\n \\r \\t \\uXXXX)");
  }
  char32_t cp = hexQuad();
  if (cp >= 0xDC00 && cp <= 0xDFFF) failHere("\\u escape of a lone low surrogate");
  if (cp >= 0xD800 && cp <= 0xDBFF) {
    if (get() != '\\' || get() != 'u')
      failHere("\\u escape of a high surrogate without its low surrogate");
    const char32_t low = hexQuad();
    if (low < 0xDC00 || low > 0xDFFF)
      failHere("\\u escape of a high surrogate without its low surrogate");
    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
  }
  if (cp < 0x80) {
    text_ += static_cast<char>(cp);
  } else if (cp < 0x800) {
    text_ += static_cast<char>(0xC0 | (cp >> 6));
    text_ += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    text_ += static_cast<char>(0xE0 | (cp >> 12));
    text_ += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    text_ += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    text_ += static_cast<char>(0xF0 | (cp >> 18));
    text_ += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    text_ += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    text_ += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace dbtool
