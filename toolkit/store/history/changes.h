// Internal: the changes of a run as the history packs them, table by table: each record once,
// with what it was before the run and what the run left in it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "recorder.h"
#include "stored.h"

namespace store::history {

// One field a run changed in a record that existed before and after it.
struct FieldChange {
  std::size_t position = 0;
  Value before;  // as stored
  Value after;
};

struct Change {
  enum class Kind : std::uint8_t { Inserted, Deleted, Updated, Replaced, Gone };
  Kind kind = Kind::Gone;
  std::int64_t rowid = 0;
  std::vector<Value> before;        // Deleted, Replaced: every field as stored
  std::vector<FieldChange> fields;  // Updated
  std::uint64_t afterHash = 0;      // Inserted, Replaced: the record as the run left it
  std::vector<Value> key;           // Inserted, Updated: the fields it is known by, when known
};

// A record the run added, as the undo needs it: where it stands, what the run left in it, and
// where its key fields lie, still packed, in its table's part (they are read only to name it).
struct Added {
  std::int64_t rowid = 0;
  std::uint64_t hash = 0;
  std::size_t keyBegin = 0, keyEnd = 0;
};
// Splits a table's packed changes into the records added, in the order of their places, and all
// others, unpacked. Every record comes once, in the order of its place; anything else is damage.
// `addedCount`, the count the run's row gives, makes room for the added records at once.
void readPart(std::string_view bytes, std::vector<Added>& added, std::vector<Change>& others,
              std::int64_t addedCount = 0);

// Throws the error of a damaged history, saying what is wrong.
[[noreturn]] void damaged(const std::string& what);
std::vector<Value> unpackValues(std::string_view bytes);

// A table's log as its part of the history: its bytes as they are when every event concerns a
// later record than the one before, else its events folded record by record and packed again.
struct FoldedTable {
  std::string bytes;
  std::int64_t added = 0, changed = 0, removed = 0;
};
FoldedTable foldLog(TableLog& log);

}  // namespace store::history
