#include "table.h"

#include <algorithm>

#include "coerce.h"
#include "database.h"
#include "engine/connection.h"
#include "text_case.h"

namespace store {

using detail::quote;
using detail::StatementUse;

namespace {
constexpr std::size_t firstBatch = 64;
constexpr std::size_t largestBatch = 512;

[[noreturn]] void noCurrentRecord() { throw Error(code::notFound, "No current record."); }
}  // namespace

Table::Table() = default;
Table::~Table() = default;
Table::Table(Table&&) noexcept = default;
Table& Table::operator=(Table&&) noexcept = default;

Table::Table(std::shared_ptr<detail::Connection> connection,
             std::shared_ptr<const detail::TableInfo> info)
    : connection_(std::move(connection)), info_(std::move(info)) {
  tableCounter_ = connection_->tableCounter(info_->def.name);
  markFresh();
}

bool Table::isOpen() const { return info_ && connection_ && connection_->isOpen(); }

void Table::close() {
  info_.reset();
  connection_.reset();
  index_ = nullptr;
  batch_.clear();
  count_ = 0;
  state_ = State::Unresolved;
  mode_ = Mode::None;
}

detail::Connection& Table::connection() const {
  if (!isOpen()) throw Error(code::misuse, "The table is not open.");
  return *connection_;
}

const std::string& Table::name() const {
  connection();
  return info_->def.name;
}

const TableDef& Table::def() const {
  connection();
  return info_->def;
}

std::size_t Table::fieldCount() const { return def().fields.size(); }

const FieldDef& Table::fieldDef(std::size_t position) const {
  const TableDef& d = def();
  if (position >= d.fields.size()) {
    throw Error(code::notFound, "The table '" + d.name + "' has no field at position " +
                                    std::to_string(position) + ".");
  }
  return d.fields[position];
}

std::size_t Table::fieldPosition(std::string_view name) const {
  const TableDef& d = def();
  const auto position = d.fieldPosition(name);
  if (!position) {
    throw Error(code::notFound,
                "The field '" + std::string(name) + "' is not in the table '" + d.name + "'.");
  }
  return *position;
}

Database Table::database() const {
  connection();
  return Database(connection_);
}

void Table::setIndex(const std::string& index) {
  connection();
  if (index.empty()) {
    index_ = nullptr;
  } else {
    const detail::IndexInfo* found = nullptr;
    for (const detail::IndexInfo& candidate : info_->indexes) {
      if (compareFolded(candidate.def.name, index) == 0) found = &candidate;
    }
    if (!found) {
      throw Error(code::notFound,
                  "'" + index + "' is not an index of the table '" + info_->def.name + "'.");
    }
    if (found == index_) return;
    index_ = found;
  }
  indexName_ = index_ ? index_->def.name : std::string();
  mode_ = Mode::None;
  count_ = 0;
  state_ = State::Unresolved;
}

const std::string& Table::index() const { return indexName_; }

bool Table::stale() const {
  return *tableCounter_ != seenTable_ || connection_->allCounter() != seenAll_;
}

void Table::markFresh() {
  seenTable_ = *tableCounter_;
  seenAll_ = connection_->allCounter();
}

void Table::keepOnlyCurrent() {
  if (pos_ != 0) std::swap(batch_[0], batch_[pos_]);
  pos_ = 0;
  count_ = 1;
  batchReachesEnd_ = false;
}

// After a write through this connection the read-ahead may be out of date: keep the current
// record (read again) and its place, and read the rest again when the cursor moves.
void Table::refreshIfStale() {
  if (!stale()) return;
  if (state_ == State::OnRecord) {
    keepOnlyCurrent();
    if (!rereadCurrent()) state_ = State::Deleted;
  } else if (state_ == State::Deleted) {
    keepOnlyCurrent();
  } else {
    count_ = 0;
  }
  batchReachesEnd_ = false;
  markFresh();
}

void Table::resolve() {
  connection();
  if (state_ != State::Unresolved) return;
  fetchFirst(firstBatch);
  state_ = count_ > 0 ? State::OnRecord : State::End;
}

void Table::requireCurrent() const {
  if (state_ == State::Deleted) throw Error(code::notFound, "The current record is deleted.");
  if (state_ != State::OnRecord) noCurrentRecord();
}

std::string Table::orderBy() const {
  std::string order = " ORDER BY ";
  if (index_) {
    for (std::size_t k = 0; k < index_->columns.size(); ++k) {
      order += quote(info_->def.fields[index_->columns[k]].name) + " COLLATE " +
               quote(index_->collations[k]) + (index_->def.descends(k) ? " DESC, " : ", ");
    }
  }
  return order + info_->rowidName;
}

// Reads rows into the batch. Where the table allows it, each row arrives through one call of the
// store's row function, which converts every field straight into the batch; that spares a column
// call per field. The function must run exactly once per row returned; if the engine ever ran it
// ahead (a sort), the rows are read again through the column calls.
std::size_t Table::fill(const std::string& clauses, const std::vector<Value>& binds,
                        std::size_t limit, std::size_t into) {
  detail::Connection& c = connection();
  const bool packed = !info_->packedSelectList.empty() && binds.size() < detail::rowSinkParameter;
  const std::string key = (packed ? "p" : "c") + clauses;
  if (fillSql_.key != key || fillSql_.sql.empty()) {
    fillSql_ = {key, "SELECT " + (packed ? info_->packedSelectList : info_->selectList) + " FROM " +
                         info_->quotedName + clauses + " LIMIT ?" +
                         std::to_string(detail::limitParameter)};
  }
  const std::string& sql = fillSql_.sql;
  StatementUse use(c.statement(sql));
  int param = 1;
  for (const Value& bind : binds) detail::bindValue(use.get(), param++, bind);
  sqlite3_bind_int64(use.get(), detail::limitParameter, static_cast<sqlite3_int64>(limit));
  const std::size_t fields = info_->def.fields.size();
  detail::RowSink sink{info_->types.data(), nullptr, 0};
  if (packed)
    sqlite3_bind_pointer(use.get(), detail::rowSinkParameter, &sink, detail::rowSinkType, nullptr);
  std::size_t n = 0;
  int rc;
  while (true) {
    if (batch_.size() <= into + n) batch_.resize(into + n + 1);
    Row& row = batch_[into + n];
    row.values.resize(fields);
    sink.values = row.values.data();
    const std::uint64_t expected = sink.calls + 1;
    rc = sqlite3_step(use.get());
    if (rc != SQLITE_ROW) break;
    row.rowid = sqlite3_column_int64(use.get(), 0);
    if (packed && sink.calls != expected) {
      sqlite3_reset(use.get());
      return fillByColumns(sql, binds, limit, into);
    }
    if (!packed) {
      for (std::size_t i = 0; i < fields; ++i) {
        detail::readValue(use.get(), static_cast<int>(i + 1), info_->types[i], row.values[i]);
      }
    }
    ++n;
  }
  if (rc != SQLITE_DONE) c.fail(rc);
  return n;
}

std::size_t Table::fillByColumns(const std::string& packedSql, const std::vector<Value>& binds,
                                 std::size_t limit, std::size_t into) {
  const std::string prefix = "SELECT " + info_->packedSelectList;
  const std::string sql = "SELECT " + info_->selectList + packedSql.substr(prefix.size());
  detail::Connection& c = connection();
  StatementUse use(c.statement(sql));
  int param = 1;
  for (const Value& bind : binds) detail::bindValue(use.get(), param++, bind);
  sqlite3_bind_int64(use.get(), detail::limitParameter, static_cast<sqlite3_int64>(limit));
  const std::size_t fields = info_->def.fields.size();
  std::size_t n = 0;
  int rc;
  while ((rc = sqlite3_step(use.get())) == SQLITE_ROW) {
    if (batch_.size() <= into + n) batch_.resize(into + n + 1);
    Row& row = batch_[into + n];
    row.values.resize(fields);
    row.rowid = sqlite3_column_int64(use.get(), 0);
    for (std::size_t i = 0; i < fields; ++i) {
      detail::readValue(use.get(), static_cast<int>(i + 1), info_->types[i], row.values[i]);
    }
    ++n;
  }
  if (rc != SQLITE_DONE) c.fail(rc);
  return n;
}

void Table::fetchFirst(std::size_t limit) {
  count_ = fill(orderBy(), {}, limit, 0);
  pos_ = 0;
  batchReachesEnd_ = count_ < limit;
  nextLimit_ = largestBatch;
  markFresh();
}

// Reads the records that follow the anchor in the current order. In an index order this is done
// level by level (same keys and a later record; same leading keys and a greater next key; ...),
// so that every step is an index range and null keys, which sort first, are not lost.
void Table::fetchAfter(const Row& anchor, std::size_t limit) {
  const std::string order = orderBy();
  count_ = 0;
  pos_ = 0;
  if (!index_) {
    count_ = fill(" WHERE " + info_->rowidName + " > ?1" + order, {Value(anchor.rowid)}, limit, 0);
  } else {
    const std::size_t keys = index_->columns.size();
    for (std::size_t level = keys + 1; level-- > 0 && count_ < limit;) {
      std::string where;
      std::vector<Value> binds;
      for (std::size_t k = 0; k < level && k < keys; ++k) {
        if (!where.empty()) where += " AND ";
        binds.push_back(anchor.values[index_->columns[k]]);
        where += quote(info_->def.fields[index_->columns[k]].name) + " IS ?" +
                 std::to_string(binds.size()) + " COLLATE " + quote(index_->collations[k]);
      }
      if (!where.empty()) where += " AND ";
      if (level == keys) {
        binds.push_back(Value(anchor.rowid));
        where += info_->rowidName + " > ?" + std::to_string(binds.size());
      } else {
        // Nulls sort first in an ascending key and last in a descending one.
        const Value& key = anchor.values[index_->columns[level]];
        const std::string field = quote(info_->def.fields[index_->columns[level]].name);
        const bool descends = index_->def.descends(level);
        if (key.isNull()) {
          if (descends) continue;  // nothing follows a null of a descending key
          where += field + " IS NOT NULL";
        } else {
          binds.push_back(key);
          const std::string compare = field + (descends ? " < ?" : " > ?") +
                                      std::to_string(binds.size()) + " COLLATE " +
                                      quote(index_->collations[level]);
          where += descends ? "(" + compare + " OR " + field + " IS NULL)" : compare;
        }
      }
      count_ += fill(" WHERE " + where + order, binds, limit - count_, count_);
    }
  }
  batchReachesEnd_ = count_ < limit;
  markFresh();
}

bool Table::rereadCurrent() {
  return fill(" WHERE " + info_->rowidName + " = ?1", {Value(batch_[pos_].rowid)}, 1, pos_) == 1;
}

void Table::seek(const std::vector<Value>& keys) {
  connection();
  mode_ = Mode::None;
  if (!index_) throw Error(code::misuse, "Seek needs an index on '" + info_->def.name + "'.");
  if (keys.empty() || keys.size() > index_->columns.size()) {
    throw Error(code::misuse, "Seek on '" + index_->def.name + "' takes 1 to " +
                                  std::to_string(index_->columns.size()) + " key values.");
  }
  const std::string key = indexName_ + '\n' + std::to_string(keys.size());
  if (seekSql_.key != key || seekSql_.sql.empty()) {
    std::string where;
    for (std::size_t k = 0; k < keys.size(); ++k) {
      if (k > 0) where += " AND ";
      where += quote(info_->def.fields[index_->columns[k]].name) + " = ?" + std::to_string(k + 1) +
               " COLLATE " + quote(index_->collations[k]);
    }
    seekSql_ = {key, " WHERE " + where + orderBy()};
  }
  // A key is compared as its field keeps it (a date as its text, an amount in ten-thousandths);
  // a key that its field cannot hold is compared as it is, and finds nothing.
  std::vector<Value> fitted;
  fitted.reserve(keys.size());
  for (std::size_t k = 0; k < keys.size(); ++k) {
    const FieldDef& field = info_->def.fields[index_->columns[k]];
    if (keys[k].isText() && (field.type == FieldType::Text || field.type == FieldType::Memo)) {
      fitted.push_back(keys[k]);
      continue;
    }
    try {
      fitted.push_back(coerce(field, keys[k]));
    } catch (const Error&) {  // a key its field cannot hold is sought as it is, and finds nothing
      fitted.push_back(keys[k]);
    }
  }
  count_ = fill(seekSql_.sql, fitted, 1, 0);
  pos_ = 0;
  batchReachesEnd_ = false;
  nextLimit_ = 8;
  markFresh();
  noMatch_ = count_ == 0;
  state_ = noMatch_ ? State::NoCurrent : State::OnRecord;
}

void Table::moveFirst() {
  connection();
  mode_ = Mode::None;
  fetchFirst(firstBatch);
  state_ = count_ > 0 ? State::OnRecord : State::End;
  if (state_ == State::End) noCurrentRecord();
}

void Table::moveNext() {
  resolve();
  mode_ = Mode::None;
  refreshIfStale();
  if (state_ != State::OnRecord && state_ != State::Deleted) noCurrentRecord();
  if (pos_ + 1 < count_) {
    ++pos_;
    state_ = State::OnRecord;
    return;
  }
  if (batchReachesEnd_) {
    state_ = State::End;
    return;
  }
  const Row anchor = batch_[pos_];
  const std::size_t limit = nextLimit_;
  fetchAfter(anchor, limit);
  nextLimit_ = std::min(largestBatch, limit * 8);
  state_ = count_ > 0 ? State::OnRecord : State::End;
}

bool Table::eof() {
  resolve();
  return state_ == State::End;
}

const Value& Table::field(std::size_t position) {
  // The common case, a walk reading the current record, answers from the read-ahead at once.
  if (state_ == State::OnRecord && mode_ == Mode::None && position < info_->types.size() &&
      connection_->isOpen() && !stale()) {
    return batch_[pos_].values[position];
  }
  resolve();
  fieldDef(position);
  if (mode_ != Mode::None) return buffer_[position];
  refreshIfStale();
  requireCurrent();
  return batch_[pos_].values[position];
}

const Value& Table::field(std::string_view name) { return field(fieldPosition(name)); }

void moveToFirst(Table& table) {
  try {
    table.moveFirst();
  } catch (const Error&) {
    if (!table.eof()) throw;
  }
}

}  // namespace store
