// Numbers read from typed text, their rounding, and the room list lines.
#include "kit/numbers.h"

#include <gtest/gtest.h>

#include "kit/room_line.h"

using namespace roomkit;

namespace {

struct Leading {
  const char* text;
  double number;
};

class LeadingNumberTest : public ::testing::TestWithParam<Leading> {};

TEST_P(LeadingNumberTest, ReadsTheNumberAtTheStart) {
  EXPECT_DOUBLE_EQ(leadingNumber(GetParam().text), GetParam().number) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, LeadingNumberTest,
                         ::testing::Values(Leading{"12.5 FT", 12.5}, Leading{"1 2", 12},
                                           Leading{"abc", 0}, Leading{"1D2", 100},
                                           Leading{"1e2", 100}, Leading{"-3.5", -3.5},
                                           Leading{"+4", 4}, Leading{" \t\n7", 7}, Leading{"", 0},
                                           Leading{".5", 0.5}, Leading{"1-2", 1}, Leading{"2E", 2},
                                           Leading{"2E-1", 0.2}, Leading{"1.2.3", 1.2},
                                           Leading{"-", 0}, Leading{"3 . 5", 3.5}));

TEST(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(roundHalfEven(2.5), 2);
  EXPECT_EQ(roundHalfEven(3.5), 4);
  EXPECT_EQ(roundHalfEven(0.4), 0);
  EXPECT_EQ(roundHalfEven(0.5), 0);
  EXPECT_EQ(roundHalfEven(-2.5), -2);
  EXPECT_EQ(roundHalfEven(898.6), 899);
}

TEST(RoomLineTest, NumberIsTheTextBeforeTheFirstComma) {
  EXPECT_EQ(roomLine("101A", "OFFICE"), "101A, OFFICE");
  EXPECT_EQ(roomNumberOfLine("101A, OFFICE, NORTH"), "101A");
  EXPECT_EQ(roomNumberOfLine("NOCOMMA"), "NOCOMMA");
  EXPECT_EQ(roomNumberOfLine(roomLine("7", "")), "7");
}

}  // namespace
