// A connection to one building (or account) database file. Several Database objects may hold one
// file at once; each is cheap to copy and copies share the connection.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "definition.h"
#include "error.h"
#include "value.h"

namespace store {

namespace detail {
class Connection;
struct Access;
}  // namespace detail

class Table;

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
  void close();           // closing a database that is not open is harmless
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

  // A savepoint inside the transaction: its writes can be taken back alone.
  void savepoint(const std::string& name);
  void rollbackToSavepoint(const std::string& name);  // the savepoint stays, empty
  void releaseSavepoint(const std::string& name);

 private:
  friend class Table;
  friend struct detail::Access;
  explicit Database(std::shared_ptr<detail::Connection> connection);
  detail::Connection& connection() const;

  std::shared_ptr<detail::Connection> connection_;
};

}  // namespace store
