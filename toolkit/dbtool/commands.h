// The commands of roomkit-db: create, sample, export and import.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "byte_io.h"

namespace dbtool {

// A building file's code: its name between "JOX_" and ".MDB" in any letter case, else its name
// without extension.
std::string buildingCodeOf(const std::string& path);

const char* usageText();

// Runs one command (the arguments without the program name). `in` serves "import -", `out` takes
// the export and the reports, `err` the messages. Returns 0 when done, 1 when refused, 2 for
// wrong usage (after printing the usage text); check has statuses of its own (check_command.h).
int run(const std::vector<std::string>& args, Input& in, Output& out, std::ostream& err);

}  // namespace dbtool
