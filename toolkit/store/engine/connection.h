// Internal: one SQLite connection with its prepared statements, the table definitions read from
// the file, and the write counters that tell cursors when their read-ahead is out of date.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/definition.h"
#include "store/error.h"

namespace store::history {
class Recorder;
}

namespace store::detail {

// An index as SQLite holds it: the file's name, and key columns with their collations.
struct IndexInfo {
  IndexDef def;
  std::string sqliteName;
  std::vector<std::size_t> columns;     // field positions of the keys
  std::vector<std::string> collations;  // "FOLD", "BINARY", ...
};

struct TableInfo {
  TableDef def;
  std::vector<IndexInfo> indexes;
  std::string rowidName;  // rowid alias that no field shadows
  std::string quotedName;
  std::string selectList;  // rowid alias, then every field in position order
  // rowid alias, then the row function over every field; "" for tables too wide for it
  std::string packedSelectList;
  std::vector<FieldType> types;  // field types in position order
  // The fields a record is known by: those of "PrimaryKey", or of the first unique index, or of
  // the first index; empty for a table without one.
  std::vector<std::size_t> keyFields;
};

// The row function rk_row(sink, field...) converts a whole row into the cursor's batch at once.
struct RowSink {
  const FieldType* types;
  Value* values;
  std::uint64_t calls;
};
inline constexpr const char* rowSinkType = "rk_row_sink";
inline constexpr int rowSinkParameter = 30;  // parameter numbers beyond any key binding
inline constexpr int limitParameter = 31;

std::string quote(std::string_view identifier);

class Connection {
 public:
  explicit Connection(sqlite3* db, std::string path);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  sqlite3* db() const;                              // throws when closed
  std::uint64_t serial() const { return serial_; }  // different for every connection made
  bool isOpen() const { return db_ != nullptr; }
  const std::string& path() const { return path_; }
  void close();

  // A cached statement, reset and with its bindings cleared.
  sqlite3_stmt* statement(const std::string& sql);
  // Runs a statement that returns no rows.
  void execute(const std::string& sql);

  [[noreturn]] void fail() const;  // throws the connection's last engine error
  [[noreturn]] void fail(int rc) const;

  std::shared_ptr<const TableInfo> table(const std::string& name);
  void forgetDefinitions() { tables_.clear(); }

  // The recorder of the run in progress, if any; the store's writes tell it what they write.
  history::Recorder* recorder = nullptr;
  bool historyTables = false;   // the history's tables are known to be in the file
  bool historyDigests = false;  // and its runs' table has the column of their checksums
  bool readOnly = false;        // opened for reading: nothing may be changed through it

  // Write counters: one per table, and one for every table (rollback).
  std::uint64_t* tableCounter(const std::string& name);
  std::uint64_t allCounter() const { return all_; }
  void touchAll() { ++all_; }

 private:
  std::shared_ptr<const TableInfo> readTable(const std::string& name);

  sqlite3* db_;
  std::uint64_t serial_;
  std::string path_;
  std::unordered_map<std::string, sqlite3_stmt*> statements_;
  std::unordered_map<std::string, std::shared_ptr<const TableInfo>> tables_;
  std::unordered_map<std::string, std::uint64_t> counters_;
  std::uint64_t all_ = 0;
};

// Resets a statement when it goes out of scope, so no read transaction stays open.
class StatementUse {
 public:
  enum class Bindings { Cleared, Kept };
  explicit StatementUse(sqlite3_stmt* stmt, Bindings bindings = Bindings::Cleared)
      : stmt_(stmt), clear_(bindings == Bindings::Cleared) {}
  ~StatementUse() {
    sqlite3_reset(stmt_);
    if (clear_) sqlite3_clear_bindings(stmt_);
  }
  StatementUse(const StatementUse&) = delete;
  StatementUse& operator=(const StatementUse&) = delete;
  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_;
  bool clear_;
};

// Binding and reading values by field type.
void bindValue(sqlite3_stmt* stmt, int index, const Value& value);
// Binds a value that has been fitted to its field for writing. A whole number bound for a
// number field goes in as an integer: that is what the field's numeric affinity stores anyway,
// and the engine is spared the conversion.
void bindStored(sqlite3_stmt* stmt, int index, const Value& value);
void readValue(sqlite3_stmt* stmt, int column, FieldType type, Value& out);

// A field's type in SQL and back.
std::string declaredType(const FieldDef& field);
FieldDef parseField(std::string name, const std::string& declared);
// Sets the field's rules from the table's definition: its NOT NULL, its default as written (null
// for none) and the definition's whole text.
void readFieldRules(FieldDef& field, bool notNull, const char* defaultLiteral,
                    const std::string& tableSql);

// Registers the store's collation and functions on a connection.
void registerExtensions(sqlite3* db);

std::string asciiLower(std::string_view text);

}  // namespace store::detail
