// The bytes of a memo or OLE value, wherever Jet keeps them: inline in the record, on one page
// of its own, or in a chain of pages.
#pragma once

#include <cstddef>
#include <string>

#include "mdb.h"

namespace jet::detail {

// `field` points at the value's bytes in the record (its 12-byte header, then any inline data),
// `size` is their count. Reads the pages through the library; throws Error (Damaged) when a page
// cannot be read or the parts do not add up to the length the header gives.
std::string longValue(MdbHandle* mdb, const unsigned char* field, std::size_t size);

}  // namespace jet::detail
