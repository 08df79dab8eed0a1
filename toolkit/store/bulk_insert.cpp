#include "bulk_insert.h"

#include <sqlite3.h>

#include "connection.h"
#include "history/recorder.h"
#include "history/stored.h"

namespace store {

BulkInsert::BulkInsert(Database& db, const std::string& table,
                       const std::vector<std::size_t>& positions)
    : db_(db) {
  for (std::size_t position : positions) {
    std::size_t k = 0;
    while (k < positions_.size() && positions_[k] != position) ++k;
    if (k == positions_.size()) positions_.push_back(position);
    slots_.push_back(k);
  }
  const Database::Insert insert = db_.prepareInsert(table, positions_);
  detail::Connection& c = db_.connection();
  auto info = c.table(table);
  table_ = info->def.name;
  keyFields_ = info->keyFields;
  for (std::size_t field : keyFields_) {
    std::size_t k = 0;
    while (k < positions_.size() && positions_[k] != field) ++k;
    keyIndexes_.push_back(k);  // past the end: not set, so null
  }
  fields_ = insert.fields;
  const int rc = sqlite3_prepare_v3(c.db(), insert.sql.c_str(), static_cast<int>(insert.sql.size()),
                                    SQLITE_PREPARE_PERSISTENT, &statement_, nullptr);
  if (rc != SQLITE_OK) c.fail(rc);
  values_.assign(positions_.size(), Value());
  pending_.assign(positions_.size(), true);
  for (std::size_t k = 0; k < positions_.size(); ++k) unbound_.push_back(k);
  hashes_.assign(positions_.size(), 0);  // a null adds nothing to the hash of an all-null record
}

BulkInsert::~BulkInsert() { sqlite3_finalize(statement_); }

void BulkInsert::set(std::size_t slot, const Value& value) {
  const std::size_t k = slots_.at(slot);
  values_[k] = coerce(fields_[k], value);
  if (!pending_[k]) {
    pending_[k] = true;
    unbound_.push_back(k);
  }
  const std::size_t position = positions_[k];
  hash_ -= hashes_[k];
  hashes_[k] = history::fieldHash(position, history::valueHash(values_[k])) -
               history::fieldHash(position, history::nullValueHash);
  hash_ += hashes_[k];
}

void BulkInsert::insert() {
  detail::Connection& c = db_.connection();
  for (std::size_t k : unbound_) {
    detail::bindStored(statement_, static_cast<int>(k + 1), values_[k]);
    pending_[k] = false;
  }
  unbound_.clear();
  history::WriteHint hint{&table_, true, &positions_, &values_, &keyFields_};
  hint.insertHash = &hash_;
  hint.keyIndexes = &keyIndexes_;
  const history::HintScope scope(c.recorder, hint);
  const int rc = sqlite3_step(statement_);
  sqlite3_reset(statement_);  // the bindings stay for the next record
  if (rc != SQLITE_DONE) c.fail(rc);
  ++*c.tableCounter(table_);
}

}  // namespace store
