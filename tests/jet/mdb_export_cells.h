// A table as mdb-export prints it, and one store value held against one of its cells.
#pragma once

#include <string>
#include <vector>

#include "jet_support.h"
#include "store/definition.h"
#include "store/value.h"

namespace jettest {

// The header row and the records of a Jet table, dates as "YYYY-MM-DD HH:MM:SS" and bytes in hex.
std::vector<std::vector<Cell>> mdbExport(const std::string& jetFile, const std::string& table);

// Adds a test failure unless the value is what mdb-export printed for it. A bare empty cell is
// null or "" (mdb-export prints both alike); of a binary field mdb-export prints the bytes before
// the first zero byte.
void expectCell(const store::FieldDef& field, const store::Value& value, const Cell& cell);

}  // namespace jettest
