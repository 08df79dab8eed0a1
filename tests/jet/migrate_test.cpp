// roomkit-db migrate on a data folder: Jet files converted in place with their originals kept,
// files converted before passed over, refusals named with the exit status 1, and a run killed
// at any moment leaving every file converted or as it was, which a second run completes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "jet_support.h"
#include "store/database.h"
#include "support/temp_dir.h"

extern char** environ;

namespace {

jettest::Run roomkitDb(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {ROOMKIT_DB_PROGRAM};
  argv.insert(argv.end(), args.begin(), args.end());
  return jettest::run(argv);
}

std::string withByte(std::string bytes, std::size_t at, char value) {
  bytes[at] = value;
  return bytes;
}

bool isStoreFile(const std::string& path) {
  return testsupport::readFile(path).rfind("SQLite format 3", 0) == 0;
}

class Migrate : public ::testing::Test {
 protected:
  std::string put(const std::string& name, const std::string& bytes) {
    testsupport::writeFile(dir.file(name), bytes);
    return bytes;
  }
  testsupport::TempDir dir;
  std::string demo = testsupport::readFile(jettest::dataFile("JOX_JETDEMO.MDB"));
  std::string users = testsupport::readFile(jettest::dataFile("node-adodb.mdb"));
};

TEST_F(Migrate, ConvertsTheSuitesJetFilesAndPassesOverTheRest) {
  put("JOX_DEMO.MDB", demo);
  put("JOXINIT.MDB", users);
  const std::string ace = put("JOX_ACE.MDB", std::string(users).replace(4, 15, "Standard ACE DB"));
  const std::string bad = put("JOX_BAD.MDB", withByte(users, 25 * 4096 + 55, '\xD5'));
  put("notes.mdb", demo);  // no file of the suite's
  ASSERT_EQ(roomkitDb({"sample", dir.file("JOX_OURS.MDB"), "--rooms", "3"}).status, 0);
  const std::string folder = dir.path().string();

  jettest::Run run = roomkitDb({"migrate", folder});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out,
            "[1/5] JOXINIT.MDB: converted, 1 table, 3 records; the original is JOXINIT.MDB.jet\n"
            "[2/5] JOX_ACE.MDB: refused: '" +
                dir.file("JOX_ACE.MDB") +
                "' is an Access 2007 or later database (\"Standard ACE DB\"): only Jet 3 and Jet "
                "4 databases (Access 97 to 2003) can be converted\n"
                "[3/5] JOX_BAD.MDB: refused: '" +
                dir.file("JOX_BAD.MDB") +
                "' is damaged: the reader failed on it (Segmentation fault)\n"
                "[4/5] JOX_DEMO.MDB: converted, 10 tables, 749 records; the original is "
                "JOX_DEMO.MDB.jet\n"
                "[5/5] JOX_OURS.MDB: already converted\n" +
                folder + ": 2 converted, 1 already converted, 2 refused\n")
      << run.out;
  EXPECT_EQ(testsupport::readFile(dir.file("JOX_DEMO.MDB.jet")), demo);
  EXPECT_EQ(testsupport::readFile(dir.file("JOXINIT.MDB.jet")), users);
  EXPECT_EQ(store::Database::open(dir.file("JOX_DEMO.MDB")).tableNames().size(), 10u);
  EXPECT_EQ(testsupport::readFile(dir.file("JOX_ACE.MDB")), ace);
  EXPECT_EQ(testsupport::readFile(dir.file("JOX_BAD.MDB")), bad);
  EXPECT_EQ(testsupport::readFile(dir.file("notes.mdb")), demo);

  std::filesystem::remove(dir.file("JOX_ACE.MDB"));
  std::filesystem::remove(dir.file("JOX_BAD.MDB"));
  run = roomkitDb({"migrate", folder});
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(run.out,
            "[1/3] JOXINIT.MDB: already converted\n"
            "[2/3] JOX_DEMO.MDB: already converted\n"
            "[3/3] JOX_OURS.MDB: already converted\n" +
                folder + ": 0 converted, 3 already converted, 0 refused\n");
  EXPECT_EQ(jettest::namesIn(folder),
            (std::vector<std::string>{"JOXINIT.MDB", "JOXINIT.MDB.jet", "JOX_DEMO.MDB",
                                      "JOX_DEMO.MDB.jet", "JOX_OURS.MDB", "notes.mdb"}));
}

TEST_F(Migrate, AKeptCopyAlreadyThereIsRefused) {
  put("JOX_A.MDB", demo);
  put("JOX_A.MDB.jet", "an older copy");
  const jettest::Run run = roomkitDb({"migrate", dir.path().string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("refused: '" + dir.file("JOX_A.MDB.jet") + "' already exists"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(testsupport::readFile(dir.file("JOX_A.MDB")), demo);
  EXPECT_EQ(testsupport::readFile(dir.file("JOX_A.MDB.jet")), "an older copy");
}

// Killed with SIGKILL after a few milliseconds more each time, then run again.
TEST_F(Migrate, AKilledRunLeavesEachFileWholeAndARerunFinishes) {
  constexpr int files = 4;
  for (int delay = 10; delay <= 250; delay += 60) {
    SCOPED_TRACE("killed after " + std::to_string(delay) + " ms");
    testsupport::TempDir folder;
    for (int i = 0; i < files; ++i)
      testsupport::writeFile(folder.file("JOX_" + std::to_string(i) + ".MDB"), demo);
    const std::string program = ROOMKIT_DB_PROGRAM;
    const std::string path = folder.path().string();
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("migrate"),
                    const_cast<char*>(path.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);

    for (int i = 0; i < files; ++i) {
      const std::string file = folder.file("JOX_" + std::to_string(i) + ".MDB");
      const bool kept = std::filesystem::exists(file + ".jet");
      if (isStoreFile(file)) {
        ASSERT_TRUE(kept) << file;
        EXPECT_EQ(testsupport::readFile(file + ".jet"), demo);
      } else {
        EXPECT_EQ(testsupport::readFile(file), demo) << file;
        if (kept) {
          EXPECT_EQ(testsupport::readFile(file + ".jet"), demo);
        }
      }
    }
    const jettest::Run rerun = roomkitDb({"migrate", path});
    EXPECT_EQ(rerun.status, 0) << rerun.out;
    for (int i = 0; i < files; ++i) {
      const std::string file = folder.file("JOX_" + std::to_string(i) + ".MDB");
      EXPECT_TRUE(isStoreFile(file)) << file;
      EXPECT_EQ(testsupport::readFile(file + ".jet"), demo);
    }
  }
}

}  // namespace
