// Writes the records of one imported table through the store's inserter. A record that breaks a
// unique index is reported with the index and its key fields.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "store/database.h"
#include "store/definition.h"
#include "store/inserter.h"
#include "store/value.h"

namespace dbtool {

class TableWriter {
 public:
  // Creates the table with its indexes. Throws Error naming the table on failure.
  TableWriter(store::Database& db, const store::TableDef& def);
  TableWriter(const TableWriter&) = delete;
  TableWriter& operator=(const TableWriter&) = delete;

  // Precondition: one value per field, each of the field's kind (or null). Throws Error on failure.
  void insert(const std::vector<store::Value>& record);

 private:
  std::string duplicateIndex(const std::vector<store::Value>& record) const;
  std::size_t fieldIndex(const std::string& name) const;

  store::Database& db_;
  const store::TableDef& def_;
  std::unique_ptr<store::Inserter> insert_;
};

}  // namespace dbtool
