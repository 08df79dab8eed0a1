// A JSON document of the export's form read into a new database file, in one transaction with
// prepared inserts. The document is read as a stream; records never stand in memory together.
#pragma once

#include <cstdint>
#include <string>

#include "byte_io.h"

namespace dbtool {

struct ImportCounts {
  std::int64_t tables = 0;
  std::int64_t records = 0;
};

// Refuses an existing target. Any fault of the document (syntax, an unknown type, a value of the
// wrong kind, a record of the wrong length, a duplicate member name or key, a text longer than
// its field) throws Error naming the line and column, the table and the record; the new file and
// its companions are then removed again.
ImportCounts importDocument(Input& input, const std::string& target);

}  // namespace dbtool
