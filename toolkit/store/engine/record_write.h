// Internal: the one step through which the store writes a record, whether a cursor's update, an
// inserter's record or an update by key. The run in progress, if any, is told what is written
// before the engine writes it, and the cursors of the table learn that it changed.
#pragma once

#include <sqlite3.h>

#include <cstdint>

#include "connection.h"
#include "store/history/recorder.h"

namespace store::detail {

// Runs the bound statement; throws the engine's error when it fails. `counter` is the table's
// write count.
void writeRecord(Connection& c, sqlite3_stmt* stmt, const history::WriteHint& hint,
                 std::uint64_t* counter);

}  // namespace store::detail
