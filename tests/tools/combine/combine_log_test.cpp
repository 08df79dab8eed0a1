// The combine log: a new log's header, the rewrite of an old one, a rewrite cut short, and the
// lines of a run that was not committed.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"
#include "tools/combine_rooms_work.h"

using roomkit::combine_rooms::CombineLog;
using roomkit::combine_rooms::rewrittenLogLine;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

struct LineCase {
  const char* line;
  const char* rewritten;  // nullptr: the line is dropped
};

class RewriteLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(RewriteLineTest, JoinsTheTwoValuesWithABareComma) {
  const auto result = rewrittenLogLine(GetParam().line);
  if (!GetParam().rewritten) {
    EXPECT_FALSE(result.has_value()) << *result;
  } else {
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, GetParam().rewritten);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RewriteLineTest,
    ::testing::Values(LineCase{"Original Room Number, New Room Number",
                               "Original Room Number,New Room Number"},
                      LineCase{"101,102", "101,102"}, LineCase{"   101,    102", "101,102"},
                      LineCase{"101 , 102 ", "101 ,102 "},  // only leading blanks go
                      LineCase{"101,", "101,"}, LineCase{",102", ",102"},
                      LineCase{"A,B,C", "A,B,C"},  // nothing after the first comma is lost
                      LineCase{"  LONE", "LONE"},
                      LineCase{"\"Q\",1", "\"Q\",1"},  // quotes are plain characters
                      LineCase{"", nullptr}, LineCase{"    ", nullptr}));

class CombineLogTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  std::string database = dir.file("JOX_A.MDB");
  std::string log = database + ".log";
  std::string org = log + ".org";

  void run(const std::vector<std::string>& lines) {
    CombineLog file(log);
    ASSERT_EQ(file.prepare().message(), "");
    ASSERT_EQ(file.append(lines).message(), "");
  }
};

TEST_F(CombineLogTest, ANewLogStartsWithTheHeader) {
  run({"101,102", "103,102"});
  EXPECT_EQ(readFile(log), "Original Room Number, New Room Number\r\n101,102\r\n103,102\r\n");
  EXPECT_FALSE(std::filesystem::exists(org));
}

TEST_F(CombineLogTest, ASecondRunAppendsAndTheHeaderLosesItsBlank) {
  run({"101,102"});
  run({"7,8"});
  EXPECT_EQ(readFile(log), "Original Room Number,New Room Number\r\n101,102\r\n7,8\r\n");
  EXPECT_FALSE(std::filesystem::exists(org));
}

TEST_F(CombineLogTest, AnOldLogWithBareLineFeedsIsRewrittenWithCrLf) {
  writeFile(log, "Original Room Number, New Room Number\n 5, 6\n\n9,10");
  run({});
  EXPECT_EQ(readFile(log), "Original Room Number,New Room Number\r\n5,6\r\n9,10\r\n");
}

TEST_F(CombineLogTest, AnEmptyOldLogGetsTheHeader) {
  writeFile(log, "");
  run({"1,2"});
  EXPECT_EQ(readFile(log), "Original Room Number, New Room Number\r\n1,2\r\n");
}

TEST_F(CombineLogTest, ARewriteCutShortStartsAgainFromTheOrgCopy) {
  // The program died after the old log was set aside and part of it written again.
  writeFile(org, "Original Room Number, New Room Number\r\n1,2\r\n3,4\r\n");
  writeFile(log, "Original Room Number,New Ro");
  run({"5,6"});
  EXPECT_EQ(readFile(log), "Original Room Number,New Room Number\r\n1,2\r\n3,4\r\n5,6\r\n");
  EXPECT_FALSE(std::filesystem::exists(org));
}

TEST_F(CombineLogTest, TheOrgCopyAloneIsTheWholeOldLog) {
  writeFile(org, "Original Room Number,New Room Number\r\n1,2\r\n");
  run({});
  EXPECT_EQ(readFile(log), "Original Room Number,New Room Number\r\n1,2\r\n");
  EXPECT_FALSE(std::filesystem::exists(org));
}

TEST_F(CombineLogTest, DiscardingARunTakesOnlyItsLinesOut) {
  writeFile(log, "Original Room Number, New Room Number\r\n1,2\r\n");
  CombineLog file(log);
  ASSERT_EQ(file.prepare().message(), "");
  ASSERT_EQ(file.append({"3,4", "5,4"}).message(), "");
  EXPECT_EQ(readFile(log), "Original Room Number,New Room Number\r\n1,2\r\n3,4\r\n5,4\r\n")
      << "flushed before the commit";
  file.discardRun();
  EXPECT_EQ(readFile(log), "Original Room Number,New Room Number\r\n1,2\r\n");
}

TEST_F(CombineLogTest, ALogThatIsNoFileIsRefusedAndNothingIsTouched) {
  std::filesystem::create_directory(log);
  CombineLog file(log);
  const std::string failure = file.prepare().message();
  EXPECT_NE(failure.find(log), std::string::npos) << failure;
  EXPECT_NE(failure.find("not a file"), std::string::npos) << failure;
  EXPECT_TRUE(std::filesystem::is_directory(log));
  EXPECT_FALSE(std::filesystem::exists(org));
  EXPECT_NE(file.append({"1,2"}).message(), "") << "a log that was not prepared takes no lines";
}

TEST_F(CombineLogTest, ALogInAMissingFolderIsRefused) {
  CombineLog file(dir.file("missing/JOX_A.MDB.log"));
  const std::string failure = file.prepare().message();
  EXPECT_NE(failure.find("could not be written"), std::string::npos) << failure;
}

}  // namespace
