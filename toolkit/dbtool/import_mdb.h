// roomkit-db and Jet (Access) databases: import-mdb converts one into a new database file, and
// export reads one directly by converting it into a temporary folder first.
#pragma once

#include <string>

#include "byte_io.h"

namespace dbtool {

// Converts `jet` into the new database file `target` and prints one line per table (name,
// records, indexes) and the totals. Never writes over an existing file; a refusal throws Error
// and leaves no file behind.
void importMdb(const std::string& jet, const std::string& target, Output& out);

// When `path` is a Jet database by its signature, writes the document that export gives for its
// conversion and returns true; the Jet file stays as it was. Returns false for any other file.
bool exportJet(const std::string& path, Output& out);

}  // namespace dbtool
