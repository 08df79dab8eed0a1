// A small building for the tests of the change history: a table of rooms with fields of several
// types and a table of notes, a run that adds, changes and deletes records, and a dump of every
// record as the engine keeps it.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "store/database.h"
#include "store/engine/handle.h"
#include "store/history.h"
#include "store/table.h"
#include "store/writes.h"
#include "support/temp_dir.h"

namespace historytest {

using namespace store;

// Every record of every table but the history's, with its place in the stored order and each
// field as the engine keeps it.
inline std::string dump(Database& db) {
  std::string out;
  for (const std::string& table : db.tableNames()) {
    if (table.rfind("MSysRoomkit", 0) == 0) continue;
    out += "[" + table + "]\n";
    sqlite3_stmt* stmt = nullptr;
    const std::string sql = "SELECT * FROM \"" + table + "\" ORDER BY rowid";
    sqlite3_prepare_v2(store::engineHandle(db), ("SELECT rowid, " + sql.substr(7)).c_str(), -1,
                       &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
        sqlite3_value* v = sqlite3_column_value(stmt, i);
        out += std::to_string(sqlite3_value_type(v)) + ":";
        const unsigned char* text = sqlite3_column_text(stmt, i);
        out += text ? reinterpret_cast<const char*>(text) : "NULL";
        out += " | ";
      }
      out += "\n";
    }
    sqlite3_finalize(stmt);
  }
  return out;
}

inline void exec(Database& db, const std::string& sql) {
  char* error = nullptr;
  ASSERT_EQ(sqlite3_exec(store::engineHandle(db), sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
      << error;
}

class HistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir.file("JOX_H.MDB");
    db = Database::create(path);
    db.createTable({"Rooms",
                    {{"Number", FieldType::Text, 10},
                     {"Name", FieldType::Text, 20},
                     {"Area", FieldType::Double, 8},
                     {"When", FieldType::Date, 8},
                     {"Paid", FieldType::Currency, 8},
                     {"Photo", FieldType::Ole, 0}},
                    {{"PrimaryKey", {"Number"}, true}}});
    db.createTable({"Notes", {{"Text", FieldType::Memo, 0}}, {}});
    Table rooms = db.openTable("Rooms");
    for (const char* number : {"101", "102", "103", "104"}) add(rooms, number, "ROOM", 10);
  }

  static void add(Table& rooms, const std::string& number, const std::string& name, double area) {
    rooms.addNew();
    rooms.setField("Number", Value(number));
    rooms.setField("Name", Value(name));
    rooms.setField("Area", Value(area));
    rooms.setField("When", Value(Date{1850, 1, 2, 3600}));
    rooms.setField("Paid", Value("12.3456"));
    rooms.setField("Photo", Value::binary(std::string("\0\1\2", 3)));
    rooms.update();
  }

  // A run that adds, changes and deletes records through cursors and set-based writes.
  void mixedRun() {
    store::Run run(db, "Mixed", "test");
    Table rooms = db.openTable("Rooms");
    rooms.setIndex("PrimaryKey");
    rooms.seek({Value("102")});
    rooms.edit();
    rooms.setField("Name", Value("CHANGED"));
    rooms.setField("Area", Value(2.5));
    rooms.update();
    rooms.seek({Value("103")});
    rooms.remove();
    add(rooms, "105", "NEW", 1);
    store::updateWhereUpperText(db, "Rooms", "Name", Value("ALL"), "ROOM");
    store::updateWhereKey(db, "Rooms", "PrimaryKey", {Value("105")}, {{2, Value(7)}}, true);
    Table notes = db.openTable("Notes");
    notes.addNew();
    notes.setField(0, Value(std::string(5000, 'n')));
    notes.update();
    run.commit();
  }

  testsupport::TempDir dir;
  std::string path;
  Database db;
};

}  // namespace historytest
