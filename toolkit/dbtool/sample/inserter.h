// Inserts into one table of a new sample database through the store's inserter, field by
// position with typed setters. Values stay between records, so a caller may set only what
// changes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/database.h"
#include "store/definition.h"
#include "store/inserter.h"
#include "store/value.h"

namespace sample::detail {

class Inserter {
 public:
  Inserter(const store::Database& db, const store::TableDef& def);

  std::size_t position(std::string_view field) const;  // throws when absent

  void text(std::size_t position, std::string_view text);
  void textOrNull(std::size_t position, const std::optional<std::string>& text);
  void number(std::size_t position, double number);
  void integer(std::size_t position, std::int64_t number);
  void date(std::size_t position, store::Date date);
  void null(std::size_t position);
  void insert();

 private:
  void set(std::size_t position, const store::Value& value);

  store::TableDef def_;
  store::Inserter insert_;
};

// Removes a database file with its journal companions (a failed write leaves nothing behind).
void removeDatabaseFiles(const std::string& path);

}  // namespace sample::detail
