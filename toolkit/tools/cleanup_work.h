// The database work of Database Cleanup: deletes every cleaning schedule that no room uses, with
// its detail lines, in one transaction on a connection of its own.
#pragma once

#include <string>

#include "store/outcome.h"

namespace roomkit {

// Failed: why nothing was deleted, as the user is told.
struct CleanupResult : store::Outcome {
  int deleted = 0;  // schedules deleted (0 when the run was undone)
};

// Walks "Cleaning Schedules- Describe" in stored order. A code that no "Room Info" record holds
// (a seek on "Schedule", which ignores letter case) is deleted with the "Cleaning Schedules"
// records that follow its seek on "Sched" and hold exactly that code. A record without a code is
// passed over. Any failure rolls the whole run back.
CleanupResult removeUnusedSchedules(const std::string& path);

}  // namespace roomkit
