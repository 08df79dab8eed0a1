// Internal: the history's tables in the file. A run is one row of the runs' table, its changes
// packed table by table into its last field; an undo marks its run in a table of its own.
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
  std::string bytes;    // its changes, packed
  TableChanges counts;  // as the run's row gives them
};

bool hasHistory(detail::Connection& c);
bool hasDigests(detail::Connection& c);  // runs' checksums are kept
void ensureTables(detail::Connection& c);

// Writes the changes of a run and its row, then drops the oldest runs beyond the limits.
// Returns the run's number.
std::int64_t writeRun(detail::Connection& c, const std::string& function, const std::string& detail,
                      Recorder& recorder);

std::vector<RunInfo> readRuns(detail::Connection& c, bool onlyUndoable);
// A run's changes, proved before they are trusted: present, matching the checksum kept beside
// them (runs recorded before checksums were kept have none), and naming the tables that the
// run's row counts. Throws the error of a damaged history, saying what is wrong.
std::vector<TablePart> readChanges(detail::Connection& c, std::int64_t run);
// That a table's changes, read back, hold the records its counts say.
void checkCounts(const TablePart& part, const std::vector<Added>& added,
                 const std::vector<Change>& others);
void markUndone(detail::Connection& c, std::int64_t run);

std::string localTime();

}  // namespace store::history
