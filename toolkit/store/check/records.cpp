#include "records.h"

#include "store/engine/connection.h"
#include "store/engine/handle.h"

namespace store::check {

void fail(sqlite3* db, int rc) { throw Error(rc & 0xFF, sqlite3_errmsg(db)); }

bool hasField(const Database& db, const std::string& table, const std::string& field) {
  return db.tableDef(table).fieldPosition(field).has_value();
}

Records::Records(const Database& db, const std::string& table,
                 const std::vector<std::string>& fields, const std::function<void()>& tick)
    : db_(store::engineHandle(db)), def_(db.tableDef(table)), tick_(tick) {
  std::string rowid;
  for (const char* alias : {"rowid", "_rowid_", "oid"}) {
    if (!def_.fieldPosition(alias)) {
      rowid = alias;
      break;
    }
  }
  if (rowid.empty())
    throw Error(code::generic, "The table '" + def_.name + "' has no stored order.");
  std::string sql = "SELECT " + rowid;
  for (const std::string& field : fields) {
    const auto position = def_.fieldPosition(field);
    if (!position) {
      throw Error(code::notFound, "The field '" + field + "' is not in '" + def_.name + "'.");
    }
    positions_.push_back(*position);
    sql += ", " + detail::quote(def_.fields[*position].name);
  }
  sql += " FROM " + detail::quote(def_.name) + " ORDER BY " + rowid;
  const int rc =
      sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr);
  if (rc != SQLITE_OK) fail(db_, rc);
}

Records::~Records() { sqlite3_finalize(stmt_); }

bool Records::next() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) {
    if (tick_ && (++read_ & 0x3FFF) == 0) tick_();
    return true;
  }
  if (rc != SQLITE_DONE) fail(db_, rc);
  return false;
}

bool Records::isNull(std::size_t k) const {
  return sqlite3_column_type(stmt_, static_cast<int>(k + 1)) == SQLITE_NULL;
}

std::string_view Records::text(std::size_t k) const {
  const int column = static_cast<int>(k + 1);
  const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  if (!bytes) return {};
  return {bytes, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))};
}

Value Records::value(std::size_t k) const {
  Value out;
  detail::readValue(stmt_, static_cast<int>(k + 1), def_.fields[positions_[k]].type, out);
  return out;
}

}  // namespace store::check
