// Small building databases for tests, written through the store.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "store/database.h"
#include "store/table.h"

namespace testsupport {

struct Room {
  std::string number;
  store::Value name;
  store::Value schedule;
  store::Value sort1 = store::Value();
  store::Value sort2 = store::Value();
};

// An empty building database at the path (every table of the suite), opened.
store::Database makeBuilding(const std::string& path);

void addRoom(store::Database& db, const Room& room);
void addRooms(store::Database& db, const std::vector<Room>& rooms);
void addSchedule(store::Database& db, const std::string& code, const std::string& description,
                 int lines = 0);
void addBank(store::Database& db, int bank);
// One "Room Inventory" record; quantities by item number, the rest 0.
void addInventory(store::Database& db, const std::string& room, int bank,
                  const std::map<int, double>& quantities = {});
void addTime(store::Database& db, const std::string& room);

// Every record of a table as text rows in stored order (null as "<null>").
std::vector<std::vector<std::string>> rows(store::Database& db, const std::string& table);
std::size_t count(store::Database& db, const std::string& table);

}  // namespace testsupport
