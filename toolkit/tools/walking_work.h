// The database work of the three renumbering tools: Change Room Number, Change Assignment Number
// and Change Sort Fields. Each opens its own connection to the file, rewrites one value in the
// fields it walks, table by table, and does the whole run in one transaction: when the database
// refuses any write, nothing of the run stays.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/database.h"
#include "store/outcome.h"

namespace roomkit {

// A field of a table that a run rewrites. The field is found whatever the letter case of its
// name; a table that lacks it is passed over when `optional`, and is a failure otherwise.
struct FieldInTable {
  std::string table;
  std::string field;
  bool optional = false;
};

// Failed: why the run was undone, as the user is told.
struct WalkResult : store::Outcome {
  std::int64_t changed = 0;  // records rewritten (0 when the run was undone)
};

// Sets each field to `newValue` wherever its value, read as text and upper-cased, equals
// `upperOld`, in the order given, inside one transaction that the change history records as a
// run of `function`. Gives the writes and refusals of walking every record of those tables field
// by field. On the first failure everything is rolled back and the failure names the table and
// the engine's reason.
WalkResult replaceInFields(store::Database& db, const std::vector<FieldInTable>& fields,
                           const std::string& newValue, const std::string& upperOld,
                           const std::string& function);

// "Room Number" in every table whose name holds no "MSYS" in any case, anywhere, in table-list
// order. `current` is compared as given (only the stored value is upper-cased); `newNumber` is
// written as given.
std::vector<FieldInTable> roomNumberFields(const store::Database& db);
WalkResult changeRoomNumber(const std::string& path, const std::string& current,
                            const std::string& newNumber);

// "Area Assignment" in every table whose name holds "ASSIGNMENTS" in any case, in table-list
// order. Both numbers are upper-cased before use.
std::vector<FieldInTable> assignmentFields(const store::Database& db);
WalkResult changeAssignmentNumber(const std::string& path, const std::string& current,
                                  const std::string& newNumber);

// `fieldName` ("Sort Field 1" or "Sort Field 2") in "Room Info", then "Sort Field" in its value
// table "Inv " + fieldName. Both values are upper-cased before use.
std::vector<FieldInTable> sortValueFields(const std::string& fieldName);
WalkResult changeSortField(const std::string& path, const std::string& fieldName,
                           const std::string& oldValue, const std::string& newValue);

}  // namespace roomkit
