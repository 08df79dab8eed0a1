// The commands through run(): usage, create, sample with its account database, import from a
// stream, and refusals that leave nothing behind.
#include "dbtool/commands.h"

#include <gtest/gtest.h>

#include <sstream>

#include "dbtool/byte_io.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/table.h"
#include "support.h"
#include "support/temp_dir.h"

namespace {

using dbtest::Outcome;
using dbtest::run;

TEST(CommandsTest, WrongUsagePrintsTheUsageAndExitsTwo) {
  const std::vector<std::vector<std::string>> wrong = {
      {},
      {"list", "x"},
      {"create", "room", "x"},
      {"create", "building"},
      {"sample"},
      {"sample", "a.mdb", "b.mdb"},
      {"sample", "a.mdb", "--rooms"},
      {"sample", "a.mdb", "--rooms", "many"},
      {"sample", "a.mdb", "--rooms=-3"},
      {"sample", "a.mdb", "--banks", "1001"},
      {"sample", "a.mdb", "--colour", "red"},
      {"export"},
      {"export", "a", "b"},
      {"import", "a.json"},
  };
  for (const auto& args : wrong) {
    const Outcome outcome = run(args);
    EXPECT_EQ(outcome.status, 2) << (args.empty() ? "" : args[0]);
    EXPECT_NE(outcome.err.find("usage: roomkit-db create building FILE"), std::string::npos);
    EXPECT_TRUE(outcome.out.empty());
  }
  EXPECT_NE(run({"sample", "a.mdb", "--rooms", "many"})
                .err.find("--rooms takes a whole number from 0 to 1000000, not 'many'"),
            std::string::npos);
  const Outcome help = run({"help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage:"), std::string::npos);
}

TEST(CommandsTest, BuildingCodeComesFromTheFileName) {
  const std::pair<const char*, const char*> cases[] = {
      {"/data/JOX_MAIN.MDB", "MAIN"}, {"jox_north2.mdb", "north2"}, {"Jox_B 7.Mdb", "B 7"},
      {"plain.mdb", "plain"},         {"dir/JOX_.MDB", "JOX_"},     {"JOX_A.B.MDB", "A.B"},
      {"JOX_MAIN.BAK", "JOX_MAIN"},   {"building", "building"},
  };
  for (const auto& [path, code] : cases) EXPECT_EQ(dbtool::buildingCodeOf(path), code) << path;
}

TEST(CommandsTest, CreateMakesTheEmptySchemasAndNeverOverwrites) {
  testsupport::TempDir dir;
  ASSERT_EQ(run({"create", "building", dir.file("JOX_NEW.MDB")}).status, 0);
  ASSERT_EQ(run({"create", "account", dir.file("JOXINIT.MDB")}).status, 0);
  std::vector<std::string> tables;
  for (const auto& def : store::schema::buildingTables()) tables.push_back(def.name);
  EXPECT_EQ(store::Database::open(dir.file("JOX_NEW.MDB")).tableNames(), tables);
  EXPECT_EQ(store::Database::open(dir.file("JOXINIT.MDB")).tableNames(),
            (std::vector<std::string>{"Users- Building Access"}));

  testsupport::writeFile(dir.file("TAKEN.MDB"), "x");
  const Outcome refused = run({"create", "building", dir.file("TAKEN.MDB")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("TAKEN.MDB' exists"), std::string::npos) << refused.err;
  EXPECT_EQ(testsupport::readFile(dir.file("TAKEN.MDB")), "x");
  EXPECT_EQ(run({"create", "building", dir.file("no/such/folder/JOX_X.MDB")}).status, 1);
  EXPECT_EQ(dbtest::filesIn(dir.path()),
            (std::vector<std::string>{"JOXINIT.MDB", "JOX_NEW.MDB", "TAKEN.MDB"}));
}

TEST(CommandsTest, SampleWithAccountListsTheBuildingForItsUsers) {
  testsupport::TempDir dir;
  const Outcome outcome = run({"sample", dir.file("jox_north2.mdb"), "--rooms", "40", "--banks=2",
                               "--seed", "7", "--account", dir.file("JOXINIT.MDB")});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_NE(outcome.out.find("40 rooms, 2 banks, 80 inventory records"), std::string::npos)
      << outcome.out;
  store::Table access =
      store::Database::open(dir.file("JOXINIT.MDB")).openTable("Users- Building Access");
  access.setIndex("UserID");
  access.seek({store::Value("admin")});
  ASSERT_FALSE(access.noMatch());
  bool listed = false;
  for (; !access.eof() && access.field("User ID").text() == "ADMIN"; access.moveNext()) {
    listed = listed || access.field("Building Code").text() == "north2";
  }
  EXPECT_TRUE(listed);
  // The same command again gives the same building.
  ASSERT_EQ(
      run({"sample", dir.file("jox_copy.mdb"), "--rooms", "40", "--banks=2", "--seed", "7"}).status,
      0);
  EXPECT_EQ(dbtest::exportText(dir.file("jox_copy.mdb")),
            dbtest::exportText(dir.file("jox_north2.mdb")));
}

TEST(CommandsTest, SampleRefusalsLeaveNoFile) {
  testsupport::TempDir dir;
  testsupport::writeFile(dir.file("JOXINIT.MDB"), "old");
  const struct {
    std::vector<std::string> args;
    const char* says;
  } cases[] = {
      {{"sample", dir.file("JOX_A.MDB"), "--account", dir.file("JOXINIT.MDB")},
       "JOXINIT.MDB' exists"},
      {{"sample", dir.file("JOX_A_VERY_LONG_CODE.MDB"), "--account", dir.file("NEW.MDB")},
       "must have 1 to 10 characters"},
      {{"sample", dir.file("JOX_A.MDB"), "--account", dir.file("JOX_A.MDB")}, "cannot be one file"},
  };
  for (const auto& c : cases) {
    const Outcome outcome = run(c.args);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find(c.says), std::string::npos) << outcome.err;
  }
  EXPECT_EQ(dbtest::filesIn(dir.path()), (std::vector<std::string>{"JOXINIT.MDB"}));
}

TEST(CommandsTest, ImportReadsStandardInputAndReportsWhereItFails) {
  testsupport::TempDir dir;
  ASSERT_EQ(run({"sample", dir.file("JOX_S.MDB"), "--rooms", "25"}).status, 0);
  const Outcome exported = run({"export", dir.file("JOX_S.MDB")});
  ASSERT_EQ(exported.status, 0);
  EXPECT_TRUE(exported.err.empty());
  const Outcome imported = run({"import", "-", dir.file("JOX_T.MDB")}, exported.out);
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(run({"export", dir.file("JOX_T.MDB")}).out, exported.out);

  const Outcome broken =
      run({"import", "-", dir.file("JOX_U.MDB")}, exported.out.substr(0, exported.out.size() / 2));
  EXPECT_EQ(broken.status, 1);
  EXPECT_NE(broken.err.find("roomkit-db: standard input, line "), std::string::npos) << broken.err;
  EXPECT_NE(broken.err.find("JOX_U.MDB' was not written"), std::string::npos) << broken.err;

  const Outcome missing = run({"import", dir.file("none.json"), dir.file("JOX_V.MDB")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("cannot read '" + dir.file("none.json") + "'"), std::string::npos)
      << missing.err;
  const Outcome folder = run({"import", dir.path().string(), dir.file("JOX_V.MDB")});
  EXPECT_NE(folder.err.find("is a folder"), std::string::npos) << folder.err;
  const Outcome notDb = run({"export", dir.file("none.json")});
  EXPECT_EQ(notDb.status, 1);
  EXPECT_TRUE(notDb.out.empty());
  EXPECT_EQ(dbtest::filesIn(dir.path()), (std::vector<std::string>{"JOX_S.MDB", "JOX_T.MDB"}));
}

}  // namespace
