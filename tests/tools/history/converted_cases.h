// The eight functions as a table of runs whose inputs are picked from the building they run on,
// each with the effect it must have on that building's records.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "runs.h"
#include "snapshot.h"

namespace historytest {

// Inputs that exist in the building, picked from its own records in stored order.
struct Picks {
  // Rooms with an upper-case number, a schedule, one "Room Time" record and one "Room Inventory"
  // record in each bank; the first has a quantity above 0.
  std::vector<std::string> rooms;
  std::string assigned;            // the room of the first project assignment
  std::string schedule;            // the first room's
  std::string otherSchedule;       // the first described schedule that is not the first room's
  std::string assignment;          // the first project assignment's number that an area one has too
  std::string sort1, sort2;        // the first sort values of "Room Info" that their tables list
  std::vector<std::string> fresh;  // numbers that no room has
};

// Fails the running test when the building lacks any of them.
Picks pick(const Snapshot& building);

struct FunctionCase {
  const char* name;
  const char* function;  // as the history names it
  void (*run)(const std::string& path, const Picks& picks);
  // Checks the records after the run against those before it, and gives the counts per table of
  // the records the run must have added, changed and removed.
  Counts (*effect)(const Snapshot& before, const Snapshot& after, const Picks& picks);
  bool sameCounts;  // the counts follow from the shape alone, which both buildings share
};

const std::vector<FunctionCase>& functionCases();
inline void PrintTo(const FunctionCase& c, std::ostream* out) { *out << c.name; }

}  // namespace historytest
