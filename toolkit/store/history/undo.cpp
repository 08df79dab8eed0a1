// Undoing a run: its records are checked against what the run left in them, then put back, table
// by table: the records it added are removed, those it replaced or changed get their old fields
// back, and those it deleted return to their places in the stored order.
#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "added_check.h"
#include "log.h"
#include "store/engine/access.h"
#include "store/engine/connection.h"
#include "store/history.h"
#include "stored.h"

namespace store {

using detail::Connection;
using detail::quote;
using detail::StatementUse;
using history::Added;
using history::Change;

namespace {

// A reason not to undo; everything done so far is rolled back.
class Refusal : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A sentence of the store as the middle of a refusal: without its capital and its full stop.
std::string reasonOf(std::string sentence) {
  if (!sentence.empty() && sentence.back() == '.') sentence.pop_back();
  if (!sentence.empty())
    sentence[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(sentence[0])));
  return sentence;
}

bool same(const Value& a, sqlite3_value* b) {
  return history::valueHash(a) == history::valueHash(b) &&
         a.isNull() == (sqlite3_value_type(b) == SQLITE_NULL);
}

class TableUndo {
 public:
  // Reads the table's part of the run and proves its shape before anything is written.
  TableUndo(Connection& c, const history::TablePart& part) : c_(c), part_(&part) {
    history::readPart(part.bytes, added_, others_, part.counts.added);
    history::checkCounts(part, added_, others_);
    try {
      info_ = c_.table(part.table);
    } catch (const Error&) {
      throw Refusal("the table \"" + part.table + "\" is no longer in the database");
    }
    const std::size_t width = info_->def.fields.size();
    for (const Change& change : others_) {
      if (change.kind == Change::Kind::Updated) {
        if (change.fields.empty())
          history::damaged("a changed record of \"" + name() + "\" lists no field");
        std::vector<char> seen(width, 0);
        for (const history::FieldChange& field : change.fields) {
          if (field.position >= width) refuseFields();
          if (seen[field.position]++) {
            history::damaged("a changed record of \"" + name() + "\" lists one field twice");
          }
        }
      } else if (change.before.size() != width) {
        refuseFields();
      }
    }
  }

  // Every record the run replaced is still as the run left it, and every record it changed
  // still holds what the run wrote. The records it added are checked as they are removed.
  void check() {
    std::vector<const Change*> replaced;
    for (const Change& change : others_) {
      if (change.kind == Change::Kind::Updated) checkFields(change);
      if (change.kind == Change::Kind::Replaced) replaced.push_back(&change);
    }
    for (const Change* change : replaced) checkWhole(*change);
  }

  void undo() {
    for (std::size_t first = 0; first < added_.size();) {
      std::size_t last = first;
      while (last + 1 < added_.size() && next(added_[last], added_[last + 1])) ++last;
      removeAdded(first, last);
      first = last + 1;
    }
    for (auto change = others_.rbegin(); change != others_.rend(); ++change) {
      if (change->kind == Change::Kind::Replaced) restoreWhole(*change);
      if (change->kind == Change::Kind::Updated) restoreFields(*change);
    }
    for (const Change& change : others_) {
      if (change.kind == Change::Kind::Deleted) putBack(change);  // in the order of their places
    }
  }

 private:
  const std::string& name() const { return info_ ? info_->def.name : part_->table; }

  // Places in turn; their difference is taken unsigned, so no pair of them overflows.
  static bool next(const Added& a, const Added& b) {
    return static_cast<std::uint64_t>(b.rowid) - static_cast<std::uint64_t>(a.rowid) == 1;
  }

  std::vector<Value> keyOfAdded(const Added& record) const {
    return history::unpackValues(
        std::string_view(part_->bytes).substr(record.keyBegin, record.keyEnd - record.keyBegin));
  }

  [[noreturn]] void refuseFields() const {
    throw Refusal("the fields of the table \"" + name() + "\" have changed since the run");
  }

  static std::string place(std::int64_t rowid) {
    return "at place " + std::to_string(rowid) + " in the stored order";
  }

  // The record's key as the user knows it, from its fields by position; else its place.
  std::string keyOf(const std::vector<Value>& record, std::int64_t rowid) const {
    if (info_->keyFields.empty() || record.empty()) return place(rowid);
    std::string key;
    bool known = false;
    for (std::size_t position : info_->keyFields) {
      if (!key.empty()) key += ", ";
      if (position >= record.size()) continue;
      known = known || !record[position].isNull();
      key += record[position].toText();
    }
    return known ? "\"" + key + "\"" : place(rowid);
  }

  static std::string keyText(const std::vector<Value>& key, std::int64_t rowid) {
    if (key.empty()) return place(rowid);
    std::string text;
    for (const Value& value : key) text += (text.empty() ? "" : ", ") + value.toText();
    return "\"" + text + "\"";
  }

