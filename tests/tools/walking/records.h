// Writing and reading single fields of any table, for the walking tools' tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "store/database.h"

namespace walkingtest {

using Fields = std::vector<std::pair<std::string, store::Value>>;

// Adds one record with the given fields (the rest null).
void put(store::Database& db, const std::string& table, const Fields& fields);
// One field of every record, in stored order, as text ("<null>" for null).
std::vector<std::string> column(store::Database& db, const std::string& table,
                                const std::string& field);
// A table of text fields without indexes.
void makeTable(store::Database& db, const std::string& table,
               const std::vector<std::string>& fields);

}  // namespace walkingtest
