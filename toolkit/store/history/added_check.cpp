#include "added_check.h"

#include <optional>
#include <string>

#include "store/engine/connection.h"
#include "store/text_case.h"

namespace store::history {

using detail::Connection;
using detail::StatementUse;
using detail::TableInfo;

namespace {

constexpr const char* rangeType = "rk_added_range";

// A record's place in the range, or the range's count when it lies outside it. Places are
// compared unsigned, so that no pair of whole numbers overflows.
std::size_t placeOf(const AddedRange& range, sqlite3_int64 rowid) {
  const std::uint64_t place =
      static_cast<std::uint64_t>(rowid) - static_cast<std::uint64_t>(range.records[0].rowid);
  return place < range.count ? static_cast<std::size_t>(place) : range.count;
}

// Marks the place seen and keeps the first record whose hash is not the one the run left.
template <typename Field>
void see(AddedRange& range, std::size_t place, sqlite3_int64 rowid, std::uint64_t hash,
         std::size_t width, Field field) {
  range.seen[place] = 1;
  ++range.found;
  if (hash == range.records[place].hash || range.changed != 0) return;
  range.changed = rowid;
  range.changedRecord.resize(width);
  for (std::size_t i = 0; i < width; ++i) range.changedRecord[i] = storedValue(field(i));
}

// rk_added(range, place, field n-1, ..., field 0) checks the record at `place` as the delete
// whose condition it is removes it, and keeps every record of the range. The fields come last
// first, so that the engine reads the record's header through once, for the first of them.
void addedFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  auto* range = static_cast<AddedRange*>(sqlite3_value_pointer(argv[0], rangeType));
  if (range == nullptr || argc < 2) {
    sqlite3_result_error(ctx, "rk_added is the store's own", -1);
    return;
  }
  sqlite3_result_int(ctx, 1);
  const sqlite3_int64 rowid = sqlite3_value_int64(argv[1]);
  const std::size_t place = placeOf(*range, rowid);
  if (place == range->count) return;
  const auto width = static_cast<std::size_t>(argc - 2);
  sqlite3_value** last = argv + argc - 1;  // field 0
  std::uint64_t hash = 0;
  for (std::size_t i = 0; i < width; ++i) hash += fieldHash(i, valueHash(*(last - i)));
  see(*range, place, rowid, hash, width, [&](std::size_t i) { return *(last - i); });
}

// A table too wide for the row function's arguments is checked in the engine's pre-update hook,
// which hands over each field of the record it deletes, at a call for each.
struct HookCheck {
  const std::string* table;
  AddedRange* range;
};

void checkDeleted(void* arg, sqlite3* db, int op, const char*, const char* table,
                  sqlite3_int64 rowid, sqlite3_int64) {
  auto* check = static_cast<HookCheck*>(arg);
  if (op != SQLITE_DELETE || sqlite3_stricmp(table, check->table->c_str()) != 0) return;
  AddedRange& range = *check->range;
  const std::size_t place = placeOf(range, rowid);
  if (place == range.count) return;
  const int fields = sqlite3_preupdate_count(db);
  std::uint64_t hash = 0;
  for (int i = 0; i < fields; ++i) {
    sqlite3_value* value = nullptr;
    if (sqlite3_preupdate_old(db, i, &value) != SQLITE_OK) return;  // left unseen, so refused
    hash += fieldHash(static_cast<std::size_t>(i), valueHash(value));
  }
  see(range, place, rowid, hash, static_cast<std::size_t>(fields), [db](std::size_t i) {
    sqlite3_value* value = nullptr;
    sqlite3_preupdate_old(db, static_cast<int>(i), &value);
    return value;
  });
}

// The hook is the connection's for the length of one delete.
class HookScope {
 public:
  HookScope(sqlite3* db, HookCheck& check) : db_(db) {
    sqlite3_preupdate_hook(db_, &checkDeleted, &check);
  }
  ~HookScope() { sqlite3_preupdate_hook(db_, nullptr, nullptr); }
  HookScope(const HookScope&) = delete;
  HookScope& operator=(const HookScope&) = delete;

