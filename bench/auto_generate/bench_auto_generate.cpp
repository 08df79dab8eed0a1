// Auto Generate Rooms: reading a pattern into 10,000 new numbers and writing them into a building
// of 25 banks (10,000 room, 10,000 time and 250,000 inventory records), timed beside prepared
// plain SQL inserts of the same records on a second copy of the same building.
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "sample/sample.h"
#include "store/database.h"
#include "store/engine/handle.h"
#include "store/schema.h"
#include "store/table.h"
#include "tools/auto_generate_work.h"

namespace {

namespace sch = store::schema;
namespace ag = roomkit::autogen;
// Processor time of the process, so that other work on the machine does not count.
struct Clock {
  using time_point = double;
  static double now() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
  }
};

constexpr int rounds = 3;
const sample::Options building{500, 25, 1};

double seconds(Clock::time_point from) { return Clock::now() - from; }

double wallSeconds(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

// Z-00001 to Z-10000: two locked characters, five counting digits.
ag::Pattern pattern() {
  ag::Pattern p;
  const std::string start = "Z-00001", end = "Z-10000";
  for (std::size_t i = 0; i < start.size(); ++i) {
    p[i].start = std::string(1, start[i]);
    p[i].end = std::string(1, end[i]);
    p[i].locked = i < 2;
  }
  return p;
}

void check(sqlite3* db, int rc) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    throw store::Error(rc, sqlite3_errmsg(db));
  }
}

sqlite3_stmt* prepare(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  check(db, sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr));
  return statement;
}

std::string placeholders(int n) {
  std::string out;
  for (int i = 1; i <= n; ++i) out += (i > 1 ? ", ?" : "?") + std::to_string(i);
  return out;
}

void step(sqlite3* db, sqlite3_stmt* statement) {
  check(db, sqlite3_step(statement));
  sqlite3_reset(statement);
}

void bindText(sqlite3_stmt* statement, int index, const std::string& text) {
  sqlite3_bind_text(statement, index, text.c_str(), static_cast<int>(text.size()),
                    SQLITE_TRANSIENT);
}

// The same records as the tool writes, by prepared inserts in one transaction.
void plainSql(const std::string& path, const std::vector<std::string>& numbers) {
  store::Database database = store::Database::open(path);
  sqlite3* db = store::engineHandle(database);
  std::vector<std::int64_t> banks;
  {
    sqlite3_stmt* read = prepare(db, "SELECT \"Bank\" FROM \"Inventory Banks\" ORDER BY \"Bank\"");
    while (sqlite3_step(read) == SQLITE_ROW) banks.push_back(sqlite3_column_int64(read, 0));
    sqlite3_finalize(read);
  }
  std::string inventoryFields = "\"Room Number\"";
  for (int item = 1; item <= sch::quantityCount; ++item)
    inventoryFields += ", \"" + sch::quantityField(item) + "\"";
  inventoryFields += ", \"Bank\"";
  std::string timeFields = "\"Room Number\", \"Last Updated\"";
  for (const std::string& field : sch::timeFields) timeFields += ", \"" + field + "\"";
  timeFields += ", \"Misc Time\"";

  check(db, sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
  sqlite3_stmt* info = prepare(
      db,
      "INSERT INTO \"Room Info\" (\"Room Number\", \"Room Name\", \"Schedule\", \"Sort Field 1\", "
      "\"Sort Field 2\") VALUES (?1, ?2, ?3, '', '')");
  sqlite3_stmt* time = prepare(
      db, "INSERT INTO \"Room Time\" (" + timeFields + ") VALUES (" + placeholders(15) + ")");
  sqlite3_stmt* inventory = prepare(db, "INSERT INTO \"Room Inventory\" (" + inventoryFields +
                                            ") VALUES (" + placeholders(102) + ")");
  const std::string today = store::Date::today().iso();
  for (int i = 3; i <= 14; ++i) sqlite3_bind_double(time, i, 0.0);
  sqlite3_bind_text(time, 15, "", 0, SQLITE_STATIC);
  sqlite3_bind_text(time, 2, today.c_str(), -1, SQLITE_TRANSIENT);
  for (int i = 2; i <= 101; ++i) sqlite3_bind_double(inventory, i, 0.0);
  for (const std::string& number : numbers) {
    bindText(info, 1, number);
    bindText(info, 2, "RM# " + number);
    bindText(info, 3, "A1");
    step(db, info);
    bindText(time, 1, number);
    step(db, time);
    bindText(inventory, 1, number);
    for (std::int64_t bank : banks) {
      sqlite3_bind_int64(inventory, 102, bank);
      step(db, inventory);
    }
  }
  for (sqlite3_stmt* statement : {info, time, inventory}) sqlite3_finalize(statement);
  check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr));
}

