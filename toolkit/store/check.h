// Checking a building database for what earlier programs left half done (records of rooms that
// no longer exist, rooms without a time record, codes without a description, malformed room
// numbers, duplicates, damage the engine finds), and mending what has one sound mend, as one run
// of the change history that undo takes back whole.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "database.h"
#include "outcome.h"

namespace store {

// The kinds of finding, in the order they are listed.
enum class FindingKind {
  MissingRoom,          // "Room Inventory", "Room Time" or assignment record of no room
  NoRoomTime,           // a room without a "Room Time" record
  UndescribedSchedule,  // a room's schedule that "Cleaning Schedules- Describe" lacks
  UndescribedLine,      // a schedule line whose code has no description
  UnlistedSortValue,    // a room's sort value that its "Inv Sort Field" table lacks
  UnknownBank,          // an inventory record whose bank "Inventory Banks" lacks
  KeyFormat,            // a room number with blanks at an end, lower case or a comma
  DuplicateNumber,      // one room number on several rooms, letter case aside
  Engine,               // what the engine's own integrity check reports
};
inline constexpr int findingKindCount = 9;

// "Records of missing rooms", ... as the lists head them; and a short code for JSON.
const char* kindName(FindingKind kind);
const char* kindCode(FindingKind kind);

struct Finding {
  FindingKind kind = FindingKind::Engine;
  std::string table;  // "" for the engine's findings
  // The fields the record is known by, with their values.
  std::vector<std::pair<std::string, Value>> key;
  std::string problem;  // what is wrong
  bool mendable = false;
  std::string mend;  // what the mend does, or why there is none; "" when the kind has none
};

// The key as the lists show it: Room Number "101", Bank 3 (texts in quotes, so blanks show).
std::string keyText(const Finding& finding);

// Told as the check goes: the step under way of all steps. Also told again now and then within a
// long step, so a window can let its events run.
using CheckProgress = std::function<void(int step, int steps)>;

// Failed: why the database could not be checked.
struct CheckResult : Outcome {
  std::vector<Finding> findings;  // by kind, then in each table's stored order
};

// Reads only, in one read transaction (unless one is open already), so every step sees the same
// records. A missing table or field the check needs, or an engine error, is a failure.
CheckResult checkDatabase(Database& db, const CheckProgress& progress = {});

inline constexpr const char* checkFunction = "Check Database";  // the run's function
inline constexpr const char* mendDetail = "Mend";

// Failed: why nothing was mended.
struct MendResult : Outcome {
  CheckResult found;            // the check made inside the run, before anything was mended
  std::int64_t removed = 0;     // records of rooms that do not exist
  std::int64_t renumbered = 0;  // rooms whose number was trimmed and upper-cased
  std::int64_t timesAdded = 0;  // "Room Time" records made
  std::int64_t mended() const { return removed + renumbered + timesAdded; }
};

// Checks and mends in one run: removes the records of rooms that do not exist, trims and
// upper-cases each room number that no other room then has (in every table that carries it),
// and makes the missing "Room Time" records as the functions make them. Nothing is mended when
// the engine reports damage. Any failure leaves the database as it was.
MendResult mendDatabase(Database& db, const CheckProgress& progress = {});

}  // namespace store
