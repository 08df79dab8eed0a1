#include "rows.h"

#include <sqlite3.h>

#include "engine/access.h"
#include "engine/connection.h"

namespace store {

namespace detail {

struct RowsState {
  Database db;  // keeps the connection while the statement lives
  sqlite3_stmt* statement = nullptr;
  ~RowsState() { sqlite3_finalize(statement); }
};

}  // namespace detail

using detail::Access;
using detail::quote;

StoredRows::StoredRows(const Database& db, const std::string& table)
    : state_(std::make_unique<detail::RowsState>()) {
  state_->db = db;
  detail::Connection& c = Access::connection(db);
  auto info = c.table(table);
  std::string sql = "SELECT ";
  for (std::size_t i = 0; i < info->def.fields.size(); ++i) {
    sql += (i > 0 ? ", " : "") + quote(info->def.fields[i].name);
  }
  if (info->def.fields.empty()) sql += "NULL";
  sql += " FROM " + info->quotedName + " ORDER BY " + info->rowidName;
  const int rc = sqlite3_prepare_v2(c.db(), sql.c_str(), static_cast<int>(sql.size()),
                                    &state_->statement, nullptr);
  if (rc != SQLITE_OK) c.fail(rc);
}

StoredRows::~StoredRows() = default;

bool StoredRows::next() {
  const int rc = sqlite3_step(state_->statement);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  Access::connection(state_->db).fail(rc);
}

Stored StoredRows::kind(std::size_t field) const {
  switch (sqlite3_column_type(state_->statement, static_cast<int>(field))) {
    case SQLITE_INTEGER: return Stored::Integer;
    case SQLITE_FLOAT: return Stored::Real;
    case SQLITE_TEXT: return Stored::Text;
    case SQLITE_BLOB: return Stored::Bytes;
    default: return Stored::Null;
  }
}

std::int64_t StoredRows::integer(std::size_t field) const {
  return sqlite3_column_int64(state_->statement, static_cast<int>(field));
}

double StoredRows::real(std::size_t field) const {
  return sqlite3_column_double(state_->statement, static_cast<int>(field));
}

std::string_view StoredRows::text(std::size_t field) const {
  const int column = static_cast<int>(field);
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(state_->statement, column));
  return {text ? text : "",
          static_cast<std::size_t>(sqlite3_column_bytes(state_->statement, column))};
}

std::string_view StoredRows::bytes(std::size_t field) const {
  const int column = static_cast<int>(field);
  const auto* bytes = static_cast<const char*>(sqlite3_column_blob(state_->statement, column));
  return {bytes ? bytes : "",
          static_cast<std::size_t>(sqlite3_column_bytes(state_->statement, column))};
}

ReadSnapshot::ReadSnapshot(const Database& db) : db_(db) {
  Access::connection(db_).execute("BEGIN");
}

ReadSnapshot::~ReadSnapshot() {
  if (db_.isOpen()) {
    sqlite3_exec(Access::connection(db_).db(), "ROLLBACK", nullptr, nullptr, nullptr);
  }
}

}  // namespace store
