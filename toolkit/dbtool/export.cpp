#include "export.h"

#include <sqlite3.h>

#include <cmath>

#include "error.h"
#include "json_text.h"
#include "sql_names.h"
#include "store/database.h"
#include "store/value.h"

namespace dbtool {
namespace {

// Ends the read transaction that keeps the export to one state of the file.
class ReadTransaction {
 public:
  explicit ReadTransaction(sqlite3* db) : db_(db) { execute("BEGIN"); }
  ~ReadTransaction() { sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr); }
  ReadTransaction(const ReadTransaction&) = delete;
  ReadTransaction& operator=(const ReadTransaction&) = delete;

 private:
  void execute(const char* sql) {
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) throw store::Error(rc, sqlite3_errmsg(db_));
  }
  sqlite3* db_;
};

class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) : db_(db) {
    const int rc =
        sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) throw store::Error(rc, sqlite3_errmsg(db));
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return stmt_; }
  bool step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throw store::Error(rc, sqlite3_errmsg(db_));
  }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

void writeDefinition(std::string& out, const store::TableDef& def) {
  out += "      \"name\": ";
  appendJsonString(out, def.name);
  out += ",\n      \"fields\": [";
  for (std::size_t i = 0; i < def.fields.size(); ++i) {
    const store::FieldDef& field = def.fields[i];
    out += i == 0 ? "\n        {\"name\": " : ",\n        {\"name\": ";
    appendJsonString(out, field.name);
    out += ", \"type\": \"";
    out += store::fieldTypeName(field.type);
    out += '"';
    if (field.type == store::FieldType::Text) {
      out += ", \"size\": ";
      appendJsonInteger(out, field.size);
    }
    out += '}';
  }
  out += def.fields.empty() ? "]" : "\n      ]";
  out += ",\n      \"indexes\": [";
  for (std::size_t i = 0; i < def.indexes.size(); ++i) {
    const store::IndexDef& index = def.indexes[i];
    out += i == 0 ? "\n        {\"name\": " : ",\n        {\"name\": ";
    appendJsonString(out, index.name);
    out += ", \"fields\": [";
    for (std::size_t k = 0; k < index.fields.size(); ++k) {
      if (k > 0) out += ", ";
      appendJsonString(out, index.fields[k]);
    }
    out += index.unique ? "], \"unique\": true}" : "], \"unique\": false}";
  }
  out += def.indexes.empty() ? "]" : "\n      ]";
}

class RecordWriter {
 public:
  RecordWriter(const store::TableDef& def, std::string& out) : def_(def), out_(out) {}

  void write(sqlite3_stmt* row, std::int64_t record) {
    record_ = record;
    out_ += '[';
    for (std::size_t i = 0; i < def_.fields.size(); ++i) {
      if (i > 0) out_ += ", ";
      value(row, static_cast<int>(i), def_.fields[i]);
    }
    out_ += ']';
  }

 private:
  // The value as the store reads it for the field's type; what the type cannot hold is refused.
  void value(sqlite3_stmt* row, int column, const store::FieldDef& field) {
    const int kind = sqlite3_column_type(row, column);
    if (kind == SQLITE_NULL) {
      out_ += "null";
      return;
    }
    switch (field.type) {
      case store::FieldType::Text:
        if (kind == SQLITE_INTEGER) {
          appendJsonString(out_, std::to_string(sqlite3_column_int64(row, column)));
        } else if (kind == SQLITE_FLOAT) {
          appendJsonString(out_, store::numberText(sqlite3_column_double(row, column)));
        } else {
          const std::string_view text = columnText(row, column);
          if (!isUtf8(text)) refuse(field, "holds bytes that are not UTF-8 text");
          appendJsonString(out_, text);
        }
        return;
      case store::FieldType::Integer:
        if (kind == SQLITE_INTEGER) {
          appendJsonInteger(out_, sqlite3_column_int64(row, column));
          return;
        }
        if (kind == SQLITE_FLOAT)
          refuse(field, "holds " + store::numberText(sqlite3_column_double(row, column)) +
                            ", which is not a whole number");
        refuse(field, "holds text (" + shown(row, column) + ") instead of a whole number");
      case store::FieldType::Double:
        if (kind == SQLITE_INTEGER || kind == SQLITE_FLOAT) {
          const double number = sqlite3_column_double(row, column);
          if (std::isnan(number)) {
            out_ += "null";
          } else {
            appendJsonDouble(out_, number);
          }
          return;
        }
        refuse(field, "holds text (" + shown(row, column) + ") instead of a number");
      case store::FieldType::Date:
        if (kind == SQLITE_TEXT || kind == SQLITE_BLOB) {
          if (auto date = store::Date::parse(columnText(row, column))) {
            out_ += '"';
            out_ += date->iso();
            out_ += '"';
            return;
          }
          refuse(field, "holds text (" + shown(row, column) + ") that is not a date");
        }
        refuse(field, "holds a number instead of a date");
    }
  }

  static std::string_view columnText(sqlite3_stmt* row, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
    return {text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(row, column))};
  }

  static std::string shown(sqlite3_stmt* row, int column) {
    std::string_view text = columnText(row, column);
    if (text.size() > 40) text = text.substr(0, 40);
    return isUtf8(text) ? jsonString(text)
                        : std::to_string(sqlite3_column_bytes(row, column)) + " bytes";
  }

  [[noreturn]] void refuse(const store::FieldDef& field, const std::string& what) const {
    throw Error("table " + jsonString(def_.name) + ", record " + std::to_string(record_) +
                ", field " + jsonString(field.name) + ": the " + store::fieldTypeName(field.type) +
                " field " + what + "; the document cannot show it as it is");
  }

  const store::TableDef& def_;
  std::string& out_;
  std::int64_t record_ = 0;
};

void writeRecords(sqlite3* db, const store::TableDef& def, Output& output) {
  std::string& out = output.buffer();
  if (def.fields.empty()) {
    out += "[]";
    return;
  }
  std::string select = "SELECT ";
  for (std::size_t i = 0; i < def.fields.size(); ++i) {
    if (i > 0) select += ", ";
    select += quoteName(def.fields[i].name);
  }
  select += " FROM " + quoteName(def.name) + " ORDER BY " + rowidAlias(def);
  Statement rows(db, select);
  RecordWriter writer(def, out);
  std::int64_t record = 0;
  while (rows.step()) {
    out += record == 0 ? "[\n        " : ",\n        ";
    writer.write(rows.get(), ++record);
    output.spill();
  }
  out += record == 0 ? "[]" : "\n      ]";
}

}  // namespace

void exportDatabase(const std::string& path, Output& output) {
  store::Database db = store::Database::open(path);
  sqlite3* handle = db.handle();
  {
    ReadTransaction snapshot(handle);
    const std::vector<std::string> tables = db.tableNames();
    std::string& out = output.buffer();
    out += "{\n  \"tables\": [";
    for (std::size_t t = 0; t < tables.size(); ++t) {
      const store::TableDef def = db.tableDef(tables[t]);
      out += t == 0 ? "\n    {\n" : ",\n    {\n";
      writeDefinition(out, def);
      out += ",\n      \"records\": ";
      writeRecords(handle, def, output);
      out += "\n    }";
    }
    out += tables.empty() ? "]\n}\n" : "\n  ]\n}\n";
  }
  db.close();
  output.flush();
}

}  // namespace dbtool
