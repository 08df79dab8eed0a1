// roomkit-db migrate of a folder of Jet building files, beside mdb-export writing every table of
// the same files as CSV. The folders: copies of the largest Access-written Jet building we have
// (tests/jet/data/JOX_JETDEMO.MDB: 120 rooms, 3 banks, 10 tables, 749 records), one alone and
// forty standing for a hosted installation's data folder, and one building of 5,000 rooms in 25
// inventory banks (140,000 records, 59 MB) that our Jet writer makes. Each figure is the best of
// three runs on fresh copies, the copying left out; wall time, and the processes' CPU time
// (user and system), which a loaded machine disturbs less.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "jet_building.h"

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

fs::path freshFolder(const fs::path& root, const fs::path& source, int files) {
  const fs::path folder = root / "data";
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (int i = 0; i < files; ++i)
    fs::copy_file(source, folder / ("JOX_B" + std::to_string(1000 + i) + ".MDB"));
  return folder;
}

double childCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Timing {
  double wall = 1e9;
  double cpu = 1e9;
};

// The best of three rounds of `work`, each after an untimed `prepare`.
Timing bestOfThree(const std::function<void()>& prepare, const std::function<void()>& work) {
  Timing best;
  for (int round = 0; round < 3; ++round) {
    prepare();
    const double cpu = childCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    best.wall = std::min(
        best.wall, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    best.cpu = std::min(best.cpu, childCpuSeconds() - cpu);
  }
  return best;
}

void measure(const fs::path& root, const fs::path& source, int files, const std::string& name) {
  const std::vector<std::string> tables = tablesOf(source.string(), root);
  bool failed = false;
  fs::path folder;
  const Timing migrate =
      bestOfThree([&] { folder = freshFolder(root, source, files); },
                  [&] {
                    failed |= run({ROOMKIT_DB_PROGRAM, "migrate", folder.string()}) != 0;
                  });
  folder = freshFolder(root, source, files);
  const fs::path csv = root / "csv";
  const Timing exported = bestOfThree(
      [&] {
        fs::remove_all(csv);
        fs::create_directories(csv);
      },
      [&] {
        int file = 0;
        for (const auto& entry : fs::directory_iterator(folder)) {
          ++file;
          for (std::size_t t = 0; t < tables.size(); ++t) {
            const fs::path out = csv / (std::to_string(file) + "-" + std::to_string(t) + ".csv");
            failed |= run({"mdb-export", entry.path().string(), tables[t]}, out.string()) != 0;
          }
        }
      });
  std::printf(
      "%-44s %9.3f %9.3f %6.2f %9.3f %9.3f %6.2f%s\n",
      (std::to_string(files) + " x " + name + " (" + std::to_string(tables.size()) + " tables)")
          .c_str(),
      migrate.wall, exported.wall, migrate.wall / exported.wall, migrate.cpu, exported.cpu,
      migrate.cpu / exported.cpu, failed ? "  (a run failed)" : "");
}

}  // namespace

int main() {
  char pattern[] = "/tmp/bench-migrate-XXXXXX";
  if (!mkdtemp(pattern)) return 1;
  const fs::path root = pattern;
  const fs::path large = root / "JOX_LARGE.MDB";
  try {
    jetbench::writeJetBuilding(large.string(), {5000, 25, 1});
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_migrate: %s\n", error.what());
    fs::remove_all(root);
    return 1;
  }
  std::printf("%-44s %9s %9s %6s %9s %9s %6s\n", "folder", "migrate s", "export s", "ratio",
              "migr cpu", "exp cpu", "ratio");
  for (int files : {1, 40}) measure(root, JET_FILE, files, "JOX_JETDEMO.MDB");
  measure(root, large, 1, "5,000 rooms, 25 banks");
  fs::remove_all(root);
  return 0;
}
