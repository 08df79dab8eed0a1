// Internal: records every record that a run inserts, updates or deletes, through the engine's
// pre-update hook, so that no write of the run escapes it. Each table keeps an append-only log in
// the packed form of the history: what each record was before a change and what the change left
// in it. A record changed more than once in a run is folded into one change when the run ends.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

#include "store/value.h"
#include "stored.h"

namespace store::history {

// The packed kinds of change.
enum Packed : std::uint8_t { kInserted = 1, kDeleted = 2, kUpdated = 3, kReplaced = 4 };

// One event of a table's log: its kind, its record, and where its packed contents lie.
struct EventRef {
  std::int64_t rowid = 0;
  std::size_t begin = 0;
  std::size_t end = 0;
  Packed kind = kInserted;
};

struct TableLog {
  std::string name;
  std::size_t fields = 0;
  std::uint64_t nullHash = 0;  // the hash of a record with every field null
  Packer events;               // the contents of the events, one after the other
  std::vector<EventRef> index;
  bool ordered = true;  // every event so far is of a later record than the one before
  std::int64_t added = 0, changed = 0, removed = 0;
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
  // An insert's hash less that of an all-null record, when the store keeps it already.
  const std::uint64_t* insertHash = nullptr;
  // Where each key field's value stands among the values, when the store has worked it out.
  const std::vector<std::size_t>* keyIndexes = nullptr;
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
  bool empty() const;
  std::vector<TableLog>& tables() { return tables_; }

 private:
  static void hook(void* self, sqlite3* db, int op, const char* database, const char* table,
                   sqlite3_int64 oldRowid, sqlite3_int64 newRowid);
  void record(int op, const char* table, sqlite3_int64 oldRowid, sqlite3_int64 newRowid);
  TableLog& log(const char* name);
  bool hintFor(const TableLog& table, bool insert) const;
  void begin(TableLog& table, Packed kind, std::int64_t rowid);
  void inserted(TableLog& table, std::int64_t rowid, bool fromHint);
  std::uint64_t defaultsHash(const TableLog& table);
  void deleted(TableLog& table, std::int64_t rowid);
  void updated(TableLog& table, std::int64_t rowid);
  void updatedKey(TableLog& table);
  // Kept between updates so that none needs an allocation.
  std::vector<int> changedFields_;
  std::vector<sqlite3_value*> oldValues_;
  std::vector<bool> hinted_;  // per field of an insert: the hint gives it a value

  sqlite3* db_;
  bool attached_ = true;
  std::string failure_;
  WriteHint hint_;
  std::vector<TableLog> tables_;
  const char* lastName_ = nullptr;
  std::size_t lastTable_ = 0;
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

// Whether a table belongs to the history itself (or to the engine) and is never recorded.
bool unrecorded(const char* table);

}  // namespace store::history
