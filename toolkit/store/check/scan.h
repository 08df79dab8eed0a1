// Internal to the check: one pass over the building that gathers the findings and, with them,
// the plan of the mend (what it removes, renumbers and adds).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "store/check.h"

namespace store::check {

struct Plan {
  std::vector<Finding> findings;
  bool damaged = false;  // the engine reports damage: nothing is mended
  struct Orphans {
    std::string table;
    std::string field;                 // its room number field
    std::vector<std::string> numbers;  // each text once; every record holding one exactly goes
    bool nulls = false;                // records without a number go too
  };
  std::vector<Orphans> orphans;
  struct Rename {
    std::string from;  // as stored
    std::string to;    // trimmed and upper-cased
  };
  std::vector<Rename> renames;
  std::vector<std::string> carriers;  // the tables with a room number field, for the renames
  std::vector<std::string> newTimes;  // the rooms (as numbered after the mend) to get a time
};

// Told at each step and now and then within one.
using Tick = std::function<void()>;

// Steps the scan reports through `progress`.
inline constexpr int scanSteps = 8;

// Throws Error when a table or field the check needs is missing or the engine fails.
Plan scan(const Database& db, const CheckProgress& progress);

}  // namespace store::check
