// Reads a document of the export's form into an open database, event by event as RapidJSON's
// reader parses it (iteratively, so deep nesting needs no stack): each table is made once its
// definition is complete, when its records begin (or at its end), and each record is written as
// it ends, so records never stand in memory together.
#pragma once

#include <cstdint>

#include "byte_io.h"
#include "store/database.h"

namespace dbtool {

struct ImportCounts {
  std::int64_t tables = 0;
  std::int64_t records = 0;
};

// Throws Error naming the line and column of the first fault (syntax, an unknown type, a value
// of the wrong kind, a record of the wrong length, a duplicate member name or key, ...), and the
// table and record where there is one.
ImportCounts readDocument(Input& input, store::Database& db);

}  // namespace dbtool
