// The findings of Check Database gathered by hand-written SQL queries, on a connection of the
// store (which brings the FOLD collation of the indexes and the upper-casing of the toolkit).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "store/check.h"

namespace bench {

using KindCounts = std::array<std::int64_t, store::findingKindCount>;

// The rows each kind's queries return, by kind.
KindCounts plainCheck(const std::string& path);

}  // namespace bench
