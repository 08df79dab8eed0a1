// Internal: the removal of the records a run added, each checked against what the run left in it
// before it goes, while the undo's transaction keeps every other writer out.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "changes.h"

namespace store::detail {
class Connection;
struct TableInfo;
}  // namespace store::detail

namespace store::history {

// Records a run added in consecutive places of one table.
struct AddedRange {
  const Added* records = nullptr;  // one a place, in the order of their places
  std::size_t count = 0;
  std::string_view part;             // the table's packed changes, where the records' keys lie
  std::vector<char> seen;            // by place: the engine deleted the record there
  std::size_t found = 0;             // places seen
  std::int64_t changed = 0;          // the place of the first record found changed, or 0
  std::vector<Value> changedRecord;  // its fields in position order, to name it by its key
};

// Deletes the range's places from the table. Afterwards `seen` and `changed` say what was found;
// when a record was changed or not there, the caller refuses the undo and rolls back the rest.
void removeAdded(detail::Connection& c, const detail::TableInfo& info, AddedRange& range);

// The row function that the removal checks with; registered once on every connection.
void registerAddedCheck(sqlite3* db);

}  // namespace store::history
