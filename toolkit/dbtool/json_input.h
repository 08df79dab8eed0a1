// The document as RapidJSON's reader takes it in: bytes from an Input in chunks, with the line and
// column (in characters) of the reading position and of the token being read, so that every fault
// can say where it is. RapidJSON knows only byte offsets and ends its input at a NUL, so the
// stream counts for it, passes a NUL byte on as a control character, and checks number literals
// before the reader sees them (keeping the exact text of those too long for its double parser).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "byte_io.h"

namespace dbtool {

struct TextPosition {
  std::int64_t line = 1;
  std::int64_t column = 1;  // in characters
};

std::string describe(TextPosition position);  // "line 3, column 14"
// Throws Error with the message after its place: "line 3, column 14: ...".
[[noreturn]] void failAt(TextPosition where, const std::string& message);

// The tokens of JSON, for messages that say what was found.
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

class JsonInput {
 public:
  using Ch = char;

  explicit JsonInput(Input& input);

  // The stream interface of RapidJSON.
  Ch Peek() {
    const char ch = *next_;
    return ch != 0 ? ch : peekSlow();
  }
  Ch Take() {
    char ch = *next_;
    if (ch == 0) {
      ch = peekSlow();
      if (next_ == end_) return 0;  // the end: nothing to take
    }
    if (seeking_) noteToken(ch);
    ++next_;
    if (ch == '\n') {
      ++here_.line;
      here_.column = 1;
    } else if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) {
      ++here_.column;
    }
    return ch;
  }
  std::size_t Tell() const { return consumed_ + static_cast<std::size_t>(next_ - begin_); }
  Ch* PutBegin() { return nullptr; }  // never called: the reader does not parse in place
  void Put(Ch) {}
  void Flush() {}
  std::size_t PutEnd(Ch*) { return 0; }

  // The reader's handler calls this at the end of every event: the next token begins at the
  // first character that is no blank, ',', ':' or bracket. (RapidJSON takes a bracket only after
  // its event, so a container's event finds it at the reading position.)
  void tokenDone() { seeking_ = true; }
  TextPosition here() const { return here_; }
  // Where the token of the present event begins: the reading position for a bracket or for the
  // token at which the reader stopped, since neither is taken yet.
  TextPosition tokenStart() const { return seeking_ ? here_ : tokenStart_; }

  // The literal of the number just read, exactly as the document has it (the reader itself may
  // have seen a stand-in of equal length for one too long for its double parser).
  std::string_view numberText() {
    if (!standIn_) return {literal_, literalSize_};
    standIn_ = false;
    return longNumber_;
  }
  // The token at the reading position, for a message about the reader stopping there; refuses
  // text that is no JSON token at all (a word without quotes, a stray character).
  Token found();
  // Whether a reader offset is before the reading position (an escape's backslash) rather than
  // at it.
  bool isBehind(std::size_t offset) const { return offset < Tell(); }
  // The place of a reader offset on the reading position's line, a few characters back (where a
  // faulty escape or character began); the reading position when that part of the line is no
  // longer in the buffer.
  TextPosition positionOf(std::size_t offset) const;

 private:
  static constexpr std::size_t chunk = 1 << 20;

  char peekSlow();
  std::size_t unread() const { return static_cast<std::size_t>(end_ - next_); }
  // Moves the unread bytes to the front and reads until at least `wanted` of them are there;
  // false when the input ends before.
  bool refill(std::size_t wanted);
  // The byte `ahead` places from the reading position, or -1 past the end.
  int at(std::size_t ahead) {
    if (ahead >= unread() && !refill(ahead + 1)) return -1;
    return static_cast<unsigned char>(next_[ahead]);
  }
  std::string ahead(std::size_t count) const { return std::string(next_, count); }
  void noteToken(char first);
  // A number's literal or a word (true, false, null) at the reading position, checked whole.
  void checkNumber();
  void checkNumberWhole();  // every rule, with its message, and the stand-in of a long literal
  Token checkWord();

  Input& input_;
  std::vector<char> buffer_;  // a chunk of the input and a NUL after it
  char* begin_;               // where Tell() counts from consumed_
  char* next_;
  char* end_;
  std::size_t consumed_ = 0;  // bytes before begin_
  bool atEnd_ = false;
  bool seeking_ = true;
  TextPosition here_;
  TextPosition tokenStart_;
  // The literal of the number being read. It stays in the buffer until its event: it was checked
  // whole, with the character after it, before the reader took its first character.
  const char* literal_ = nullptr;
  std::size_t literalSize_ = 0;
  std::string longNumber_;  // the exact text of a literal handed on as a stand-in
  bool standIn_ = false;
};

}  // namespace dbtool
