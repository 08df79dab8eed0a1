// A JSON document of the export's form read into a new database file, in one transaction with
// prepared inserts. The document is read as a stream; records never stand in memory together.
#pragma once

#include <string>

#include "byte_io.h"
#include "document_reader.h"

namespace dbtool {

// Refuses an existing target. Any fault of the document throws Error naming the line and column,
// the table and the record; the new file and its companions are then removed again.
ImportCounts importDocument(Input& input, const std::string& target);

}  // namespace dbtool
