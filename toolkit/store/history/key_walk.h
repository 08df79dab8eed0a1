// Internal: whether the records a run added are best removed walking their key's index. Records
// added with their keys in order, as new rooms added in turn are, mostly lie together in that
// index too: walking it over the span of their keys spares a search of it for each record.
#pragma once

#include <sqlite3.h>

#include <optional>
#include <string>

#include "added_check.h"
#include "stored.h"

namespace store::detail {
class Connection;
struct IndexInfo;
}  // namespace store::detail

namespace store::history {

struct KeyWalk {
  const detail::IndexInfo* index;
  PackedKey low, high;  // the span of the first key field
};

// The walk for the range, when it is worth it: enough records, the table's key index ordering
// their first key field in a way known here, every record holding a text there (or every one a
// whole number) in order of their places, and few other records lying between theirs.
std::optional<KeyWalk> keyWalk(detail::Connection& c, const detail::TableInfo& info,
                               const AddedRange& range);

// The first key field as the index compares it, for a condition on the span.
std::string keyColumn(const detail::TableInfo& info, const KeyWalk& walk);
void bindKey(sqlite3_stmt* stmt, int index, const PackedKey& key);

}  // namespace store::history
