#include "plain_merge.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "store/history.h"

namespace combinebench {

namespace {

[[noreturn]] void die(sqlite3* db) {
  std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
  std::exit(1);
}

class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK) die(db);
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return stmt_; }
  void text(int i, const std::string& s) {
    sqlite3_bind_text(stmt_, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
  }
  bool row() {
    const int rc = sqlite3_step(stmt_);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) die(db_);
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
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) die(db);
}

std::string quantities() {
  std::string list;
  for (int i = 1; i <= 100; ++i) list += (i > 1 ? ", \"" : "\"") + std::to_string(i) + "\"";
  return list;
}

}  // namespace

void plainMerge(sqlite3* db, const std::vector<std::string>& sources, const std::string& target) {
  exec(db, "BEGIN IMMEDIATE");
  std::vector<sqlite3_int64> banks;
  {
    Statement list(db, "SELECT \"Bank\" FROM \"Inventory Banks\" ORDER BY \"Bank\"");
    while (list.row()) banks.push_back(sqlite3_column_int64(list.get(), 0));
  }
  const std::string select = "SELECT rowid, " + quantities() +
                             " FROM \"Room Inventory\" WHERE \"Room Number\" = ?1 COLLATE FOLD"
                             " AND \"Bank\" = ?2";
  Statement source(db, select), into(db, select);
  std::string set;
  for (int i = 1; i <= 100; ++i) {
    set += (i > 1 ? ", \"" : "\"") + std::to_string(i) + "\" = ?" + std::to_string(i);
  }
  Statement update(db, "UPDATE \"Room Inventory\" SET " + set + " WHERE rowid = ?101");
  Statement removeInventory(db, "DELETE FROM \"Room Inventory\" WHERE rowid = ?1");
  const char* tables[] = {"Room Info", "Room Inventory", "Room Time", "Area Assignments",
                          "Project Assignments"};
  std::vector<std::unique_ptr<Statement>> removeRoom;
  for (const char* table : tables) {
    removeRoom.push_back(std::make_unique<Statement>(
        db, std::string("DELETE FROM \"") + table +
                "\" WHERE \"Room Number\" = ?1 COLLATE FOLD AND \"Room Number\" = ?1"));
  }
  for (const std::string& room : sources) {
    for (sqlite3_int64 bank : banks) {
      source.text(1, room);
      sqlite3_bind_int64(source.get(), 2, bank);
      into.text(1, target);
      sqlite3_bind_int64(into.get(), 2, bank);
      if (source.row() && into.row()) {
        for (int i = 1; i <= 100; ++i) {
          sqlite3_bind_double(
              update.get(), i,
              sqlite3_column_double(into.get(), i) + sqlite3_column_double(source.get(), i));
        }
        sqlite3_bind_int64(update.get(), 101, sqlite3_column_int64(into.get(), 0));
        sqlite3_bind_int64(removeInventory.get(), 1, sqlite3_column_int64(source.get(), 0));
        source.reset();
        into.reset();
        update.run();
        removeInventory.run();
      }
      source.reset();
      into.reset();
    }
    for (auto& remove : removeRoom) {
      remove->text(1, room);
      remove->run();
    }
  }
  exec(db, "COMMIT");
}

std::string contentOf(sqlite3* db) {
  std::vector<std::string> names;
  {
    Statement list(db, "SELECT name FROM sqlite_schema WHERE type = 'table' ORDER BY name");
    while (list.row()) {
      const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(list.get(), 0));
      if (!store::isHistoryTable(name)) names.push_back(name);  // only the tool's copy has one
    }
  }
  std::string content;
  for (const std::string& name : names) {
    Statement rows(db, "SELECT * FROM \"" + name + "\" ORDER BY rowid");
    content += name + "\n";
    while (rows.row()) {
      for (int i = 0, n = sqlite3_column_count(rows.get()); i < n; ++i) {
        const unsigned char* text = sqlite3_column_text(rows.get(), i);
        content += text ? reinterpret_cast<const char*>(text) : "<null>";
        content += '|';
      }
      content += '\n';
    }
  }
  return content;
}

}  // namespace combinebench
