// roomkit-db and the change history: history lists the runs, undo undoes the newest one not
// undone yet.
#pragma once

#include <string>

#include "byte_io.h"

namespace dbtool {

// Newest first: number, date and time, the function, the records changed per table, and
// whether the run has been undone.
void listHistory(const std::string& path, Output& out);

// Undoes the newest run not yet undone and says which; a refusal throws Error with the reason,
// and nothing is changed.
void undoNewestRun(const std::string& path, Output& out);

}  // namespace dbtool
