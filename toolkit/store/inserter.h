// Adds records to one table: the store's one way to insert, as add new, setting fields and
// update do, and recorded by a run in progress as they are. Made once and run for many records;
// only the fields set since the last record are fitted and bound again, so records whose fields
// mostly keep their values (a new room's inventory records differ only in the bank) are cheap.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "database.h"
#include "value.h"

namespace store {

namespace detail {
struct InsertPlan;
}

class Inserter {
 public:
  // The fields by position; they start as nulls. A position named twice is one field, which
  // keeps the value set last, as setting a field twice does.
  Inserter(const Database& db, const std::string& table, const std::vector<std::size_t>& positions);
  // Every field of the table, in order.
  Inserter(const Database& db, const std::string& table);
  ~Inserter();
  Inserter(const Inserter&) = delete;
  Inserter& operator=(const Inserter&) = delete;

  bool repeats() const;  // a position was named twice

  // The value of field k (in the order of the positions), fitted to it; throws Error as a
  // field's setting does when it cannot hold it.
  void set(std::size_t k, const Value& value);
  // Adds a record with the values set so far.
  void insert();
  // Sets every field (one value per position, in their order) and adds the record.
  void insert(const std::vector<Value>& values);

 private:
  std::unique_ptr<detail::InsertPlan> plan_;
};

}  // namespace store
