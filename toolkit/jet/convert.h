// Converting a Jet (Access 97 to 2003) database into a new store file: every user table with its
// fields, records in stored order and indexes, through the store's own builders, so that the
// result is an ordinary store file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "error.h"

namespace jet {

struct TableSummary {
  std::string name;
  std::int64_t records = 0;
  std::int64_t indexes = 0;
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

// Makes `storePath` from `jetPath`. The Jet file is only read. The new file is written under a
// temporary name in a folder beside `storePath` and gets its name only when complete; it never
// replaces anything. The reading runs in a child process (no Qt and no threads there), so that a
// crash of the reading library on a damaged file becomes a refusal; `progress` runs in the
// calling thread. Throws Error, with a message naming the file and the reason ("'a.mdb' is cut
// short: ..."), and then leaves no file behind.
Summary convert(const std::string& jetPath, const std::string& storePath,
                const Progress& progress = {});

}  // namespace jet
