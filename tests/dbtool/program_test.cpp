// A few runs of the built roomkit-db: exit status, standard output and error, files left.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "support.h"
#include "support/temp_dir.h"

namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

std::string shellQuoted(const std::string& arg) {
  std::string out = "'";
  for (char ch : arg) out += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
  return out + "'";
}

class ProgramTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  testsupport::TempDir outputs;  // apart from dir, whose files the tests count

  Result program(const std::vector<std::string>& args, const std::string& input = "/dev/null") {
    std::string command = shellQuoted(ROOMKIT_DB_PROGRAM);
    for (const std::string& arg : args) command += " " + shellQuoted(arg);
    command += " <" + shellQuoted(input) + " >" + shellQuoted(outputs.file("out")) + " 2>" +
               shellQuoted(outputs.file("err"));
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testsupport::readFile(outputs.file("out")),
            testsupport::readFile(outputs.file("err"))};
  }
};

TEST_F(ProgramTest, SampleExportImportExportGivesTheSameBytes) {
  ASSERT_EQ(
      program({"sample", dir.file("JOX_P.MDB"), "--rooms", "60", "--banks", "3", "--seed", "12"})
          .status,
      0);
  const Result first = program({"export", dir.file("JOX_P.MDB")});
  ASSERT_EQ(first.status, 0) << first.err;
  testsupport::writeFile(outputs.file("p.json"), first.out);
  const Result imported = program({"import", outputs.file("p.json"), dir.file("JOX_Q.MDB")});
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(program({"export", dir.file("JOX_Q.MDB")}).out, first.out);
  ASSERT_EQ(program({"import", "-", dir.file("JOX_R.MDB")}, outputs.file("p.json")).status, 0);
  EXPECT_EQ(program({"export", dir.file("JOX_R.MDB")}).out, first.out);
  EXPECT_EQ(dbtest::filesIn(dir.path()),
            (std::vector<std::string>{"JOX_P.MDB", "JOX_Q.MDB", "JOX_R.MDB"}));
}

TEST_F(ProgramTest, WrongUsageExitsTwoWithTheUsageOnStandardError) {
  for (const auto& args :
       {std::vector<std::string>{}, std::vector<std::string>{"import"},
        std::vector<std::string>{"frobnicate"}, std::vector<std::string>{"check"}}) {
    const Result run = program(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find("usage: roomkit-db"), std::string::npos);
  }
}

TEST_F(ProgramTest, BadDocumentExitsOneNamingThePlaceAndLeavesNoFile) {
  testsupport::writeFile(outputs.file("bad.json"),
                         "{\"tables\": [{\"name\": \"Room Info\", \"fields\": [{\"name\": \"Room "
                         "Number\", \"type\": \"text\", \"size\": 4}],\n"
                         " \"records\": [[\"1-101\"]]}]}");
  const Result run = program({"import", outputs.file("bad.json"), dir.file("JOX_BAD.MDB")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("line 2, column 15: table \"Room Info\", record 1, field \"Room Number\": "
                         "a text of 5 characters "
                         "is longer than the field's size of 4"),
            std::string::npos)
      << run.err;
  EXPECT_TRUE(dbtest::filesIn(dir.path()).empty());
}

}  // namespace
