// A small building for the Combine Rooms tests, and ways to look at what a merge left behind.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "store/database.h"

namespace combinetest {

// Rooms 10 OFFICE A1, 100 HALL B1, 101 LAB A1, 102 STORE B1 and 103 CLOSET ZZ (a schedule not in
// the schedule list); schedules A1 and B1; banks 1 and 2. Inventory: every room has both banks
// except 103, which has bank 1 only; a few quantities set (see quantities in the .cpp). Every room
// has a "Room Time" record; "Area Assignments" and "Project Assignments" name 101, 102 and 103.
void makeCombineBuilding(const std::string& path);

// Every table's records, by table name.
using Snapshot = std::map<std::string, std::vector<std::vector<std::string>>>;
Snapshot snapshot(store::Database& db);

// A quantity of a "Room Inventory" record (0 for null); nullopt when the record is missing.
std::optional<double> quantity(store::Database& db, const std::string& room, int bank, int item);
// The room numbers of a table's records that have a "Room Number" field, in stored order.
std::vector<std::string> roomsOf(store::Database& db, const std::string& table);
// Sets one quantity of an existing "Room Inventory" record (null with a null value).
void setQuantity(store::Database& db, const std::string& room, int bank, int item,
                 const store::Value& value);
void addAssignment(store::Database& db, const std::string& table, const std::string& area,
                   const std::string& room);
// Runs SQL on the database's own connection (triggers and odd tables for the failure cases).
void execute(store::Database& db, const std::string& sql);

}  // namespace combinetest
