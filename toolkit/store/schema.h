// The suite's tables, fields and indexes as the tools name them, the upper-cased name tests, and
// builders of empty databases (for tests, the sample generator and benchmarks; the toolkit itself
// never creates a table).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "database.h"
#include "definition.h"

namespace store::schema {

// Building database tables.
inline constexpr const char* roomInfo = "Room Info";
inline constexpr const char* roomInventory = "Room Inventory";
inline constexpr const char* inventoryBanks = "Inventory Banks";
inline constexpr const char* roomTime = "Room Time";
inline constexpr const char* scheduleDescribe = "Cleaning Schedules- Describe";
inline constexpr const char* scheduleLines = "Cleaning Schedules";
inline constexpr const char* invSortField1 = "Inv Sort Field 1";
inline constexpr const char* invSortField2 = "Inv Sort Field 2";
inline constexpr const char* areaAssignments = "Area Assignments";
inline constexpr const char* projectAssignments = "Project Assignments";

// Fields.
inline constexpr const char* roomNumber = "Room Number";
inline constexpr const char* roomName = "Room Name";
inline constexpr const char* schedule = "Schedule";
inline constexpr const char* sortField1 = "Sort Field 1";
inline constexpr const char* sortField2 = "Sort Field 2";
inline constexpr const char* bank = "Bank";
inline constexpr const char* lastUpdated = "Last Updated";
inline constexpr const char* miscTime = "Misc Time";
inline constexpr const char* cleaningSchedule = "Cleaning Schedule";
inline constexpr const char* description = "Description";
inline constexpr const char* lineNumber = "Line Number";
inline constexpr const char* task = "Task";
inline constexpr const char* sortField = "Sort Field";
inline constexpr const char* areaAssignment = "Area Assignment";
// The twelve time fields of "Room Time", in field order.
extern const std::vector<std::string> timeFields;
// The quantity field of item i (1..100): "1", "2", ... "100".
std::string quantityField(int item);
inline constexpr int quantityCount = 100;

// Indexes.
inline constexpr const char* primaryKey = "PrimaryKey";
inline constexpr const char* roomNumberIndex = "RoomNumber";
inline constexpr const char* scheduleIndex = "Schedule";
inline constexpr const char* schedIndex = "Sched";

// Account database.
inline constexpr const char* accountFile = "JOXINIT.MDB";
inline constexpr const char* userAccess = "Users- Building Access";
inline constexpr const char* userId = "User ID";
inline constexpr const char* buildingCode = "Building Code";
inline constexpr const char* buildingName = "Building Name";
inline constexpr const char* customerName = "Customer Name";
inline constexpr const char* userIdIndex = "UserID";

// Defined sizes.
inline constexpr int roomNumberSize = 20;
inline constexpr int roomNameSize = 24;
inline constexpr int scheduleSize = 6;
inline constexpr int descriptionSize = 40;
inline constexpr int sortValueSize = 20;
inline constexpr int assignmentSize = 10;

// Upper-cased name tests.
bool isRoomNumberField(std::string_view field);      // "ROOM NUMBER"
bool isAreaAssignmentField(std::string_view field);  // "AREA ASSIGNMENT"
bool isAssignmentTable(std::string_view table);      // contains "ASSIGNMENTS"
bool containsMsys(std::string_view table);           // contains "MSYS" anywhere
bool beginsWithMsys(std::string_view table);         // begins with "MSYS"

// The definitions of every table of an empty building database, in creation order.
std::vector<TableDef> buildingTables();
TableDef accountTable();

// Create a new file holding the empty database; refuse an existing path.
void createBuildingDatabase(const std::string& path);
void createAccountDatabase(const std::string& path);

}  // namespace store::schema
