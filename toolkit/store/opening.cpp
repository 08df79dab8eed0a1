// Opening and creating database files: the file is looked at before the engine touches it, a file
// that may only be read is opened for reading without writing anything beside it, and the engine's
// failures are told in words a user can act on.
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "database.h"
#include "engine/connection.h"

namespace store {

using detail::Connection;

namespace {

[[noreturn]] void refuse(int code, const std::string& path, const std::string& why) {
  throw Error(code, "Cannot open '" + path + "': " + why);
}

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The engine says "disk I/O error" when the journal beside a file cannot be made on a full disk.
std::string reasonOf(int rc, const std::string& path, const std::string& message) {
  const int primary = rc & 0xFF;
  struct statvfs disk {};
  if ((primary == SQLITE_IOERR || primary == SQLITE_FULL) &&
      ::statvfs(folderOf(path).c_str(), &disk) == 0 && disk.f_bavail == 0) {
    return "the disk is full (" + message + ")";
  }
  return message;
}

// Looks at the file before SQLite does, so that a wrong file is refused without creating the
// journal files beside it.
void checkDatabaseFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) refuse(code::cantOpen, path, "no such file.");
  if (S_ISDIR(info.st_mode)) refuse(code::cantOpen, path, "it is a folder, not a database file.");
  if (!S_ISREG(info.st_mode)) refuse(code::cantOpen, path, "it is not a regular file.");
  if (info.st_size == 0) refuse(code::notADb, path, "the file is empty, not a database.");
  std::ifstream in(path, std::ios::binary);
  if (!in) refuse(code::cantOpen, path, "the file cannot be read.");
  char header[16] = {};
  in.read(header, sizeof header);
  if (in.gcount() != sizeof header || std::memcmp(header, "SQLite format 3", 16) != 0) {
    refuse(code::notADb, path, "the file is not a database.");
  }
}

void configure(Connection& connection, bool writing) {
  sqlite3* db = connection.db();
  int enabled = 0;
  sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, &enabled);
  sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, &enabled);
  sqlite3_busy_timeout(db, 10000);
  detail::registerExtensions(db);
  if (writing) {
    connection.execute("PRAGMA journal_mode = WAL");
    connection.execute("PRAGMA synchronous = NORMAL");
  }
  connection.execute("PRAGMA cache_size = -65536");
  connection.execute("PRAGMA foreign_keys = OFF");
}

// A connection serves one thread, so it goes without the engine's per-call locking.
std::shared_ptr<Connection> connect(const std::string& path, const std::string& name, int flags) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(name.c_str(), &db,
                                 flags | SQLITE_OPEN_EXRESCODE | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    const std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close_v2(db);
    refuse(rc, path, reasonOf(rc, path, message) + ".");
  }
  return std::make_shared<Connection>(db, path);
}

// The connection set up and its schema read, or the engine's error.
std::shared_ptr<Connection> ready(std::shared_ptr<Connection> connection, bool writing) {
  configure(*connection, writing);
  connection->execute("SELECT count(*) FROM sqlite_schema");
  return connection;
}

// The path as a URI, for the engine's parameters: '%', '?' and '#' are escaped.
std::string uriOf(const std::string& path) {
  std::string uri = "file:";
  for (const char ch : path) {
    if (ch == '%' || ch == '?' || ch == '#') {
      static constexpr char digits[] = "0123456789ABCDEF";
      uri += '%';
      uri += digits[static_cast<unsigned char>(ch) >> 4];
      uri += digits[static_cast<unsigned char>(ch) & 0xF];
    } else {
      uri += ch;
    }
  }
  return uri;
}

bool hasPendingJournal(const std::string& path) {
  struct stat info {};
  return ::stat((path + "-wal").c_str(), &info) == 0 && info.st_size > 0;
}

// Reading needs no writing. Where the engine cannot keep its shared-memory file beside the
// database (a folder the user may not write, a full disk), a file whose journal holds nothing is
// read as unchangeable, which takes no locks and makes no files.
std::shared_ptr<Connection> openForReading(const std::string& path) {
  try {
    return ready(connect(path, path, SQLITE_OPEN_READONLY), false);
  } catch (const Error& error) {
    // Without changes in a journal the file is read as unchangeable below.
    if (hasPendingJournal(path)) {
      refuse(error.code(), path,
             "the file may only be read here, and the changes kept in its journal '" + path +
                 "-wal' cannot be read without writing beside it (" + error.what() + ")");
    }
  }
  try {
    return ready(
        connect(path, uriOf(path) + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI), false);
  } catch (const Error& error) {
    refuse(error.code(), path, reasonOf(error.code(), path, error.what()));
  }
}

bool writable(const std::string& path) { return ::access(path.c_str(), W_OK) == 0; }

}  // namespace

// Reading a file that may be written opens it as any other connection, kept from changing it,
// so that its journal is folded back and removed at the end as usual; a file that may not be
// written (or whose journal cannot be made) is opened for reading only.
Database Database::open(const std::string& path, Access access) {
  checkDatabaseFile(path);
  const auto reading = [&] {
    auto connection = openForReading(path);
    connection->readOnly = true;
    return Database(std::move(connection));
  };
  if (access != Access::Write && !writable(path)) return reading();
  auto connection = connect(path, path, SQLITE_OPEN_READWRITE);
  if (sqlite3_db_readonly(connection->db(), "main") == 1) {
    if (access != Access::Write) return reading();
    refuse(code::cantOpen, path, "the file cannot be written.");
  }
  try {
    ready(connection, true);
  } catch (const Error& error) {
    const int primary = error.code() & 0xFF;
    if (access != Access::Write && (primary == SQLITE_CANTOPEN || primary == SQLITE_READONLY ||
                                    primary == SQLITE_IOERR || primary == SQLITE_FULL)) {
      return reading();
    }
    refuse(error.code(), path, reasonOf(error.code(), path, error.what()));
  }
  if (access == Access::Read) {
    connection->execute("PRAGMA query_only = 1");
    connection->readOnly = true;
  }
  return Database(std::move(connection));
}

Database Database::create(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) {
    throw Error(code::cantOpen, "Cannot create '" + path + "': a file of that name exists.");
  }
  return Database(ready(connect(path, path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE), true));
}

bool Database::readOnly() const { return connection().readOnly; }

}  // namespace store
