// A table cursor. Without an index it walks the stored (insertion) order; with one, that index's
// order. It reads ahead in batches, holds no read transaction between operations, and drops its
// read-ahead when anything writes to the table through the same connection, so two cursors on one
// table see each other's writes at once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "definition.h"
#include "value.h"

namespace store {

namespace detail {
class Connection;
struct TableInfo;
struct IndexInfo;
}  // namespace detail

class Database;

class Table {
 public:
  Table();
  ~Table();
  Table(Table&&) noexcept;
  Table& operator=(Table&&) noexcept;
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  bool isOpen() const;
  void close();  // harmless when not open
  const std::string& name() const;
  const TableDef& def() const;
  // The database the table was opened from, on the same connection.
  Database database() const;
  std::size_t fieldCount() const;
  const FieldDef& fieldDef(std::size_t position) const;

  // Later moves follow that index's order; seeks use it. "" goes back to the stored order.
  void setIndex(const std::string& index);
  const std::string& index() const;

  // Makes the first record whose leading keys equal the values current; noMatch() tells whether
  // none did. Text keys compare without regard to letter case.
  void seek(const std::vector<Value>& keys);
  bool noMatch() const { return noMatch_; }

  void moveFirst();  // throws on an empty table, which is then at its end
  void moveNext();
  bool eof();

  // The current record's field (while editing, the value set so far).
  const Value& field(std::size_t position);
  const Value& field(std::string_view name);
  std::size_t fieldPosition(std::string_view name) const;  // throws when absent

  void edit();
  void addNew();
  void setField(std::size_t position, const Value& value);
  void setField(std::string_view name, const Value& value);
  void update();  // after addNew, the record that was current before stays current
  void cancelUpdate();
  void remove();  // moveNext then goes on with the following record

 private:
  friend class Database;
  struct Row {
    std::int64_t rowid = 0;
    std::vector<Value> values;
  };
  enum class State { Unresolved, OnRecord, Deleted, NoCurrent, End };
  enum class Mode { None, Edit, AddNew };

  Table(std::shared_ptr<detail::Connection> connection,
        std::shared_ptr<const detail::TableInfo> info);
  detail::Connection& connection() const;
  void resolve();
  void refreshIfStale();
  void markFresh();
  bool stale() const;
  void requireCurrent() const;
  std::string orderBy() const;
  // Reads the rows that the clauses (after "FROM table") select into the batch at `into`;
  // returns the number read.
  std::size_t fill(const std::string& clauses, const std::vector<Value>& binds, std::size_t limit,
                   std::size_t into);
  std::size_t fillByColumns(const std::string& packedSql, const std::vector<Value>& binds,
                            std::size_t limit, std::size_t into);
  void fetchFirst(std::size_t limit);
  void fetchAfter(const Row& anchor, std::size_t limit);
  bool rereadCurrent();
  std::string updateSql(Mode mode, const std::vector<std::size_t>& changed) const;
  void keepOnlyCurrent();

  std::shared_ptr<detail::Connection> connection_;
  std::shared_ptr<const detail::TableInfo> info_;
  const detail::IndexInfo* index_ = nullptr;
  std::string indexName_;
  std::uint64_t* tableCounter_ = nullptr;
  std::uint64_t seenTable_ = 0;
  std::uint64_t seenAll_ = 0;

  std::vector<Row> batch_;
  std::size_t count_ = 0;  // rows of batch_ in use
  std::size_t pos_ = 0;
  bool batchReachesEnd_ = false;
  std::size_t nextLimit_ = 64;
  State state_ = State::Unresolved;
  bool noMatch_ = false;

  Mode mode_ = Mode::None;
  std::vector<Value> buffer_;
  std::vector<bool> dirty_;

  // The texts of the last statements built: walks and runs of updates repeat them record after
  // record, so each is built once.
  struct SqlText {
    std::string key;
    std::string sql;
  };
  SqlText fillSql_, seekSql_, updateSql_;
  Mode updateMode_ = Mode::None;
  std::vector<bool> updateDirty_;
};

// Moves to the first record; an empty table is no failure (the cursor is then at its end).
void moveToFirst(Table& table);

}  // namespace store
