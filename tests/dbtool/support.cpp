#include "support.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "dbtool/byte_io.h"
#include "dbtool/commands.h"
#include "dbtool/export.h"
#include "dbtool/import.h"
#include "store/database.h"
#include "store/engine/handle.h"
#include "store/error.h"
#include "support/temp_dir.h"

namespace dbtest {

Outcome run(const std::vector<std::string>& args, const std::string& input) {
  dbtool::StringInput in(input);
  Outcome outcome;
  dbtool::StringOutput out(outcome.out);
  std::ostringstream err;
  outcome.status = dbtool::run(args, in, out, err);
  outcome.err = err.str();
  return outcome;
}

std::string exportText(const std::string& path) {
  std::string text;
  dbtool::StringOutput out(text);
  dbtool::exportDatabase(path, out);
  return text;
}

void importText(const std::string& json, const std::string& target) {
  dbtool::StringInput in(json);
  dbtool::importDocument(in, target);
}

std::string importRefusal(const std::string& json) {
  testsupport::TempDir dir;
  try {
    importText(json, dir.file("JOX_NEW.MDB"));
  } catch (const store::Error& error) {
    EXPECT_TRUE(error.is(store::Fault::Input)) << error.what();
    EXPECT_TRUE(filesIn(dir.path()).empty()) << "a refused import left a file behind";
    return error.what();
  }
  return "imported";
}

std::vector<std::string> filesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void execute(const std::string& path, const std::string& sql) {
  store::Database db = store::Database::open(path);
  char* message = nullptr;
  if (sqlite3_exec(store::engineHandle(db), sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message ? message : "?";
    sqlite3_free(message);
    throw std::runtime_error(text);
  }
}

}  // namespace dbtest
