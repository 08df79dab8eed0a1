// "switchboard.ini" and "jox.ini": reading field by field, writing the records.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "logic/fields.h"
#include "logic/menu_state.h"
#include "logic/settings_file.h"
#include "logic/suite_folder.h"

using namespace switchboard;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

struct SettingsCase {
  const char* text;
  Settings expected;
};

class ParseSettingsTest : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(ParseSettingsTest, ReadsTwoSixteenBitRecords) {
  EXPECT_EQ(parseSettings(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ParseSettingsTest,
    ::testing::Values(SettingsCase{" 2 \r\n-1 \r\n", {2, -1}}, SettingsCase{"0\n0\n", {0, 0}},
                      SettingsCase{"  0  ,  -1", {0, -1}},     // a comma ends a record too
                      SettingsCase{" 7 \r\n 1 \r\n", {7, 1}},  // kept as read; the menu judges
                      SettingsCase{"", {1, 0}},                // defaults
                      SettingsCase{" 2 \r\n", {2, 0}},
                      SettingsCase{"left\r\n-1\r\n", {1, -1}},   // not a number: default
                      SettingsCase{"70000\r\n-1\r\n", {1, -1}},  // outside 16 bits: default
                      SettingsCase{"-32768\r\n32767\r\n", {-32768, 32767}},
                      SettingsCase{"2.5\r\n-0.6\r\n", {2, -1}}));  // halves to even

TEST(SettingsFileTest, RecordsHaveASignPlaceAndATrailingBlank) {
  EXPECT_EQ(formatSettings({1, -1}), QByteArray(" 1 \r\n-1 \r\n"));
  EXPECT_EQ(formatSettings({3, 0}), QByteArray(" 3 \r\n 0 \r\n"));
}

TEST(SettingsFileTest, MissingFileGivesCentreAndNotOnTop) {
  QTemporaryDir dir;
  EXPECT_EQ(readSettings(dir.filePath("switchboard.ini")), (Settings{1, 0}));
}

TEST(SettingsFileTest, WrittenFileReadsBack) {
  QTemporaryDir dir;
  const QString path = dir.filePath("switchboard.ini");
  writeBytes(path, "old text that is longer than the new records\r\n");
  ASSERT_TRUE(writeSettings(path, {0, -1}));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray(" 0 \r\n-1 \r\n"));
  EXPECT_EQ(readSettings(path), (Settings{0, -1}));
}

TEST(SettingsFileTest, UnwritableFolderReportsFailure) {
  QTemporaryDir dir;
  EXPECT_FALSE(writeSettings(dir.filePath("no such folder/switchboard.ini"), {1, 0}));
}

struct MenuCase {
  Settings read;
  std::array<bool, 3> ticked;
  bool onTop;
  Settings written;
};

class MenuStateTest : public ::testing::TestWithParam<MenuCase> {};

TEST_P(MenuStateTest, TicksFollowTheSettingsAndGoBackOut) {
  const MenuCase& c = GetParam();
  const MenuState state = MenuState::fromSettings(c.read);
  EXPECT_EQ(state.position, c.ticked);
  EXPECT_EQ(state.onTop, c.onTop);
  EXPECT_EQ(state.toSettings(), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Values, MenuStateTest,
    ::testing::Values(MenuCase{{0, -1}, {true, false, false}, true, {0, -1}},
                      MenuCase{{2, 0}, {false, false, true}, false, {2, 0}},
                      MenuCase{{5, -1}, {false, false, false}, true, {3, -1}},
                      MenuCase{{-1, 0}, {false, false, false}, false, {3, 0}},
                      MenuCase{{1, 1}, {false, true, false}, false, {1, 0}},  // only -1 is on
                      MenuCase{{1, -2}, {false, true, false}, false, {1, 0}}));

TEST(MenuTicksTest, TickingOnePositionUnticksTheOthers) {
  MenuState state = MenuState::fromSettings({0, 0});
  state.tickOnly(2);
  EXPECT_EQ(state.position, (std::array<bool, 3>{false, false, true}));
}

struct FieldCase {
  const char* text;
  const char* first;
};

class SuiteFolderTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(SuiteFolderTest, IsTheFirstFieldOfJoxIni) {
  QTemporaryDir dir;
  writeBytes(dir.filePath("jox.ini"), GetParam().text);
  EXPECT_EQ(readSuiteFolder(dir.path() + "/"), QString::fromLatin1(GetParam().first))
      << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Files, SuiteFolderTest,
    ::testing::Values(FieldCase{"D:\\Suite\\\r\nsecond line\r\n", "D:\\Suite\\"},
                      FieldCase{"  D:\\Suite\\  ,HQ,12\r\n", "D:\\Suite\\"},
                      FieldCase{"\"D:\\Suite, West\\\",HQ\r\n", "D:\\Suite, West\\"},
                      FieldCase{"/opt/suite/", "/opt/suite/"}, FieldCase{"", ""},
                      FieldCase{"   \r\nD:\\Suite\\\r\n", ""},  // only the first field counts
                      FieldCase{",D:\\Suite\\", ""},
                      FieldCase{"\xEF\xBB\xBF"
                                "D:\\Suite\\\r\n",
                                "D:\\Suite\\"}));

TEST(SuiteFolderFileTest, MissingFileGivesNoFolder) {
  QTemporaryDir dir;
  EXPECT_EQ(readSuiteFolder(dir.path() + "/"), QString());
}

TEST(SystemFolderTest, FollowsThePlatform) {
  const auto never = [](const QString&) { return false; };
  const auto classic = [](const QString& folder) { return folder == "C:\\WINDOWS\\SYSTEM\\"; };
  EXPECT_EQ(systemFolder(false, classic), "/etc/");
  EXPECT_EQ(systemFolder(true, classic), "C:\\WINDOWS\\SYSTEM\\");
  EXPECT_EQ(systemFolder(true, never), "C:\\WINNT\\SYSTEM\\");
}

TEST(FieldsTest, QuotedFieldKeepsCommasAndBlanks) {
  EXPECT_EQ(readFields("\" a, b \" , c\r\nd", 3), (QStringList{" a, b ", "c", "d"}));
  EXPECT_EQ(readFields("a\r\n\r\nb", 3), (QStringList{"a", "", "b"}));
}

}  // namespace