  std::string selectOne() const {
    return "SELECT " + info_->selectList + " FROM " + info_->quotedName + " WHERE " +
           info_->rowidName + " = ?1";
  }

  std::vector<Value> current(std::int64_t rowid) {
    StatementUse use(c_.statement(selectOne()));
    sqlite3_bind_int64(use.get(), 1, rowid);
    std::vector<Value> record;
    const int rc = sqlite3_step(use.get());
    if (rc == SQLITE_ROW) {
      for (std::size_t i = 0; i < info_->def.fields.size(); ++i) {
        record.push_back(
            history::storedValue(sqlite3_column_value(use.get(), static_cast<int>(i + 1))));
      }
    } else if (rc != SQLITE_DONE) {
      c_.fail(rc);
    }
    return record;
  }

  [[noreturn]] void changedSince(std::int64_t rowid) {
    throw Refusal("the record " + keyOf(current(rowid), rowid) + " of the table \"" + name() +
                  "\" has changed since the run");
  }

  [[noreturn]] void goneSince(const std::string& key) {
    throw Refusal("the record " + key + " of the table \"" + name() +
                  "\" is no longer in the database");
  }

  [[noreturn]] void goneSince(const Change& change) {
    if (change.kind == Change::Kind::Updated && !change.key.empty()) {
      goneSince(keyText(change.key, change.rowid));
    }
    goneSince(keyOf(change.before, change.rowid));
  }

  std::uint64_t hashOf(sqlite3_stmt* row) const {
    std::uint64_t hash = 0;
    for (std::size_t i = 0; i < info_->def.fields.size(); ++i) {
      hash += history::fieldHash(
          i, history::valueHash(sqlite3_column_value(row, static_cast<int>(i + 1))));
    }
    return hash;
  }

  void checkWhole(const Change& change) {
    StatementUse use(c_.statement(selectOne()));
    sqlite3_bind_int64(use.get(), 1, change.rowid);
    const int rc = sqlite3_step(use.get());
    if (rc == SQLITE_DONE) goneSince(change);
    if (rc != SQLITE_ROW) c_.fail(rc);
    if (hashOf(use.get()) != change.afterHash) changedSince(change.rowid);
  }

  std::string fieldList(const Change& change) const {
    std::string list;
    for (const history::FieldChange& field : change.fields) {
      if (!list.empty()) list += ", ";
      list += quote(info_->def.fields[field.position].name);
    }
    return list;
  }

  void checkFields(const Change& change) {
    StatementUse use(c_.statement("SELECT " + fieldList(change) + " FROM " + info_->quotedName +
                                  " WHERE " + info_->rowidName + " = ?1"));
    sqlite3_bind_int64(use.get(), 1, change.rowid);
    const int rc = sqlite3_step(use.get());
    if (rc == SQLITE_DONE) goneSince(change);
    if (rc != SQLITE_ROW) c_.fail(rc);
    for (std::size_t k = 0; k < change.fields.size(); ++k) {
      if (!same(change.fields[k].after, sqlite3_column_value(use.get(), static_cast<int>(k)))) {
        changedSince(change.rowid);
      }
    }
  }

  void write(sqlite3_stmt* stmt, const std::vector<Value>& key) {
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) return;
    if ((rc & 0xFF) == SQLITE_CONSTRAINT) {
      throw Refusal("the record " + keyOf(key, 0) + " of the table \"" + name() +
                    "\" cannot be put back: another record now holds its key (" +
                    sqlite3_errmsg(c_.db()) + ")");
    }
    c_.fail(rc);
  }

  // Removes the added records first to last; each is checked as it goes, and a record that is
  // not as the run left it refuses the whole undo.
  void removeAdded(std::size_t first, std::size_t last) {
    history::AddedRange range;
    range.records = &added_[first];
    range.count = last - first + 1;
    range.part = part_->bytes;
    history::removeAdded(c_, *info_, range);
    if (range.changed != 0) {
      throw Refusal("the record " + keyOf(range.changedRecord, range.changed) + " of the table \"" +
                    name() + "\" has changed since the run");
    }
    for (std::size_t k = 0; k < range.count; ++k) {
      if (!range.seen[k]) {
        goneSince(keyText(keyOfAdded(added_[first + k]), added_[first + k].rowid));
      }
    }
  }

  void restoreWhole(const Change& change) {
    std::string sets;
    for (std::size_t i = 0; i < info_->def.fields.size(); ++i) {
      if (i > 0) sets += ", ";
      sets += quote(info_->def.fields[i].name) + " = ?" + std::to_string(i + 1);
    }
    StatementUse use(c_.statement("UPDATE " + info_->quotedName + " SET " + sets + " WHERE " +
                                  info_->rowidName + " = ?" +
                                  std::to_string(info_->def.fields.size() + 1)));
    for (std::size_t i = 0; i < change.before.size(); ++i) {
      detail::bindValue(use.get(), static_cast<int>(i + 1), change.before[i]);
    }
    sqlite3_bind_int64(use.get(), static_cast<int>(change.before.size() + 1), change.rowid);
    write(use.get(), change.before);
  }

