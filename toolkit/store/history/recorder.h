// Internal: records every record that a run inserts, updates or deletes, through the engine's
// pre-update hook, so that no write of the run escapes it. Each record is kept once, by table and
// stored position (rowid), with what it was before the run and what the run left in it.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/value.h"

namespace store::history {

// One field a run changed in a record that existed before and after it.
struct FieldChange {
  std::size_t position;
  Value before;  // as stored
  Value after;
};

struct Change {
  enum class Kind : std::uint8_t { Inserted, Deleted, Updated, Replaced, Gone };
  Kind kind = Kind::Gone;
  std::size_t table = 0;
  std::int64_t rowid = 0;
  std::uint64_t order = 0;         // of the record's first change in the run
  std::vector<Value> before;        // Deleted, Replaced: every field as stored
  std::vector<FieldChange> fields;  // Updated
  std::uint64_t afterHash = 0;      // Inserted, Replaced: the record as the run left it
  std::vector<Value> key;           // Inserted: the fields it is known by, when the store said
};

struct RecordedTable {
  std::string name;
  std::size_t fields = 0;
  std::uint64_t nullHash = 0;  // the hash of a record with every field null
};

// What the store is about to write, so that the new state of the records need not be read back:
// the fields the statement sets, in `positions` order, with their values as fitted to the fields.
// `values` is null when the new values are not known in advance (an amount added to the present).
struct WriteHint {
  const std::string* table = nullptr;
  bool insert = false;
  const std::vector<std::size_t>* positions = nullptr;  // null: every field, in order
  const std::vector<Value>* values = nullptr;
  const std::vector<std::size_t>* keyFields = nullptr;  // the fields a record is known by
};

class Recorder {
 public:
  explicit Recorder(sqlite3* db);
  ~Recorder();
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  void expect(const WriteHint& hint) { hint_ = hint; }
  void clearHint() { hint_ = WriteHint{}; }

  // Stops recording; false when a change could not be recorded (the run must not be kept).
  bool detach();
  const std::string& failure() const { return failure_; }

  const std::vector<RecordedTable>& tables() const { return tables_; }
  // The changes that remain, in the order of their first change.
  std::vector<const Change*> changes() const;

 private:
  static void hook(void* self, sqlite3* db, int op, const char* database, const char* table,
                   sqlite3_int64 oldRowid, sqlite3_int64 newRowid);
  void record(int op, const char* table, sqlite3_int64 oldRowid, sqlite3_int64 newRowid);
  std::size_t tableIndex(const char* name);
  bool hintFor(const char* table, bool insert) const;
  std::uint64_t insertedHash(std::size_t table);
  std::vector<Value> oldRecord();
  std::vector<FieldChange> updatedFields(std::size_t table);
  Change& entry(std::size_t table, std::int64_t rowid);
  void inserted(std::size_t table, std::int64_t rowid, std::uint64_t hash);
  std::vector<Value> insertedKey(std::size_t table) const;
  void deleted(std::size_t table, std::int64_t rowid);
  void updated(std::size_t table, std::int64_t rowid);

  sqlite3* db_;
  bool attached_ = true;
  std::string failure_;
  WriteHint hint_;
  std::vector<RecordedTable> tables_;
  const char* lastName_ = nullptr;
  std::size_t lastTable_ = 0;
  std::vector<Change> changes_;
  std::unordered_map<std::uint64_t, std::size_t> index_;  // (table, rowid) to changes_
  std::uint64_t order_ = 0;
};

// Tells the connection's recorder, if a run is recording, what the statement about to run writes.
class HintScope {
 public:
  HintScope(Recorder* recorder, const WriteHint& hint) : recorder_(recorder) {
    if (recorder_) recorder_->expect(hint);
  }
  ~HintScope() {
    if (recorder_) recorder_->clearHint();
  }
  HintScope(const HintScope&) = delete;
  HintScope& operator=(const HintScope&) = delete;

 private:
  Recorder* recorder_;
};

// A record's hash from its fields as stored.
std::uint64_t recordHash(const std::vector<Value>& fields);

// Whether a table belongs to the history itself (or to the engine) and is never recorded.
bool unrecorded(const char* table);

}  // namespace store::history
