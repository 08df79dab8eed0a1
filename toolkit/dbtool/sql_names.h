// Names in SQL as the store writes them: identifiers always quoted, compared as SQLite compares
// them (ASCII letters without regard to case).
#pragma once

#include <string>
#include <string_view>

#include "store/definition.h"

namespace dbtool {

std::string quoteName(std::string_view name);
bool sameSqlName(std::string_view a, std::string_view b);
// The name under which a table's stored order can be read: "rowid", unless a field shadows it.
// Empty when fields shadow all three names SQLite offers.
std::string rowidAlias(const store::TableDef& def);

}  // namespace dbtool
