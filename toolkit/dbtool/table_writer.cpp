#include "table_writer.h"

#include <sqlite3.h>

#include <cmath>

#include "json_text.h"
#include "sql_names.h"
#include "store/error.h"

namespace dbtool {
namespace {

// As the store binds values; whole doubles go in as integers, which is how a double field
// keeps them anyway. The values outlive the statement's run, so text and bytes are not copied.
void bind(sqlite3_stmt* stmt, int index, const store::Value& value) {
  switch (value.kind()) {
    case store::Value::Kind::Null: sqlite3_bind_null(stmt, index); return;
    case store::Value::Kind::Text:
      sqlite3_bind_text(stmt, index, value.text().data(), static_cast<int>(value.text().size()),
                        SQLITE_STATIC);
      return;
    case store::Value::Kind::Integer:
    case store::Value::Kind::Boolean:
    case store::Value::Kind::Currency: sqlite3_bind_int64(stmt, index, value.integer()); return;
    case store::Value::Kind::Double: {
      const double number = value.number();
      if (number >= -9.0e15 && number <= 9.0e15 && number == std::trunc(number)) {
        sqlite3_bind_int64(stmt, index, static_cast<sqlite3_int64>(number));
      } else {
        sqlite3_bind_double(stmt, index, number);
      }
      return;
    }
    case store::Value::Kind::Binary:
      sqlite3_bind_blob64(stmt, index, value.bytes().data(), value.bytes().size(), SQLITE_STATIC);
      return;
    case store::Value::Kind::Date: {
      const std::string iso = value.date().iso();
      sqlite3_bind_text(stmt, index, iso.data(), static_cast<int>(iso.size()), SQLITE_TRANSIENT);
      return;
    }
  }
}

}  // namespace

// The field of that exact name (names that differ only in case may both exist).
std::size_t TableWriter::fieldIndex(const std::string& name) const {
  for (std::size_t i = 0; i < def_.fields.size(); ++i) {
    if (def_.fields[i].name == name) return i;
  }
  return def_.fieldPosition(name).value_or(0);
}

TableWriter::TableWriter(store::Database& db, const store::TableDef& def) : db_(db), def_(def) {
  try {
    db_.createTable(def_);
  } catch (const store::Error& error) {
    throw store::Error(store::Fault::Input,
                       "table " + jsonString(def_.name) + " cannot be made: " + error.what());
  }
  std::string names, params;
  for (std::size_t i = 0; i < def_.fields.size(); ++i) {
    if (i > 0) {
      names += ", ";
      params += ", ";
    }
    names += quoteName(def_.fields[i].name);
    params += "?" + std::to_string(i + 1);
  }
  const std::string sql =
      "INSERT INTO " + quoteName(def_.name) + " (" + names + ") VALUES (" + params + ")";
  const int rc = sqlite3_prepare_v3(db_.handle(), sql.c_str(), static_cast<int>(sql.size()),
                                    SQLITE_PREPARE_PERSISTENT, &insert_, nullptr);
  if (rc != SQLITE_OK) {
    throw store::Error(
        store::Fault::Input,
        "table " + jsonString(def_.name) + " cannot be written: " + sqlite3_errmsg(db_.handle()));
  }
}

TableWriter::~TableWriter() { sqlite3_finalize(insert_); }

void TableWriter::insert(const std::vector<store::Value>& record) {
  for (std::size_t i = 0; i < record.size(); ++i) bind(insert_, static_cast<int>(i + 1), record[i]);
  const int rc = sqlite3_step(insert_);
  sqlite3_reset(insert_);
  if (rc == SQLITE_DONE) return;
  const std::string message = sqlite3_errmsg(db_.handle());
  if ((rc & 0xFF) == SQLITE_CONSTRAINT) {
    const std::string index = duplicateIndex(record);
    if (!index.empty()) throw store::Error(store::Fault::Input, "duplicate key: " + index);
  }
  throw store::Error(store::Fault::Input, "the record cannot be written: " + message);
}

// The first unique index under which an earlier record has the same key (text compared without
// regard to case, as the index compares it).
std::string TableWriter::duplicateIndex(const std::vector<store::Value>& record) {
  for (const store::IndexDef& index : def_.indexes) {
    if (!index.unique) continue;
    std::string sql = "SELECT 1 FROM " + quoteName(def_.name) + " WHERE ";
    std::vector<const store::Value*> keys;
    for (const std::string& field : index.fields) {
      if (!keys.empty()) sql += " AND ";
      keys.push_back(&record[fieldIndex(field)]);
      sql += quoteName(field) + " = ?" + std::to_string(keys.size()) + " COLLATE FOLD";
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_.handle(), (sql + " LIMIT 1").c_str(), -1, &stmt, nullptr) !=
        SQLITE_OK) {
      sqlite3_finalize(stmt);
      continue;
    }
    bool nulls = false;
    for (std::size_t k = 0; k < keys.size(); ++k) {
      nulls = nulls || keys[k]->isNull();
      bind(stmt, static_cast<int>(k + 1), *keys[k]);
    }
    const bool found = !nulls && sqlite3_step(stmt) == SQLITE_ROW;
    sqlite3_finalize(stmt);
    if (found) {
      std::string fields;
      for (const std::string& field : index.fields)
        fields += (fields.empty() ? "" : ", ") + jsonString(field);
      return "an earlier record has the same " + fields + " (unique index " +
             jsonString(index.name) + ")";
    }
  }
  return {};
}

}  // namespace dbtool
