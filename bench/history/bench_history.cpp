// The change history: an Auto Generate of 10,000 rooms into a 20,000-room, 25-bank building
// (10,000 room, 10,000 time and 250,000 inventory records) is undone, timed beside the plain
// SQL deletes of the same records, room by room by key, on a second copy that holds the same
// records. Both copies must end as the building was. The new rooms are numbered twice over: as
// a new wing, after every room of the building, and among its rooms, each just after one of the
// first 10,000 in order.
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "sample/sample.h"
#include "store/database.h"
#include "store/engine/handle.h"
#include "store/history.h"
#include "tools/auto_generate_work.h"

namespace {

namespace fs = std::filesystem;
namespace ag = roomkit::autogen;

double processorSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

constexpr int rounds = 5;
const sample::Options building{20000, 25, 1};

void check(sqlite3* db, int rc) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    throw store::Error(rc, sqlite3_errmsg(db));
  }
}

std::vector<std::string> newWing() {
  std::vector<std::string> numbers;
  for (int i = 1; i <= 10000; ++i) {
    char text[16];
    std::snprintf(text, sizeof text, "Z-%05d", i);
    numbers.emplace_back(text);
  }
  return numbers;
}

std::vector<std::string> amongTheRooms(const std::string& path) {
  store::Database database = store::Database::open(path);
  sqlite3* db = store::engineHandle(database);
  sqlite3_stmt* statement = nullptr;
  check(db, sqlite3_prepare_v2(db,
                               "SELECT \"Room Number\" FROM \"Room Info\" "
                               "ORDER BY \"Room Number\" COLLATE FOLD LIMIT 10000",
                               -1, &statement, nullptr));
  std::vector<std::string> numbers;
  while (sqlite3_step(statement) == SQLITE_ROW) {
    numbers.push_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)) +
                      std::string("/N"));
  }
  sqlite3_finalize(statement);
  return numbers;
}

void addRooms(const std::string& path, const std::vector<std::string>& numbers) {
  const ag::AddResult added = ag::addRooms(path, numbers, "A1");
  if (!added.ok()) throw std::runtime_error(added.message());
}

// The plain SQL that removes the rooms again: each room's records by its key.
void plainDeletes(const std::string& path, const std::vector<std::string>& numbers) {
  store::Database database = store::Database::open(path);
  sqlite3* db = store::engineHandle(database);
  check(db, sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
  std::vector<sqlite3_stmt*> deletes;
  for (const char* table : {"Room Info", "Room Time", "Room Inventory"}) {
    sqlite3_stmt* statement = nullptr;
    const std::string sql =
        std::string("DELETE FROM \"") + table + "\" WHERE \"Room Number\" = ?1 COLLATE FOLD";
    check(db, sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr));
    deletes.push_back(statement);
  }
  for (const std::string& number : numbers) {
    for (sqlite3_stmt* statement : deletes) {
      sqlite3_bind_text(statement, 1, number.c_str(), static_cast<int>(number.size()),
                        SQLITE_STATIC);
      check(db, sqlite3_step(statement));
      sqlite3_reset(statement);
    }
  }
  for (sqlite3_stmt* statement : deletes) sqlite3_finalize(statement);
  check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr));
}

std::int64_t count(const std::string& path, const char* table) {
  store::Database database = store::Database::open(path);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(store::engineHandle(database),
                     (std::string("SELECT count(*) FROM \"") + table + "\"").c_str(), -1,
                     &statement, nullptr);
  sqlite3_step(statement);
  const std::int64_t n = sqlite3_column_int64(statement, 0);
  sqlite3_finalize(statement);
  return n;
}

struct Figures {
  double undo, plain;
};

Figures measure(const fs::path& folder, const std::string& base,
                const std::vector<std::string>& numbers) {
  const std::int64_t before = count(base, "Room Inventory");
  std::vector<double> undoTimes, plainTimes;
  for (int round = 0; round < rounds; ++round) {
    const std::string tool = (folder / "JOX_TOOL.MDB").string();
    const std::string plain = (folder / "JOX_PLAIN.MDB").string();
    fs::copy_file(base, tool, fs::copy_options::overwrite_existing);
    fs::copy_file(base, plain, fs::copy_options::overwrite_existing);
    addRooms(tool, numbers);
    addRooms(plain, numbers);
    ::sync();

    auto time = [](auto&& work) {
      const double start = processorSeconds();
      work();
      return processorSeconds() - start;
    };
    const auto undo = [&] {
      store::Database db = store::Database::open(tool);
      const store::UndoResult result = store::undoLatest(db);
      if (!result.ok()) throw std::runtime_error(result.message());
    };
    const auto deletes = [&] { plainDeletes(plain, numbers); };
    if (round % 2 == 0) {
      undoTimes.push_back(time(undo));
      plainTimes.push_back(time(deletes));
    } else {
      plainTimes.push_back(time(deletes));
      undoTimes.push_back(time(undo));
    }
    for (const std::string& path : {tool, plain}) {
      if (count(path, "Room Inventory") != before) throw std::runtime_error("records left over");
    }
    std::printf("  round %d: undo %.3f s, plain SQL deletes %.3f s, ratio %.2f (processor time)\n",
                round + 1, undoTimes.back(), plainTimes.back(),
                undoTimes.back() / plainTimes.back());
  }
  std::sort(undoTimes.begin(), undoTimes.end());
  std::sort(plainTimes.begin(), plainTimes.end());
  return {undoTimes[rounds / 2], plainTimes[rounds / 2]};
}

}  // namespace

int main() {
  const fs::path folder =
      fs::temp_directory_path() / ("bench_history_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  int status = 0;
  try {
    const std::string base = (folder / "JOX_BASE.MDB").string();
    sample::writeBuilding(base, building);
    const std::pair<const char*, std::vector<std::string>> layouts[] = {
        {"numbered as a new wing", newWing()},
        {"numbered among the building's rooms", amongTheRooms(base)},
    };
    for (const auto& [name, numbers] : layouts) {
      std::printf("10,000 generated rooms %s:\n", name);
      const Figures median = measure(folder, base, numbers);
      std::printf(
          "undo of 10,000 generated rooms %s (270,000 records) in a 20,000-room, 25-bank "
          "building, median of %d:\n  undo: %.3f s\n  plain SQL deletes: %.3f s\n  ratio: %.2f\n",
          name, rounds, median.undo, median.plain, median.undo / median.plain);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_history: %s\n", error.what());
    status = 1;
  }
  fs::remove_all(folder);
  return status;
}
