#include "new_database.h"

#include <cstdio>
#include <filesystem>

#include "store/error.h"

namespace dbtool {

void refuseExisting(const std::string& path) {
  std::error_code error;
  const auto status = std::filesystem::symlink_status(path, error);
  if (std::filesystem::exists(status)) {
    throw store::Error(
        store::Fault::Input,
        "'" + path + "' exists; roomkit-db writes only new files and never over an existing one");
  }
}

void removeDatabaseFiles(const std::string& path) {
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) std::remove((path + suffix).c_str());
}

NewDatabase::NewDatabase(const std::string& path) : path_(path) {
  refuseExisting(path);
  try {
    db_ = store::Database::create(path);
  } catch (...) {
    removeDatabaseFiles(path);  // nothing was there before
    throw;
  }
}

NewDatabase::~NewDatabase() {
  if (finished_) return;
  try {
    if (db_.isOpen() && db_.inTransaction()) db_.rollback();
  } catch (const store::Error&) {
    // Goes on: the files are removed next, which takes the transaction with them.
  }
  db_.close();
  removeDatabaseFiles(path_);
}

void NewDatabase::finish() {
  if (db_.inTransaction()) db_.commit();
  db_.close();
  finished_ = true;
}

}  // namespace dbtool
