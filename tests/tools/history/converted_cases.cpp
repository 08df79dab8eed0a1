// Each function's run on a building and the effect it must have there.
#include "converted_cases.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "converted_model.h"
#include "store/schema.h"
#include "tool_runs.h"

namespace historytest {

namespace sch = store::schema;
namespace modify = roomkit::modify_room_data;
using roomkit::copy_inventory::CopyOptions;
using store::Value;

namespace {

// One field of the room's "Room Info" record takes the value, as Modify Room Data writes it.
Counts modified(const Snapshot& before, const Snapshot& after, const std::string& room,
                const char* field, const std::string& value) {
  Snapshot expected = before;
  (*rowOf(expected, sch::roomInfo, sch::roomNumber, room))[before.at(sch::roomInfo).column(field)] =
      Value(value);
  EXPECT_EQ(differenceOf(expected, after), "");
  return changedBetween(before, expected);
}

// The first room's quantities times `multiplier` into the records of the same banks of the second
// and third rooms: every item for an exact copy, else those above 0 added to the present ones.
Counts copied(const Snapshot& before, const Snapshot& after, const Picks& picks, double multiplier,
              bool exact) {
  Snapshot expected = before;
  const Records& inventory = before.at(sch::roomInventory);
  for (const std::string& target : {picks.rooms[1], picks.rooms[2]}) {
    for (const Row& from : inventory.where(sch::roomNumber, picks.rooms[0])) {
      Row& into = *rowOf(expected, sch::roomInventory, sch::roomNumber, target,
                         from[inventory.column(sch::bank)]);
      for (int item = 1; item <= sch::quantityCount; ++item) {
        const std::size_t at = inventory.column(sch::quantityField(item));
        const Value times = inventory.fitted(at, from[at].number() * multiplier);
        if (exact) {
          into[at] = times;
        } else if (from[at].number() > 0) {
          into[at] = inventory.fitted(at, into[at].number() + times.number());
        }
      }
    }
  }
  EXPECT_EQ(differenceOf(expected, after), "");
  return changedBetween(before, expected);
}

// The banks' numbers in their key's order, as the tools walk them.
std::vector<Value> banksOf(const Snapshot& building) {
  const Records& banks = building.at(sch::inventoryBanks);
  std::vector<Value> values;
  for (const Row& row : banks.rows) values.push_back(row[banks.column(sch::bank)]);
  std::sort(values.begin(), values.end(),
            [](const Value& a, const Value& b) { return a.number() < b.number(); });
  return values;
}

// A new room's records at the end of "Room Inventory": one per bank, each with the sum of the
// sources' quantities of its bank (zeros for none).
void expectNewInventory(const Snapshot& before, const std::vector<Row>& added,
                        const std::string& room, const std::vector<std::string>& sources) {
  const std::vector<Value> banks = banksOf(before);
  ASSERT_EQ(added.size(), banks.size()) << room;
  Snapshot sums = before;
  const Records& inventory = before.at(sch::roomInventory);
  for (std::size_t b = 0; b < banks.size(); ++b) {
    Row expected = added[b];
    for (int item = 1; item <= sch::quantityCount; ++item) {
      expected[inventory.column(sch::quantityField(item))] = Value(0.0);
    }
    carry(sums, sources, expected);
    EXPECT_EQ(added[b][inventory.column(sch::roomNumber)], Value(room));
    EXPECT_EQ(added[b][inventory.column(sch::bank)], banks[b]);
    for (int item = 1; item <= sch::quantityCount; ++item) {
      const std::size_t at = inventory.column(sch::quantityField(item));
      EXPECT_EQ(added[b][at], expected[at]) << room << ", bank " << banks[b].toText() << ", "
                                            << item << ": " << added[b][at].toText();
    }
  }
}

// The three new numbers of the lines become rooms at the end of their tables, each with its
// "Room Time" record and a "Room Inventory" record per bank; the room that exists is passed over.
Counts generated(const Snapshot& before, const Snapshot& after, const Picks& picks) {
  auto added = appended(before, after);
  const std::size_t banks = banksOf(before).size();
  EXPECT_EQ(added.size(), 3u) << "new records in other tables";
  const std::vector<Row>& info = added[sch::roomInfo];
  const std::vector<Row>& time = added[sch::roomTime];
  EXPECT_EQ(info.size(), picks.fresh.size());
  EXPECT_EQ(time.size(), picks.fresh.size());
  for (std::size_t i = 0; i < picks.fresh.size() && i < info.size() && i < time.size(); ++i) {
    const std::string& room = picks.fresh[i];
    expectNewRoom(before, info[i], room, "RM# " + room, picks.schedule);
    EXPECT_EQ(time[i][before.at(sch::roomTime).column(sch::roomNumber)], Value(room));
    const std::vector<Row>& inventory = added[sch::roomInventory];
    if (inventory.size() < (i + 1) * banks) continue;
    expectNewInventory(before,
                       {inventory.begin() + static_cast<std::ptrdiff_t>(i * banks),
                        inventory.begin() + static_cast<std::ptrdiff_t>((i + 1) * banks)},
                       room, {});
  }
  return {{sch::roomInfo, {3, 0, 0}},
          {sch::roomTime, {3, 0, 0}},
          {sch::roomInventory, {static_cast<std::int64_t>(3 * banks), 0, 0}}};
}

// Every described schedule that no room uses, with its detail lines.
Counts cleaned(const Snapshot& before, const Snapshot& after, const Picks&) {
  Snapshot expected = before;
  const Records& info = before.at(sch::roomInfo);
  std::vector<std::string> unused;
  Records& describe = expected.at(sch::scheduleDescribe);
  std::erase_if(describe.rows, [&](const Row& row) {
    const std::string code = upperText(row[describe.column(sch::cleaningSchedule)]);
    if (code.empty() || info.count(sch::schedule, code) > 0) return false;
    unused.push_back(row[describe.column(sch::cleaningSchedule)].toText());
    return true;
  });
  Records& lines = expected.at(sch::scheduleLines);
  std::erase_if(lines.rows, [&](const Row& row) {
    const std::string code = row[lines.column(sch::cleaningSchedule)].toText();
    return std::find(unused.begin(), unused.end(), code) != unused.end();
  });
  EXPECT_EQ(differenceOf(expected, after), "");
  Counts counts;
  add(counts, sch::scheduleDescribe, 2,
      before.at(sch::scheduleDescribe).rows.size() - describe.rows.size());
  add(counts, sch::scheduleLines, 2, before.at(sch::scheduleLines).rows.size() - lines.rows.size());
  return counts;
}

FieldOf assignmentFields(const Snapshot& building) {
  FieldOf fields;
  for (const auto& [table, records] : building) {
    if (upperText(Value(table)).find("ASSIGNMENTS") != std::string::npos) {
      fields.emplace_back(table, sch::areaAssignment);
    }
  }
  return fields;
}

std::vector<std::string> combined(const Picks& picks) { return {picks.rooms[3], picks.rooms[4]}; }

// The inventories of the fourth and fifth rooms added to the sixth's, bank by bank, and every
// record of the two removed.
Counts combinedIntoRoom(const Snapshot& before, const Snapshot& after, const Picks& picks) {
  Snapshot expected = before;
  const std::size_t number = before.at(sch::roomInventory).column(sch::roomNumber);
  for (Row& row : expected.at(sch::roomInventory).rows) {
    if (upperText(row[number]) == picks.rooms[5]) carry(expected, combined(picks), row);
  }
  Counts counts = changedBetween(before, expected);
  expected = withoutRooms(expected, combined(picks), counts);
  EXPECT_EQ(differenceOf(expected, after), "");
  return counts;
}

// The same two rooms made into a new one, whose inventory is their sum.
Counts combinedIntoNewRoom(const Snapshot& before, const Snapshot& after, const Picks& picks) {
  Counts counts;
  const Snapshot kept = withoutRooms(before, combined(picks), counts);
  auto added = appended(kept, after);
  EXPECT_EQ(added.size(), 3u) << "new records in other tables";
  const std::string& room = picks.fresh[0];
  EXPECT_EQ(added[sch::roomInfo].size(), 1u);
  EXPECT_EQ(added[sch::roomTime].size(), 1u);
  if (added[sch::roomInfo].size() == 1) {
    expectNewRoom(before, added[sch::roomInfo][0], room, "COMBINED ROOM", picks.schedule);
  }
  if (added[sch::roomTime].size() == 1) {
    const Records& time = before.at(sch::roomTime);
    EXPECT_EQ(added[sch::roomTime][0][time.column(sch::roomNumber)], Value(room));
    EXPECT_EQ(added[sch::roomTime][0][time.column(sch::lastUpdated)],
              Value(store::Date{2026, 3, 4}));
  }
  expectNewInventory(before, added[sch::roomInventory], room, combined(picks));
  add(counts, sch::roomInfo, 0, 1);
  add(counts, sch::roomTime, 0, 1);
  add(counts, sch::roomInventory, 0, banksOf(before).size());
  return counts;
}

FieldOf sortFields(const char* field, const char* table) {
  return {{sch::roomInfo, field}, {table, sch::sortField}};
}

}  // namespace

const std::vector<FunctionCase>& functionCases() {
  static const std::vector<FunctionCase> cases = {
      {"ChangeRoomNumber", "Change Room Number",
       [](const std::string& path, const Picks& p) { renumberRoom(path, p.assigned, p.fresh[0]); },
       [](const Snapshot& before, const Snapshot& after, const Picks& p) {
         return expectRenamed(before, after, tablesWith(before, sch::roomNumber), p.assigned,
                              p.fresh[0]);
       },
       false},
      {"ModifyRoomName", "Modify Room Data",
       [](const std::string& path, const Picks& p) {
         modifyRoom(path, p.rooms[1], {modify::Mode::RoomName, {}, " new name ", ""});
       },
       [](const Snapshot& before, const Snapshot& after, const Picks& p) {
         return modified(before, after, p.rooms[1], sch::roomName, "NEW NAME");
       },
       true},
      {"ModifySchedule", "Modify Room Data",
       [](const std::string& path, const Picks& p) {
         modifyRoom(path, p.rooms[1], {modify::Mode::Schedule, {}, lower(p.otherSchedule), ""});
       },
       [](const Snapshot& before, const Snapshot& after, const Picks& p) {
         return modified(before, after, p.rooms[1], sch::schedule, p.otherSchedule);
       },
       true},
      {"ModifyFloorArea", "Modify Room Data",
       [](const std::string& path, const Picks& p) {
         modifyRoom(path, p.rooms[1],
                    {modify::Mode::FloorArea, modify::FloorKind::Carpet, "250", "30.5"});
       },
       [](const Snapshot& before, const Snapshot& after, const Picks& p) {
         Snapshot expected = before;
         const Records& inventory = before.at(sch::roomInventory);
         Row& first = *rowOf(expected, sch::roomInventory, sch::roomNumber, p.rooms[1]);
         first[inventory.column("2")] = inventory.fitted(inventory.column("2"), 250);
         first[inventory.column("28")] = inventory.fitted(inventory.column("28"), 30.5);
         EXPECT_EQ(differenceOf(expected, after), "");
         return changedBetween(before, expected);
       },
       true},
      {"CopyExact", "Copy Room Inventory (Templates)",
       [](const std::string& path, const Picks& p) {
         copyRoomInventory(path, p.rooms[0], {p.rooms[1], p.rooms[2]}, CopyOptions{2, true, false});
       },
       [](const Snapshot& before, const Snapshot& after, const Picks& p) {
         return copied(before, after, p, 2, true);
       },
       false},
      {"CopyAdd", "Copy Room Inventory (Templates)",
       [](const std::string& path, const Picks& p) {
         copyRoomInventory(path, p.rooms[0], {p.rooms[1], p.rooms[2]}, CopyOptions{3, false, true});
       },
       [](const Snapshot& before, const Snapshot& after, const Picks& p) {
         return copied(before, after, p, 3, false);
       },
       false},
      {"AutoGenerateRooms", "Auto Generate Rooms",
       [](const std::string& path, const Picks& p) {
         generateRooms(path, {p.fresh[0], p.fresh[1], p.rooms[0], " " + p.fresh[2]}, p.schedule);
       },
       generated, true},
      {"DatabaseCleanup", "Database Cleanup",
       [](const std::string& path, const Picks&) { cleanUp(path); }, cleaned, false},
      {"ChangeAssignmentNumber", "Change Assignment Number",
       [](const std::string& path, const Picks& p) {
         renumberAssignment(path, lower(p.assignment), "qa-1");
       },
       [](const Snapshot& before, const Snapshot& after, const Picks& p) {
         return expectRenamed(before, after, assignmentFields(before), p.assignment, "QA-1");
       },
       false},
      {"CombineIntoARoom", "Combine Rooms",
       [](const std::string& path, const Picks& p) {
         combineRooms(path, {p.rooms[3], p.rooms[5], p.rooms[4]}, p.rooms[5], true);
       },
       combinedIntoRoom, false},
      {"CombineIntoANewRoom", "Combine Rooms",
       [](const std::string& path, const Picks& p) {
         combineRooms(path, {p.rooms[3], p.rooms[4]}, p.fresh[0], true,
                      roomkit::combine_rooms::NewRoom{"COMBINED ROOM", p.schedule, {2026, 3, 4}});
       },
       combinedIntoNewRoom, false},
      {"ChangeSortField1", "Change Sort Fields",
       [](const std::string& path, const Picks& p) {
         changeSortValue(path, sch::sortField1, lower(p.sort1), "qz-1");
       },
       [](const Snapshot& before, const Snapshot& after, const Picks& p) {
         return expectRenamed(before, after, sortFields(sch::sortField1, sch::invSortField1),
                              p.sort1, "QZ-1");
       },
       false},
      {"ChangeSortField2", "Change Sort Fields",
       [](const std::string& path, const Picks& p) {
         changeSortValue(path, sch::sortField2, lower(p.sort2), "qz-2");
       },
       [](const Snapshot& before, const Snapshot& after, const Picks& p) {
         return expectRenamed(before, after, sortFields(sch::sortField2, sch::invSortField2),
                              p.sort2, "QZ-2");
       },
       false},
  };
  return cases;
}

}  // namespace historytest
