// A history proves itself before an undo trusts it: damaged changes of a run (cut short, a bit
// flipped, missing, a length beyond the blob, a record listed twice, counts that disagree) refuse
// the undo with the reason, change nothing, leave the run to be undone, and are named by
// runDamage; a history recorded before checksums were kept is still undone.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <string>
#include <vector>

#include "history_fixture.h"
#include "store/engine/handle.h"
#include "store/history/recorder.h"
#include "store/history/stored.h"
#include "store/writes.h"

using namespace historytest;

namespace {

std::string changesOf(Database& db) {
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(store::engineHandle(db), "SELECT Changes FROM MSysRoomkitRuns WHERE Run = 1",
                     -1, &stmt, nullptr);
  std::string bytes;
  if (sqlite3_step(stmt) == SQLITE_ROW) {
    bytes.assign(static_cast<const char*>(sqlite3_column_blob(stmt, 0)),
                 static_cast<std::size_t>(sqlite3_column_bytes(stmt, 0)));
  }
  sqlite3_finalize(stmt);
  return bytes;
}

void setChanges(Database& db, const std::string& bytes) {
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(store::engineHandle(db),
                     "UPDATE MSysRoomkitRuns SET Changes = ?1 WHERE Run = 1", -1, &stmt, nullptr);
  sqlite3_bind_blob(stmt, 1, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
  ASSERT_EQ(sqlite3_step(stmt), SQLITE_DONE) << sqlite3_errmsg(store::engineHandle(db));
  sqlite3_finalize(stmt);
}

// The changes of one table packed by hand: a record added at place 5 and the same record listed
// again as changed.
std::string listedTwice() {
  history::Packer part;
  part.bytes() += static_cast<char>(history::kInserted);
  part.signedNumber(5);
  part.word(0);
  part.number(0);
  part.bytes() += static_cast<char>(history::kUpdated);
  part.signedNumber(0);
  part.number(1);
  part.number(1);
  part.value(Value("OLD"));
  part.value(Value("NEW"));
  part.number(0);
  history::Packer run;
  run.number(5);
  run.bytes() += "Rooms";
  run.number(part.bytes().size());
  run.bytes() += part.bytes();
  return run.bytes();
}

class HistoryProofTest : public HistoryTest {};

TEST_F(HistoryProofTest, DamagedChangesRefuseTheUndoAndChangeNothing) {
  struct Case {
    const char* name;
    std::function<void(Database&)> damage;
    // whether the damage is tried with the run's checksum kept, and without it, as in a history
    // of before checksums (where the shape alone must show it)
    bool withChecksum, withoutChecksum;
    const char* reason;
  };
  const std::string huge = std::string("\x05Rooms") + std::string(9, '\xFF') + "\x01";
  const Case cases[] = {
      {"cut short",
       [](Database& d) { setChanges(d, changesOf(d).substr(0, changesOf(d).size() - 3)); }, true,
       true, "damaged"},
      {"one bit flipped",
       [](Database& d) {
         std::string bytes = changesOf(d);
         bytes[bytes.size() / 2] ^= 0x10;
         setChanges(d, bytes);
       },
       true, false, "do not match their checksum"},
      {"empty", [](Database& d) { setChanges(d, ""); }, true, true, "are missing"},
      {"not a blob", [](Database& d) { exec(d, "UPDATE MSysRoomkitRuns SET Changes = 'x'"); }, true,
       true, "are missing"},
      {"a length beyond the blob", [&](Database& d) { setChanges(d, huge); }, true, true,
       "damaged"},
      {"a record listed twice",
       [](Database& d) {
         setChanges(d, listedTwice());
         exec(d,
              "UPDATE MSysRoomkitRuns SET Records = 2, Tables = 'Rooms' || char(9) || '1' || "
              "char(9) || '1' || char(9) || '0'");
       },
       false, true, "not each listed once"},
      {"counts that disagree",
       [](Database& d) { exec(d, "UPDATE MSysRoomkitRuns SET Records = 7"); }, true, true,
       "do not"},
      {"a table left out",
       [](Database& d) {
         exec(d,
              "UPDATE MSysRoomkitRuns SET Tables = substr(Tables, 1, instr(Tables, char(10)) - 1)");
       },
       true, true, "do not"},
  };
  db.close();
  for (const Case& c : cases) {
    for (const bool dropChecksum : {false, true}) {
      if (dropChecksum ? !c.withoutChecksum : !c.withChecksum) continue;
      SCOPED_TRACE(std::string(c.name) + (dropChecksum ? ", no checksum" : ""));
      testsupport::TempDir caseDir;
      const std::string copy = caseDir.file("COPY.MDB");
      std::filesystem::copy_file(path, copy);
      db = Database::open(copy);
      mixedRun();
      c.damage(db);
      if (dropChecksum) exec(db, "UPDATE MSysRoomkitRuns SET Digest = NULL");
      const std::string damaged = dump(db);
      const std::string reason = runDamage(db, 1);
      EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
      const UndoResult result = undoLatest(db);
      EXPECT_FALSE(result.ok());
      EXPECT_NE(result.message().find("othing was changed"), std::string::npos) << result.message();
      EXPECT_NE(result.message().find(c.reason), std::string::npos) << result.message();
      EXPECT_EQ(dump(db), damaged);
      ASSERT_TRUE(latestUndoable(db));
      EXPECT_EQ(latestUndoable(db)->number, 1) << "the run stays to be undone";
      db.close();
    }
  }
}

// A history written before its runs had checksums has no column for them: its runs prove their
// shape and are undone, and the next run adds the column.
TEST_F(HistoryProofTest, AHistoryWithoutChecksumsIsStillUndone) {
  const std::string before = dump(db);
  mixedRun();
  exec(db, "ALTER TABLE MSysRoomkitRuns DROP COLUMN Digest");
  db.close();
  db = Database::open(path);
  EXPECT_EQ(runDamage(db, 1), "");
  {
    store::Run run(db, "Later");
    store::updateWhereUpperText(db, "Rooms", "Number", Value("301"), "101");
    run.commit();
  }
  EXPECT_EQ(runDamage(db, 2), "");
  ASSERT_TRUE(undoLatest(db).ok());
  const UndoResult older = undoLatest(db);
  ASSERT_TRUE(older.ok()) << older.message();
  EXPECT_EQ(dump(db), before);
}

}  // namespace
