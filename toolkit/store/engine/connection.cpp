#include "connection.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <map>

#include "store/history/added_check.h"
#include "store/text_case.h"

namespace store::detail {

std::string quote(std::string_view identifier) {
  std::string out;
  out.reserve(identifier.size() + 2);
  out += '"';
  for (char ch : identifier) {
    if (ch == '"') out += '"';
    out += ch;
  }
  out += '"';
  return out;
}

std::string asciiLower(std::string_view text) {
  std::string out(text);
  for (char& ch : out) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return out;
}

namespace {
std::uint64_t nextSerial = 0;
}

Connection::Connection(sqlite3* db, std::string path)
    : db_(db), serial_(++nextSerial), path_(std::move(path)) {}

Connection::~Connection() { close(); }

void Connection::close() {
  if (!db_) return;
  for (auto& [sql, stmt] : statements_) sqlite3_finalize(stmt);
  statements_.clear();
  tables_.clear();
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

sqlite3* Connection::db() const {
  if (!db_) throw Error(code::misuse, "The database is closed.");
  return db_;
}

void Connection::fail() const { fail(sqlite3_extended_errcode(db())); }

void Connection::fail(int rc) const {
  const char* message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
  throw Error(rc, message ? message : sqlite3_errstr(rc));
}

sqlite3_stmt* Connection::statement(const std::string& sql) {
  auto found = statements_.find(sql);
  if (found != statements_.end()) return found->second;
  sqlite3_stmt* stmt = nullptr;
  const int rc = sqlite3_prepare_v3(db(), sql.c_str(), static_cast<int>(sql.size()),
                                    SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
  if (rc != SQLITE_OK) fail(rc);
  statements_.emplace(sql, stmt);
  return stmt;
}

void Connection::execute(const std::string& sql) {
  StatementUse use(statement(sql));
  int rc;
  while ((rc = sqlite3_step(use.get())) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) fail(rc);
}

std::uint64_t* Connection::tableCounter(const std::string& name) {
  return &counters_[asciiLower(name)];
}

std::shared_ptr<const TableInfo> Connection::table(const std::string& name) {
  const std::string key = asciiLower(name);
  auto found = tables_.find(key);
  if (found != tables_.end()) return found->second;
  auto info = readTable(name);
  tables_.emplace(key, info);
  return info;
}

namespace {

constexpr std::size_t maxRowArguments = 127;  // the engine's limit on function arguments

// The size in parentheses after the declared type, or 0.
int declaredSize(const std::string& upper) {
  const auto open = upper.find('(');
  return open == std::string::npos ? 0 : std::atoi(upper.c_str() + open + 1);
}

}  // namespace

// Reads what declaredType writes, and the usual SQL type names of files made elsewhere.
FieldDef parseField(std::string name, const std::string& declared) {
  FieldDef field{std::move(name), FieldType::Text, 0};
  const std::string upper = toUpper(declared);
  auto has = [&](const char* part) { return upper.find(part) != std::string::npos; };
  int size = 0;
  if (has("LONGTEXT")) {
    field.type = FieldType::Memo;
  } else if (has("LONGBLOB")) {
    field.type = FieldType::Ole;
  } else if (has("BLOB")) {
    field.type = FieldType::Binary;
    size = declaredSize(upper);
  } else if (has("YESNO") || has("BOOL")) {
    field.type = FieldType::Boolean;
  } else if (has("CURRENCY")) {
    field.type = FieldType::Currency;
  } else if (has("GUID")) {
    field.type = FieldType::Guid;
  } else if (has("DATE") || has("TIME")) {
    field.type = FieldType::Date;
  } else if (has("INT")) {
    field.type = FieldType::Integer;
    size = has("TINYINT") ? 1 : has("SMALLINT") ? 2 : has("BIGINT") ? 8 : 4;
  } else if (has("SINGLE")) {
    field.type = FieldType::Double;
    size = 4;
  } else if (has("CHAR") || has("TEXT") || has("CLOB")) {
    field.type = FieldType::Text;
    size = declaredSize(upper);
  } else if (has("REAL") || has("FLOA") || has("DOUB") || has("NUM") || has("DEC")) {
    field.type = FieldType::Double;
  }
  field.size = size > 0 ? size : defaultSize(field.type);
  return field;
}

// Each type's name in SQL. The names are chosen for the column affinity they give: text for text
// and memo, integer for whole numbers, blob for bytes, and numeric for numbers that should stay
// whole where they are (double, currency in ten-thousandths, yes/no as -1 and 0), for dates kept as
// text and for GUIDs, whose text with braces never reads as a number.
std::string declaredType(const FieldDef& field) {
  const std::string size = "(" + std::to_string(field.size) + ")";
  switch (field.type) {
    case FieldType::Text: return "TEXT" + size;
    case FieldType::Integer:
      return field.size == 1   ? "TINYINT"
             : field.size == 2 ? "SMALLINT"
             : field.size == 8 ? "BIGINT"
                               : "INTEGER";
    case FieldType::Double: return field.size == 4 ? "SINGLE" : "NUMBER";
    case FieldType::Date: return "DATE";
    case FieldType::Boolean: return "YESNO";
    case FieldType::Currency: return "CURRENCY";
    case FieldType::Memo: return "LONGTEXT";
    case FieldType::Binary: return "BLOB" + size;
    case FieldType::Ole: return "LONGBLOB";
    case FieldType::Guid: return "GUID";
  }
  return "TEXT";
}

namespace {

std::string columnText(sqlite3_stmt* stmt, int col) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
  return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, col)))
              : std::string();
}

