#include "history_building.h"

#include <sqlite3.h>

#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "dbtool/byte_io.h"
#include "dbtool/export.h"
#include "store/database.h"
#include "store/engine/handle.h"
#include "store/history.h"
#include "store/schema.h"
#include "support/building.h"

namespace historytest {

namespace sch = store::schema;
using store::Value;

namespace {

void exec(sqlite3* db, const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string why = message ? message : "failed";
    sqlite3_free(message);
    throw std::runtime_error(why + " (" + sql + ")");
  }
}

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

// Each row of a query as its values' storage class and text.
std::string rowsOf(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    throw std::runtime_error(sqlite3_errmsg(db));
  }
  std::string out;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
      out += std::to_string(sqlite3_column_type(stmt, i)) + ":";
      if (text) out.append(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, i)));
      out += " | ";
    }
    out += '\n';
  }
  sqlite3_finalize(stmt);
  return out;
}

std::string firstDifference(const char* what, const std::string& expected,
                            const std::string& actual) {
  std::istringstream a(expected), b(actual);
  std::string left, right;
  for (int line = 1;; ++line) {
    const bool moreLeft = static_cast<bool>(std::getline(a, left));
    const bool moreRight = static_cast<bool>(std::getline(b, right));
    if (!moreLeft && !moreRight) return "";
    if (!moreLeft || !moreRight || left != right) {
      return std::string(what) + ", line " + std::to_string(line) + ":\n  expected " +
             (moreLeft ? left.substr(0, 300) : "<end>") + "\n  actual   " +
             (moreRight ? right.substr(0, 300) : "<end>");
    }
  }
}

// A table's records in stored order: their places (rowids), then a digest of every value with its
// storage class, which the export does not show (a whole number kept as real or as integer).
std::string storedRecords(sqlite3* db, const std::string& table) {
  sqlite3_stmt* stmt = nullptr;
  const std::string sql = "SELECT rowid, * FROM " + quoted(table) + " ORDER BY rowid";
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    throw std::runtime_error(sqlite3_errmsg(db));
  }
  std::string places;
  std::uint64_t digest = 14695981039346656037u;
  auto mix = [&digest](const void* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
      digest = (digest ^ static_cast<const unsigned char*>(data)[i]) * 1099511628211u;
    }
  };
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    places += " " + std::to_string(sqlite3_column_int64(stmt, 0));
    for (int i = 1; i < sqlite3_column_count(stmt); ++i) {
      const int type = sqlite3_column_type(stmt, i);
      mix(&type, sizeof type);
      if (type == SQLITE_INTEGER) {
        const sqlite3_int64 n = sqlite3_column_int64(stmt, i);
        mix(&n, sizeof n);
      } else if (type == SQLITE_FLOAT) {
        const double d = sqlite3_column_double(stmt, i);
        mix(&d, sizeof d);
      } else if (type != SQLITE_NULL) {
        const void* bytes = sqlite3_column_blob(stmt, i);
        const int size = sqlite3_column_bytes(stmt, i);
        mix(&size, sizeof size);
        mix(bytes, static_cast<std::size_t>(size));
      }
    }
  }
  sqlite3_finalize(stmt);
  return table + ":" + places + "; values " + std::to_string(digest) + "\n";
}

}  // namespace

