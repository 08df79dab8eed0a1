// A process killed with SIGKILL while it writes: during Auto Generate Rooms' Update the file keeps
// what it held before, the history has no entry for the run, an earlier run still undoes and a
// new run records and undoes; a kill just after the run ended keeps the run with its entry; and a
// kill during an undo leaves the run either wholly undone or not at all.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "case_test.h"
#include "history_building.h"
#include "runs.h"
#include "sample/sample.h"
#include "store/database.h"
#include "store/engine/handle.h"
#include "support/temp_dir.h"
#include "tool_runs.h"
#include "tools/auto_generate_work.h"

namespace historytest {
namespace {

constexpr int sampleRooms = 5000;
constexpr int sampleBanks = 8;
constexpr std::size_t generated = 20000;
constexpr std::int64_t recordsPerRoom = 2 + sampleBanks;

std::vector<std::string> newNumbers(std::size_t count) {
  std::vector<std::string> lines;
  for (std::size_t n = 1; n <= count; ++n) {
    const std::string digits = std::to_string(n);
    lines.push_back("G" + std::string(5 - digits.size(), '0') + digits);
  }
  return lines;
}

std::string integrity(const std::string& path) {
  store::Database db = store::Database::open(path);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(store::engineHandle(db), "PRAGMA integrity_check", -1, &stmt, nullptr);
  std::string result = sqlite3_step(stmt) == SQLITE_ROW
                           ? reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))
                           : "no answer";
  sqlite3_finalize(stmt);
  return result;
}

void tell(int fd, char word) {
  if (write(fd, &word, 1) != 1) _exit(4);
}

// A child process doing `work`, which writes a byte to its pipe when the parent is to act.
class Child {
 public:
  explicit Child(const std::function<void(int fd)>& work) {
    int ends[2] = {-1, -1};
    if (pipe(ends) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(ends[0]);
      work(ends[1]);
      _exit(3);  // the work ended without being killed
    }
    close(ends[1]);
    fd_ = ends[0];
  }
  ~Child() {
    if (fd_ >= 0) close(fd_);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // The next byte the child wrote; 0 when it wrote none before its end.
  char heard() {
    char word = 0;
    return read(fd_, &word, 1) == 1 ? word : 0;
  }
  // Kills the child and waits for its end; false when it had ended by itself.
  bool kill() {
    if (pid_ <= 0) return false;
    ::kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  }

 private:
  pid_t pid_ = -1;
  int fd_ = -1;
};

// A sample building with many banks and one run of Change Room Number recorded, made once per
// suite; each test works on a copy.
class KilledWriter : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder = std::make_unique<testsupport::TempDir>();
    master = folder->file("JOX_MASTER.MDB");
    const sample::Options options{sampleRooms, sampleBanks, 7};
    sample::writeBuilding(master, options);
    original = std::make_unique<State>(stateOf(master));
    renumberRoom(master, sample::roomNumbers(options).at(10), "EARLIER");
    earlier = std::make_unique<State>(stateOf(master));
  }
  static void TearDownTestSuite() {
    original.reset();
    earlier.reset();
    folder.reset();
  }

  void SetUp() override {
    std::filesystem::copy_file(master, path);
    ASSERT_FALSE(std::filesystem::exists(master + "-wal")) << "the master is closed";
  }

  // The earlier run still undoes, then a new run records and undoes.
  void expectTheHistoryStillWorks() {
    std::vector<store::RunInfo> runs = runsOf(path);
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(runs.back().function, "Change Room Number");
    EXPECT_FALSE(runs.back().undone);
    const store::UndoResult first = undoOn(path);
    ASSERT_TRUE(first.ok()) << first.message();
    EXPECT_EQ(first.run->function, "Change Room Number");
    EXPECT_EQ(difference(*original, stateOf(path)), "");

    generateRooms(path, newNumbers(300), "B1");
    runs = runsOf(path);
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(runs[0].function, "Auto Generate Rooms");
    EXPECT_FALSE(runs[0].undone);
    EXPECT_EQ(runs[0].records, 300 * recordsPerRoom);
    const store::UndoResult last = undoOn(path);
    ASSERT_TRUE(last.ok()) << last.message();
    EXPECT_EQ(last.run->number, runs[0].number);
    EXPECT_EQ(difference(*original, stateOf(path)), "");
  }

  static std::unique_ptr<testsupport::TempDir> folder;
  static std::string master;
  static std::unique_ptr<State> original, earlier;
  testsupport::TempDir dir;
  std::string path = dir.file("JOX_KILL.MDB");
};