// A pragma run once and not kept: its text names the table or index. The pragma statements are
// used as they stand; their table-valued forms prepare the same pragma again at every use.
class Pragma {
 public:
  Pragma(const Connection& c, const std::string& sql) : c_(c) {
    const int rc =
        sqlite3_prepare_v2(c.db(), sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) {
      sqlite3_finalize(stmt_);
      c.fail(rc);
    }
  }
  ~Pragma() { sqlite3_finalize(stmt_); }
  Pragma(const Pragma&) = delete;
  Pragma& operator=(const Pragma&) = delete;

  bool next() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) c_.fail(rc);
    return false;
  }
  sqlite3_stmt* get() const { return stmt_; }

 private:
  const Connection& c_;
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace

std::shared_ptr<const TableInfo> Connection::readTable(const std::string& name) {
  auto info = std::make_shared<TableInfo>();
  std::string tableSql;
  {
    StatementUse use(statement(
        "SELECT name, sql FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE"));
    sqlite3_bind_text(use.get(), 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    const int rc = sqlite3_step(use.get());
    if (rc == SQLITE_ROW) {
      info->def.name = columnText(use.get(), 0);
      tableSql = columnText(use.get(), 1);
    } else if (rc == SQLITE_DONE) {
      throw Error(code::notFound, "The table '" + name + "' does not exist in this database.");
    } else {
      fail(rc);
    }
  }
  info->quotedName = quote(info->def.name);
  for (Pragma fields(*this, "PRAGMA main.table_info(" + info->quotedName + ")"); fields.next();) {
    sqlite3_stmt* row = fields.get();  // cid, name, type, notnull, dflt_value, pk
    info->def.fields.push_back(parseField(columnText(row, 1), columnText(row, 2)));
    readFieldRules(info->def.fields.back(), sqlite3_column_int(row, 3) != 0,
                   reinterpret_cast<const char*>(sqlite3_column_text(row, 4)), tableSql);
  }
  for (const char* alias : {"rowid", "_rowid_", "oid"}) {
    if (!info->def.fieldPosition(alias)) {
      info->rowidName = alias;
      break;
    }
  }
  if (info->rowidName.empty()) {
    throw Error(code::generic, "The table '" + name + "' has no stored order.");
  }
  info->selectList = info->rowidName;
  std::string arguments;
  for (const FieldDef& field : info->def.fields) {
    info->selectList += ", " + quote(field.name);
    arguments += ", " + quote(field.name);
    info->types.push_back(field.type);
  }
  if (info->def.fields.size() + 1 <= maxRowArguments) {
    info->packedSelectList =
        info->rowidName + ", rk_row(?" + std::to_string(rowSinkParameter) + arguments + ")";
  }

  // Indexes in the order they were made; the suite's name follows "<table>." in the file's name.
  std::map<std::string, bool> uniqueByName, partialByName;
  for (Pragma list(*this, "PRAGMA main.index_list(" + info->quotedName + ")"); list.next();) {
    uniqueByName.emplace(columnText(list.get(), 1), sqlite3_column_int(list.get(), 2) != 0);
    partialByName.emplace(columnText(list.get(), 1), sqlite3_column_int(list.get(), 4) != 0);
  }
  std::vector<std::pair<std::string, bool>> names;
  if (!uniqueByName.empty()) {
    StatementUse use(statement(
        "SELECT name FROM sqlite_schema WHERE type = 'index' AND tbl_name = ?1 ORDER BY rowid"));
    sqlite3_bind_text(use.get(), 1, info->def.name.c_str(), -1, SQLITE_TRANSIENT);
    int rc;
    while ((rc = sqlite3_step(use.get())) == SQLITE_ROW) {
      std::string name = columnText(use.get(), 0);
      const auto unique = uniqueByName.find(name);
      if (unique != uniqueByName.end()) names.emplace_back(std::move(name), unique->second);
    }
    if (rc != SQLITE_DONE) fail(rc);
  }
  const std::string prefix = info->def.name + ".";
  for (auto& [sqliteName, unique] : names) {
    IndexInfo index;
    index.sqliteName = sqliteName;
    index.def.unique = unique;
    index.def.ignoreNulls = partialByName[sqliteName];  // made with "WHERE key IS NOT NULL"
    const bool prefixed = sqliteName.size() > prefix.size() &&
                          asciiLower(sqliteName.substr(0, prefix.size())) == asciiLower(prefix);
    index.def.name = prefixed ? sqliteName.substr(prefix.size()) : sqliteName;
    bool usable = true;
    // seqno, cid, name, desc, coll, key; in the order of the key
    for (Pragma columns(*this, "PRAGMA main.index_xinfo(" + quote(sqliteName) + ")");
         columns.next();) {
      sqlite3_stmt* row = columns.get();
      if (sqlite3_column_int(row, 5) == 0) continue;  // the rowid that ends every entry
      const int cid = sqlite3_column_int(row, 1);
      if (cid < 0 || static_cast<std::size_t>(cid) >= info->def.fields.size()) {
        usable = false;  // an index on an expression or the rowid cannot be sought by field
        continue;
      }
      index.columns.push_back(static_cast<std::size_t>(cid));
      index.def.fields.push_back(info->def.fields[static_cast<std::size_t>(cid)].name);
      index.collations.push_back(columnText(row, 4));
      index.def.descending.push_back(sqlite3_column_int(row, 3) != 0);
    }
    if (std::find(index.def.descending.begin(), index.def.descending.end(), true) ==
        index.def.descending.end()) {
      index.def.descending.clear();
    }
    if (usable && !index.columns.empty()) {
      info->def.indexes.push_back(index.def);
      info->indexes.push_back(std::move(index));
    }
  }
  const IndexInfo* key = nullptr;
  for (const IndexInfo& index : info->indexes) {
    if (compareFolded(index.def.name, "PrimaryKey") == 0) key = &index;
  }
  for (const IndexInfo& index : info->indexes) {
    if (!key && index.def.unique) key = &index;
  }
  if (!key && !info->indexes.empty()) key = &info->indexes.front();
  if (key) info->keyFields = key->columns;
  return info;
}

void bindValue(sqlite3_stmt* stmt, int index, const Value& value) {
  int rc = SQLITE_OK;
  switch (value.kind()) {
    case Value::Kind::Null: rc = sqlite3_bind_null(stmt, index); break;
    case Value::Kind::Text:
      rc = sqlite3_bind_text(stmt, index, value.text().data(),
                             static_cast<int>(value.text().size()), SQLITE_TRANSIENT);
      break;
    case Value::Kind::Integer:
    case Value::Kind::Boolean:
    case Value::Kind::Currency: rc = sqlite3_bind_int64(stmt, index, value.integer()); break;
    case Value::Kind::Double: rc = sqlite3_bind_double(stmt, index, value.number()); break;
    case Value::Kind::Binary:
      rc = sqlite3_bind_blob64(stmt, index, value.bytes().data(), value.bytes().size(),
                               SQLITE_TRANSIENT);
      break;
    case Value::Kind::Date: {
      const std::string iso = value.date().iso();
      rc = sqlite3_bind_text(stmt, index, iso.data(), static_cast<int>(iso.size()),
                             SQLITE_TRANSIENT);
      break;
    }
  }
  if (rc != SQLITE_OK) throw Error(rc, sqlite3_errstr(rc));
}

void bindStored(sqlite3_stmt* stmt, int index, const Value& value) {
  if (value.kind() == Value::Kind::Double) {
    const double number = value.number();
    if (number >= -9.0e15 && number <= 9.0e15 && number == std::trunc(number)) {
      const int rc = sqlite3_bind_int64(stmt, index, static_cast<sqlite3_int64>(number));
      if (rc != SQLITE_OK) throw Error(rc, sqlite3_errstr(rc));
      return;
    }
  }
  bindValue(stmt, index, value);
}

namespace {

void fromSqlite(sqlite3_value* v, FieldType type, Value& out) {
  const int storage = sqlite3_value_type(v);
  if (storage == SQLITE_NULL) {
    out.setNull();
    return;
  }
  switch (type) {
    case FieldType::Boolean:
      if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT) {
        out.setBoolean(sqlite3_value_double(v) != 0);
        return;
      }
      break;
    case FieldType::Currency:
      if (storage == SQLITE_INTEGER) {
        out.setCurrency(sqlite3_value_int64(v));
        return;
      }
      break;
    case FieldType::Binary:
    case FieldType::Ole:
      if (storage == SQLITE_BLOB || storage == SQLITE_TEXT) {
        out.setBinary({static_cast<const char*>(sqlite3_value_blob(v)),
                       static_cast<std::size_t>(sqlite3_value_bytes(v))});
        return;
      }
      break;
    default: break;
  }
  const bool textual =
      type == FieldType::Text || type == FieldType::Memo || type == FieldType::Guid;
  switch (storage) {
    case SQLITE_INTEGER:
      if (type == FieldType::Double) {
        out.setDouble(sqlite3_value_double(v));
      } else if (textual) {
        out.setText(std::to_string(sqlite3_value_int64(v)));
      } else {
        out.setInteger(sqlite3_value_int64(v));
      }
      return;
    case SQLITE_FLOAT:
      if (textual) {
        out.setText(numberText(sqlite3_value_double(v)));
      } else {
        out.setDouble(sqlite3_value_double(v));
      }
      return;
    default: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
      const std::string_view view(text ? text : "",
                                  static_cast<std::size_t>(sqlite3_value_bytes(v)));
      if (type == FieldType::Date) {
        if (auto date = Date::parse(view)) {
          out.setDate(*date);
          return;
        }
      }
      out.setText(view);
    }
  }
}

