// A tool's run and an undo on two connections at once: the later one waits for the earlier, or
// the undo is refused clearly when it may not wait long enough, and nothing is lost either way.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <future>

#include "history_building.h"
#include "runs.h"
#include "store/database.h"
#include "store/engine/handle.h"
#include "support/temp_dir.h"
#include "tool_runs.h"
#include "tools/auto_generate_work.h"

namespace historytest {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> newNumbers(std::size_t count) {
  std::vector<std::string> lines;
  for (std::size_t n = 1; n <= count; ++n) lines.push_back("N" + std::to_string(1000 + n));
  return lines;
}

class TwoConnections : public ::testing::Test {
 protected:
  void SetUp() override {
    makeHistoryBuilding(path);
    original = stateOf(path);
    renumberRoom(path, "103", "303");
    earlier = stateOf(path);
  }

  // Auto Generate Rooms on a thread of its own, held at its first report until `go` is set.
  std::future<roomkit::autogen::AddResult> heldUpdate() {
    return std::async(std::launch::async, [this] {
      bool held = false;
      return roomkit::autogen::addRooms(path, newNumbers(1000), "A1",
                                        [&](std::size_t, std::size_t) {
                                          if (held) return;
                                          held = true;
                                          started.set_value();
                                          go.get_future().wait();
                                        });
    });
  }

  std::future<store::UndoResult> undoOnAnotherConnection(int waitMilliseconds) {
    return std::async(std::launch::async, [this, waitMilliseconds] {
      store::Database db = store::Database::open(path);
      db.setBusyTimeout(waitMilliseconds);
      return store::undoLatest(db);
    });
  }

  testsupport::TempDir dir;
  std::string path = dir.file("JOX_TWO.MDB");
  State original, earlier;
  std::promise<void> started, go;
};

TEST_F(TwoConnections, AnUndoWaitsForARunningUpdateThenUndoesIt) {
  auto update = heldUpdate();
  started.get_future().wait();
  auto undo = undoOnAnotherConnection(10000);
  EXPECT_EQ(undo.wait_for(300ms), std::future_status::timeout) << "the undo waits for the run";
  go.set_value();
  const roomkit::autogen::AddResult added = update.get();
  ASSERT_TRUE(added.ok()) << added.message();
  EXPECT_EQ(added.added, 1000);
  const store::UndoResult undone = undo.get();
  ASSERT_TRUE(undone.ok()) << undone.message();
  EXPECT_EQ(undone.run->function, "Auto Generate Rooms");
  EXPECT_EQ(difference(earlier, stateOf(path)), "");

  const std::vector<store::RunInfo> runs = runsOf(path);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_TRUE(runs[0].undone);
  EXPECT_FALSE(runs[1].undone);
  ASSERT_TRUE(undoOn(path).ok());
  EXPECT_EQ(difference(original, stateOf(path)), "");
}

TEST_F(TwoConnections, AnUndoThatMayNotWaitIsRefusedAndTheRunIsKept) {
  auto update = heldUpdate();
  started.get_future().wait();
  const store::UndoResult refused = undoOnAnotherConnection(200).get();
  EXPECT_FALSE(refused.ok());
  EXPECT_EQ(refused.message(),
            "Another program is writing to the database; nothing was undone. Try again when it "
            "has finished.");
  go.set_value();
  const roomkit::autogen::AddResult added = update.get();
  ASSERT_TRUE(added.ok()) << added.message();
  EXPECT_EQ(added.added, 1000);

  const std::vector<store::RunInfo> runs = runsOf(path);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].function, "Auto Generate Rooms");
  EXPECT_EQ(runs[0].records, 1000 * 5);
  EXPECT_FALSE(runs[0].undone || runs[1].undone);
  ASSERT_TRUE(undoOn(path).ok());
  EXPECT_EQ(difference(earlier, stateOf(path)), "");
  ASSERT_TRUE(undoOn(path).ok());
  EXPECT_EQ(difference(original, stateOf(path)), "");
}

// Whether another connection holds the file for writing just now.
bool writerHolds(sqlite3* probe) {
  if (sqlite3_exec(probe, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_BUSY) return true;
  sqlite3_exec(probe, "ROLLBACK", nullptr, nullptr, nullptr);
  return false;
}

TEST_F(TwoConnections, AToolWaitsForAnUndoThenRunsOnWhatItLeft) {
  generateRooms(path, newNumbers(6000), "B1");  // a run whose undo takes a while
  auto undo = undoOnAnotherConnection(10000);
  store::Database probe = store::Database::open(path);
  probe.setBusyTimeout(0);
  bool held = false;
  while (!held && undo.wait_for(0ms) == std::future_status::timeout)
    held = writerHolds(store::engineHandle(probe));
  probe.close();
  EXPECT_TRUE(held) << "the undo was over before the tool started";
  renumberRoom(path, "101", "401");

  const store::UndoResult undone = undo.get();
  ASSERT_TRUE(undone.ok()) << undone.message();
  EXPECT_EQ(undone.run->function, "Auto Generate Rooms");
  const std::vector<store::RunInfo> runs = runsOf(path);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].function, "Change Room Number");
  EXPECT_EQ(runs[0].records, 7);
  EXPECT_FALSE(runs[0].undone);
  EXPECT_TRUE(runs[1].undone);
  ASSERT_TRUE(undoOn(path).ok());
  EXPECT_EQ(difference(earlier, stateOf(path)), "");
  ASSERT_TRUE(undoOn(path).ok());
  EXPECT_EQ(difference(original, stateOf(path)), "");
}

}  // namespace
}  // namespace historytest