  void restoreFields(const Change& change) {
    std::string sets;
    int param = 0;
    for (const history::FieldChange& field : change.fields) {
      if (!sets.empty()) sets += ", ";
      sets += quote(info_->def.fields[field.position].name) + " = ?" + std::to_string(++param);
    }
    StatementUse use(c_.statement("UPDATE " + info_->quotedName + " SET " + sets + " WHERE " +
                                  info_->rowidName + " = ?" + std::to_string(param + 1)));
    std::vector<Value> key = current(change.rowid);
    param = 0;
    for (const history::FieldChange& field : change.fields) {
      detail::bindValue(use.get(), ++param, field.before);
      if (field.position < key.size()) key[field.position] = field.before;
    }
    sqlite3_bind_int64(use.get(), param + 1, change.rowid);
    write(use.get(), key);
  }

  void putBack(const Change& change) {
    {
      StatementUse taken(c_.statement("SELECT 1 FROM " + info_->quotedName + " WHERE " +
                                      info_->rowidName + " = ?1"));
      sqlite3_bind_int64(taken.get(), 1, change.rowid);
      const int rc = sqlite3_step(taken.get());
      if (rc == SQLITE_ROW) {
        throw Refusal("the record " + keyOf(change.before, change.rowid) + " of the table \"" +
                      name() + "\" cannot be put back: another record, " +
                      keyOf(current(change.rowid), change.rowid) + ", now stands in its place");
      }
      if (rc != SQLITE_DONE) c_.fail(rc);
    }
    std::string names = info_->rowidName, params = "?1";
    for (std::size_t i = 0; i < info_->def.fields.size(); ++i) {
      names += ", " + quote(info_->def.fields[i].name);
      params += ", ?" + std::to_string(i + 2);
    }
    StatementUse use(c_.statement("INSERT INTO " + info_->quotedName + " (" + names + ") VALUES (" +
                                  params + ")"));
    sqlite3_bind_int64(use.get(), 1, change.rowid);
    for (std::size_t i = 0; i < change.before.size(); ++i) {
      detail::bindValue(use.get(), static_cast<int>(i + 2), change.before[i]);
    }
    write(use.get(), change.before);
  }

  Connection& c_;
  const history::TablePart* part_;
  std::shared_ptr<const detail::TableInfo> info_;
  std::vector<Added> added_;  // in the order of their places
  std::vector<Change> others_;
};

}  // namespace

std::vector<RunInfo> listRuns(const Database& db) {
  return history::readRuns(detail::Access::connection(db), false);
}

std::optional<RunInfo> latestUndoable(const Database& db) {
  std::vector<RunInfo> runs = history::readRuns(detail::Access::connection(db), true);
  if (runs.empty()) return std::nullopt;
  return runs.front();
}

UndoResult undoLatest(Database& db) {
  UndoResult result;
  Connection& c = detail::Access::connection(db);
  if (c.recorder) throw Error(code::misuse, "An undo cannot run inside a run.");
  try {
    db.begin();
  } catch (const Error& error) {
    result.failure =
        Error(error, (error.code() & 0xFF) == code::busy
                         ? "Another program is writing to the database; nothing was "
                           "undone. Try again when it has finished."
                         : std::string("The database cannot be changed: ") + error.what());
    return result;
  }
  try {
    result.run = latestUndoable(db);
    if (!result.run) {
      db.rollback();
      result.failure = Error(code::notFound, "There is nothing to undo.");
      return result;
    }
    std::vector<history::TablePart> parts;
    std::vector<TableUndo> tables;
    try {
      parts = history::readChanges(c, result.run->number);
      for (const history::TablePart& part : parts) tables.emplace_back(c, part);
    } catch (const Error& error) {
      if ((error.code() & 0xFF) != code::corrupt) throw;
      throw Refusal(reasonOf(error.what()));
    }
    for (TableUndo& table : tables) table.check();
    for (TableUndo& table : tables) table.undo();
    history::markUndone(c, result.run->number);
    c.touchAll();
    db.commit();
  } catch (const Refusal& refusal) {
    db.rollback();
    result.reason = refusal.what();
    result.failure = Error(code::constraint, "Run " + std::to_string(result.run->number) +
                                                 " cannot be undone: " + result.reason +
                                                 ". Nothing was changed.");
  } catch (const Error& error) {
    db.rollback();
    result.reason = reasonOf(error.what());
    result.failure =
        Error(error,
              std::string("The run could not be undone, and nothing was changed: ") + error.what());
  }
  return result;
}

}  // namespace store
