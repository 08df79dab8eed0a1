// The change history: every run of a tool that writes is recorded, inside the database file and
// in the run's own transaction, with what it changed; the newest run not yet undone can be
// undone, all or nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database.h"
#include "outcome.h"

namespace store {

namespace history {
class Recorder;
}

// One run of a tool. It begins the transaction at once and records every record that is
// inserted, updated or deleted through the database until it is committed; the changes and the
// history entry are committed together, and a run that is not committed is rolled back with
// nothing kept. A run that changed nothing leaves no entry.
class Run {
 public:
  Run(Database db, std::string function, std::string detail = {});  // shares the connection
  ~Run();
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  // Throws Error when the changes or their history cannot be written; nothing is then kept.
  void commit();
  void rollback();

 private:
  void end();
  Database db_;
  std::string function_;
  std::string detail_;
  std::unique_ptr<history::Recorder> recorder_;
  bool open_ = false;
};

struct TableChanges {
  std::string table;
  std::int64_t added = 0;
  std::int64_t changed = 0;
  std::int64_t removed = 0;
};

struct RunInfo {
  std::int64_t number = 0;
  std::string when;  // local time, "2026-12-09 14:05:09"
  std::string function;
  std::string detail;
  std::int64_t records = 0;
  std::vector<TableChanges> tables;
  std::optional<std::string> undone;  // when it was undone
};

// The history's own tables, whose names begin with "MSysRoomkit" in any letter case. They stay
// with their file: an export leaves them out, and an import makes none.
bool isHistoryTable(std::string_view table);
inline constexpr const char* historyTablePrefix = "MSysRoomkit";

// The runs of the history, newest first; empty for a database without one.
std::vector<RunInfo> listRuns(const Database& db);
// The newest run not yet undone.
std::optional<RunInfo> latestUndoable(const Database& db);

// Why the recorded changes of a run cannot be trusted (missing, not matching their checksum, not
// of the shape their counts say), or "" when they prove sound. An undo proves them the same way
// before it writes anything.
std::string runDamage(const Database& db, std::int64_t run);

// Failed: why nothing was undone, naming the run by number.
struct UndoResult : Outcome {
  std::optional<RunInfo> run;  // the run that was (or would have been) undone
  std::string reason;          // of a refusal of `run`: what stood in the way, in lower case
};

// Undoes the newest run not yet undone, in one transaction: every record it inserted is removed,
// every record it changed or deleted is put back as it was, in its place in the stored order.
// Refused, with nothing changed, when any record that it would restore has changed since the
// run (the refusal names the table and the record's key), or when there is nothing to undo.
UndoResult undoLatest(Database& db);

}  // namespace store
