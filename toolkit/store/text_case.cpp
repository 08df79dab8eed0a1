#include "text_case.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace store {
namespace {

// Decodes one code point at text[i] and advances i; invalid bytes stand for themselves.
char32_t decode(std::string_view text, std::size_t& i) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(i);
  const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
  if (extra == 0 || i + extra >= text.size()) {
    ++i;
    return c;
  }
  char32_t cp = c & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    const unsigned char cont = byte(i + k);
    if ((cont & 0xC0) != 0x80) {
      ++i;
      return c;
    }
    cp = (cp << 6) | (cont & 0x3F);
  }
  i += extra + 1;
  return cp;
}

void encode(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Upper-case partner of a lower-case letter; other code points are returned unchanged.
char32_t upperOf(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c < 0xB5) return c;
  if (c == 0xB5) return 0x39C;                               // micro sign
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;  // Latin-1
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {  // Latin Extended-A
    if (c == 0x131) return 'I';
    if (c == 0x17F) return 'S';
    const bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (oddPairs) return (c % 2 == 0) ? c - 1 : c;
    if (c == 0x138 || c == 0x149 || c == 0x178) return c;
    return (c % 2 == 1) ? c - 1 : c;
  }
  if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 32;  // Greek
  if (c == 0x3C2) return 0x3A3;                               // final sigma
  if (c >= 0x3AC && c <= 0x3AF) {
    static const char32_t tonos[] = {0x386, 0x388, 0x389, 0x38A};
    return tonos[c - 0x3AC];
  }
  if (c == 0x3CC) return 0x38C;
  if (c == 0x3CD || c == 0x3CE) return c - 63;
  if (c >= 0x430 && c <= 0x44F) return c - 32;  // Cyrillic
  if (c >= 0x450 && c <= 0x45F) return c - 80;
  if (c >= 0x4C1 && c <= 0x4CE) return (c % 2 == 0) ? c - 1 : c;
  if (c == 0x4CF) return 0x4C0;
  if (c >= 0x460 && c <= 0x4FF && c % 2 == 1 && !(c >= 0x482 && c <= 0x489)) return c - 1;
  return c;
}

bool isAscii(std::string_view text) {
  for (char ch : text) {
    if (static_cast<unsigned char>(ch) >= 0x80) return false;
  }
  return true;
}

char asciiUpper(char ch) { return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 32) : ch; }

}  // namespace

std::string toUpper(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  if (isAscii(text)) {
    for (char ch : text) out += asciiUpper(ch);
    return out;
  }
  for (std::size_t i = 0; i < text.size();) encode(upperOf(decode(text, i)), out);
  return out;
}

namespace {

// Where two texts first differ: every byte before it is the same in both.
std::size_t firstDifference(std::string_view a, std::string_view b, std::size_t from) {
  const std::size_t n = std::min(a.size(), b.size());
  std::size_t i = from;
  while (i + 8 <= n && std::memcmp(a.data() + i, b.data() + i, 8) == 0) i += 8;
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

}  // namespace

// Equal bytes are equal folded too, so folding starts near where the bytes first differ (keys in
// an index share long beginnings): just after the last plain ASCII byte before that place,
// which always begins a character, so the texts are read from there exactly as from the start.
int compareFolded(std::string_view a, std::string_view b) {
  std::size_t i = firstDifference(a, b, 0);
  while (i > 0 && static_cast<unsigned char>(a[i - 1]) >= 0x80) --i;
  std::size_t j = i;
  while (i < a.size() && j < b.size()) {
    const unsigned char ca = static_cast<unsigned char>(a[i]);
    const unsigned char cb = static_cast<unsigned char>(b[j]);
    char32_t x, y;
    if (ca < 0x80 && cb < 0x80) {
      x = static_cast<unsigned char>(asciiUpper(static_cast<char>(ca)));
      y = static_cast<unsigned char>(asciiUpper(static_cast<char>(cb)));
      ++i;
      ++j;
    } else {
      x = upperOf(decode(a, i));
      y = upperOf(decode(b, j));
    }
    if (x != y) return x < y ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

std::size_t characterCount(std::string_view text) {
  std::size_t count = 0;
  for (char ch : text) {
    if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++count;
  }
  return count;
}

std::string printable(std::string_view text) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte < 0x20 || byte == 0x7F) {
      out += "\\x";
      out += digits[byte >> 4];
      out += digits[byte & 0xF];
    } else {
      out += ch;
    }
  }
  return out;
}

}  // namespace store
