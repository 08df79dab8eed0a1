#include "recorder.h"

#include <cmath>
#include <cstring>
#include <exception>

#include "store/history.h"

namespace store::history {

bool unrecorded(const char* table) {
  return isHistoryTable(table) || std::strncmp(table, "sqlite_", 7) == 0;
}

namespace {

// Whether the engine keeps `after`, a value the store writes, as it keeps `before` already: the
// same whole number (a whole double is written as one), the same double to the bit, the same
// bytes, or null for null.
bool sameStored(sqlite3_value* before, const Value& after) {
  const int type = sqlite3_value_type(before);
  switch (after.kind()) {
    case Value::Kind::Null: return type == SQLITE_NULL;
    case Value::Kind::Integer:
    case Value::Kind::Boolean:
    case Value::Kind::Currency:
      return type == SQLITE_INTEGER && sqlite3_value_int64(before) == after.integer();
    case Value::Kind::Double: {
      const double d = after.number();
      if (type == SQLITE_INTEGER) {
        return d == std::trunc(d) && std::fabs(d) < 9.2e18 &&
               static_cast<std::int64_t>(d) == sqlite3_value_int64(before) && !std::signbit(d);
      }
      if (type != SQLITE_FLOAT) return false;
      const double b = sqlite3_value_double(before);
      return std::memcmp(&b, &d, sizeof d) == 0;
    }
    default:
      return type != SQLITE_NULL && valueHash(before) == valueHash(after) &&
             (type == SQLITE_BLOB) == (after.kind() == Value::Kind::Binary);
  }
}

}  // namespace

Recorder::Recorder(sqlite3* db) : db_(db) { sqlite3_preupdate_hook(db_, &Recorder::hook, this); }

Recorder::~Recorder() { detach(); }

bool Recorder::detach() {
  if (attached_) {
    sqlite3_preupdate_hook(db_, nullptr, nullptr);
    attached_ = false;
  }
  return failure_.empty();
}

bool Recorder::empty() const {
  for (const TableLog& table : tables_) {
    if (!table.index.empty()) return false;
  }
  return true;
}

void Recorder::hook(void* self, sqlite3*, int op, const char* database, const char* table,
                    sqlite3_int64 oldRowid, sqlite3_int64 newRowid) {
  auto* recorder = static_cast<Recorder*>(self);
  if (std::strcmp(database, "main") != 0 || unrecorded(table) || !recorder->failure_.empty()) {
    return;
  }
  // Nothing may be thrown into the engine: a failure is kept, and the run is then refused.
  try {
    recorder->record(op, table, oldRowid, newRowid);
  } catch (const std::exception& error) {
    recorder->failure_ = error.what();
  } catch (...) {
    recorder->failure_ = "the change could not be recorded";
  }
}

TableLog& Recorder::log(const char* name) {
  if (name != lastName_) {
    lastTable_ = tables_.size();
    for (std::size_t i = 0; i < tables_.size(); ++i) {
      if (tables_[i].name == name) lastTable_ = i;
    }
    if (lastTable_ == tables_.size()) {
      TableLog table;
      table.name = name;
      table.fields = static_cast<std::size_t>(sqlite3_preupdate_count(db_));
      for (std::size_t i = 0; i < table.fields; ++i) table.nullHash += fieldHash(i, nullValueHash);
      tables_.push_back(std::move(table));
    }
    lastName_ = name;
  }
  return tables_[lastTable_];
}

bool Recorder::hintFor(const TableLog& table, bool insert) const {
  return hint_.table && hint_.insert == insert && *hint_.table == table.name;
}

void Recorder::record(int op, const char* name, sqlite3_int64 oldRowid, sqlite3_int64 newRowid) {
  TableLog& table = log(name);
  switch (op) {
    case SQLITE_INSERT: inserted(table, newRowid, true); return;
    case SQLITE_DELETE: deleted(table, oldRowid); return;
    case SQLITE_UPDATE:
      if (oldRowid == newRowid) {
        updated(table, oldRowid);
      } else {  // a record that moves: it leaves its old place and takes a new one
        deleted(table, oldRowid);
        inserted(table, newRowid, false);
      }
      return;
    default: return;
  }
}

void Recorder::begin(TableLog& table, Packed kind, std::int64_t rowid) {
  const std::size_t at = table.events.bytes().size();
  if (!table.index.empty()) {
    table.index.back().end = at;
    if (rowid <= table.index.back().rowid) table.ordered = false;
  }
  table.index.push_back({rowid, at, at, kind});
}

// The new record's hash from the values the store writes, or read from the engine for a write
// that came without them; then the key it is known by, when the store said.
void Recorder::inserted(TableLog& table, std::int64_t rowid, bool fromHint) {
  std::uint64_t hash = 0;
  const bool hinted = fromHint && hintFor(table, true) && hint_.values;
  if (hinted && hint_.insertHash) {
    hash = table.nullHash + *hint_.insertHash;
  } else if (hinted && !hint_.positions) {
    for (std::size_t i = 0; i < hint_.values->size(); ++i) {
      hash += fieldHash(i, valueHash((*hint_.values)[i]));
    }
  } else if (hinted) {
    hash = table.nullHash;
    for (std::size_t k = 0; k < hint_.positions->size(); ++k) {
      const std::size_t position = (*hint_.positions)[k];
      hash +=
          fieldHash(position, valueHash((*hint_.values)[k])) - fieldHash(position, nullValueHash);
    }
  } else {
    for (std::size_t i = 0; i < table.fields; ++i) {
      sqlite3_value* value = nullptr;
      sqlite3_preupdate_new(db_, static_cast<int>(i), &value);
      hash += fieldHash(i, valueHash(value));
    }
  }
  if (hinted) hash += defaultsHash(table);
  begin(table, kInserted, rowid);
  table.events.word(hash);
  if (!hinted || !hint_.keyFields) {
    table.events.number(0);
  } else if (hint_.keyIndexes) {
    table.events.number(hint_.keyIndexes->size());
    for (std::size_t k : *hint_.keyIndexes) {
      table.events.value(k < hint_.values->size() ? (*hint_.values)[k] : Value());
    }
  } else {
    table.events.number(hint_.keyFields->size());
    for (std::size_t field : *hint_.keyFields) {
      const Value* value = nullptr;
      if (!hint_.positions) {
        if (field < hint_.values->size()) value = &(*hint_.values)[field];
      } else {
        for (std::size_t k = 0; k < hint_.positions->size(); ++k) {
          if ((*hint_.positions)[k] == field) value = &(*hint_.values)[k];
        }
      }
      table.events.value(value ? *value : Value());
    }
  }
  ++table.added;
}

// A field that the hint leaves null may take its table's default (a converted Jet file gives
// its Yes/No fields No): what the engine holds in it is added to the hash in place of the null.
std::uint64_t Recorder::defaultsHash(const TableLog& table) {
  std::size_t given = 0;
  for (const Value& value : *hint_.values) given += value.isNull() ? 0 : 1;
  if (given >= table.fields) return 0;  // every field has a value of its own
  hinted_.assign(table.fields, false);
  for (std::size_t k = 0; k < hint_.values->size(); ++k) {
    const std::size_t field = hint_.positions ? (*hint_.positions)[k] : k;
    if (field < table.fields && !(*hint_.values)[k].isNull()) hinted_[field] = true;
  }
  std::uint64_t hash = 0;
  for (std::size_t i = 0; i < table.fields; ++i) {
    if (hinted_[i]) continue;
    sqlite3_value* value = nullptr;
    sqlite3_preupdate_new(db_, static_cast<int>(i), &value);
    if (value && sqlite3_value_type(value) != SQLITE_NULL) {
      hash += fieldHash(i, valueHash(value)) - fieldHash(i, nullValueHash);
    }
  }
  return hash;
}

void Recorder::deleted(TableLog& table, std::int64_t rowid) {
  begin(table, kDeleted, rowid);
  table.events.number(table.fields);
  for (std::size_t i = 0; i < table.fields; ++i) {
    sqlite3_value* value = nullptr;
    sqlite3_preupdate_old(db_, static_cast<int>(i), &value);
    table.events.value(value);
  }
  ++table.removed;
}

// The fields an update sets, each with what it held and what it gets: those the store names, or,
// for a write without a hint, those whose values differ.
// A field set to what it held already is no change; an update that changes nothing leaves no
// event.
void Recorder::updated(TableLog& table, std::int64_t rowid) {
  std::vector<int>& differing = changedFields_;
  differing.clear();
  const bool hinted = hintFor(table, false) && hint_.positions;
  if (hinted) {
    std::vector<sqlite3_value*>& olds = oldValues_;
    olds.clear();
    for (std::size_t k = 0; k < hint_.positions->size(); ++k) {
      sqlite3_value* before = nullptr;
      sqlite3_preupdate_old(db_, static_cast<int>((*hint_.positions)[k]), &before);
      if (!hint_.values || !sameStored(before, (*hint_.values)[k])) {
        differing.push_back(static_cast<int>(k));
        olds.push_back(before);
      }
    }
    if (differing.empty()) return;
    begin(table, kUpdated, rowid);
    ++table.changed;
    table.events.number(differing.size());
    for (std::size_t d = 0; d < differing.size(); ++d) {
      const auto k = static_cast<std::size_t>(differing[d]);
      const int position = static_cast<int>((*hint_.positions)[k]);
      table.events.number(static_cast<std::uint64_t>(position));
      table.events.value(olds[d]);
      if (hint_.values) {
        table.events.value((*hint_.values)[k]);
      } else {
        sqlite3_value* after = nullptr;
        sqlite3_preupdate_new(db_, position, &after);
        table.events.value(after);
      }
    }
    updatedKey(table);
    return;
  }
  for (std::size_t i = 0; i < table.fields; ++i) {
    sqlite3_value* before = nullptr;
    sqlite3_value* after = nullptr;
    sqlite3_preupdate_old(db_, static_cast<int>(i), &before);
    sqlite3_preupdate_new(db_, static_cast<int>(i), &after);
    if (sqlite3_value_type(before) != sqlite3_value_type(after) ||
        valueHash(before) != valueHash(after)) {
      differing.push_back(static_cast<int>(i));
    }
  }
  if (differing.empty()) return;
  begin(table, kUpdated, rowid);
  ++table.changed;
  table.events.number(differing.size());
  for (int position : differing) {
    sqlite3_value* before = nullptr;
    sqlite3_value* after = nullptr;
    sqlite3_preupdate_old(db_, position, &before);
    sqlite3_preupdate_new(db_, position, &after);
    table.events.number(static_cast<std::uint64_t>(position));
    table.events.value(before);
    table.events.value(after);
  }
  updatedKey(table);
}

// The key an updated record was known by before the update, when the store said which fields
// make it.
void Recorder::updatedKey(TableLog& table) {
  if (!hint_.table || *hint_.table != table.name || !hint_.keyFields) {
    table.events.number(0);
    return;
  }
  table.events.number(hint_.keyFields->size());
  for (std::size_t field : *hint_.keyFields) {
    sqlite3_value* value = nullptr;
    sqlite3_preupdate_old(db_, static_cast<int>(field), &value);
    table.events.value(value);
  }
}

}  // namespace store::history
