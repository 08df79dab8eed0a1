// Settings-file lines and fields, and the blank trimming they rest on.
#include "common/text/settings_file.h"

#include <gtest/gtest.h>

#include "common/text/trim.h"
#include "support/temp_dir.h"

using namespace suite;

namespace {

TEST(TrimBlanksTest, BlanksGoTabsStay) {
  EXPECT_EQ(trimBlanks("  7A  "), "7A");
  EXPECT_EQ(trimBlanks("\t7A\t"), "\t7A\t");
  EXPECT_EQ(trimBlanks(" A B "), "A B");
  EXPECT_EQ(trimBlanks("   "), "");
  EXPECT_EQ(trimBlanks(""), "");
}

struct Fields {
  const char* line;
  std::vector<std::string> fields;
};

class SettingsFieldsTest : public ::testing::TestWithParam<Fields> {};

TEST_P(SettingsFieldsTest, SplitsAtCommasOutsideQuotes) {
  EXPECT_EQ(settingsFields(GetParam().line), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(Lines, SettingsFieldsTest,
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

}  // namespace
