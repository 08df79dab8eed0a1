// roomkit-db migrate: every Jet database of a data folder (the JOX_*.MDB building files and
// JOXINIT.MDB) converted in place as roomkit does on opening, the originals kept as
// "<name>.jet"; files converted before are passed over.
#pragma once

#include <string>

#include "byte_io.h"

namespace dbtool {

// Prints a line per file as it goes ("[2/5] JOX_A.MDB: ...") and the counts at the end. Returns
// the number of files refused. Throws Error when the folder cannot be listed.
int migrateFolder(const std::string& folder, Output& out);

}  // namespace dbtool
