#include "plain_import.h"

#include <sqlite3.h>

#include <stdexcept>

#include "store/database.h"
#include "store/engine/handle.h"

namespace bench {
namespace {

sqlite3_stmt* prepare(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    throw std::runtime_error(sqlite3_errmsg(db));
  }
  return stmt;
}

}  // namespace

std::int64_t plainImport(const std::string& source, const std::string& target) {
  store::Database from = store::Database::open(source);
  store::Database to = store::Database::create(target);
  to.begin();
  std::int64_t records = 0;
  for (const std::string& table : from.tableNames()) {
    const store::TableDef def = from.tableDef(table);
    to.createTable(def);
    std::string names, params;
    for (std::size_t i = 0; i < def.fields.size(); ++i) {
      names += (i > 0 ? ", \"" : "\"") + def.fields[i].name + "\"";
      params += i > 0 ? ", ?" : "?";
    }
    sqlite3_stmt* select = prepare(store::engineHandle(from),
                                   "SELECT " + names + " FROM \"" + table + "\" ORDER BY rowid");
    sqlite3_stmt* insert =
        prepare(store::engineHandle(to),
                "INSERT INTO \"" + table + "\" (" + names + ") VALUES (" + params + ")");
    while (sqlite3_step(select) == SQLITE_ROW) {
      for (int i = 0; i < static_cast<int>(def.fields.size()); ++i) {
        sqlite3_bind_value(insert, i + 1, sqlite3_column_value(select, i));
      }
      if (sqlite3_step(insert) != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(store::engineHandle(to)));
      sqlite3_reset(insert);
      ++records;
    }
    sqlite3_finalize(insert);
    sqlite3_finalize(select);
  }
  to.commit();
  to.close();
  return records;
}

}  // namespace bench
