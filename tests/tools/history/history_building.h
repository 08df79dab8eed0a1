// A building whose stored order has gaps, the state of a database as far as an undo must bring it
// back, and the plain SQL of another program.
#pragma once

#include <cstdint>
#include <string>

namespace historytest {

// Banks 3, 1 and 2 (in that stored order; bank 9 was deleted between them). Rooms 101, 102, 103,
// 104, 105 and 107 with schedules A1 and B1 and sort values EAST, WEST, "east", UP and DOWN; each
// has a "Room Time" record and one "Room Inventory" record per bank, stored as banks 2, 1, 3, with
// quantities that differ from room to room (101's "2" of bank 1 and 104's "1" of bank 2 are
// null). Rooms 106 (between 102 and 103) and 108 (last) were deleted again with every record that
// named them, so every room table has gaps in the middle and at the end. Schedules A1 (2 lines),
// C1 (2 lines), B1 (1 line) and E1 (1 line) are described, D1 was deleted with its line; C1 and
// E1 are unused. "Inv Sort Field 1" holds EAST, WEST and NORTH, "Inv Sort Field 2" UP and DOWN.
// "Area Assignments": A1 101, A1 102, A2 103, A3 104, A4 107; "Project Assignments": P1 101,
// A1 105, P2 103.
void makeHistoryBuilding(const std::string& path);

// Everything but the history: the database as roomkit-db exports it, and each table's records as
// stored, with their places (rowids), which the export shows only as their order, and their values'
// storage classes.
struct State {
  std::string exported;
  std::string stored;
  bool operator==(const State&) const = default;
};
State stateOf(const std::string& path);
// "" when equal; else the first line that differs, for the failure message.
std::string difference(const State& expected, const State& actual);

// The rows that the history's own tables hold for one run, as text, to see that nothing else
// writes them.
std::string historyRows(const std::string& path, std::int64_t run);

// Runs plain SQL on a connection of its own, as another program would (one that knows the
// letter-case folding of the indexes); throws with the engine's message.
void otherProgram(const std::string& path, const std::string& sql);

}  // namespace historytest
