// Copy Room Inventory and Modify Room Data on the 20,000-room, 25-bank sample, each beside the
// plain prepared SQL that makes the same writes, on a second copy of the sample in the same run.
// At the end the two copies must hold the same records.
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sample/sample.h"
#include "store/database.h"
#include "store/engine/handle.h"
#include "store/schema.h"
#include "store/table.h"
#include "tools/copy_inventory_work.h"
#include "tools/modify_room_data_work.h"

namespace fs = std::filesystem;
namespace sch = store::schema;
using store::Value;

namespace {

// Processor time of the process, so that other work on the machine does not count.
double processorSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double seconds(const std::function<void()>& work) {
  const double start = processorSeconds();
  work();
  return processorSeconds() - start;
}

// Runs both sides `rounds` times, alternating which goes first, and keeps each side's best time.
constexpr int rounds = 5;
std::pair<double, double> best(const std::function<void()>& tool,
                               const std::function<void()>& plain) {
  double t = 1e30, p = 1e30;
  for (int round = 0; round < rounds; ++round) {
    if (round % 2 == 0) {
      p = std::min(p, seconds(plain));
      t = std::min(t, seconds(tool));
    } else {
      t = std::min(t, seconds(tool));
      p = std::min(p, seconds(plain));
    }
  }
  return {t, p};
}

void report(const std::string& what, double ours, double plain) {
  std::printf(
      "%-46s tool %7.3f s   plain SQL %7.3f s   ratio %5.2f   (processor time, best of 5)\n",
      what.c_str(), ours, plain, ours / plain);
}

[[noreturn]] void die(const std::string& why) {
  std::fprintf(stderr, "%s\n", why.c_str());
  std::exit(1);
}

class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK)
      die(sqlite3_errmsg(db));
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return stmt_; }
  void text(int i, const std::string& s) {
    sqlite3_bind_text(stmt_, i, s.c_str(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
  }
  bool row() {
    const int rc = sqlite3_step(stmt_);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) die(sqlite3_errmsg(db_));
    return rc == SQLITE_ROW;
  }
  void run() {
    row();
    sqlite3_reset(stmt_);
  }
  void reset() { sqlite3_reset(stmt_); }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

void exec(sqlite3* db, const char* sql) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) die(sqlite3_errmsg(db));
}

const std::string roomKey = "\"Room Number\" = ?1 COLLATE FOLD";

// The plain copy: read the source per bank in bank order, then one UPDATE per target record.
void plainCopy(sqlite3* db, const std::string& source, const std::vector<std::string>& targets,
               int multiplier, bool exact, bool add) {
  struct Row {
    sqlite3_int64 bank;
    std::vector<std::pair<int, double>> items;
  };
  std::vector<Row> rows;
  {
    Statement banks(db, "SELECT \"Bank\" FROM \"Inventory Banks\" ORDER BY \"Bank\"");
    Statement read(db, "SELECT * FROM \"Room Inventory\" WHERE " + roomKey +
                           " AND \"Bank\" = ?2 COLLATE FOLD");
    std::vector<int> column(101);
    for (int c = 0; c < sqlite3_column_count(read.get()); ++c) {
      const std::string name = sqlite3_column_name(read.get(), c);
      for (int i = 1; i <= 100; ++i) {
        if (name == sch::quantityField(i)) column[static_cast<std::size_t>(i)] = c;
      }
    }
    while (banks.row()) {
      const sqlite3_int64 bank = sqlite3_column_int64(banks.get(), 0);
      read.text(1, source);
      sqlite3_bind_int64(read.get(), 2, bank);
      if (read.row()) {
        Row row{bank, {}};
        for (int i = 1; i <= 100; ++i) {
          const double q = sqlite3_column_double(read.get(), column[static_cast<std::size_t>(i)]);
          if (exact || q > 0) row.items.emplace_back(i, q * multiplier);
        }
        rows.push_back(std::move(row));
      }
      read.reset();
    }
  }
  // A bank row with nothing to write makes no write, as the tool's edit without a change.
  std::vector<std::unique_ptr<Statement>> updates;
  for (const Row& row : rows) {
    if (row.items.empty()) {
      updates.emplace_back();
      continue;
    }
    std::string sql = "UPDATE \"Room Inventory\" SET ";
    for (std::size_t k = 0; k < row.items.size(); ++k) {
      const std::string field = "\"" + sch::quantityField(row.items[k].first) + "\"";
      const std::string param = "?" + std::to_string(k + 3);
      if (k > 0) sql += ", ";
      sql += field + " = " + (add && !exact ? "coalesce(" + field + ", 0) + " + param : param);
    }
    updates.push_back(std::make_unique<Statement>(
        db, sql + " WHERE " + roomKey + " AND \"Bank\" = ?2 COLLATE FOLD"));
  }
  exec(db, "BEGIN IMMEDIATE");
  for (const std::string& target : targets) {
    for (std::size_t p = 0; p < rows.size(); ++p) {
      if (!updates[p]) continue;
      Statement& update = *updates[p];
      update.text(1, target);
      sqlite3_bind_int64(update.get(), 2, rows[p].bank);
      for (std::size_t k = 0; k < rows[p].items.size(); ++k) {
        sqlite3_bind_double(update.get(), static_cast<int>(k + 3), rows[p].items[k].second);
      }
      update.run();
    }
  }
  exec(db, "COMMIT");
}

