// The writes of a Combine Rooms merge into an existing room, with deletion, as plain prepared SQL
// on a raw connection of the store (which has the FOLD collation the indexes use).
#pragma once

#include <sqlite3.h>

#include <string>
#include <vector>

namespace combinebench {

void plainMerge(sqlite3* db, const std::vector<std::string>& sources, const std::string& target);

// Every table's records in stored order, as one text (to compare two databases).
std::string contentOf(sqlite3* db);

}  // namespace combinebench