void makeHistoryBuilding(const std::string& path) {
  store::Database db = testsupport::makeBuilding(path);
  for (int bank : {3, 9, 1, 2}) testsupport::addBank(db, bank);
  const std::vector<testsupport::Room> rooms = {
      {"101", Value("OFFICE"), Value("A1"), Value("EAST"), Value("UP")},
      {"102", Value("LAB"), Value("A1"), Value("WEST")},
      {"106", Value("GONE"), Value("B1"), Value("WEST")},
      {"103", Value("STORE"), Value("B1"), Value("EAST")},
      {"104", Value("HALL"), Value("B1")},
      {"105", Value("CLOSET"), Value("A1"), Value(), Value("DOWN")},
      {"107", Value("LOBBY"), Value("B1"), Value("east")},
      {"108", Value("GONE TOO"), Value("A1")}};
  testsupport::addRooms(db, rooms);
  for (std::size_t r = 0; r < rooms.size(); ++r) {
    const double n = static_cast<double>(r + 1);
    const std::string& room = rooms[r].number;
    testsupport::addInventory(db, room, 2, {{1, n}, {3, n * 0.25}});
    testsupport::addInventory(db, room, 1, {{1, 10 + n}, {2, 1}, {100, n}});
    testsupport::addInventory(db, room, 3, {{28, 3.5}, {50, n}});
    testsupport::addTime(db, room);
  }
  testsupport::addSchedule(db, "A1", "DAILY", 2);
  testsupport::addSchedule(db, "C1", "UNUSED", 2);
  testsupport::addSchedule(db, "D1", "GONE", 1);
  testsupport::addSchedule(db, "B1", "WEEKLY", 1);
  testsupport::addSchedule(db, "E1", "SPARE", 1);

  sqlite3* h = store::engineHandle(db);
  for (const char* value : {"EAST", "GONE", "WEST", "NORTH"}) {
    exec(h, "INSERT INTO \"Inv Sort Field 1\" VALUES ('" + std::string(value) + "', 'SIDE')");
  }
  for (const char* value : {"UP", "DOWN"}) {
    exec(h, "INSERT INTO \"Inv Sort Field 2\" VALUES ('" + std::string(value) + "', 'LEVEL')");
  }
  for (const char* pair : {"'A1', '101'", "'A1', '102'", "'X', '106'", "'A2', '103'", "'A3', '104'",
                           "'A4', '107'", "'X', '108'"}) {
    exec(h, "INSERT INTO \"Area Assignments\" VALUES (" + std::string(pair) + ", 'SAM')");
  }
  for (const char* pair : {"'P1', '101'", "'P9', '106'", "'A1', '105'", "'P2', '103'"}) {
    exec(h, "INSERT INTO \"Project Assignments\" VALUES (" + std::string(pair) + ", 'WING')");
  }
  exec(h, "UPDATE \"Room Inventory\" SET \"2\" = NULL WHERE \"Room Number\" = '101' AND Bank = 1");
  exec(h, "UPDATE \"Room Inventory\" SET \"1\" = NULL WHERE \"Room Number\" = '104' AND Bank = 2");
  for (const char* table : {sch::roomInfo, sch::roomInventory, sch::roomTime, sch::areaAssignments,
                            sch::projectAssignments}) {
    exec(h, "DELETE FROM " + quoted(table) + " WHERE \"Room Number\" IN ('106', '108')");
  }
  exec(h, "DELETE FROM \"Inventory Banks\" WHERE Bank = 9");
  exec(h, "DELETE FROM \"Inv Sort Field 1\" WHERE \"Sort Field\" = 'GONE'");
  for (const char* table : {sch::scheduleDescribe, sch::scheduleLines}) {
    exec(h, "DELETE FROM " + quoted(table) + " WHERE \"Cleaning Schedule\" = 'D1'");
  }
  db.close();
}

State stateOf(const std::string& path) {
  State state;
  dbtool::StringOutput out(state.exported);
  dbtool::exportDatabase(path, out);
  store::Database db = store::Database::open(path);
  for (const std::string& table : db.tableNames()) {
    if (!store::isHistoryTable(table))
      state.stored += storedRecords(store::engineHandle(db), table);
  }
  return state;
}

std::string difference(const State& expected, const State& actual) {
  const std::string exported = firstDifference("export", expected.exported, actual.exported);
  return exported.empty() ? firstDifference("stored records", expected.stored, actual.stored)
                          : exported;
}

std::string historyRows(const std::string& path, std::int64_t run) {
  store::Database db = store::Database::open(path);
  const std::string where = " WHERE \"Run\" = " + std::to_string(run) + " ORDER BY rowid";
  return rowsOf(store::engineHandle(db), "SELECT rowid, * FROM MSysRoomkitRuns" + where);
}

void otherProgram(const std::string& path, const std::string& sql) {
  store::Database db = store::Database::open(path);
  exec(store::engineHandle(db), sql);
}

}  // namespace historytest
