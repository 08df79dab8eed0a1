// Undoing a run: its records are checked against what the run left in them, then put back, table
// by table: the records it added are removed, those it replaced or changed get their old fields
// back, and those it deleted return to their places in the stored order.
#include <algorithm>
#include <map>
#include <stdexcept>

#include "log.h"
#include "stored.h"
#include "store/connection.h"
#include "store/history.h"

namespace store {

using detail::Connection;
using detail::quote;
using detail::StatementUse;
using history::Change;

namespace {

// A reason not to undo; everything done so far is rolled back.
class Refusal : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

bool same(const Value& a, sqlite3_value* b) {
  return history::valueHash(a) == history::valueHash(b) &&
         a.isNull() == (sqlite3_value_type(b) == SQLITE_NULL);
}

class TableUndo {
 public:
  TableUndo(Connection& c, const history::TablePart& part) : c_(c), part_(part) {
    try {
      info_ = c_.table(part.table);
    } catch (const Error&) {
      throw Refusal("the table \"" + part.table + "\" is no longer in the database");
    }
    for (const Change& change : part.changes) {
      const std::size_t fields = change.before.size();
      if (fields != 0 && fields != info_->def.fields.size()) {
        throw Refusal("the fields of the table \"" + part.table + "\" have changed since the run");
      }
    }
  }

  // Every record the run added or replaced is still as the run left it, and every record it
  // changed still holds what the run wrote.
  void check() {
    std::vector<const Change*> whole;
    for (const Change& change : part_.changes) {
      if (change.kind == Change::Kind::Inserted || change.kind == Change::Kind::Replaced) {
        whole.push_back(&change);
      } else if (change.kind == Change::Kind::Updated) {
        checkFields(change);
      }
    }
    std::sort(whole.begin(), whole.end(),
              [](const Change* a, const Change* b) { return a->rowid < b->rowid; });
    for (std::size_t first = 0; first < whole.size();) {
      std::size_t last = first;
      while (last + 1 < whole.size() && whole[last + 1]->rowid == whole[last]->rowid + 1) ++last;
      checkWhole(whole, first, last);
      first = last + 1;
    }
  }

  void undo() {
    std::vector<std::int64_t> added;
    for (const Change& change : part_.changes) {
      if (change.kind == Change::Kind::Inserted) added.push_back(change.rowid);
    }
    std::sort(added.begin(), added.end());
    for (std::size_t first = 0; first < added.size();) {
      std::size_t last = first;
      while (last + 1 < added.size() && added[last + 1] == added[last] + 1) ++last;
      removeRange(added[first], added[last]);
      first = last + 1;
    }
    for (auto change = part_.changes.rbegin(); change != part_.changes.rend(); ++change) {
      if (change->kind == Change::Kind::Replaced) restoreWhole(*change);
      if (change->kind == Change::Kind::Updated) restoreFields(*change);
    }
    std::vector<const Change*> deleted;
    for (const Change& change : part_.changes) {
      if (change.kind == Change::Kind::Deleted) deleted.push_back(&change);
    }
    std::sort(deleted.begin(), deleted.end(),
              [](const Change* a, const Change* b) { return a->rowid < b->rowid; });
    for (const Change* change : deleted) putBack(*change);
  }

 private:
  const std::string& name() const { return info_->def.name; }

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

  std::string keyText(const std::vector<Value>& key, std::int64_t rowid) const {
    if (key.empty()) return place(rowid);
    std::string text;
    for (const Value& value : key) text += (text.empty() ? "" : ", ") + value.toText();
    return "\"" + text + "\"";
  }

