// The case-blind comparison that orders every text index gives, for any bytes, the order that a
// plain character-by-character comparison of the upper-cased texts gives; an index made earlier
// stays in order.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "store/text_case.h"

namespace {

int sign(int n) { return (n > 0) - (n < 0); }

// The code points of a text upper-cased; toUpper writes valid UTF-8 for every character it read,
// so it is read back plainly.
std::u32string upperCodePoints(const std::string& text) {
  std::u32string out;
  const std::string upper = store::toUpper(text);
  for (std::size_t i = 0; i < upper.size();) {
    const unsigned char c = static_cast<unsigned char>(upper[i]);
    const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    char32_t cp = extra ? c & (0x3F >> extra) : c;
    for (int k = 1; k <= extra; ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(upper[i + k]) & 0x3F);
    out += cp;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

// Character by character from the start: the upper-cased code points, a shorter text first.
int reference(const std::string& a, const std::string& b) {
  const std::u32string x = upperCodePoints(a);
  const std::u32string y = upperCodePoints(b);
  return x < y ? -1 : x == y ? 0 : 1;
}

TEST(FoldCompareTest, AgreesWithCharacterByCharacterUpperCaseOrderForAnyBytes) {
  const std::string pieces[] = {"a",
                                "A",
                                "z",
                                "1",
                                "N100",
                                "\xC3\xA9",
                                "\xC3\x89",
                                "\xC3",
                                "\xA9",
                                "\xC2\xA0",
                                "\xC2",
                                "\xD0\xB6",
                                "\xE2\x82\xAC",
                                "\xE2\x82",
                                "\xF0\x9F\x98\x80",
                                "\xFF",
                                "\xC5\xBF",
                                "s",
                                "S",
                                " "};
  std::mt19937 random(12345);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1), length(0, 6);
  auto text = [&] {
    std::string out;
    for (std::size_t n = length(random); n > 0; --n) out += pieces[piece(random)];
    return out;
  };
  for (int round = 0; round < 200000; ++round) {
    std::string a = text(), b = text();
    if (round % 3 == 0) b = a + text();  // a shared beginning, as index keys have
    if (round % 5 == 0) b = a.substr(0, a.size() / 2) + text();
    ASSERT_EQ(sign(store::compareFolded(a, b)), reference(a, b)) << "'" << a << "' '" << b << "'";
  }
}

}  // namespace
