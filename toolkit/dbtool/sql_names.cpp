#include "sql_names.h"

namespace dbtool {

std::string quoteName(std::string_view name) {
  std::string out;
  out.reserve(name.size() + 2);
  out += '"';
  for (char ch : name) {
    if (ch == '"') out += '"';
    out += ch;
  }
  out += '"';
  return out;
}

bool sameSqlName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

std::string rowidAlias(const store::TableDef& def) {
  for (const char* alias : {"rowid", "_rowid_", "oid"}) {
    bool shadowed = false;
    for (const store::FieldDef& field : def.fields)
      shadowed = shadowed || sameSqlName(field.name, alias);
    if (!shadowed) return alias;
  }
  return {};
}

}  // namespace dbtool