// A fingerprint of every record of a table, in stored order.
std::string fingerprint(sqlite3* db, const char* table) {
  Statement all(db, std::string("SELECT * FROM \"") + table + "\" ORDER BY rowid");
  std::string out;
  double sum = 0;
  sqlite3_int64 n = 0;
  while (all.row()) {
    ++n;
    for (int c = 0; c < sqlite3_column_count(all.get()); ++c) {
      if (sqlite3_column_type(all.get(), c) == SQLITE_TEXT) {
        out += reinterpret_cast<const char*>(sqlite3_column_text(all.get(), c));
        out += '|';
      } else {
        sum += sqlite3_column_double(all.get(), c) * static_cast<double>(c + 1);
      }
    }
  }
  return std::to_string(n) + " " + std::to_string(sum) + " " +
         std::to_string(std::hash<std::string>{}(out));
}

}  // namespace

int main() {
  const fs::path dir =
      fs::temp_directory_path() / ("roomkit-bench-content-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const sample::Options options{20000, 25, 1};
  const std::string toolPath = (dir / "JOX_TOOL.MDB").string();
  const std::string plainPath = (dir / "JOX_PLAIN.MDB").string();
  std::printf("writing two copies of the sample (%d rooms, %d banks)...\n", options.rooms,
              options.banks);
  sample::writeBuilding(toolPath, options);
  sample::writeBuilding(plainPath, options);
  const std::vector<std::string> rooms = sample::roomNumbers(options);

  // Both sides work as the program does: one connection, the tables kept open.
  store::Database toolDb = store::Database::open(toolPath);
  store::Table info = toolDb.openTable(sch::roomInfo);
  store::Table inventory = toolDb.openTable(sch::roomInventory);
  store::Table banks = toolDb.openTable(sch::inventoryBanks);
  store::Database plainDb = store::Database::open(plainPath);
  sqlite3* plain = store::engineHandle(plainDb);

  // Copy Room Inventory: one room into 5,000 others, in each of the three ways of writing.
  const std::string source = rooms[0];
  const std::vector<std::string> targets(rooms.begin() + 1, rooms.begin() + 5001);
  struct Way {
    const char* name;
    int multiplier;
    bool exact, add;
  };
  for (const Way& way : {Way{"replace, x2", 2, false, false}, Way{"add, x1", 1, false, true},
                         Way{"exact copy, x3", 3, true, false}}) {
    const auto [t, p] = best(
        [&] {
          const auto result = roomkit::copy_inventory::copyInventory(
              {toolDb, banks, inventory}, source, targets, {way.multiplier, way.exact, way.add});
          if (result.status != roomkit::copy_inventory::CopyResult::Status::Done ||
              result.completed != 5000) {
            die("the copy failed: " + result.message());
          }
        },
        [&] { plainCopy(plain, source, targets, way.multiplier, way.exact, way.add); });
    report(std::string("copy into 5,000 rooms (") + way.name + ")", t, p);
  }

  // Modify Room Data: 1,000 updates in a row, each followed by the next room's present value.
  namespace mrd = roomkit::modify_room_data;
  const std::size_t updates = 1000;
  {
    Statement write(plain, "UPDATE \"Room Info\" SET \"Room Name\" = ?2 WHERE " + roomKey);
    Statement read(plain, "SELECT \"Room Name\" FROM \"Room Info\" WHERE " + roomKey);
    std::size_t shown = 0;
    const auto plainSide = [&] {
      for (std::size_t i = 0; i < updates; ++i) {
        write.text(1, rooms[i]);
        write.text(2, "ROOM " + std::to_string(i));
        write.run();
        read.text(1, rooms[i + 1]);
        if (read.row()) shown += static_cast<std::size_t>(sqlite3_column_bytes(read.get(), 0));
        read.reset();
      }
    };
    const auto toolSide = [&] {
      for (std::size_t i = 0; i < updates; ++i) {
        const auto result = mrd::writeValue(
            {info, inventory}, rooms[i],
            {mrd::Mode::RoomName, mrd::FloorKind::Tile, "room " + std::to_string(i), ""});
        if (result.status != mrd::UpdateResult::Status::Written)
          die("update failed: " + result.message());
        shown -= mrd::presentValue({info, inventory}, rooms[i + 1], mrd::Mode::RoomName,
                                   mrd::FloorKind::Tile)
                     .value.size();
      }
    };
    const auto [t, p] = best(toolSide, plainSide);
    if (shown != 0) std::printf("  (the values read differ)\n");
    report("1,000 room-name updates", t, p);
  }
  {
    const std::string first = "rowid = (SELECT rowid FROM \"Room Inventory\" WHERE " + roomKey +
                              " ORDER BY \"Room Number\" COLLATE FOLD, rowid LIMIT 1)";
    Statement check(plain, "SELECT 1 FROM \"Room Info\" WHERE " + roomKey);
    Statement write(plain, "UPDATE \"Room Inventory\" SET \"1\" = ?2, \"28\" = ?3 WHERE " + first);
    Statement read(plain, "SELECT \"1\", \"28\" FROM \"Room Inventory\" WHERE " + first);
    const auto plainSide = [&] {
      for (std::size_t i = 0; i < updates; ++i) {
        check.text(1, rooms[i]);
        if (!check.row()) die("no room");
        check.reset();
        write.text(1, rooms[i]);
        sqlite3_bind_double(write.get(), 2, 100.0 + static_cast<double>(i));
        sqlite3_bind_double(write.get(), 3, 12.5);
        write.run();
        read.text(1, rooms[i + 1]);
        read.row();
        read.reset();
      }
    };
    const auto toolSide = [&] {
      for (std::size_t i = 0; i < updates; ++i) {
        const auto result = mrd::writeValue(
            {info, inventory}, rooms[i],
            {mrd::Mode::FloorArea, mrd::FloorKind::Tile, std::to_string(100 + i), "12.5"});
        if (result.status != mrd::UpdateResult::Status::Written)
          die("update failed: " + result.message());
        mrd::presentValue({info, inventory}, rooms[i + 1], mrd::Mode::FloorArea,
                          mrd::FloorKind::Tile);
      }
    };
    const auto [t, p] = best(toolSide, plainSide);
    report("1,000 floor-area updates", t, p);
  }

  const bool same =
      fingerprint(store::engineHandle(toolDb), sch::roomInventory) ==
          fingerprint(plain, sch::roomInventory) &&
      fingerprint(store::engineHandle(toolDb), sch::roomInfo) == fingerprint(plain, sch::roomInfo);
  std::printf("both copies hold the same records: %s\n", same ? "yes" : "NO");
  info.close();
  inventory.close();
  banks.close();
  toolDb.close();
  plainDb.close();
  fs::remove_all(dir);
  return same ? 0 : 1;
}