std::int64_t count(const std::string& path, const char* table) {
  store::Database database = store::Database::open(path);
  sqlite3_stmt* statement =
      prepare(store::engineHandle(database), std::string("SELECT count(*) FROM \"") + table + "\"");
  sqlite3_step(statement);
  const std::int64_t n = sqlite3_column_int64(statement, 0);
  sqlite3_finalize(statement);
  return n;
}

}  // namespace

int main() {
  const auto folder = std::filesystem::temp_directory_path() /
                      ("bench_auto_generate_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  std::vector<double> toolTimes, sqlTimes;
  int status = 0;
  try {
    for (int round = 0; round < rounds; ++round) {
      const std::string toolPath = (folder / ("JOX_T" + std::to_string(round) + ".MDB")).string();
      const std::string sqlPath = (folder / ("JOX_S" + std::to_string(round) + ".MDB")).string();
      sample::writeBuilding(toolPath, building);
      sample::writeBuilding(sqlPath, building);

      auto wall = std::chrono::steady_clock::now();
      auto start = Clock::now();
      const ag::PatternResult read = ag::readPattern(pattern());
      const std::vector<std::string> numbers = ag::roomNumbers(read.range, 1);
      const ag::AddResult added = ag::addRooms(toolPath, numbers, "a1");
      toolTimes.push_back(seconds(start));
      const double toolWall = wallSeconds(wall);
      if (!added.ok() || added.added != 10000) {
        std::fprintf(stderr, "tool run failed: %s (%lld added)\n", added.message().c_str(),
                     static_cast<long long>(added.added));
        return 1;
      }

      wall = std::chrono::steady_clock::now();
      start = Clock::now();
      plainSql(sqlPath, numbers);
      sqlTimes.push_back(seconds(start));
      const double sqlWall = wallSeconds(wall);

      for (const char* table : {sch::roomInfo, sch::roomTime, sch::roomInventory}) {
        if (count(toolPath, table) != count(sqlPath, table)) {
          std::fprintf(stderr, "record counts differ in %s\n", table);
          status = 1;
        }
      }
      std::printf(
          "round %d: processor time: tool %.3f s, plain SQL %.3f s, ratio %.2f;"
          " elapsed: tool %.3f s, plain SQL %.3f s\n",
          round + 1, toolTimes.back(), sqlTimes.back(), toolTimes.back() / sqlTimes.back(),
          toolWall, sqlWall);
    }
  } catch (const store::Error& error) {
    std::fprintf(stderr, "failed: %s\n", error.what());
    status = 1;
  }
  std::filesystem::remove_all(folder);
  if (toolTimes.empty()) return status ? status : 1;
  std::sort(toolTimes.begin(), toolTimes.end());
  std::sort(sqlTimes.begin(), sqlTimes.end());
  const double tool = toolTimes[toolTimes.size() / 2], sql = sqlTimes[sqlTimes.size() / 2];
  std::printf(
      "10,000 rooms, 25 banks (10,000 + 10,000 + 250,000 records), median processor time of %d:\n",
      rounds);
  std::printf("  generate and write: %.3f s\n  plain SQL inserts:  %.3f s\n  ratio: %.2f\n", tool,
              sql, tool / sql);
  return status;
}
