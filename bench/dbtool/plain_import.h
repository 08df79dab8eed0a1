// The records of a building written the plain way into a new file: the same tables made with the
// store, then one prepared INSERT per table bound with each source row's values as they are, all
// in one transaction.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

// Returns the number of records written.
std::int64_t plainImport(const std::string& source, const std::string& target);

}  // namespace bench
