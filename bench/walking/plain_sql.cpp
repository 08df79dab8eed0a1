#include "plain_sql.h"

#include <sqlite3.h>

#include <stdexcept>

#include "store/database.h"
#include "store/engine/handle.h"

namespace bench {

namespace {

void check(sqlite3* db, int rc) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    throw std::runtime_error(sqlite3_errmsg(db));
  }
}

}  // namespace

std::vector<std::int64_t> runPlain(
    const std::string& path,
    const std::vector<std::pair<std::string, std::vector<std::string>>>& statements) {
  store::Database database = store::Database::open(path);
  sqlite3* db = store::engineHandle(database);
  std::vector<std::int64_t> changed;
  check(db, sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
  for (const auto& [sql, texts] : statements) {
    sqlite3_stmt* stmt = nullptr;
    check(db, sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr));
    for (std::size_t i = 0; i < texts.size(); ++i) {
      sqlite3_bind_text(stmt, static_cast<int>(i + 1), texts[i].c_str(), -1, SQLITE_TRANSIENT);
    }
    const int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    check(db, rc);
    changed.push_back(sqlite3_changes64(db));
  }
  check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr));
  database.close();
  return changed;
}

std::string queryText(const std::string& path, const std::string& sql) {
  store::Database database = store::Database::open(path);
  sqlite3* db = store::engineHandle(database);
  sqlite3_stmt* stmt = nullptr;
  check(db, sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr));
  std::string text;
  if (sqlite3_step(stmt) == SQLITE_ROW) {
    text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
  }
  sqlite3_finalize(stmt);
  return text;
}

}  // namespace bench
