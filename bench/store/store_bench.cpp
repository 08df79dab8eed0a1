// The cursor against plain prepared SQL on the 20,000-room, 25-bank sample: a walk of "Room
// Inventory" reading every field, seeks on "PrimaryKey", and edit/update pairs.
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "sample/sample.h"
#include "store/database.h"
#include "store/engine/handle.h"
#include "store/schema.h"
#include "store/table.h"

namespace fs = std::filesystem;
using store::Value;

namespace {

// Processor time of this thread: other work on the machine does not count.
double cpuNow() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double seconds(const std::function<void()>& work) {
  const double start = cpuNow();
  work();
  return cpuNow() - start;
}

void report(const char* what, double ours, double plain) {
  std::printf("%-30s store %7.3f s   plain SQL %7.3f s   ratio %5.2f  (processor time)\n", what,
              ours, plain, ours / plain);
}

sqlite3_stmt* prepare(sqlite3* db, const char* sql) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
    std::exit(1);
  }
  return stmt;
}

double sumValue(const Value& v) {
  return v.isNumber() ? v.number() : static_cast<double>(v.text().size());
}

double sumRow(sqlite3_stmt* stmt) {
  double sum = 0;
  for (int i = 0, n = sqlite3_column_count(stmt); i < n; ++i) {
    if (sqlite3_column_type(stmt, i) == SQLITE_TEXT) {
      sum += sqlite3_column_bytes(stmt, i);
    } else {
      sum += sqlite3_column_double(stmt, i);
    }
  }
  return sum;
}

}  // namespace

int main() {
  const fs::path dir =
      fs::temp_directory_path() / ("roomkit-bench-store-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const sample::Options options{20000, 25, 1};
  const std::string path = (dir / "JOX_BENCH.MDB").string();
  std::printf("writing the sample (%d rooms, %d banks)...\n", options.rooms, options.banks);
  sample::writeBuilding(path, options);
  const auto rooms = sample::roomNumbers(options);

  std::mt19937 pick(7);
  std::vector<std::pair<std::string, int>> keys;
  for (int i = 0; i < 100000; ++i) {
    keys.emplace_back(rooms[pick() % rooms.size()], static_cast<int>(1 + pick() % options.banks));
  }

  store::Database db = store::Database::open(path);
  sqlite3* raw = store::engineHandle(db);
  double a = 0, b = 0;

  // Walk: every field of every record, in stored order.
  const double walkPlain = seconds([&] {
    sqlite3_stmt* stmt = prepare(raw, "SELECT rowid, * FROM \"Room Inventory\" ORDER BY rowid");
    while (sqlite3_step(stmt) == SQLITE_ROW) b += sumRow(stmt);
    sqlite3_finalize(stmt);
  });
  const double walkStore = seconds([&] {
    store::Table inventory = db.openTable("Room Inventory");
    const std::size_t fields = inventory.fieldCount();
    for (store::moveToFirst(inventory); !inventory.eof(); inventory.moveNext()) {
      for (std::size_t i = 0; i < fields; ++i) a += sumValue(inventory.field(i));
    }
  });
  report("walk of 500,000 records", walkStore, walkPlain);

  // Seeks: find the record by its two keys and read every field.
  a = b = 0;
  const double seekPlain = seconds([&] {
    sqlite3_stmt* stmt = prepare(raw,
                                 "SELECT * FROM \"Room Inventory\" WHERE \"Room Number\" = ?1 "
                                 "COLLATE FOLD AND \"Bank\" = ?2");
    for (const auto& [room, bank] : keys) {
      sqlite3_bind_text(stmt, 1, room.c_str(), static_cast<int>(room.size()), SQLITE_STATIC);
      sqlite3_bind_int(stmt, 2, bank);
      if (sqlite3_step(stmt) == SQLITE_ROW) b += sumRow(stmt);
      sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
  });
  const double seekStore = seconds([&] {
    store::Table inventory = db.openTable("Room Inventory");
    inventory.setIndex("PrimaryKey");
    const std::size_t fields = inventory.fieldCount();
    for (const auto& [room, bank] : keys) {
      inventory.seek({Value(room), Value(bank)});
      if (inventory.noMatch()) continue;
      for (std::size_t i = 0; i < fields; ++i) {
        if (i != 0)
          a += sumValue(inventory.field(i));
        else
          a += static_cast<double>(inventory.field(i).text().size());
      }
    }
  });
  report("100,000 seeks on PrimaryKey", seekStore, seekPlain);

  // Edit/update pairs, each written at once.
  const double editPlain = seconds([&] {
    sqlite3_stmt* stmt = prepare(raw,
                                 "UPDATE \"Room Inventory\" SET \"1\" = ?3 WHERE \"Room Number\" = "
                                 "?1 COLLATE FOLD AND \"Bank\" = ?2");
    for (int i = 0; i < 10000; ++i) {
      const auto& [room, bank] = keys[static_cast<std::size_t>(i)];
      sqlite3_bind_text(stmt, 1, room.c_str(), static_cast<int>(room.size()), SQLITE_STATIC);
      sqlite3_bind_int(stmt, 2, bank);
      sqlite3_bind_double(stmt, 3, i * 0.5);
      sqlite3_step(stmt);
      sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
  });
  const double editStore = seconds([&] {
    store::Table inventory = db.openTable("Room Inventory");
    inventory.setIndex("PrimaryKey");
    for (int i = 0; i < 10000; ++i) {
      const auto& [room, bank] = keys[static_cast<std::size_t>(10000 + i)];
      inventory.seek({Value(room), Value(bank)});
      if (inventory.noMatch()) continue;
      inventory.edit();
      inventory.setField("1", Value(i * 0.25));
      inventory.update();
    }
  });
  report("10,000 edit/update pairs", editStore, editPlain);

  db.close();
  fs::remove_all(dir);
  return 0;
}
