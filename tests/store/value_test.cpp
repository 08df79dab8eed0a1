#include "store/value.h"

#include <gtest/gtest.h>

#include "store/text_case.h"

using namespace store;

namespace {

TEST(DateTest, ParsesTheSuitesForms) {
  EXPECT_EQ(*Date::parse("2026-12-08"), (Date{2026, 12, 8}));
  EXPECT_EQ(*Date::parse("12/08/26"), (Date{2026, 12, 8}));
  EXPECT_EQ(*Date::parse("1/05/30"), (Date{1930, 1, 5}));
  EXPECT_EQ(*Date::parse("1/05/29"), (Date{2029, 1, 5}));
  EXPECT_EQ(*Date::parse("2/9/2031"), (Date{2031, 2, 9}));
  for (const char* bad : {"", "2/30/26", "13/01/26", "12/08", "12/08/026", "x"}) {
    EXPECT_FALSE(Date::parse(bad)) << bad;
  }
  EXPECT_EQ((Date{2026, 12, 8}).iso(), "2026-12-08");
  EXPECT_EQ((Date{2026, 12, 8}).display(), "12/8/2026");
}

TEST(ValueTest, TextOfValues) {
  EXPECT_EQ(Value().toText(), "");
  EXPECT_EQ(Value(12.0).toText(), "12");
  EXPECT_EQ(Value(12.5).toText(), "12.5");
  EXPECT_EQ(Value(0.1).toText(), "0.1");
  EXPECT_EQ(Value(-3).toText(), "-3");
  EXPECT_EQ(Value(1e21).toText(), "1E+21");
  EXPECT_EQ(Value(Date{2026, 1, 2}).toText(), "1/2/2026");
  EXPECT_EQ(Value(3), Value(3.0));
  EXPECT_FALSE(Value("3") == Value(3));
  EXPECT_EQ(Value(), Value());
}

TEST(TextCaseTest, UpperAndFoldedCompare) {
  EXPECT_EQ(toUpper("a1-b"), "A1-B");
  EXPECT_EQ(toUpper("été"), "ÉTÉ");
  EXPECT_EQ(toUpper("ÿ"), "Ÿ");
  EXPECT_EQ(toUpper("łódź"), "ŁÓDŹ");
  EXPECT_EQ(toUpper("москва"), "МОСКВА");
  EXPECT_EQ(compareFolded("abc", "ABC"), 0);
  EXPECT_EQ(compareFolded("Ÿ", "ÿ"), 0);
  EXPECT_LT(compareFolded("a", "B"), 0);
  EXPECT_LT(compareFolded("AB", "abc"), 0);
  EXPECT_NE(compareFolded("e", "é"), 0);
  EXPECT_EQ(characterCount("ÉTÉ"), 3u);
}

}  // namespace
