#include "database.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>

#include "connection.h"
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

sqlite3* Database::handle() const { return connection().db(); }

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

void Database::setBusyTimeout(int milliseconds) { sqlite3_busy_timeout(connection().db(), milliseconds); }

bool Database::inTransaction() const { return sqlite3_get_autocommit(connection().db()) == 0; }

void Database::createTable(const TableDef& def) {
  Connection& c = connection();
  std::string sql = "CREATE TABLE " + quote(def.name) + " (";
  for (std::size_t i = 0; i < def.fields.size(); ++i) {
    const FieldDef& field = def.fields[i];
    if (i > 0) sql += ", ";
    // Numeric rather than real affinity for doubles: whole quantities are kept as compact
    // integers and read back without a conversion step for every field.
    sql += quote(field.name) + " " + detail::declaredType(field);
  }
  sql += ")";
  c.execute(sql);
  for (const IndexDef& index : def.indexes) {
    std::string create = index.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
    create += quote(def.name + "." + index.name) + " ON " + quote(def.name) + " (";
    for (std::size_t i = 0; i < index.fields.size(); ++i) {
      if (i > 0) create += ", ";
      create += quote(index.fields[i]) + " COLLATE FOLD";
      if (index.descends(i)) create += " DESC";
    }
    create += ")";
    c.execute(create);
  }
  c.forgetDefinitions();
}

namespace {

// The condition "field, read as text (and upper-cased), equals ?1". A text field holds only text,
// so a case-blind equality, which an index can serve, narrows the records first.
//
// For a text field and an upper-case text the case-blind equality is the whole condition: the
// collation folds each character as upper-casing does, so a text equals the upper-case one
// without regard to case exactly when its upper-cased form equals it.
std::string textCondition(const FieldDef& field, bool upper, bool upperCaseText = false) {
  std::string condition;
  if (field.type == FieldType::Text || field.type == FieldType::Memo) {
    condition = quote(field.name) + " = ?1 COLLATE FOLD";
    if (upper && upperCaseText) return condition;
    condition += " AND ";
  }
  condition += std::string(upper ? "rk_upper_text(" : "rk_text(") + quote(field.name) + ", " +
               std::to_string(static_cast<int>(field.type)) + ") = ?1";
  return condition;
}

std::int64_t run(Connection& c, const std::string& sql, const std::vector<Value>& binds) {
  StatementUse use(c.statement(sql));
  for (std::size_t i = 0; i < binds.size(); ++i) {
    detail::bindValue(use.get(), static_cast<int>(i + 1), binds[i]);
  }
  const int rc = sqlite3_step(use.get());
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) c.fail(rc);
  return rc == SQLITE_ROW ? sqlite3_column_int64(use.get(), 0) : sqlite3_changes64(c.db());
}

}  // namespace

std::int64_t Database::updateWhereUpperText(const std::string& table, const std::string& field,
                                             const Value& value, const std::string& upperText) {
  Connection& c = connection();
  auto info = c.table(table);
  const auto position = info->def.fieldPosition(field);
  if (!position) throw Error(code::notFound, "The field '" + field + "' is not in '" + table + "'.");
  const FieldDef& def = info->def.fields[*position];
  const std::string where = " WHERE " + textCondition(def, true, toUpper(upperText) == upperText);
  Value stored;
  try {
    stored = coerce(def, value);
  } catch (const Error&) {
    // A cursor would fail on the first matching record only.
    if (run(c, "SELECT count(*) FROM " + info->quotedName + where, {Value(upperText)}) == 0) {
      return 0;
    }
    throw;
  }
  ++*c.tableCounter(table);
  const std::vector<std::size_t> positions{*position};
  const std::vector<Value> values{stored};
  const history::HintScope hint(c.recorder,
                                {&info->def.name, false, &positions, &values, &info->keyFields});
  return run(c, "UPDATE " + info->quotedName + " SET " + quote(def.name) + " = ?2" + where,
             {Value(upperText), stored});
}

namespace {

// The index a seek of `keys` values goes through; its name is compared without regard to case.
const detail::IndexInfo& seekIndex(const detail::TableInfo& info, const std::string& table,
                                   const std::string& index, std::size_t keys) {
  const detail::IndexInfo* found = nullptr;
  for (const detail::IndexInfo& candidate : info.indexes) {
    if (compareFolded(candidate.def.name, index) == 0) found = &candidate;
  }
  if (!found) throw Error(code::notFound, "'" + index + "' is not an index of the table '" + table + "'.");
  if (keys == 0 || keys > found->columns.size()) {
    throw Error(code::misuse, "A seek on '" + found->def.name + "' takes 1 to " +
                                  std::to_string(found->columns.size()) + " key values.");
  }
  return *found;
}

}  // namespace

