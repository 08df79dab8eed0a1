// A database file that roomkit-db makes: never over an existing file, and on failure removed
// again with its journal companions, so that a refused command leaves nothing behind.
#pragma once

#include <string>

#include "store/database.h"

namespace dbtool {

// Throws Error when anything (a file, a folder, a dangling link) exists at the path.
void refuseExisting(const std::string& path);
// Removes the file and its -wal, -shm and -journal companions; missing ones are no failure.
void removeDatabaseFiles(const std::string& path);

class NewDatabase {
 public:
  explicit NewDatabase(const std::string& path);  // refuses an existing path, creates the file
  ~NewDatabase();                                 // unless finished: rolls back, closes, removes
  NewDatabase(const NewDatabase&) = delete;
  NewDatabase& operator=(const NewDatabase&) = delete;

  store::Database& db() { return db_; }
  void finish();  // commits an open transaction, closes and keeps the file

 private:
  std::string path_;
  store::Database db_;
  bool finished_ = false;
};

}  // namespace dbtool