// rk_text(value, type): the value as the tools read it as text; rk_upper_text: upper-cased too.
void textFunction(sqlite3_context* ctx, int, sqlite3_value** argv, bool upper) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  Value value;
  fromSqlite(argv[0], static_cast<FieldType>(sqlite3_value_int(argv[1])), value);
  std::string text = value.toText();
  if (upper) text = toUpper(text);
  sqlite3_result_text(ctx, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void rowFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  auto* sink = static_cast<RowSink*>(sqlite3_value_pointer(argv[0], rowSinkType));
  if (!sink || !sink->values) {
    sqlite3_result_error(ctx, "rk_row is the store's own", -1);
    return;
  }
  for (int i = 1; i < argc; ++i) fromSqlite(argv[i], sink->types[i - 1], sink->values[i - 1]);
  ++sink->calls;
  sqlite3_result_null(ctx);
}

// rk_single(number): the number as a single-precision field keeps it, for a sum made in the
// engine, which would keep it in double precision.
void singleFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const int storage = sqlite3_value_type(argv[0]);
  if (storage != SQLITE_INTEGER && storage != SQLITE_FLOAT) {
    sqlite3_result_value(ctx, argv[0]);
    return;
  }
  const double exact = sqlite3_value_double(argv[0]);
  if (std::isfinite(exact) && std::fabs(exact) > std::numeric_limits<float>::max()) {
    sqlite3_result_error(ctx, "The sum is out of the range of a single-precision field.", -1);
    return;
  }
  const double number = static_cast<float>(exact);
  if (number >= -9.0e15 && number <= 9.0e15 && number == std::trunc(number)) {
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(number));
  } else {
    sqlite3_result_double(ctx, number);
  }
}

