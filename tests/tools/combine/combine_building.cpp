#include "combine_building.h"

#include <sqlite3.h>

#include "store/engine/handle.h"
#include "store/schema.h"
#include "store/table.h"
#include "support/building.h"

namespace combinetest {

namespace sch = store::schema;
using store::Value;
using testsupport::Room;

void makeCombineBuilding(const std::string& path) {
  store::Database db = testsupport::makeBuilding(path);
  testsupport::addRooms(db, {{"10", Value("OFFICE"), Value("A1")},
                             {"100", Value("HALL"), Value("B1"), Value("EAST"), Value("UP")},
                             {"101", Value("LAB"), Value("A1")},
                             {"102", Value("STORE"), Value("B1")},
                             {"103", Value("CLOSET"), Value("ZZ")}});
  testsupport::addSchedule(db, "A1", "DAILY");
  testsupport::addSchedule(db, "B1", "WEEKLY");
  testsupport::addBank(db, 1);
  testsupport::addBank(db, 2);
  testsupport::addInventory(db, "10", 1, {{1, 7}});
  testsupport::addInventory(db, "10", 2);
  testsupport::addInventory(db, "100", 1);
  testsupport::addInventory(db, "100", 2);
  testsupport::addInventory(db, "101", 1, {{1, 2}, {2, 3}});
  testsupport::addInventory(db, "101", 2, {{5, 1}});
  testsupport::addInventory(db, "102", 1, {{1, 10}});
  testsupport::addInventory(db, "102", 2, {{100, 4}});
  testsupport::addInventory(db, "103", 1, {{1, 1}, {3, 6}});
  for (const char* room : {"10", "100", "101", "102", "103"}) testsupport::addTime(db, room);
  addAssignment(db, sch::areaAssignments, "A1", "101");
  addAssignment(db, sch::areaAssignments, "A2", "103");
  addAssignment(db, sch::areaAssignments, "A3", "102");
  addAssignment(db, sch::projectAssignments, "A1", "101");
}

Snapshot snapshot(store::Database& db) {
  Snapshot all;
  for (const std::string& table : db.tableNames()) all[table] = testsupport::rows(db, table);
  return all;
}

std::optional<double> quantity(store::Database& db, const std::string& room, int bank, int item) {
  store::Table inventory = db.openTable(sch::roomInventory);
  inventory.setIndex(sch::primaryKey);
  inventory.seek({Value(room), Value(bank)});
  if (inventory.noMatch()) return std::nullopt;
  return inventory.field(sch::quantityField(item)).number();
}

std::vector<std::string> roomsOf(store::Database& db, const std::string& table) {
  store::Table cursor = db.openTable(table);
  const std::size_t field = cursor.fieldPosition(sch::roomNumber);
  std::vector<std::string> rooms;
  for (store::moveToFirst(cursor); !cursor.eof(); cursor.moveNext()) {
    rooms.push_back(cursor.field(field).toText());
  }
  return rooms;
}

void setQuantity(store::Database& db, const std::string& room, int bank, int item,
                 const Value& value) {
  store::Table inventory = db.openTable(sch::roomInventory);
  inventory.setIndex(sch::primaryKey);
  inventory.seek({Value(room), Value(bank)});
  inventory.edit();
  inventory.setField(sch::quantityField(item), value);
  inventory.update();
}

void addAssignment(store::Database& db, const std::string& table, const std::string& area,
                   const std::string& room) {
  store::Table assignments = db.openTable(table);
  assignments.addNew();
  assignments.setField(sch::areaAssignment, Value(area));
  assignments.setField(sch::roomNumber, Value(room));
  assignments.update();
}

void execute(store::Database& db, const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(store::engineHandle(db), sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string why = message ? message : "failed";
    sqlite3_free(message);
    throw store::Error(1, why);
  }
}

}  // namespace combinetest
