// A table's indexes as its definition pages describe them, read from the file's bytes: the key
// columns by their numbers (which count deleted columns too), each key's direction, and the
// index's flags. libmdb loses the keys of some indexes (columns deleted after the index was made,
// gaps in the index numbering); these pages still hold them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet_file.h"

namespace jet::detail {

struct PageKey {
  // The column's place in a record (libmdb's row_col_num), or -1 when the key names a column that
  // the definition lacks.
  int column = 0;
  bool descending = false;
};

// One entry of the table's index list, in the list's order.
struct PageIndex {
  std::vector<PageKey> keys;  // empty when the entry names none
  bool primary = false;
  bool relationship = false;  // a foreign key's entry, which shares another index's keys
  bool unique = false;
  bool ignoreNulls = false;
  bool required = false;
  std::uint32_t firstPage = 0;  // the index's first page of keys
};

// Reads the definition that starts on `page` and goes on over its continuation pages. Throws
// Error (Damaged), saying what is wrong, when the bytes do not hold what the definition counts.
std::vector<PageIndex> readPageIndexes(const std::string& path, const Header& header,
                                       std::uint32_t page);

}  // namespace jet::detail
