// The database work of Database Cleanup: deletes every cleaning schedule that no room uses, with
// its detail lines, in one transaction on a connection of its own.
#pragma once

#include <optional>
#include <string>

namespace roomkit {

struct CleanupResult {
  int deleted = 0;                     // schedules deleted (0 when the run was undone)
  std::optional<std::string> failure;  // why nothing was deleted, as the user is told
};

// Walks "Cleaning Schedules- Describe" in stored order. A code that no "Room Info" record holds
// (a seek on "Schedule", which ignores letter case) is deleted with the "Cleaning Schedules"
// records that follow its seek on "Sched" and hold exactly that code. A record without a code is
// passed over. Any failure rolls the whole run back.
CleanupResult removeUnusedSchedules(const std::string& path);

}  // namespace roomkit
