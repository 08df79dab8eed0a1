// What a function's run must do to a building's records, worked out from the records before it.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "runs.h"
#include "snapshot.h"

namespace historytest {

using FieldOf = std::vector<std::pair<std::string, std::string>>;  // table, field

// The tables that have the field.
FieldOf tablesWith(const Snapshot& building, const char* field);
// ASCII letters in lower case.
std::string lower(std::string text);

// Adds n records of a kind (0 added, 1 changed, 2 removed) to a table's count; none when n is 0.
void add(Counts& counts, const std::string& table, std::size_t kind, std::size_t n);
// The records that differ, place by place, between two states of the same records.
Counts changedBetween(const Snapshot& before, const Snapshot& expected);

// A rename of a value in every field that holds it, as the three renumbering functions do: fails
// the running test when `after` is not `before` so renamed, and gives the records renamed.
Counts expectRenamed(const Snapshot& before, const Snapshot& after, const FieldOf& fields,
                     const std::string& upperOld, const std::string& newValue);

// The first record in stored order of a table whose field reads `upper` (and whose "Bank" is
// `bank`, unless null); fails the running test when there is none.
Row* rowOf(Snapshot& building, const char* table, const char* field, const std::string& upper,
           const store::Value& bank = {});

// The records added at the end of each table, cut off from `after`; fails the running test when
// what stays is not `expected`.
std::map<std::string, std::vector<Row>> appended(const Snapshot& expected, Snapshot after);

// A new room's "Room Info" record: its number, name and schedule, and No in the converted
// building's Yes/No field "Active", which no tool names.
void expectNewRoom(const Snapshot& building, const Row& row, const std::string& number,
                   const std::string& name, const std::string& schedule);

// Bank by bank, the quantities of the sources added to a target's "Room Inventory" record, as
// Combine Rooms does: every item, an empty one counting 0.
void carry(Snapshot& building, const std::vector<std::string>& sources, Row& target);

// Every record of the rooms removed from each table with a "Room Number" field, counted.
Snapshot withoutRooms(Snapshot building, const std::vector<std::string>& rooms, Counts& counts);

}  // namespace historytest
