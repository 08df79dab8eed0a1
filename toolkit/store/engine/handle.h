// The engine's own handle of a database, for tests and benchmarks that compare the store's work
// with plain SQL on the same file. Nothing of the programs uses it.
#pragma once

#include <sqlite3.h>

#include "store/database.h"

namespace store {

sqlite3* engineHandle(const Database& db);

}  // namespace store
