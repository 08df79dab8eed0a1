// Reading the digit pattern into a range, the increment, and the numbers a range gives.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tools/auto_generate_work.h"

using namespace roomkit::autogen;

namespace {

// start and end are read one character per position; a '*' in locks ticks that lock.
Pattern makePattern(const std::string& start, const std::string& end, const std::string& locks) {
  Pattern p;
  for (std::size_t i = 0; i < p.size(); ++i) {
    p[i].start = i < start.size() ? std::string(1, start[i]) : "";
    p[i].end = i < end.size() ? std::string(1, end[i]) : "";
    p[i].locked = i < locks.size() && locks[i] == '*';
  }
  return p;
}

struct PatternCase {
  const char* name;
  std::string start, end, locks;
  PatternFault fault;
  Range range;  // checked when fault is None
};

class ReadPatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(ReadPatternTest, GivesTheRangeOrTheFirstFault) {
  const PatternCase& c = GetParam();
  const PatternResult result = readPattern(makePattern(c.start, c.end, c.locks));
  ASSERT_EQ(result.fault, c.fault);
  if (c.fault != PatternFault::None) return;
  EXPECT_EQ(result.range.prefix, c.range.prefix);
  EXPECT_EQ(result.range.suffix, c.range.suffix);
  EXPECT_EQ(result.range.first, c.range.first);
  EXPECT_EQ(result.range.last, c.range.last);
  EXPECT_EQ(result.range.width, c.range.width);
}

const PatternCase patternCases[] = {
    {"PrefixLocked", "A1-101", "A1-120", "***", PatternFault::None, {"A1-", "", 101, 120, 3}},
    {"LeadingZeroKept", "0100", "0150", "", PatternFault::None, {"", "", 100, 150, 4}},
    {"LocksOnBothSides", "A12B", "A34B", "*  *", PatternFault::None, {"A", "B", 12, 34, 2}},
    {"EqualStartAndEnd", "7", "7", "", PatternFault::None, {"", "", 7, 7, 1}},
    {"EightDigits", "00000000", "99999999", "", PatternFault::None, {"", "", 0, 99999999, 8}},
    {"EmptyBoxAfterTheGroupContributesNothing",
     "10 5",
     "19 5",
     "   *",
     PatternFault::None,
     {"", "5", 10, 19, 2}},
    {"LockInsideTheGroup", "1234", "1234", "  *", PatternFault::NotGrouped, {}},
    {"EmptyFirstBox", " 123", " 129", "", PatternFault::NoLeadingDigit, {}},
    {"NothingTyped", "", "", "", PatternFault::NoLeadingDigit, {}},
    {"EveryFilledPositionLocked", "AB", "AB", "**", PatternFault::NoLeadingDigit, {}},
    {"GapInsideTheGroup", "1 3", "1 5", "", PatternFault::NoLeadingDigit, {}},
    {"LetterInAStartDigit", "1A3", "1A3", "", PatternFault::NotANumber, {}},
    {"LetterInAnEndDigit", "123", "1A3", "", PatternFault::Unreadable, {}},
    {"EmptyLastEndDigit", "12", "1", "", PatternFault::Unreadable, {}},
    // An empty ending digit before the last reads as its zeros: 00 + 5 is below 12.
    {"EmptyEarlierEndDigitReadsAsZeros", "12", " 5", "", PatternFault::StartAboveEnd, {}},
    {"StartAboveEnd", "150", "120", "", PatternFault::StartAboveEnd, {}},
};

INSTANTIATE_TEST_SUITE_P(Patterns, ReadPatternTest, ::testing::ValuesIn(patternCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReadPatternTest, AMultiCharacterDigitCountsAsItsValueTimesItsPlace) {
  Pattern p = makePattern("", "", "");
  p[0] = {"12", "12", false};  // "12" followed by one zero
  p[1] = {"5", "9", false};
  const PatternResult result = readPattern(p);
  ASSERT_EQ(result.fault, PatternFault::None);
  EXPECT_EQ(result.range.first, 125);
  EXPECT_EQ(result.range.last, 129);
  p[0].start = "1X";
  EXPECT_EQ(readPattern(p).fault, PatternFault::Unreadable);
}

struct IncrementCase {
  const char* text;
  std::optional<int> increment;
};

TEST(ReadIncrementTest, OnlyTheListedNumbersAreIncrements) {
  const IncrementCase cases[] = {{"1", 1},
                                 {"100", 100},
                                 {" 7 ", 7},
                                 {"0", std::nullopt},
                                 {"101", std::nullopt},
                                 {"", std::nullopt},
                                 {"05", std::nullopt},
                                 {"1.5", std::nullopt},
                                 {"abc", std::nullopt},
                                 {"-3", std::nullopt},
                                 {"1e2", std::nullopt}};
  for (const IncrementCase& c : cases) EXPECT_EQ(readIncrement(c.text), c.increment) << c.text;
}

TEST(RoomNumbersTest, CountsFromStartToEndByTheIncrementWithZeros) {
  const Range a1{"A1-", "", 101, 120, 3};
  const auto rooms = roomNumbers(a1, 1);
  ASSERT_EQ(rooms.size(), 20u);
  EXPECT_EQ(rooms.front(), "A1-101");
  EXPECT_EQ(rooms.back(), "A1-120");
  EXPECT_EQ(lineCount(a1, 1), 20);

  EXPECT_EQ(roomNumbers({"", "", 100, 150, 4}, 10),
            (std::vector<std::string>{"0100", "0110", "0120", "0130", "0140", "0150"}));
  EXPECT_EQ(roomNumbers({"W", "X", 1, 10, 2}, 3),
            (std::vector<std::string>{"W01X", "W04X", "W07X", "W10X"}));
  EXPECT_EQ(roomNumbers({"", "", 1, 9, 1}, 5), (std::vector<std::string>{"1", "6"}));
  EXPECT_EQ(lineCount({"", "", 1, 9, 1}, 5), 2);
  EXPECT_EQ(lineCount({"", "", 0, 99999999, 8}, 1), 100000000);
  EXPECT_EQ(roomNumbers({"", "", 42, 42, 4}, 100), std::vector<std::string>{"0042"});
}

}  // namespace