std::unique_ptr<testsupport::TempDir> KilledWriter::folder;
std::string KilledWriter::master;
std::unique_ptr<State> KilledWriter::original, KilledWriter::earlier;

// The moment the child asks to be killed: when `done` lines are written, at the `call`th report
// of that count (the last count is reported inside the run and again after it).
struct KillPoint {
  const char* name;
  std::size_t done;
  int call;
  bool committed;  // the run had ended when the kill came
};

void PrintTo(const KillPoint& point, std::ostream* out) { *out << point.name; }

const KillPoint killPoints[] = {
    {"AtTheStart", roomkit::autogen::progressStep, 1, false},
    {"HalfWay", generated / 2, 1, false},
    {"NearTheEnd", generated - 3000, 1, false},
    {"AfterTheCommit", generated, 2, true},
};

class KillDuringUpdate : public KilledWriter, public ::testing::WithParamInterface<KillPoint> {};

TEST_P(KillDuringUpdate, LeavesTheFileAndItsHistoryWhole) {
  const KillPoint& point = GetParam();
  Child child([&](int fd) {
    int calls = 0;
    roomkit::autogen::addRooms(path, newNumbers(generated), "A1",
                               [&](std::size_t done, std::size_t) {
                                 if (done == point.done && ++calls == point.call) {
                                   tell(fd, 'k');
                                   if (point.committed)
                                     pause();  // the run has ended: wait for the kill
                                 }
                               });
  });
  ASSERT_EQ(child.heard(), 'k') << "the child did not reach its point";
  ASSERT_TRUE(child.kill()) << "the child ended before the kill";

  EXPECT_EQ(integrity(path), "ok");
  const std::vector<store::RunInfo> runs = runsOf(path);
  if (point.committed) {
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].function, "Auto Generate Rooms");
    EXPECT_EQ(runs[0].records, static_cast<std::int64_t>(generated) * recordsPerRoom);
    const store::UndoResult undone = undoOn(path);
    ASSERT_TRUE(undone.ok()) << undone.message();
  } else {
    ASSERT_EQ(runs.size(), 1u) << "no entry for the killed run";
  }
  EXPECT_EQ(difference(*earlier, stateOf(path)), "");
  expectTheHistoryStillWorks();
}

INSTANTIATE_TEST_SUITE_P(Points, KillDuringUpdate, ::testing::ValuesIn(killPoints), caseName);

// The undo of a run of 50,000 records, killed when the engine has taken this many steps of it,
// in ten thousands (the whole undo takes about 515): early in the check of its records, and
// late. A count of steps rather than a time keeps the kill inside the undo however fast it runs.
class KillDuringUndo : public KilledWriter, public ::testing::WithParamInterface<int> {};

struct Stop {
  int fd;
  int left;
};

TEST_P(KillDuringUndo, UndoesTheRunWhollyOrNotAtAll) {
  generateRooms(path, newNumbers(generated / 4), "A1");
  const State generatedState = stateOf(path);
  Child child([&](int fd) {
    store::Database db = store::Database::open(path);
    Stop stop{fd, GetParam()};
    sqlite3_progress_handler(
        store::engineHandle(db), 10000,
        [](void* arg) {
          auto* at = static_cast<Stop*>(arg);
          if (--at->left == 0) {
            tell(at->fd, 'k');
            pause();  // in the midst of the undo: wait for the kill
          }
          return 0;
        },
        &stop);
    const bool undone = store::undoLatest(db).ok();
    tell(fd, undone ? 'd' : 'r');
    pause();
  });
  const char heard = child.heard();
  const bool killed = child.kill();
  ASSERT_EQ(heard, 'k') << "the undo ended before its point";
  ASSERT_TRUE(killed);

  EXPECT_EQ(integrity(path), "ok");
  std::vector<store::RunInfo> runs = runsOf(path);
  ASSERT_EQ(runs.size(), 2u);
  if (runs[0].undone) {
    EXPECT_EQ(difference(*earlier, stateOf(path)), "");
  } else {
    EXPECT_EQ(difference(generatedState, stateOf(path)), "");
    const store::UndoResult undone = undoOn(path);
    ASSERT_TRUE(undone.ok()) << undone.message();
    EXPECT_EQ(undone.run->function, "Auto Generate Rooms");
    EXPECT_EQ(difference(*earlier, stateOf(path)), "");
  }
  expectTheHistoryStillWorks();
}

INSTANTIATE_TEST_SUITE_P(AfterSteps, KillDuringUndo, ::testing::Values(50, 400));

}  // namespace
}  // namespace historytest