Database::KeyUpdate Database::prepareUpdateWhereKey(const std::string& table,
                                                   const std::string& index, std::size_t keys,
                                                   const std::vector<std::size_t>& positions,
                                                   bool addToPresent) {
  Connection& c = connection();
  auto info = c.table(table);
  const detail::IndexInfo* found = &seekIndex(*info, table, index, keys);
  KeyUpdate update{table, "UPDATE " + info->quotedName + " SET ", {}, keys, positions, addToPresent};
  for (std::size_t position : positions) {
    if (position >= info->def.fields.size()) {
      throw Error(code::notFound, "No field at position " + std::to_string(position) + " in '" + table + "'.");
    }
    const FieldDef& def = info->def.fields[position];
    if (addToPresent && def.type != FieldType::Double && def.type != FieldType::Integer) {
      throw Error(code::misuse, "Only a number field can be added to: '" + def.name + "'.");
    }
    if (!update.fields.empty()) update.sql += ", ";
    update.fields.push_back(def);
    const std::string param = "?" + std::to_string(update.fields.size());
    update.sql += quote(def.name) + " = " +
                  (addToPresent ? "coalesce(" + quote(def.name) + ", 0) + " + param : param);
  }
  std::string where, order;
  for (std::size_t k = 0; k < found->columns.size(); ++k) {
    const std::string key = quote(info->def.fields[found->columns[k]].name);
    const std::string collate = " COLLATE " + quote(found->collations[k]);
    if (k < keys) {
      where += (k == 0 ? " WHERE " : " AND ") + key + " = ?" +
               std::to_string(update.fields.size() + k + 1) + collate;
    }
    order += key + collate + (found->def.descends(k) ? " DESC, " : ", ");
  }
  // Every key of a unique index names one record; otherwise the seek's record is the first with
  // those keys in the index order.
  if (found->def.unique && keys == found->columns.size()) {
    update.sql += where;
  } else {
    update.sql += " WHERE " + info->rowidName + " = (SELECT " + info->rowidName + " FROM " +
                  info->quotedName + where + " ORDER BY " + order + info->rowidName + " LIMIT 1)";
  }
  return update;
}

std::int64_t Database::updateWhereKey(const KeyUpdate& update, const std::vector<Value>& keys,
                                      const std::vector<Value>& values) {
  return runKeyUpdate(update, keys, values, false);
}

std::int64_t Database::runKeyUpdate(const KeyUpdate& update, const std::vector<Value>& keys,
                                    const std::vector<Value>& values, bool fitted) {
  if (keys.size() != update.keys || values.size() != update.fields.size()) {
    throw Error(code::misuse, "An update by key takes every key and one value per field.");
  }
  if (values.empty()) return 0;
  return runWrite(update.table, update.sql,
                  {update.fields, update.positions, false, update.adds, fitted, update.prepared},
                  values, keys);
}

std::vector<Value> Database::fit(const KeyUpdate& update, const std::vector<Value>& values) const {
  if (values.size() != update.fields.size()) {
    throw Error(code::misuse, "An update by key takes one value per field.");
  }
  std::vector<Value> fitted;
  fitted.reserve(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) fitted.push_back(coerce(update.fields[i], values[i]));
  return fitted;
}

std::int64_t Database::updateWhereKeyFitted(const KeyUpdate& update, const std::vector<Value>& keys,
                                            const std::vector<Value>& fitted) {
  return runKeyUpdate(update, keys, fitted, true);
}

Database::Insert Database::prepareInsert(const std::string& table,
                                         const std::vector<std::size_t>& positions) {
  auto info = connection().table(table);
  Insert insert{table, {}, {}, positions};
  std::string names, params;
  for (std::size_t position : positions) {
    if (position >= info->def.fields.size()) {
      throw Error(code::notFound, "No field at position " + std::to_string(position) + " in '" + table + "'.");
    }
    const FieldDef& def = info->def.fields[position];
    if (!insert.fields.empty()) {
      names += ", ";
      params += ", ";
    }
    insert.fields.push_back(def);
    names += quote(def.name);
    params += "?" + std::to_string(insert.fields.size());
  }
  insert.sql = insert.fields.empty()
                   ? "INSERT INTO " + info->quotedName + " DEFAULT VALUES"
                   : "INSERT INTO " + info->quotedName + " (" + names + ") VALUES (" + params + ")";
  return insert;
}

