#include "schema.h"

#include "text_case.h"

namespace store::schema {

const std::vector<std::string> timeFields = {
    "Daily Normal1", "Daily Normal2", "Daily Normal3", "Saturday1", "Saturday2", "Saturday3",
    "Sunday1",       "Sunday2",       "Sunday3",       "Project1",  "Project2",  "Project3"};

std::string quantityField(int item) { return std::to_string(item); }

bool isRoomNumberField(std::string_view field) { return toUpper(field) == "ROOM NUMBER"; }
bool isAreaAssignmentField(std::string_view field) { return toUpper(field) == "AREA ASSIGNMENT"; }
bool isAssignmentTable(std::string_view table) {
  return toUpper(table).find("ASSIGNMENTS") != std::string::npos;
}
bool containsMsys(std::string_view table) {
  return toUpper(table).find("MSYS") != std::string::npos;
}
bool beginsWithMsys(std::string_view table) { return toUpper(table).rfind("MSYS", 0) == 0; }

namespace {

FieldDef text(const char* name, int size) { return {name, FieldType::Text, size}; }
FieldDef number(const std::string& name) { return {name, FieldType::Double, 8}; }

}  // namespace

std::vector<TableDef> buildingTables() {
  std::vector<TableDef> tables;
  tables.push_back({roomInfo,
                    {text(roomNumber, roomNumberSize), text(roomName, roomNameSize),
                     text(schedule, scheduleSize), text(sortField1, sortValueSize),
                     text(sortField2, sortValueSize)},
                    {{primaryKey, {roomNumber}, true}, {scheduleIndex, {schedule}, false}}});

  TableDef inventory{roomInventory, {text(roomNumber, roomNumberSize)}, {}};
  for (int item = 1; item <= quantityCount; ++item)
    inventory.fields.push_back(number(quantityField(item)));
  inventory.fields.push_back({bank, FieldType::Integer, 4});
  inventory.indexes = {{primaryKey, {roomNumber, bank}, true},
                       {roomNumberIndex, {roomNumber}, false}};
  tables.push_back(inventory);

  tables.push_back({inventoryBanks,
                    {{bank, FieldType::Integer, 4}, text(description, descriptionSize)},
                    {{primaryKey, {bank}, true}}});

  TableDef time{
      roomTime, {text(roomNumber, roomNumberSize), {lastUpdated, FieldType::Date, 8}}, {}};
  for (const std::string& field : timeFields) time.fields.push_back(number(field));
  time.fields.push_back(text(miscTime, 50));
  time.indexes = {{primaryKey, {roomNumber}, true}};
  tables.push_back(time);

  tables.push_back({scheduleDescribe,
                    {text(cleaningSchedule, scheduleSize), text(description, descriptionSize)},
                    {{primaryKey, {cleaningSchedule}, true}}});
  tables.push_back({scheduleLines,
                    {text(cleaningSchedule, scheduleSize),
                     {lineNumber, FieldType::Integer, 4},
                     text(task, 50),
                     text("Frequency", 10)},
                    {{schedIndex, {cleaningSchedule, lineNumber}, false}}});
  for (const char* name : {invSortField1, invSortField2}) {
    tables.push_back({name,
                      {text(sortField, sortValueSize), text(description, descriptionSize)},
                      {{primaryKey, {sortField}, true}}});
  }
  tables.push_back({areaAssignments,
                    {text(areaAssignment, assignmentSize), text(roomNumber, roomNumberSize),
                     text("Employee", 30)},
                    {{primaryKey, {areaAssignment, roomNumber}, true}}});
  tables.push_back({projectAssignments,
                    {text(areaAssignment, assignmentSize), text(roomNumber, roomNumberSize),
                     text("Project", 30)},
                    {{roomNumberIndex, {roomNumber}, false}}});
  return tables;
}

TableDef accountTable() {
  return {
      userAccess,
      {text(userId, 20), text(buildingCode, 10), text(buildingName, 50), text(customerName, 50)},
      {{userIdIndex, {userId}, false}}};
}

namespace {

void createWith(const std::string& path, const std::vector<TableDef>& tables) {
  Database db = Database::create(path);
  db.begin();
  for (const TableDef& table : tables) db.createTable(table);
  db.commit();
  db.close();
}

}  // namespace

void createBuildingDatabase(const std::string& path) { createWith(path, buildingTables()); }
void createAccountDatabase(const std::string& path) { createWith(path, {accountTable()}); }

}  // namespace store::schema
