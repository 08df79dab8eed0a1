#include "support/building.h"

#include "store/schema.h"

namespace testsupport {

namespace sch = store::schema;
using store::Value;

store::Database makeBuilding(const std::string& path) {
  sch::createBuildingDatabase(path);
  return store::Database::open(path);
}

void addRoom(store::Database& db, const Room& room) {
  store::Table rooms = db.openTable(sch::roomInfo);
  rooms.addNew();
  rooms.setField(sch::roomNumber, Value(room.number));
  rooms.setField(sch::roomName, room.name);
  rooms.setField(sch::schedule, room.schedule);
  rooms.setField(sch::sortField1, room.sort1);
  rooms.setField(sch::sortField2, room.sort2);
  rooms.update();
}

void addRooms(store::Database& db, const std::vector<Room>& rooms) {
  for (const Room& room : rooms) addRoom(db, room);
}

void addSchedule(store::Database& db, const std::string& code, const std::string& description,
                 int lines) {
  store::Table describe = db.openTable(sch::scheduleDescribe);
  describe.addNew();
  describe.setField(sch::cleaningSchedule, Value(code));
  describe.setField(sch::description, Value(description));
  describe.update();
  store::Table details = db.openTable(sch::scheduleLines);
  for (int line = 1; line <= lines; ++line) {
    details.addNew();
    details.setField(sch::cleaningSchedule, Value(code));
    details.setField(sch::lineNumber, Value(line));
    details.setField(sch::task, Value("TASK " + std::to_string(line)));
    details.update();
  }
}

void addBank(store::Database& db, int bank) {
  store::Table banks = db.openTable(sch::inventoryBanks);
  banks.addNew();
  banks.setField(sch::bank, Value(bank));
  banks.setField(sch::description, Value("BANK " + std::to_string(bank)));
  banks.update();
}

void addInventory(store::Database& db, const std::string& room, int bank,
                  const std::map<int, double>& quantities) {
  store::Table inventory = db.openTable(sch::roomInventory);
  inventory.addNew();
  inventory.setField(sch::roomNumber, Value(room));
  for (int item = 1; item <= sch::quantityCount; ++item) {
    const auto found = quantities.find(item);
    inventory.setField(sch::quantityField(item),
                       Value(found == quantities.end() ? 0.0 : found->second));
  }
  inventory.setField(sch::bank, Value(bank));
  inventory.update();
}

void addTime(store::Database& db, const std::string& room) {
  store::Table time = db.openTable(sch::roomTime);
  time.addNew();
  time.setField(sch::roomNumber, Value(room));
  time.setField(sch::lastUpdated, Value(store::Date{2026, 1, 15}));
  for (const std::string& field : sch::timeFields) time.setField(field, Value(0.0));
  time.setField(sch::miscTime, Value(""));
  time.update();
}

std::vector<std::vector<std::string>> rows(store::Database& db, const std::string& table) {
  store::Table cursor = db.openTable(table);
  std::vector<std::vector<std::string>> out;
  for (store::moveToFirst(cursor); !cursor.eof(); cursor.moveNext()) {
    std::vector<std::string> row;
    for (std::size_t i = 0; i < cursor.fieldCount(); ++i) {
      row.push_back(cursor.field(i).isNull() ? "<null>" : cursor.field(i).toText());
    }
    out.push_back(std::move(row));
  }
  return out;
}

std::size_t count(store::Database& db, const std::string& table) { return rows(db, table).size(); }

}  // namespace testsupport
