// Converting a Jet (Access 97 to 2003) database into a new store file: every user table with its
// fields, records in stored order and indexes, through the store's own builders, so that the
// result is an ordinary store file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "store/error.h"

namespace jet {

struct TableSummary {
  std::string name;
  std::int64_t records = 0;
  std::int64_t indexes = 0;
  // What was left out while the table and its records came in, each with the reason: indexes
  // whose keys cannot be read ("the index 'id2': a key field it names is not in the table"), and
  // the Required and Allow Zero Length rules of its fields where its records break them.
  std::vector<std::string> leftOut;
};

struct Summary {
  std::vector<TableSummary> tables;       // in the Jet catalogue's order
  std::vector<std::string> linkedTables;  // left out: their records live in other files
  std::int64_t records = 0;
  std::int64_t indexes = 0;
};

// Called with the records done and the total from the table catalogue (first with 0); returns
// false to stop the conversion.
using Progress = std::function<bool(std::int64_t done, std::int64_t total)>;

// How far the reading process may go. A sound file sends progress every few hundred records and
// after each table; a damaged one can make the reading library loop, or take memory without end.
struct Limits {
  int silenceSeconds = 30;  // without a record or a table read
  // 4 GiB of data: a Jet file holds at most 2 GB, and the reader keeps little of it at once.
  std::uint64_t memoryBytes = std::uint64_t{4} << 30;
  // Runs in the calling thread about ten times a second, so that a window can repaint.
  std::function<void()> idle;
};

// Makes `storePath` from `jetPath`. The Jet file is only read. The new file is written under a
// temporary name in a folder beside `storePath` and gets its name only when complete; it never
// replaces anything. The reading runs in a child process (no Qt and no threads there), so that a
// crash of the reading library on a damaged file becomes a refusal, and so does a process that
// passes the limits; `progress` runs in the calling thread. Throws Error, with a message naming
// the file and the reason ("'a.mdb' is cut short: ..."), and then leaves no file behind.
Summary convert(const std::string& jetPath, const std::string& storePath,
                const Progress& progress = {}, const Limits& limits = {});

}  // namespace jet
