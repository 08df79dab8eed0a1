// Times the four walking tools on the 20,000-room sample beside the plain SQL statements that
// make the same change, each on its own copy of the sample, and prints both and their ratio.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "plain_sql.h"
#include "sample/sample.h"
#include "tools/cleanup_work.h"
#include "tools/walking_work.h"

namespace fs = std::filesystem;
using Statements = std::vector<std::pair<std::string, std::vector<std::string>>>;

namespace {

double millisecondsOf(const std::function<std::int64_t()>& run, std::int64_t& changed) {
  const auto start = std::chrono::steady_clock::now();
  changed = run();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void report(const char* name, double tool, double plain, std::int64_t toolChanged,
            std::int64_t plainChanged) {
  std::printf("%-26s tool %9.2f ms   plain SQL %9.2f ms   ratio %5.2f   records %lld%s\n", name,
              tool, plain, plain > 0 ? tool / plain : 0.0, static_cast<long long>(toolChanged),
              toolChanged == plainChanged ? "" : "   (plain SQL changed a different count!)");
}

std::int64_t checked(const roomkit::WalkResult& result) {
  if (!result.ok()) throw std::runtime_error(result.message());
  return result.changed;
}

// One renumbering: `rounds` runs that alternate between a->b and b->a, so every run makes the
// same change on a copy that the previous run left in the other state.
struct Renumbering {
  const char* name;
  std::string a, b;
  std::function<roomkit::WalkResult(const std::string& path, const std::string& from,
                                    const std::string& to)>
      tool;
  std::function<Statements(const std::string& from, const std::string& to)> plain;
};

void time(const Renumbering& r, const std::string& toolCopy, const std::string& plainCopy,
          int rounds) {
  std::vector<double> toolTimes, plainTimes;
  std::int64_t toolChanged = 0, plainChanged = 0;
  for (int i = 0; i < rounds; ++i) {
    const std::string& from = i % 2 == 0 ? r.a : r.b;
    const std::string& to = i % 2 == 0 ? r.b : r.a;
    auto runTool = [&] { return checked(r.tool(toolCopy, from, to)); };
    auto runPlain = [&] {
      std::int64_t changed = 0;
      for (std::int64_t n : bench::runPlain(plainCopy, r.plain(from, to))) changed += n;
      return changed;
    };
    if (i % 2 == 0) {
      toolTimes.push_back(millisecondsOf(runTool, toolChanged));
      plainTimes.push_back(millisecondsOf(runPlain, plainChanged));
    } else {
      plainTimes.push_back(millisecondsOf(runPlain, plainChanged));
      toolTimes.push_back(millisecondsOf(runTool, toolChanged));
    }
  }
  report(r.name, median(toolTimes), median(plainTimes), toolChanged, plainChanged);
}

Statements setWhereFolded(const std::vector<std::string>& tables, const std::string& field,
                          const std::string& from, const std::string& to) {
  Statements statements;
  for (const std::string& table : tables) {
    statements.push_back({"UPDATE \"" + table + "\" SET \"" + field + "\" = ?1 WHERE \"" + field +
                              "\" = ?2 COLLATE FOLD",
                          {to, from}});
  }
  return statements;
}

const char* cleanupSql[] = {
    "DELETE FROM \"Cleaning Schedules\" WHERE \"Cleaning Schedule\" IN (SELECT d.\"Cleaning "
    "Schedule\" FROM \"Cleaning Schedules- Describe\" AS d WHERE NOT EXISTS (SELECT 1 FROM \"Room "
    "Info\" AS r WHERE r.\"Schedule\" = d.\"Cleaning Schedule\" COLLATE FOLD))",
    "DELETE FROM \"Cleaning Schedules- Describe\" WHERE \"Cleaning Schedule\" <> '' AND NOT EXISTS "
    "(SELECT 1 FROM \"Room Info\" AS r WHERE r.\"Schedule\" = \"Cleaning Schedules- "
    "Describe\".\"Cleaning Schedule\" COLLATE FOLD)",
};

}  // namespace

int main() {
  const fs::path dir = fs::temp_directory_path() / ("bench_walking_" + std::to_string(getpid()));
  fs::create_directories(dir);
  int status = 0;
  try {
    const sample::Options options{20000, 25, 1};
    const std::string base = (dir / "JOX_BASE.MDB").string();
    sample::writeBuilding(base, options);
    const std::string toolCopy = (dir / "JOX_TOOL.MDB").string();
    const std::string plainCopy = (dir / "JOX_PLAIN.MDB").string();
    auto freshCopies = [&] {
      fs::copy_file(base, toolCopy, fs::copy_options::overwrite_existing);
      fs::copy_file(base, plainCopy, fs::copy_options::overwrite_existing);
      ::sync();  // a fresh copy's dirty pages would otherwise go to disk in whichever run syncs
                 // first
    };
    freshCopies();
    std::printf("sample: %d rooms, %d banks, %.0f MB\n", options.rooms, options.banks,
                static_cast<double>(fs::file_size(base)) / 1e6);

    const std::string room = sample::roomNumbers(options)[10000];
    const std::string area = bench::queryText(
        base, "SELECT \"Area Assignment\" FROM \"Area Assignments\" LIMIT 1 OFFSET 5000");
    const std::string sort = bench::queryText(
        base,
        "SELECT \"Sort Field 1\" FROM \"Room Info\" WHERE \"Sort Field 1\" IS NOT NULL "
        "GROUP BY 1 ORDER BY count(*) DESC LIMIT 1");
    const std::vector<Renumbering> renumberings = {
        {"Change Room Number", room, "ZZ-" + room, roomkit::changeRoomNumber,
         [](const std::string& from, const std::string& to) {
           return setWhereFolded({"Room Info", "Room Inventory", "Room Time", "Area Assignments",
                                  "Project Assignments"},
                                 "Room Number", from, to);
         }},
        {"Change Assignment Number", area, "ZZ" + area, roomkit::changeAssignmentNumber,
         [](const std::string& from, const std::string& to) {
           return setWhereFolded({"Area Assignments", "Project Assignments"}, "Area Assignment",
                                 from, to);
         }},
        {"Change Sort Fields", sort, "ZZ " + sort,
         [](const std::string& path, const std::string& from, const std::string& to) {
           return roomkit::changeSortField(path, "Sort Field 1", from, to);
         },
         [](const std::string& from, const std::string& to) {
           Statements s = setWhereFolded({"Room Info"}, "Sort Field 1", from, to);
           for (auto& v : setWhereFolded({"Inv Sort Field 1"}, "Sort Field", from, to)) {
             s.push_back(v);
           }
           return s;
         }},
    };
    for (const Renumbering& r : renumberings) time(r, toolCopy, plainCopy, 7);

    std::vector<double> toolTimes, plainTimes;
    std::int64_t toolDeleted = 0, plainDeleted = 0;
    // Each round on fresh copies; which of the two goes first alternates, as above.
    const auto cleanup = [&] {
      const roomkit::CleanupResult result = roomkit::removeUnusedSchedules(toolCopy);
      if (!result.ok()) throw std::runtime_error(result.message());
      return static_cast<std::int64_t>(result.deleted);
    };
    const auto plainCleanup = [&] {
      // the lines first, while their descriptions still tell which codes go
      return bench::runPlain(plainCopy, {{cleanupSql[0], {}}, {cleanupSql[1], {}}})[1];
    };
    for (int i = 0; i < 15; ++i) {
      freshCopies();
      if (i % 2 == 0) {
        toolTimes.push_back(millisecondsOf(cleanup, toolDeleted));
        plainTimes.push_back(millisecondsOf(plainCleanup, plainDeleted));
      } else {
        plainTimes.push_back(millisecondsOf(plainCleanup, plainDeleted));
        toolTimes.push_back(millisecondsOf(cleanup, toolDeleted));
      }
    }
    report("Database Cleanup", median(toolTimes), median(plainTimes), toolDeleted, plainDeleted);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_walking: %s\n", error.what());
    status = 1;
  }
  fs::remove_all(dir);
  return status;
}