  std::vector<Value> current(std::int64_t rowid) {
    StatementUse use(c_.statement("SELECT " + info_->selectList + " FROM " + info_->quotedName +
                                  " WHERE " + info_->rowidName + " = ?1"));
    sqlite3_bind_int64(use.get(), 1, rowid);
    std::vector<Value> record;
    const int rc = sqlite3_step(use.get());
    if (rc == SQLITE_ROW) {
      for (std::size_t i = 0; i < info_->def.fields.size(); ++i) {
        record.push_back(history::storedValue(sqlite3_column_value(use.get(), static_cast<int>(i + 1))));
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

  [[noreturn]] void goneSince(const Change& change) {
    std::vector<Value> record = change.before;
    if (change.kind == Change::Kind::Updated) {
      record.assign(info_->def.fields.size(), Value());
      for (const history::FieldChange& field : change.fields) {
        if (field.position < record.size()) record[field.position] = field.after;
      }
    }
    const std::string key = change.kind == Change::Kind::Deleted ||
                                    change.kind == Change::Kind::Replaced || change.key.empty()
                                ? keyOf(record, change.rowid)
                                : keyText(change.key, change.rowid);
    throw Refusal("the record " + key + " of the table \"" + name() +
                  "\" is no longer in the database");
  }

  void checkWhole(const std::vector<const Change*>& changes, std::size_t first, std::size_t last) {
    StatementUse use(c_.statement("SELECT " + info_->selectList + " FROM " + info_->quotedName +
                                  " WHERE " + info_->rowidName + " BETWEEN ?1 AND ?2 ORDER BY " +
                                  info_->rowidName));
    sqlite3_bind_int64(use.get(), 1, changes[first]->rowid);
    sqlite3_bind_int64(use.get(), 2, changes[last]->rowid);
    const int fields = static_cast<int>(info_->def.fields.size());
    std::size_t next = first;
    int rc;
    while ((rc = sqlite3_step(use.get())) == SQLITE_ROW) {
      const std::int64_t rowid = sqlite3_column_int64(use.get(), 0);
      if (rowid != changes[next]->rowid) goneSince(*changes[next]);
      std::uint64_t hash = 0;
      for (int i = 0; i < fields; ++i) {
        hash += history::fieldHash(static_cast<std::size_t>(i),
                                   history::valueHash(sqlite3_column_value(use.get(), i + 1)));
      }
      if (hash != changes[next]->afterHash) changedSince(rowid);
      ++next;
    }
    if (rc != SQLITE_DONE) c_.fail(rc);
    if (next <= last) goneSince(*changes[next]);
  }

  std::string fieldList(const Change& change) const {
    std::string list;
    for (const history::FieldChange& field : change.fields) {
      if (field.position >= info_->def.fields.size()) {
        throw Refusal("the fields of the table \"" + name() + "\" have changed since the run");
      }
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

  void removeRange(std::int64_t first, std::int64_t last) {
    StatementUse use(c_.statement("DELETE FROM " + info_->quotedName + " WHERE " +
                                  info_->rowidName + " BETWEEN ?1 AND ?2"));
    sqlite3_bind_int64(use.get(), 1, first);
    sqlite3_bind_int64(use.get(), 2, last);
    const int rc = sqlite3_step(use.get());
    if (rc != SQLITE_DONE) c_.fail(rc);
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
      key[field.position] = field.before;
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
    StatementUse use(c_.statement("INSERT INTO " + info_->quotedName + " (" + names +
                                  ") VALUES (" + params + ")"));
    sqlite3_bind_int64(use.get(), 1, change.rowid);
    for (std::size_t i = 0; i < change.before.size(); ++i) {
      detail::bindValue(use.get(), static_cast<int>(i + 2), change.before[i]);
    }
    write(use.get(), change.before);
  }

  Connection& c_;
  const history::TablePart& part_;
  std::shared_ptr<const detail::TableInfo> info_;
};

// A table's changes may lie in several parts; each table is undone as one.
std::vector<history::TablePart> byTable(std::vector<history::TablePart> parts) {
  std::vector<history::TablePart> tables;
  for (history::TablePart& part : parts) {
    auto found = std::find_if(tables.begin(), tables.end(),
                              [&](const history::TablePart& t) { return t.table == part.table; });
    if (found == tables.end()) {
      tables.push_back(std::move(part));
    } else {
      for (Change& change : part.changes) found->changes.push_back(std::move(change));
    }
  }
  return tables;
}

}  // namespace

std::vector<RunInfo> listRuns(const Database& db) {
  return history::readRuns(db.connection(), false);
}

std::optional<RunInfo> latestUndoable(const Database& db) {
  std::vector<RunInfo> runs = history::readRuns(db.connection(), true);
  if (runs.empty()) return std::nullopt;
  return runs.front();
}

UndoResult undoLatest(Database& db) {
  UndoResult result;
  Connection& c = db.connection();
  if (c.recorder) throw Error(code::misuse, "An undo cannot run inside a run.");
  try {
    db.begin();
  } catch (const Error& error) {
    result.refusal = (error.code() & 0xFF) == code::busy
                         ? "Another program is writing to the database; nothing was undone. "
                           "Try again when it has finished."
                         : std::string("The database cannot be changed: ") + error.what();
    return result;
  }
  try {
    result.run = latestUndoable(db);
    if (!result.run) {
      db.rollback();
      result.refusal = "There is nothing to undo.";
      return result;
    }
    const std::vector<history::TablePart> tables =
        byTable(history::readChanges(c, result.run->number));
    std::vector<TableUndo> undos;
    for (const history::TablePart& part : tables) undos.emplace_back(c, part);
    for (TableUndo& undo : undos) undo.check();
    for (TableUndo& undo : undos) undo.undo();
    history::markUndone(c, result.run->number);
    c.touchAll();
    db.commit();
    result.undone = true;
  } catch (const Refusal& refusal) {
    db.rollback();
    result.refusal = "Run " + std::to_string(result.run->number) + " cannot be undone: " +
                     refusal.what() + ". Nothing was changed.";
  } catch (const Error& error) {
    db.rollback();
    result.refusal = std::string("The run could not be undone, and nothing was changed: ") +
                     error.what();
  }
  return result;
}

}  // namespace store
