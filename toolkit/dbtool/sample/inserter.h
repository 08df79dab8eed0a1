// Bulk inserts into one table through a prepared statement on the raw handle, binding values as
// the store writes them: text as text (checked against the field's size), numbers as REAL or
// INTEGER by field type, dates as ISO text. Bindings stay between records, so a caller may
// rebind only what changes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/database.h"
#include "store/definition.h"
#include "store/value.h"

struct sqlite3_stmt;

namespace sample::detail {

class Inserter {
 public:
  Inserter(const store::Database& db, const store::TableDef& def);
  ~Inserter();
  Inserter(const Inserter&) = delete;
  Inserter& operator=(const Inserter&) = delete;

  std::size_t position(std::string_view field) const;  // throws when absent

  void text(std::size_t position, std::string_view text);
  void textOrNull(std::size_t position, const std::optional<std::string>& text);
  void number(std::size_t position, double number);
  void integer(std::size_t position, std::int64_t number);
  void date(std::size_t position, store::Date date);
  void null(std::size_t position);
  void insert();

 private:
  void check(int rc) const;

  const store::Database& db_;
  store::TableDef def_;
  sqlite3_stmt* statement_ = nullptr;
};

// Removes a database file with its journal companions (a failed write leaves nothing behind).
void removeDatabaseFiles(const std::string& path);

}  // namespace sample::detail
