// The document of roomkit-db export written the plain way: a SELECT walk of every table in stored
// order and stdio formatting of each value. It knows the field types of the sample building
// (text, integer, double, date) and throws std::runtime_error on any other.
#pragma once

#include <cstdio>
#include <string>

namespace bench {

void plainExport(const std::string& path, std::FILE* out);

}  // namespace bench
