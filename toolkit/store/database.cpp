#include "database.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>

#include "engine/access.h"
#include "engine/connection.h"
#include "engine/handle.h"
#include "history/recorder.h"
#include "table.h"
#include "text_case.h"

namespace store {

using detail::Connection;
using detail::quote;
using detail::StatementUse;

Database::Database(std::shared_ptr<Connection> connection) : connection_(std::move(connection)) {}

Connection& Database::connection() const {
  if (!connection_ || !connection_->isOpen()) {
    throw Error(code::misuse, "The database is not open.");
  }
  return *connection_;
}

bool Database::isOpen() const { return connection_ && connection_->isOpen(); }

void Database::close() {
  if (connection_) connection_->close();
  connection_.reset();
}

const std::string& Database::path() const { return connection().path(); }

std::vector<std::string> Database::tableNames() const {
  Connection& c = connection();
  StatementUse use(c.statement(
      "SELECT name FROM sqlite_schema WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
      "ESCAPE '\\' ORDER BY rowid"));
  std::vector<std::string> names;
  int rc;
  while ((rc = sqlite3_step(use.get())) == SQLITE_ROW) {
    names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(use.get(), 0)));
  }
  if (rc != SQLITE_DONE) c.fail(rc);
  return names;
}

TableDef Database::tableDef(const std::string& table) const {
  return connection().table(table)->def;
}

Table Database::openTable(const std::string& table) const {
  return Table(connection_, connection().table(table));
}

void Database::begin() { connection().execute("BEGIN IMMEDIATE"); }

void Database::commit() { connection().execute("COMMIT"); }

void Database::rollback() {
  Connection& c = connection();
  c.touchAll();
  // They, or the column of their checksums, may have been made in the transaction that ends here.
  c.historyTables = c.historyDigests = false;
  if (sqlite3_get_autocommit(c.db()) == 0) c.execute("ROLLBACK");
}

void Database::setBusyTimeout(int milliseconds) {
  sqlite3_busy_timeout(connection().db(), milliseconds);
}

bool Database::inTransaction() const { return sqlite3_get_autocommit(connection().db()) == 0; }

namespace {

// A default value as the table's definition writes it.
std::string literal(const Value& value) {
  switch (value.kind()) {
    case Value::Kind::Null: return "NULL";
    case Value::Kind::Integer:
    case Value::Kind::Boolean:
    case Value::Kind::Currency: return std::to_string(value.integer());
    case Value::Kind::Double: return numberText(value.number());
    default: {
      std::string text = "'";
      for (char ch : value.kind() == Value::Kind::Date ? value.date().iso() : value.text()) {
        if (ch == '\'') text += ch;
        text += ch;
      }
      return text + "'";
    }
  }
}

std::string fieldSql(const FieldDef& field) {
  // Numeric rather than real affinity for doubles: whole quantities are kept as compact
  // integers and read back without a conversion step for every field.
  std::string sql = quote(field.name) + " " + detail::declaredType(field);
  if (field.required) sql += " NOT NULL";
  if (field.defaultValue) sql += " DEFAULT " + literal(*field.defaultValue);
  const bool text = field.type == FieldType::Text || field.type == FieldType::Memo;
  if (text && !field.allowZeroLength) sql += " CHECK (" + quote(field.name) + " <> '')";
  return sql;
}

std::string indexSql(const TableDef& def, const IndexDef& index) {
  std::string sql = index.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
  sql += quote(def.name + "." + index.name) + " ON " + quote(def.name) + " (";
  std::string where;
  for (std::size_t i = 0; i < index.fields.size(); ++i) {
    if (i > 0) sql += ", ";
    sql += quote(index.fields[i]) + " COLLATE FOLD";
    if (index.descends(i)) sql += " DESC";
    if (index.ignoreNulls) {
      where += (where.empty() ? " WHERE " : " OR ") + quote(index.fields[i]) + " IS NOT NULL";
    }
  }
  return sql + ")" + where;
}

}  // namespace

void Database::createTable(const TableDef& def) {
  Connection& c = connection();
  std::string sql = "CREATE TABLE " + quote(def.name) + " (";
  for (std::size_t i = 0; i < def.fields.size(); ++i) {
    sql += (i > 0 ? ", " : "") + fieldSql(def.fields[i]);
  }
  c.execute(sql + ")");
  for (const IndexDef& index : def.indexes) c.execute(indexSql(def, index));
  c.forgetDefinitions();
}

void Database::savepoint(const std::string& name) {
  connection().execute("SAVEPOINT " + quote(name));
}

void Database::rollbackToSavepoint(const std::string& name) {
  Connection& c = connection();
  c.touchAll();
  c.execute("ROLLBACK TO " + quote(name));
  c.forgetDefinitions();  // a table made since may be gone
}

void Database::releaseSavepoint(const std::string& name) {
  connection().execute("RELEASE " + quote(name));
}

sqlite3* engineHandle(const Database& db) { return detail::Access::connection(db).db(); }

}  // namespace store
