#include "recorder.h"

#include <cstring>
#include <exception>

#include "names.h"
#include "store/history.h"
#include "stored.h"

namespace store::history {

namespace {

std::uint64_t key(std::size_t table, std::int64_t rowid) {
  return (static_cast<std::uint64_t>(table) << 48) ^ static_cast<std::uint64_t>(rowid);
}

}  // namespace

bool unrecorded(const char* table) {
  return isHistoryTable(table) || std::strncmp(table, "sqlite_", 7) == 0;
}

std::uint64_t recordHash(const std::vector<Value>& fields) {
  std::uint64_t hash = 0;
  for (std::size_t i = 0; i < fields.size(); ++i) hash += fieldHash(i, valueHash(fields[i]));
  return hash;
}

Recorder::Recorder(sqlite3* db) : db_(db) { sqlite3_preupdate_hook(db_, &Recorder::hook, this); }

Recorder::~Recorder() { detach(); }

bool Recorder::detach() {
  if (attached_) {
    sqlite3_preupdate_hook(db_, nullptr, nullptr);
    attached_ = false;
  }
  return failure_.empty();
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

std::size_t Recorder::tableIndex(const char* name) {
  if (name == lastName_) return lastTable_;
  std::size_t found = tables_.size();
  for (std::size_t i = 0; i < tables_.size(); ++i) {
    if (tables_[i].name == name) found = i;
  }
  if (found == tables_.size()) {
    RecordedTable table{name, static_cast<std::size_t>(sqlite3_preupdate_count(db_)), 0};
    for (std::size_t i = 0; i < table.fields; ++i) table.nullHash += fieldHash(i, valueHash(Value()));
    tables_.push_back(std::move(table));
  }
  lastName_ = name;
  lastTable_ = found;
  return found;
}

bool Recorder::hintFor(const char* table, bool insert) const {
  return hint_.table && hint_.insert == insert && *hint_.table == table;
}

void Recorder::record(int op, const char* table, sqlite3_int64 oldRowid, sqlite3_int64 newRowid) {
  const std::size_t t = tableIndex(table);
  switch (op) {
    case SQLITE_INSERT:
      inserted(t, newRowid, insertedHash(t));
      if (hint_.keyFields) changes_[index_[key(t, newRowid)]].key = insertedKey(t);
      return;
    case SQLITE_DELETE: deleted(t, oldRowid); return;
    case SQLITE_UPDATE:
      if (oldRowid == newRowid) {
        updated(t, oldRowid);
      } else {  // a record that moves: it leaves its old place and takes a new one
        std::uint64_t hash = 0;
        for (std::size_t i = 0; i < tables_[t].fields; ++i) {
          sqlite3_value* value = nullptr;
          sqlite3_preupdate_new(db_, static_cast<int>(i), &value);
          hash += fieldHash(i, valueHash(value));
        }
        deleted(t, oldRowid);
        inserted(t, newRowid, hash);
      }
      return;
    default: return;
  }
}

// The new record's hash from the values the store writes, or read from the engine for a write
// that came without them.
std::uint64_t Recorder::insertedHash(std::size_t table) {
  const RecordedTable& def = tables_[table];
  if (hintFor(def.name.c_str(), true) && hint_.values) {
    if (!hint_.positions) return recordHash(*hint_.values);
    std::uint64_t hash = def.nullHash;
    const std::uint64_t null = valueHash(Value());
    for (std::size_t k = 0; k < hint_.positions->size(); ++k) {
      const std::size_t position = (*hint_.positions)[k];
      hash += fieldHash(position, valueHash((*hint_.values)[k])) - fieldHash(position, null);
    }
    return hash;
  }
  std::uint64_t hash = 0;
  for (std::size_t i = 0; i < def.fields; ++i) {
    sqlite3_value* value = nullptr;
    sqlite3_preupdate_new(db_, static_cast<int>(i), &value);
    hash += fieldHash(i, valueHash(value));
  }
  return hash;
}

// The key fields' values of the record being added, from the values the store writes.
std::vector<Value> Recorder::insertedKey(std::size_t table) const {
  std::vector<Value> out;
  if (!hintFor(tables_[table].name.c_str(), true) || !hint_.values) return out;
  for (std::size_t field : *hint_.keyFields) {
    if (!hint_.positions) {
      if (field < hint_.values->size()) out.push_back((*hint_.values)[field]);
      continue;
    }
    Value value;
    for (std::size_t k = 0; k < hint_.positions->size(); ++k) {
      if ((*hint_.positions)[k] == field) value = (*hint_.values)[k];
    }
    out.push_back(std::move(value));
  }
  return out;
}

std::vector<Value> Recorder::oldRecord() {
  const int count = sqlite3_preupdate_count(db_);
  std::vector<Value> record;
  record.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    sqlite3_value* value = nullptr;
    sqlite3_preupdate_old(db_, i, &value);
    record.push_back(storedValue(value));
  }
  return record;
}

// The fields an update sets: those the store names, or, for a write without a hint, those whose
// values differ.
std::vector<FieldChange> Recorder::updatedFields(std::size_t table) {
  std::vector<FieldChange> fields;
  if (hintFor(tables_[table].name.c_str(), false) && hint_.positions) {
    fields.reserve(hint_.positions->size());
    for (std::size_t k = 0; k < hint_.positions->size(); ++k) {
      const int position = static_cast<int>((*hint_.positions)[k]);
      sqlite3_value* before = nullptr;
      sqlite3_preupdate_old(db_, position, &before);
      FieldChange change{static_cast<std::size_t>(position), storedValue(before), Value()};
      if (hint_.values) {
        change.after = (*hint_.values)[k];
      } else {
        sqlite3_value* after = nullptr;
        sqlite3_preupdate_new(db_, position, &after);
        change.after = storedValue(after);
      }
      fields.push_back(std::move(change));
    }
    return fields;
  }
  for (std::size_t i = 0; i < tables_[table].fields; ++i) {
    sqlite3_value* before = nullptr;
    sqlite3_value* after = nullptr;
    sqlite3_preupdate_old(db_, static_cast<int>(i), &before);
    sqlite3_preupdate_new(db_, static_cast<int>(i), &after);
    if (valueHash(before) == valueHash(after) &&
        sqlite3_value_type(before) == sqlite3_value_type(after)) {
      continue;
    }
    fields.push_back({i, storedValue(before), storedValue(after)});
  }
  return fields;
}

Change& Recorder::entry(std::size_t table, std::int64_t rowid) {
  auto [found, added] = index_.try_emplace(key(table, rowid), changes_.size());
  if (added) {
    Change change;
    change.table = table;
    change.rowid = rowid;
    change.order = order_++;
    changes_.push_back(std::move(change));
  }
  return changes_[found->second];
}

void Recorder::inserted(std::size_t table, std::int64_t rowid, std::uint64_t hash) {
  Change& change = entry(table, rowid);
  change.afterHash = hash;
  // A record deleted earlier in the run whose place is taken again is a replaced one.
  change.kind = change.kind == Change::Kind::Deleted ? Change::Kind::Replaced : Change::Kind::Inserted;
}

void Recorder::deleted(std::size_t table, std::int64_t rowid) {
  Change& change = entry(table, rowid);
  switch (change.kind) {
    case Change::Kind::Inserted: change.kind = Change::Kind::Gone; return;  // never was
    case Change::Kind::Replaced: change.kind = Change::Kind::Deleted; return;
    case Change::Kind::Updated: {
      std::vector<Value> before = oldRecord();
      for (const FieldChange& field : change.fields) before[field.position] = field.before;
      change.before = std::move(before);
      change.fields.clear();
      change.kind = Change::Kind::Deleted;
      return;
    }
    default:
      change.before = oldRecord();
      change.kind = Change::Kind::Deleted;
  }
}

void Recorder::updated(std::size_t table, std::int64_t rowid) {
  std::vector<FieldChange> fields = updatedFields(table);
  Change& change = entry(table, rowid);
  switch (change.kind) {
    case Change::Kind::Inserted:
    case Change::Kind::Replaced:
      for (const FieldChange& field : fields) {
        change.afterHash += fieldHash(field.position, valueHash(field.after)) -
                            fieldHash(field.position, valueHash(field.before));
      }
      return;
    case Change::Kind::Updated:
      for (FieldChange& field : fields) {
        bool merged = false;
        for (FieldChange& earlier : change.fields) {
          if (earlier.position == field.position) {
            earlier.after = std::move(field.after);
            merged = true;
          }
        }
        if (!merged) change.fields.push_back(std::move(field));
      }
      return;
    default:
      change.fields = std::move(fields);
      change.kind = Change::Kind::Updated;
  }
}

std::vector<const Change*> Recorder::changes() const {
  std::vector<const Change*> out;
  out.reserve(changes_.size());
  for (const Change& change : changes_) {
    if (change.kind != Change::Kind::Gone) out.push_back(&change);
  }
  return out;
}

}  // namespace store::history
