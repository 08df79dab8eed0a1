// A connection to one building (or account) database file. Several Database objects may hold one
// file at once; each is cheap to copy and copies share the connection.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "definition.h"
#include "error.h"
#include "value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace store {

namespace detail {
class Connection;
}

class Table;
class Run;
struct RunInfo;
struct UndoResult;

class Database {
 public:
  Database() = default;  // not open

  // Write: read-write, and a file that cannot be written is refused. Read: for reading only,
  // writing nothing beside the file. AsAllowed: read-write where the user may write the file and
  // its folder, else for reading.
  enum class Access { Write, Read, AsAllowed };
  // Opens an existing database file, shared. Never creates a file: a missing file, a folder, an
  // empty file or one that is not a database throws Error.
  static Database open(const std::string& path, Access access = Access::Write);
  // Creates a new, empty database file; refuses a path at which anything exists.
  static Database create(const std::string& path);

  bool isOpen() const;
  bool readOnly() const;  // opened for reading (or the file may only be read): writes are refused
  void close();  // closing a database that is not open is harmless
  const std::string& path() const;

  // Tables by position, system tables included.
  std::vector<std::string> tableNames() const;
  TableDef tableDef(const std::string& table) const;
  Table openTable(const std::string& table) const;

  void begin();  // a write transaction, taken at once so other writers wait for it
  void commit();
  void rollback();
  bool inTransaction() const;
  // How long a write waits for another connection's transaction before it is refused (10 s).
  void setBusyTimeout(int milliseconds);

  // Makes a table with its fields and indexes (for the schema builders and import).
  void createTable(const TableDef& def);

  // Set-based statements that give the same writes and refusals as walking every record with a
  // cursor and setting or deleting the matching ones. Both return the number of records touched.
  //
  // Sets `field` to `value` where the field's value, read as text and upper-cased, equals
  // `upperText` exactly.
  std::int64_t updateWhereUpperText(const std::string& table, const std::string& field,
                                    const Value& value, const std::string& upperText);
  using FieldValues = std::vector<std::pair<std::size_t, Value>>;
  // Sets fields (by position) of the record that a seek on `index` with `keys` makes current (the
  // first with those leading keys in the index order): a seek, edit and update without reading
  // the record. With `addToPresent` each value is added to the field's present number (none counts
  // as 0); only number fields take that. Returns 0 when no record has those keys.
  std::int64_t updateWhereKey(const std::string& table, const std::string& index,
                              const std::vector<Value>& keys, const FieldValues& fields,
                              bool addToPresent = false);
  // The same update made once for a set of fields and run for many records: the values come in
  // the order of `positions`.
  // The statement and table of a write made once and run for many records, found again at once
  // on the connection that prepared them.
  struct Prepared {
    std::uint64_t connection = 0;
    sqlite3_stmt* statement = nullptr;
    std::shared_ptr<const void> table;
    std::uint64_t* counter = nullptr;  // the connection's count of writes to the table
  };
  struct KeyUpdate {
    std::string table;
    std::string sql;
    std::vector<FieldDef> fields;
    std::size_t keys = 0;
    std::vector<std::size_t> positions;  // of the fields
    bool adds = false;                   // the values are added to the present ones
    mutable Prepared prepared = {};
  };
  KeyUpdate prepareUpdateWhereKey(const std::string& table, const std::string& index,
                                  std::size_t keys, const std::vector<std::size_t>& positions,
                                  bool addToPresent = false);
  std::int64_t updateWhereKey(const KeyUpdate& update, const std::vector<Value>& keys,
                              const std::vector<Value>& values);
  // The values fitted to the update's fields, once, for an update run with the same values for
  // many records; then the update with them as they are.
  std::vector<Value> fit(const KeyUpdate& update, const std::vector<Value>& values) const;
  std::int64_t updateWhereKeyFitted(const KeyUpdate& update, const std::vector<Value>& keys,
                                    const std::vector<Value>& fitted);

  // Adds one record with the given fields set, as add new, setting them, and update do; made
  // once and run for many records. The values come in the order of `positions`.
  struct Insert {
    std::string table;
    std::string sql;
    std::vector<FieldDef> fields;
    std::vector<std::size_t> positions;  // of the fields
    mutable Prepared prepared = {};
  };
  Insert prepareInsert(const std::string& table, const std::vector<std::size_t>& positions);
  void insert(const Insert& insert, const std::vector<Value>& values);
  // Whether a seek on `index` with `keys` would find a record (the keys compared as the index
  // compares them), without reading it.
  bool hasKey(const std::string& table, const std::string& index, const std::vector<Value>& keys);

  // Deletes the records whose `field`, read as text, equals `text` exactly.
  std::int64_t deleteWhereText(const std::string& table, const std::string& field,
                               const std::string& text);

  // The underlying handle, for benchmarks that compare with plain SQL on the same file.
  sqlite3* handle() const;

 private:
  friend class Table;
  friend class Run;
  friend class BulkInsert;
  friend std::vector<RunInfo> listRuns(const Database& db);
  friend std::optional<RunInfo> latestUndoable(const Database& db);
  friend UndoResult undoLatest(Database& db);
  friend std::string runDamage(const Database& db, std::int64_t run);
  struct WriteShape {
    const std::vector<FieldDef>& fields;
    const std::vector<std::size_t>& positions;
    bool insert;
    bool adds;
    bool fitted;  // the values are fitted to the fields already
    Prepared& prepared;
  };
  std::int64_t runKeyUpdate(const KeyUpdate& update, const std::vector<Value>& keys,
                            const std::vector<Value>& values, bool fitted);
  std::int64_t runWrite(const std::string& table, const std::string& sql, const WriteShape& shape,
                        const std::vector<Value>& values, const std::vector<Value>& further);
  explicit Database(std::shared_ptr<detail::Connection> connection);
  detail::Connection& connection() const;

  std::shared_ptr<detail::Connection> connection_;
};

// The value converted to what a field of that definition holds; throws Error when it cannot be
// (text that is no number for a number field, text longer than a text field's size).
Value coerce(const FieldDef& field, const Value& value);

}  // namespace store