void Database::insert(const Insert& insert, const std::vector<Value>& values) {
  if (values.size() != insert.fields.size()) {
    throw Error(code::misuse, "An insert takes one value per field.");
  }
  runWrite(insert.table, insert.sql,
           {insert.fields, insert.positions, true, false, false, insert.prepared}, values, {});
}

// Binds the values, each fitted to its field, then the further values as they are, and runs
// the write; returns the number of records written.
std::int64_t Database::runWrite(const std::string& table, const std::string& sql,
                                const WriteShape& shape, const std::vector<Value>& values,
                                const std::vector<Value>& further) {
  Connection& c = connection();
  std::vector<Value> fitted;
  if (!shape.fitted) {
    fitted.reserve(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) fitted.push_back(coerce(shape.fields[i], values[i]));
  }
  const std::vector<Value>& stored = shape.fitted ? values : fitted;
  Prepared& prepared = shape.prepared;
  if (prepared.connection != c.serial() || !prepared.statement) {
    prepared.statement = c.statement(sql);
    prepared.table = c.table(table);
    prepared.counter = c.tableCounter(table);
    prepared.connection = c.serial();
  }
  const auto* info = static_cast<const detail::TableInfo*>(prepared.table.get());
  // Every parameter is bound again at each use, so the old bindings need no clearing.
  StatementUse use(prepared.statement, StatementUse::Bindings::Kept);
  int param = 1;
  for (const Value& value : stored) detail::bindStored(use.get(), param++, value);
  for (const Value& value : further) detail::bindValue(use.get(), param++, value);
  if (param - 1 != sqlite3_bind_parameter_count(use.get())) {
    throw Error(code::misuse, "A write was given the wrong number of values.");
  }
  const history::HintScope hint(c.recorder, {&info->def.name, shape.insert, &shape.positions,
                                             shape.adds ? nullptr : &stored, &info->keyFields});
  const int rc = sqlite3_step(use.get());
  if (rc != SQLITE_DONE) c.fail(rc);
  ++*prepared.counter;
  return sqlite3_changes64(c.db());
}

std::int64_t Database::updateWhereKey(const std::string& table, const std::string& index,
                                      const std::vector<Value>& keys, const FieldValues& fields,
                                      bool addToPresent) {
  std::vector<std::size_t> positions;
  std::vector<Value> values;
  for (const auto& [position, value] : fields) {
    positions.push_back(position);
    values.push_back(value);
  }
  return updateWhereKey(prepareUpdateWhereKey(table, index, keys.size(), positions, addToPresent),
                        keys, values);
}

bool Database::hasKey(const std::string& table, const std::string& index,
                      const std::vector<Value>& keys) {
  Connection& c = connection();
  auto info = c.table(table);
  const detail::IndexInfo* found = &seekIndex(*info, table, index, keys.size());
  std::string sql = "SELECT 1 FROM " + info->quotedName + " WHERE ";
  for (std::size_t k = 0; k < keys.size(); ++k) {
    if (k > 0) sql += " AND ";
    sql += quote(info->def.fields[found->columns[k]].name) + " = ?" + std::to_string(k + 1) +
           " COLLATE " + quote(found->collations[k]);
  }
  StatementUse use(c.statement(sql + " LIMIT 1"));
  for (std::size_t k = 0; k < keys.size(); ++k) {
    const FieldDef& field = info->def.fields[found->columns[k]];
    Value key = keys[k];
    // As a seek does: a key its field cannot hold is compared as it is, and finds nothing.
    if (!(key.isText() && (field.type == FieldType::Text || field.type == FieldType::Memo))) {
      try {
        key = coerce(field, keys[k]);
      } catch (const Error&) {
      }
    }
    detail::bindValue(use.get(), static_cast<int>(k + 1), key);
  }
  const int rc = sqlite3_step(use.get());
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) c.fail(rc);
  return rc == SQLITE_ROW;
}

std::int64_t Database::deleteWhereText(const std::string& table, const std::string& field,
                                       const std::string& text) {
  Connection& c = connection();
  auto info = c.table(table);
  const auto position = info->def.fieldPosition(field);
  if (!position) throw Error(code::notFound, "The field '" + field + "' is not in '" + table + "'.");
  ++*c.tableCounter(table);
  return run(c,
             "DELETE FROM " + info->quotedName + " WHERE " +
                 textCondition(info->def.fields[*position], false),
             {Value(text)});
}

}  // namespace store
