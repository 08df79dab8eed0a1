// roomkit-db migrate of a folder of Jet building files, beside mdb-export writing every table of
// the same files as CSV. No Jet writer is at hand, so the files are copies of the largest Jet
// building we have (tests/jet/data/JOX_JETDEMO.MDB: 120 rooms, 3 banks, 10 tables, 749 records);
// a folder of many copies stands for a hosted installation's data folder. Each figure is the best
// of three runs on fresh copies.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Runs a program with its output to `out` ("" for /dev/null); its exit status.
int run(const std::vector<std::string>& argv, const std::string& out = "") {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.empty() ? "/dev/null" : out.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  int status = -1;
  if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0)
    waitpid(pid, &status, 0);
  posix_spawn_file_actions_destroy(&actions);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> tablesOf(const std::string& jet, const fs::path& scratch) {
  const std::string list = (scratch / "tables.txt").string();
  run({"mdb-tables", "-1", jet}, list);
  std::vector<std::string> tables;
  std::ifstream in(list);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) tables.push_back(line);
  return tables;
}

fs::path freshFolder(const fs::path& root, int files) {
  const fs::path folder = root / "data";
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (int i = 0; i < files; ++i)
    fs::copy_file(JET_FILE, folder / ("JOX_B" + std::to_string(1000 + i) + ".MDB"));
  return folder;
}

template <typename Work>
double bestOfThree(Work work) {
  double best = 1e9;
  for (int round = 0; round < 3; ++round) {
    const auto start = std::chrono::steady_clock::now();
    work(round);
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

}  // namespace

int main() {
  char pattern[] = "/tmp/bench-migrate-XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  const fs::path root = pattern;
  const std::vector<std::string> tables = tablesOf(JET_FILE, root);
  std::printf("%-42s %10s %10s %7s\n", "folder", "migrate s", "export s", "ratio");
  for (int files : {1, 40}) {
    bool failed = false;
    const double migrate = bestOfThree([&](int) {
      const fs::path folder = freshFolder(root, files);
      failed |= run({ROOMKIT_DB_PROGRAM, "migrate", folder.string()}) != 0;
    });
    const fs::path folder = freshFolder(root, files);
    const double exported = bestOfThree([&](int) {
      for (const auto& entry : fs::directory_iterator(folder)) {
        for (const std::string& table : tables)
          failed |= run({"mdb-export", entry.path().string(), table}) != 0;
      }
    });
    std::ostringstream name;
    name << files << " x JOX_JETDEMO.MDB (" << tables.size() << " tables)";
    std::printf("%-42s %10.3f %10.3f %7.2f%s\n", name.str().c_str(), migrate, exported,
                migrate / exported, failed ? "  (a run failed)" : "");
  }
  fs::remove_all(root);
  return 0;
}
