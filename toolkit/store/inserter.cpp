#include "inserter.h"

#include <numeric>

#include "coerce.h"
#include "engine/access.h"
#include "engine/connection.h"
#include "engine/record_write.h"
#include "history/stored.h"

namespace store {

namespace detail {

struct InsertPlan {
  Database db;
  std::string table;
  std::vector<std::size_t> slots;      // the field of each position as it was named
  std::vector<std::size_t> positions;  // each field once
  std::vector<FieldDef> fields;
  std::vector<Value> values;
  std::vector<std::size_t> unbound;  // the fields set since the last insert
  std::vector<bool> pending;
  // Each value's part of the record's hash, for a run that records the inserts; kept up once a
  // run has been seen, so that inserts no run records (a conversion, an import) hash nothing.
  bool hashing = false;
  std::vector<std::uint64_t> hashes;
  std::uint64_t hash = 0;

  void rehash(std::size_t k) {
    hash -= hashes[k];
    hashes[k] = history::fieldHash(positions[k], history::valueHash(values[k])) -
                history::fieldHash(positions[k], history::nullValueHash);
    hash += hashes[k];
  }
  std::vector<std::size_t> keyFields;
  std::vector<std::size_t> keyIndexes;  // where each key field's value stands in values
  sqlite3_stmt* statement = nullptr;

  ~InsertPlan() { sqlite3_finalize(statement); }
};

}  // namespace detail

using detail::quote;

Inserter::Inserter(const Database& db, const std::string& table,
                   const std::vector<std::size_t>& positions)
    : plan_(std::make_unique<detail::InsertPlan>()) {
  detail::InsertPlan& p = *plan_;
  p.db = db;
  for (std::size_t position : positions) {
    std::size_t k = 0;
    while (k < p.positions.size() && p.positions[k] != position) ++k;
    if (k == p.positions.size()) p.positions.push_back(position);
    p.slots.push_back(k);
  }
  detail::Connection& c = detail::Access::connection(db);
  auto info = c.table(table);
  p.table = info->def.name;
  std::string names, params;
  for (std::size_t position : p.positions) {
    if (position >= info->def.fields.size()) {
      throw Error(code::notFound,
                  "No field at position " + std::to_string(position) + " in '" + table + "'.");
    }
    const FieldDef& def = info->def.fields[position];
    names += (p.fields.empty() ? "" : ", ") + quote(def.name);
    p.fields.push_back(def);
    params += (params.empty() ? "?" : ", ?") + std::to_string(p.fields.size());
  }
  const std::string sql = p.fields.empty() ? "INSERT INTO " + info->quotedName + " DEFAULT VALUES"
                                           : "INSERT INTO " + info->quotedName + " (" + names +
                                                 ") VALUES (" + params + ")";
  p.keyFields = info->keyFields;
  for (std::size_t field : p.keyFields) {
    std::size_t k = 0;
    while (k < p.positions.size() && p.positions[k] != field) ++k;
    p.keyIndexes.push_back(k);  // past the end: not set, so null
  }
  const int rc = sqlite3_prepare_v3(c.db(), sql.c_str(), static_cast<int>(sql.size()),
                                    SQLITE_PREPARE_PERSISTENT, &p.statement, nullptr);
  if (rc != SQLITE_OK) c.fail(rc);
  p.values.assign(p.positions.size(), Value());
  p.pending.assign(p.positions.size(), true);
  for (std::size_t k = 0; k < p.positions.size(); ++k) p.unbound.push_back(k);
  p.hashes.assign(p.positions.size(), 0);  // a null adds nothing to the hash of an all-null record
}

namespace {

std::vector<std::size_t> everyField(const Database& db, const std::string& table) {
  std::vector<std::size_t> positions(db.tableDef(table).fields.size());
  std::iota(positions.begin(), positions.end(), std::size_t{0});
  return positions;
}

}  // namespace

Inserter::Inserter(const Database& db, const std::string& table)
    : Inserter(db, table, everyField(db, table)) {}

Inserter::~Inserter() = default;

bool Inserter::repeats() const { return plan_->slots.size() != plan_->positions.size(); }

void Inserter::set(std::size_t slot, const Value& value) {
  detail::InsertPlan& p = *plan_;
  const std::size_t k = p.slots.at(slot);
  p.values[k] = coerce(p.fields[k], value);
  if (!p.pending[k]) {
    p.pending[k] = true;
    p.unbound.push_back(k);
  }
  if (p.hashing) p.rehash(k);
}

void Inserter::insert() {
  detail::InsertPlan& p = *plan_;
  detail::Connection& c = detail::Access::connection(p.db);
  for (std::size_t k : p.unbound) {
    detail::bindStored(p.statement, static_cast<int>(k + 1), p.values[k]);
    p.pending[k] = false;
  }
  p.unbound.clear();
  if (c.recorder && !p.hashing) {
    p.hashing = true;
    for (std::size_t k = 0; k < p.values.size(); ++k) p.rehash(k);
  }
  history::WriteHint hint{&p.table, true, &p.positions, &p.values, &p.keyFields};
  hint.insertHash = &p.hash;
  hint.keyIndexes = &p.keyIndexes;
  detail::writeRecord(c, p.statement, hint, c.tableCounter(p.table));
  sqlite3_reset(p.statement);  // the bindings stay for the next record
}

void Inserter::insert(const std::vector<Value>& values) {
  if (values.size() != plan_->slots.size()) {
    throw Error(code::misuse, "An insert takes one value per field.");
  }
  for (std::size_t k = 0; k < values.size(); ++k) set(k, values[k]);
  insert();
}

}  // namespace store
