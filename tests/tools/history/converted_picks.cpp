// The inputs of the function cases, picked from the building's own records.
#include <gtest/gtest.h>

#include <algorithm>

#include "converted_cases.h"
#include "store/schema.h"

namespace historytest {

namespace sch = store::schema;

namespace {

bool listed(const Records& records, std::string_view field, const std::string& upper) {
  return !upper.empty() && records.count(field, upper) > 0;
}

// Whether the room has one record in "Room Time" and one in each bank of "Room Inventory".
bool complete(const Snapshot& building, const std::string& room) {
  if (building.at(sch::roomTime).count(sch::roomNumber, room) != 1) return false;
  const Records& inventory = building.at(sch::roomInventory);
  const std::vector<Row> records = inventory.where(sch::roomNumber, room);
  const Records& banks = building.at(sch::inventoryBanks);
  if (records.size() != banks.rows.size()) return false;
  for (const Row& bank : banks.rows) {
    const std::string number = upperText(bank[banks.column(sch::bank)]);
    if (std::none_of(records.begin(), records.end(), [&](const Row& row) {
          return upperText(row[inventory.column(sch::bank)]) == number;
        })) {
      return false;
    }
  }
  return true;
}

bool hasQuantity(const Snapshot& building, const std::string& room) {
  const Records& inventory = building.at(sch::roomInventory);
  for (const Row& row : inventory.where(sch::roomNumber, room)) {
    for (int item = 1; item <= sch::quantityCount; ++item) {
      if (row[inventory.column(sch::quantityField(item))].number() > 0) return true;
    }
  }
  return false;
}

// The first value of a "Room Info" field that the table of its values lists.
std::string firstListed(const Snapshot& building, const char* field, const char* table) {
  const Records& info = building.at(sch::roomInfo);
  for (const Row& row : info.rows) {
    const std::string value = upperText(row[info.column(field)]);
    if (listed(building.at(table), sch::sortField, value)) return value;
  }
  return "";
}

}  // namespace

Picks pick(const Snapshot& building) {
  Picks picks;
  const Records& info = building.at(sch::roomInfo);
  for (const Row& row : info.rows) {
    const std::string room = row[info.column(sch::roomNumber)].toText();
    if (room.empty() || room != upperText(row[info.column(sch::roomNumber)])) continue;
    if (upperText(row[info.column(sch::schedule)]).empty() || !complete(building, room)) continue;
    if (picks.rooms.empty() && !hasQuantity(building, room)) continue;
    if (picks.rooms.empty()) picks.schedule = upperText(row[info.column(sch::schedule)]);
    picks.rooms.push_back(room);
    if (picks.rooms.size() == 6) break;
  }
  EXPECT_EQ(picks.rooms.size(), 6u) << "rooms with all their records";

  const Records& projects = building.at(sch::projectAssignments);
  const Records& areas = building.at(sch::areaAssignments);
  for (const Row& row : projects.rows) {
    const std::string room = row[projects.column(sch::roomNumber)].toText();
    if (picks.assigned.empty() && room == upperText(row[projects.column(sch::roomNumber)]) &&
        listed(info, sch::roomNumber, room)) {
      picks.assigned = room;
    }
    const std::string area = upperText(row[projects.column(sch::areaAssignment)]);
    if (picks.assignment.empty() && listed(areas, sch::areaAssignment, area)) {
      picks.assignment = area;
    }
  }
  EXPECT_NE(picks.assigned, "") << "a room with a project assignment";
  EXPECT_NE(picks.assignment, "") << "an assignment number of both kinds";

  const Records& schedules = building.at(sch::scheduleDescribe);
  for (const Row& row : schedules.rows) {
    const std::string code = upperText(row[schedules.column(sch::cleaningSchedule)]);
    if (!code.empty() && code != picks.schedule) {
      picks.otherSchedule = code;
      break;
    }
  }
  EXPECT_NE(picks.otherSchedule, "") << "a second schedule";

  picks.sort1 = firstListed(building, sch::sortField1, sch::invSortField1);
  picks.sort2 = firstListed(building, sch::sortField2, sch::invSortField2);
  EXPECT_NE(picks.sort1, "") << "a listed value of " << sch::sortField1;
  EXPECT_NE(picks.sort2, "") << "a listed value of " << sch::sortField2;

  picks.fresh = {"ZX-901", "ZX-902", "ZX-903"};
  for (const auto& [table, records] : building) {
    if (!records.has(sch::roomNumber)) continue;
    for (const std::string& room : picks.fresh) {
      EXPECT_EQ(records.count(sch::roomNumber, room), 0u) << room << " in " << table;
    }
  }
  return picks;
}

}  // namespace historytest
