// Internal to the check: chosen fields of every record of a table, read in stored order through
// one plain statement (the check reads only, and a cursor's full records would cost it dearly on
// tables of a hundred quantities).
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/database.h"

namespace store::check {

class Records {
 public:
  // Finds the table and fields whatever their letter case; throws Error when one is missing.
  // `tick` is told every few thousand records.
  Records(const Database& db, const std::string& table, const std::vector<std::string>& fields,
          const std::function<void()>& tick = {});
  ~Records();
  Records(const Records&) = delete;
  Records& operator=(const Records&) = delete;

  bool next();  // throws Error on an engine failure
  std::int64_t rowid() const { return sqlite3_column_int64(stmt_, 0); }
  bool isNull(std::size_t k) const;
  std::string_view text(std::size_t k) const;  // the field as text; "" for null
  Value value(std::size_t k) const;            // as its field type holds it

  const std::string& table() const { return def_.name; }  // as the file names it
  const std::string& field(std::size_t k) const { return def_.fields[positions_[k]].name; }
  const TableDef& def() const { return def_; }

 private:
  sqlite3* db_;
  TableDef def_;
  std::vector<std::size_t> positions_;
  sqlite3_stmt* stmt_ = nullptr;
  std::function<void()> tick_;
  std::uint32_t read_ = 0;
};

// Whether the table has the field (any letter case).
bool hasField(const Database& db, const std::string& table, const std::string& field);

// Throws the connection's last error with its code.
[[noreturn]] void fail(sqlite3* db, int rc);

}  // namespace store::check
