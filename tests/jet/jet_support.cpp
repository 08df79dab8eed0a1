#include "jet_support.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "store/database.h"
#include "store/table.h"
#include "support/temp_dir.h"

extern char** environ;

namespace jettest {

std::string dataFile(const std::string& name) { return std::string(JET_TEST_DATA) + "/" + name; }

Run run(const std::vector<std::string>& argv) {
  char outName[] = "/tmp/jet-test-out-XXXXXX";
  char errName[] = "/tmp/jet-test-err-XXXXXX";
  const int out = ::mkstemp(outName);
  const int err = ::mkstemp(errName);
  if (out < 0 || err < 0) throw std::runtime_error("no temporary files for a program's output");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  Run result;
  if (::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  ::close(out);
  ::close(err);
  result.out = testsupport::readFile(outName);
  result.err = testsupport::readFile(errName);
  ::unlink(outName);
  ::unlink(errName);
  return result;
}

std::vector<std::vector<Cell>> parseCsv(const std::string& csv) {
  std::vector<std::vector<Cell>> rows;
  std::vector<Cell> row;
  Cell cell;
  bool inQuotes = false, any = false;
  for (std::size_t i = 0; i < csv.size(); ++i) {
    const char ch = csv[i];
    if (inQuotes) {
      if (ch == '"' && i + 1 < csv.size() && csv[i + 1] == '"') {
        cell.text += '"';
        ++i;
      } else if (ch == '"') {
        inQuotes = false;
      } else {
        cell.text += ch;
      }
    } else if (ch == '"') {
      inQuotes = cell.quoted = any = true;
    } else if (ch == ',') {
      row.push_back(cell);
      cell = {};
    } else if (ch == '\n') {
      row.push_back(cell);
      rows.push_back(row);
      row.clear();
      cell = {};
      any = false;
    } else {
      cell.text += ch;
      any = true;
    }
  }
  if (any || !row.empty()) {
    row.push_back(cell);
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::vector<store::Value>> records(const std::string& storeFile,
                                               const std::string& table) {
  store::Database db = store::Database::open(storeFile);
  store::Table cursor = db.openTable(table);
  std::vector<std::vector<store::Value>> rows;
  try {
    cursor.moveFirst();
  } catch (const store::Error&) {
    return rows;  // an empty table
  }
  for (; !cursor.eof(); cursor.moveNext()) {
    std::vector<store::Value> row;
    for (std::size_t i = 0; i < cursor.fieldCount(); ++i) row.push_back(cursor.field(i));
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace jettest
