#include <gtest/gtest.h>

#include "store/helpers.h"
#include "store/schema.h"
#include "support/temp_dir.h"

using namespace store;

namespace {

struct Leading {
  const char* text;
  double number;
};

class LeadingNumberTest : public ::testing::TestWithParam<Leading> {};

TEST_P(LeadingNumberTest, ReadsTheNumberAtTheStart) {
  EXPECT_DOUBLE_EQ(leadingNumber(GetParam().text), GetParam().number) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingNumberTest,
    ::testing::Values(Leading{"12.5 FT", 12.5}, Leading{"1 2", 12}, Leading{"abc", 0},
                      Leading{"1D2", 100}, Leading{"1e2", 100}, Leading{"-3.5", -3.5},
                      Leading{"+4", 4}, Leading{" \t\n7", 7}, Leading{"", 0}, Leading{".5", 0.5},
                      Leading{"1-2", 1}, Leading{"2E", 2}, Leading{"2E-1", 0.2},
                      Leading{"1.2.3", 1.2}, Leading{"-", 0}, Leading{"3 . 5", 3.5}));

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

struct Fields {
  const char* line;
  std::vector<std::string> fields;
};

class SettingsFieldsTest : public ::testing::TestWithParam<Fields> {};

TEST_P(SettingsFieldsTest, SplitsAtCommasOutsideQuotes) {
  EXPECT_EQ(settingsFields(GetParam().line), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SettingsFieldsTest,
    ::testing::Values(Fields{"C:\\DATA", {"C:\\DATA"}}, Fields{"  7  ", {"7"}},
                      Fields{" 1 , -1 ", {"1", "-1"}},
                      Fields{"\"C:\\My, Data\", x", {"C:\\My, Data", "x"}},
                      Fields{"\" spaced \"", {" spaced "}}, Fields{"", {""}},
                      Fields{"a,", {"a", ""}}));

TEST(SettingsFileTest, FirstFieldOfFirstLine) {
  testsupport::TempDir dir;
  const std::string path = dir.file("lastdir.ini");
  EXPECT_FALSE(readFirstSettingsField(path));
  ASSERT_TRUE(writeSettingsLine(path, "C:\\DATA"));
  EXPECT_EQ(testsupport::readFile(path), "C:\\DATA\r\n");
  EXPECT_EQ(*readFirstSettingsField(path), "C:\\DATA");
  testsupport::writeFile(path, "  USER7 , other\r\nsecond\r\n");
  EXPECT_EQ(*readFirstSettingsField(path), "USER7");
  testsupport::writeFile(path, "");
  EXPECT_FALSE(readFirstSettingsField(path));
  EXPECT_FALSE(writeSettingsLine(dir.file("no/such/folder.ini"), "x"));
}

TEST(NameTests, UpperCasedComparisons) {
  EXPECT_TRUE(schema::isRoomNumberField("room NUMBER"));
  EXPECT_FALSE(schema::isRoomNumberField("Room Number "));
  EXPECT_TRUE(schema::isAreaAssignmentField("Area assignment"));
  EXPECT_TRUE(schema::isAssignmentTable("Old assignments 2019"));
  EXPECT_FALSE(schema::isAssignmentTable("Assignment"));
  EXPECT_TRUE(schema::containsMsys("UserMsysCopy"));
  EXPECT_FALSE(schema::beginsWithMsys("UserMsysCopy"));
  EXPECT_TRUE(schema::beginsWithMsys("msysObjects"));
}

}  // namespace
