// Inserts made one after another into one table, for many records whose fields mostly keep
// their values from one record to the next (a new room's inventory records differ only in the
// bank): only the fields set since the last insert are fitted and bound again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "database.h"

namespace store {

class BulkInsert {
 public:
  // The fields by position; they start as nulls. A position named twice is one field, which
  // keeps the value set last, as setting a field twice does.
  BulkInsert(Database& db, const std::string& table, const std::vector<std::size_t>& positions);
  bool repeats() const { return slots_.size() != positions_.size(); }
  ~BulkInsert();
  BulkInsert(const BulkInsert&) = delete;
  BulkInsert& operator=(const BulkInsert&) = delete;

  // The value of field k (in the order of the positions), fitted to it; throws Error as a
  // field's setting does when it cannot hold it.
  void set(std::size_t k, const Value& value);
  // Adds a record with the values set so far, as add new, setting them, and update do.
  void insert();

 private:
  Database db_;
  std::string table_;
  std::vector<std::size_t> slots_;      // the field of each position as it was named
  std::vector<std::size_t> positions_;  // each field once
  std::vector<FieldDef> fields_;
  std::vector<Value> values_;
  std::vector<std::size_t> unbound_;  // the fields set since the last insert
  std::vector<bool> pending_;
  std::vector<std::uint64_t> hashes_;  // each value's part of the record's hash
  std::uint64_t hash_ = 0;
  std::vector<std::size_t> keyFields_;
  std::vector<std::size_t> keyIndexes_;  // where each key field's value stands in values_
  sqlite3_stmt* statement_ = nullptr;
};

}  // namespace store
