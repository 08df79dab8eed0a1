// Times Check Database on a 200,000-room sample with findings of every kind that the sample's
// keys allow beside the hand-written SQL queries that gather the same findings, in alternating
// order, and prints both medians, their ratio and whether the counts by kind agree.
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "plain_check.h"
#include "sample/sample.h"
#include "store/check.h"
#include "store/database.h"
#include "store/engine/handle.h"

namespace fs = std::filesystem;

namespace {

double millisecondsOf(const std::function<void()>& run) {
  const auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// About `every`-th record of each kind spoiled, through a connection of the store.
void spoil(const std::string& path, int every) {
  store::Database db = store::Database::open(path);
  const std::string n = std::to_string(every);
  const std::string sql =
      "BEGIN;"
      "INSERT INTO \"Room Inventory\" (\"Room Number\", \"Bank\") SELECT 'GONE-' || rowid, 1 FROM "
      "\"Room Info\" WHERE rowid % " +
      n +
      " = 1;"
      "INSERT INTO \"Room Inventory\" (\"Room Number\", \"Bank\") SELECT \"Room Number\", 999 FROM "
      "\"Room Info\" WHERE rowid % " +
      n +
      " = 2;"
      "DELETE FROM \"Room Time\" WHERE rowid % " +
      n +
      " = 3;"
      "INSERT INTO \"Area Assignments\" (\"Area Assignment\", \"Room Number\") SELECT 'ZZ', "
      "'GONE-' "
      "|| rowid FROM \"Room Info\" WHERE rowid % " +
      n +
      " = 4;"
      "UPDATE \"Room Info\" SET \"Schedule\" = 'NOPE' WHERE rowid % " +
      n +
      " = 5;"
      "INSERT INTO \"Cleaning Schedules\" (\"Cleaning Schedule\", \"Line Number\") VALUES ('NOPE', "
      "1), ('NOPE', 2);"
      "UPDATE \"Room Info\" SET \"Sort Field 1\" = 'NOWHERE' WHERE rowid % " +
      n +
      " = 6;"
      "UPDATE \"Room Info\" SET \"Room Number\" = lower(\"Room Number\") WHERE rowid % " +
      n +
      " = 7;"
      "UPDATE \"Room Info\" SET \"Room Number\" = \"Room Number\" || ' ' WHERE rowid % " +
      n +
      " = 8;"
      "COMMIT;";
  char* message = nullptr;
  if (sqlite3_exec(store::engineHandle(db), sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string why = message ? message : "?";
    sqlite3_free(message);
    throw std::runtime_error(why);
  }
}

bench::KindCounts toolCheck(const std::string& path) {
  store::Database db = store::Database::open(path);
  const store::CheckResult result = store::checkDatabase(db);
  if (!result.ok()) throw std::runtime_error(result.message());
  bench::KindCounts counts{};
  for (const store::Finding& finding : result.findings)
    ++counts[static_cast<std::size_t>(finding.kind)];
  return counts;
}

}  // namespace

int main(int argc, char** argv) {
  const int rooms = argc > 1 ? std::atoi(argv[1]) : 200000;
  const fs::path dir = fs::temp_directory_path() / ("bench_check_" + std::to_string(getpid()));
  fs::create_directories(dir);
  int status = 0;
  try {
    const sample::Options options{rooms, 5, 1};
    const std::string path = (dir / "JOX_CHECK.MDB").string();
    sample::writeBuilding(path, options);
    spoil(path, 667);
    ::sync();
    std::printf("sample: %d rooms, %d banks, %.0f MB\n", options.rooms, options.banks,
                static_cast<double>(fs::file_size(path)) / 1e6);
    bench::KindCounts tool{}, plain{};
    std::vector<double> toolTimes, plainTimes;
    const auto runTool = [&] { tool = toolCheck(path); };
    const auto runPlain = [&] { plain = bench::plainCheck(path); };
    for (int round = 0; round < 5; ++round) {
      if (round % 2 == 0) {
        toolTimes.push_back(millisecondsOf(runTool));
        plainTimes.push_back(millisecondsOf(runPlain));
      } else {
        plainTimes.push_back(millisecondsOf(runPlain));
        toolTimes.push_back(millisecondsOf(runTool));
      }
    }
    std::int64_t findings = 0;
    for (std::int64_t count : tool) findings += count;
    const double t = median(toolTimes), p = median(plainTimes);
    std::printf("%-26s tool %9.2f ms   plain SQL %9.2f ms   ratio %5.2f   findings %lld%s\n",
                "Check Database", t, p, p > 0 ? t / p : 0.0, static_cast<long long>(findings),
                tool == plain ? "" : "   (the plain SQL found different counts!)");
    for (int k = 0; k < store::findingKindCount; ++k) {
      std::printf("  %-38s %7lld   plain SQL %7lld\n",
                  store::kindName(static_cast<store::FindingKind>(k)),
                  static_cast<long long>(tool[static_cast<std::size_t>(k)]),
                  static_cast<long long>(plain[static_cast<std::size_t>(k)]));
    }
    if (tool != plain) status = 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_check: %s\n", error.what());
    status = 1;
  }
  fs::remove_all(dir);
  return status;
}
