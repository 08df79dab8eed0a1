// The combine log beside a building database, "<database>.log": a header, then a line per room
// merged ("source,target"), and a line for each merge that was undone, so that the log stays the
// audit trail of merges.
#pragma once

#include <string>

#include "history.h"

namespace store {

inline constexpr const char* combineLogHeader = "Original Room Number, New Room Number";
// The function name under which a merge is recorded in the change history.
inline constexpr const char* combineRunFunction = "Combine Rooms";

inline std::string combineLogPath(const std::string& databasePath) { return databasePath + ".log"; }

// When the undone run was a merge, appends to its log the line that says it was undone (a new
// log gets the header first). Returns "" or why the line could not be written.
std::string noteUndoneMerge(const std::string& databasePath, const RunInfo& run);

// The line itself: without a comma, so that a later merge's rewrite of the log keeps it whole.
std::string undoneMergeLine(const RunInfo& run, const std::string& when);

}  // namespace store
