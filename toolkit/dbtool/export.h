// A database as one JSON document, canonical (the same database always gives the same bytes) and
// complete: every table in table-list order with its fields, indexes and records in stored order.
// The document is written as it is read, one record per line.
#pragma once

#include <string>

#include "byte_io.h"

namespace dbtool {

// Throws store::Error when the file cannot be read as a database, and Error for a value that the
// document cannot hold as its field's type (text in a number field, say), naming table, record
// and field.
void exportDatabase(const std::string& path, Output& out);

}  // namespace dbtool