int foldCollation(void*, int la, const void* a, int lb, const void* b) {
  return compareFolded(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(la)),
                       std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lb)));
}

}  // namespace

void readValue(sqlite3_stmt* stmt, int column, FieldType type, Value& out) {
  fromSqlite(sqlite3_column_value(stmt, column), type, out);
}

void registerExtensions(sqlite3* db) {
  sqlite3_create_collation(db, "FOLD", SQLITE_UTF8, nullptr, foldCollation);
  const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_DIRECTONLY;
  sqlite3_create_function(db, "rk_row", -1, SQLITE_UTF8 | SQLITE_DIRECTONLY, nullptr, rowFunction,
                          nullptr, nullptr);
  sqlite3_create_function(
      db, "rk_text", 2, flags, nullptr,
      [](sqlite3_context* c, int n, sqlite3_value** v) { textFunction(c, n, v, false); }, nullptr,
      nullptr);
  sqlite3_create_function(
      db, "rk_upper_text", 2, flags, nullptr,
      [](sqlite3_context* c, int n, sqlite3_value** v) { textFunction(c, n, v, true); }, nullptr,
      nullptr);
  sqlite3_create_function(db, "rk_single", 1, flags, nullptr, singleFunction, nullptr, nullptr);
  history::registerAddedCheck(db);
}

}  // namespace store::detail
