// Internal: the history's table in the file. A run is one row of it, its changes packed table by
// table into its last field.
#pragma once

#include <sqlite3.h>

#include <string>
#include <vector>

#include "changes.h"
#include "recorder.h"
#include "store/history.h"

namespace store::detail {
class Connection;
}

namespace store::history {

// One table's changes of a run, read back.
struct TablePart {
  std::string table;
  std::string bytes;  // its changes, packed
};

bool hasHistory(detail::Connection& c);
void ensureTables(detail::Connection& c);

// Writes the changes of a run and its row, then drops the oldest runs beyond the limits.
// Returns the run's number.
std::int64_t writeRun(detail::Connection& c, const std::string& function, const std::string& detail,
                      Recorder& recorder);

std::vector<RunInfo> readRuns(detail::Connection& c, bool onlyUndoable);
std::vector<TablePart> readChanges(detail::Connection& c, std::int64_t run);
void markUndone(detail::Connection& c, std::int64_t run);

std::string localTime();

}  // namespace store::history