 private:
  sqlite3* db_;
};

// A run's added records whose keys come in order of their places, as new rooms added in turn do,
// mostly lie together in the key's index too: walking that index over the span of their keys
// spares a search of it for each record, as a delete by key does. Fewer records are not worth it.
constexpr std::size_t keyWalkFrom = 64;

struct KeyWalk {
  const detail::IndexInfo* index;
  PackedKey low, high;
};

int compareKeys(const PackedKey& a, const PackedKey& b, bool folded) {
  if (!a.text) return a.integer < b.integer ? -1 : a.integer > b.integer ? 1 : 0;
  if (a.bytes == b.bytes) return 0;
  if (folded) return compareFolded(a.bytes, b.bytes);
  return a.bytes < b.bytes ? -1 : 1;
}

// The span of the first key field over the range, when the table's key index starts with it,
// the index orders texts in a way known here, and every record has a text there, or every one a
// whole number, in order of their places.
std::optional<KeyWalk> keyWalk(const TableInfo& info, const AddedRange& range) {
  if (range.count < keyWalkFrom || info.keyFields.empty()) return std::nullopt;
  const detail::IndexInfo* index = nullptr;
  for (const detail::IndexInfo& candidate : info.indexes) {
    if (candidate.columns == info.keyFields) index = &candidate;
  }
  if (!index || index->collations.empty()) return std::nullopt;
  const bool folded = sqlite3_stricmp(index->collations[0].c_str(), "FOLD") == 0;
  if (!folded && sqlite3_stricmp(index->collations[0].c_str(), "BINARY") != 0) return std::nullopt;
  KeyWalk walk{index, {}, {}};
  for (std::size_t k = 0; k < range.count; ++k) {
    const Added& record = range.records[k];
    Unpacker in(range.part.substr(record.keyBegin, record.keyEnd - record.keyBegin));
    if (in.number() == 0) return std::nullopt;
    const std::optional<PackedKey> key = in.textOrInteger();
    if (!key || (k > 0 && key->text != walk.high.text)) return std::nullopt;
    if (k == 0) walk.low = *key;
    if (k > 0 && compareKeys(walk.high, *key, folded) > 0) return std::nullopt;
    walk.high = *key;
  }
  return walk;
}

void bindKey(sqlite3_stmt* stmt, int index, const PackedKey& key) {
  if (key.text) {
    sqlite3_bind_text(stmt, index, key.bytes.data(), static_cast<int>(key.bytes.size()),
                      SQLITE_STATIC);
  } else {
    sqlite3_bind_int64(stmt, index, key.integer);
  }
}

// Deletes what is left of the range in one statement: walking the table by place, or, given a
// key walk, walking that index over the keys' span.
void deleteRange(Connection& c, const TableInfo& info, AddedRange& range, const KeyWalk* walk) {
  const std::size_t width = info.def.fields.size();
  const bool byFunction =
      width + 2 <= static_cast<std::size_t>(sqlite3_limit(c.db(), SQLITE_LIMIT_FUNCTION_ARG, -1));
  std::string sql = "DELETE FROM " + info.quotedName;
  if (walk) sql += " INDEXED BY " + detail::quote(walk->index->sqliteName);
  sql += " WHERE " + info.rowidName + " BETWEEN ?1 AND ?2";
  if (walk) {
    sql += " AND " + detail::quote(info.def.fields[walk->index->columns[0]].name) + " COLLATE " +
           walk->index->collations[0] + " BETWEEN ?4 AND ?5";
  }
  if (byFunction) {
    sql += " AND rk_added(?3, " + info.rowidName;
    for (std::size_t i = width; i-- > 0;) sql += ", " + detail::quote(info.def.fields[i].name);
    sql += ")";
  }
  StatementUse use(c.statement(sql));
  sqlite3_bind_int64(use.get(), 1, range.records[0].rowid);
  sqlite3_bind_int64(use.get(), 2, range.records[range.count - 1].rowid);
  if (walk) {
    bindKey(use.get(), 4, walk->low);
    bindKey(use.get(), 5, walk->high);
  }
  int rc;
  if (byFunction) {
    sqlite3_bind_pointer(use.get(), 3, &range, rangeType, nullptr);
    rc = sqlite3_step(use.get());
  } else {
    HookCheck check{&info.def.name, &range};
    const HookScope hook(c.db(), check);
    rc = sqlite3_step(use.get());
  }
  if (rc != SQLITE_DONE) c.fail(rc);
}

}  // namespace

void removeAdded(Connection& c, const TableInfo& info, AddedRange& range) {
  range.seen.assign(range.count, 0);
  range.found = 0;
  if (const std::optional<KeyWalk> walk = keyWalk(info, range)) {
    try {
      deleteRange(c, info, range, &*walk);
    } catch (const Error&) {
      if (range.found != 0) throw;  // the engine could not walk the index: walk the table
    }
    if (range.found == range.count || range.changed != 0) return;
  }
  // Records the key walk passed over (their keys changed since the run) are found by place.
  deleteRange(c, info, range, nullptr);
}

void registerAddedCheck(sqlite3* db) {
  sqlite3_create_function(db, "rk_added", -1, SQLITE_UTF8 | SQLITE_DIRECTONLY, nullptr,
                          addedFunction, nullptr, nullptr);
}

}  // namespace store::history
