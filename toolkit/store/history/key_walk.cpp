#include "key_walk.h"

#include <algorithm>
#include <vector>

#include "store/engine/connection.h"
#include "store/text_case.h"

namespace store::history {

using detail::Connection;
using detail::IndexInfo;
using detail::StatementUse;
using detail::TableInfo;

namespace {

// Fewer records are not worth the walk.
constexpr std::size_t walkFrom = 64;
// The walk passes over the records between the added ones for nothing. It still pays while they
// number no more than three for each added record, which a probe between a few neighbouring
// keys estimates.
constexpr std::size_t probes = 16;
constexpr std::int64_t othersEach = 3;

int compareKeys(const PackedKey& a, const PackedKey& b, bool folded) {
  if (!a.text) return a.integer < b.integer ? -1 : a.integer > b.integer ? 1 : 0;
  if (a.bytes == b.bytes) return 0;
  if (folded) return compareFolded(a.bytes, b.bytes);
  return a.bytes < b.bytes ? -1 : 1;
}

const IndexInfo* keyIndex(const TableInfo& info) {
  for (const IndexInfo& index : info.indexes) {
    if (index.columns == info.keyFields && !index.collations.empty()) return &index;
  }
  return nullptr;
}

// A distinct first key of the range, and the place of its first record.
struct KeyStart {
  PackedKey key;
  std::size_t first;
};

// Whether the records between the added ones, counted from a few of their keys up to the next,
// are few enough for the walk.
bool fewBetween(Connection& c, const TableInfo& info, const KeyWalk& walk,
                const std::vector<KeyStart>& starts) {
  if (starts.size() < 2) return true;
  const std::string column = keyColumn(info, walk);
  sqlite3_stmt* probe = nullptr;
  try {
    probe = c.statement("SELECT count(*) FROM (SELECT 1 FROM " + info.quotedName + " INDEXED BY " +
                        detail::quote(walk.index->sqliteName) + " WHERE " + column + " >= ?1 AND " +
                        column + " < ?2 LIMIT ?3)");
  } catch (const Error&) {
    return false;  // the engine cannot walk the index over a span
  }
  StatementUse use(probe);
  const std::size_t gaps = starts.size() - 1;
  std::int64_t added = 0, others = 0;
  for (std::size_t p = 0; p < std::min(probes, gaps); ++p) {
    const std::size_t g = p * gaps / std::min(probes, gaps);
    const auto records = static_cast<std::int64_t>(starts[g + 1].first - starts[g].first);
    bindKey(use.get(), 1, starts[g].key);
    bindKey(use.get(), 2, starts[g + 1].key);
    sqlite3_bind_int64(use.get(), 3, records * (othersEach + 1) + 1);
    if (sqlite3_step(use.get()) != SQLITE_ROW) c.fail();
    added += records;
    others += std::max<std::int64_t>(0, sqlite3_column_int64(use.get(), 0) - records);
    sqlite3_reset(use.get());
  }
  return others <= othersEach * added;
}

}  // namespace

std::string keyColumn(const TableInfo& info, const KeyWalk& walk) {
  return detail::quote(info.def.fields[walk.index->columns[0]].name) + " COLLATE " +
         walk.index->collations[0];
}

void bindKey(sqlite3_stmt* stmt, int index, const PackedKey& key) {
  if (key.text) {
    sqlite3_bind_text(stmt, index, key.bytes.data(), static_cast<int>(key.bytes.size()),
                      SQLITE_STATIC);
  } else {
    sqlite3_bind_int64(stmt, index, key.integer);
  }
}

std::optional<KeyWalk> keyWalk(Connection& c, const TableInfo& info, const AddedRange& range) {
  if (range.count < walkFrom || info.keyFields.empty()) return std::nullopt;
  const IndexInfo* index = keyIndex(info);
  if (!index) return std::nullopt;
  const bool folded = sqlite3_stricmp(index->collations[0].c_str(), "FOLD") == 0;
  if (!folded && sqlite3_stricmp(index->collations[0].c_str(), "BINARY") != 0) return std::nullopt;
  KeyWalk walk{index, {}, {}};
  std::vector<KeyStart> starts;
  for (std::size_t k = 0; k < range.count; ++k) {
    const Added& record = range.records[k];
    Unpacker in(range.part.substr(record.keyBegin, record.keyEnd - record.keyBegin));
    if (in.number() == 0) return std::nullopt;
    const std::optional<PackedKey> key = in.textOrInteger();
    if (!key || (k > 0 && key->text != walk.high.text)) return std::nullopt;
    if (k == 0) {
      walk.low = *key;
      starts.push_back({*key, k});
    } else {
      const int order = compareKeys(walk.high, *key, folded);
      if (order > 0) return std::nullopt;  // not in order of their places
      if (order < 0) starts.push_back({*key, k});
    }
    walk.high = *key;
  }
  if (!fewBetween(c, info, walk, starts)) return std::nullopt;
  return walk;
}

}  // namespace store::history
