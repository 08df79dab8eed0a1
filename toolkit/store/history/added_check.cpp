#include "added_check.h"

#include <optional>
#include <string>

#include "key_walk.h"
#include "store/engine/connection.h"

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

// rk_added(range, place, field n-1, ..., field 0) checks the record at `place` as the statement
// whose condition it is reads it, and keeps every record of the range. The fields come last
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

bool byFunction(Connection& c, const TableInfo& info) {
  return info.def.fields.size() + 2 <=
         static_cast<std::size_t>(sqlite3_limit(c.db(), SQLITE_LIMIT_FUNCTION_ARG, -1));
}

std::string byPlace(const TableInfo& info) {
  return " WHERE " + info.rowidName + " BETWEEN ?1 AND ?2";
}

std::string checkCall(const TableInfo& info, bool negated = false) {
  std::string call =
      std::string(negated ? " AND NOT " : " AND ") + "rk_added(?3, " + info.rowidName;
  for (std::size_t i = info.def.fields.size(); i-- > 0;) {
    call += ", " + detail::quote(info.def.fields[i].name);
  }
  return call + ")";
}

void bindPlaces(sqlite3_stmt* stmt, const AddedRange& range) {
  sqlite3_bind_int64(stmt, 1, range.records[0].rowid);
  sqlite3_bind_int64(stmt, 2, range.records[range.count - 1].rowid);
}

void finish(Connection& c, int rc) {
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) c.fail(rc);
}

// Checks every record of the range, reading the table by place and writing nothing; as the
// check keeps every record, the negated condition returns none.
void checkRange(Connection& c, const TableInfo& info, AddedRange& range) {
  StatementUse use(
      c.statement("SELECT 1 FROM " + info.quotedName + byPlace(info) + checkCall(info, true)));
  bindPlaces(use.get(), range);
  sqlite3_bind_pointer(use.get(), 3, &range, rangeType, nullptr);
  finish(c, sqlite3_step(use.get()));
}

// Deletes the records of the range, checking each as it goes: one pass by place.
void deleteChecking(Connection& c, const TableInfo& info, AddedRange& range) {
  const bool function = byFunction(c, info);
  StatementUse use(c.statement("DELETE FROM " + info.quotedName + byPlace(info) +
                               (function ? checkCall(info) : "")));
  bindPlaces(use.get(), range);
  if (function) {
    sqlite3_bind_pointer(use.get(), 3, &range, rangeType, nullptr);
    finish(c, sqlite3_step(use.get()));
  } else {
    HookCheck check{&info.def.name, &range};
    const HookScope hook(c.db(), check);
    finish(c, sqlite3_step(use.get()));
  }
}

// Deletes the records of the range, checked before, walking the key's index over their span.
// Returns how many it deleted; none when the engine cannot walk the index so.
std::size_t deleteSpan(Connection& c, const TableInfo& info, const AddedRange& range,
                       const KeyWalk& walk) {
  sqlite3_stmt* stmt = nullptr;
  try {
    stmt = c.statement("DELETE FROM " + info.quotedName + " INDEXED BY " +
                       detail::quote(walk.index->sqliteName) + byPlace(info) + " AND " +
                       keyColumn(info, walk) + " BETWEEN ?3 AND ?4");
  } catch (const Error&) {
    return 0;  // an index it cannot walk over such a span: the caller deletes by place
  }
  StatementUse use(stmt);
  bindPlaces(use.get(), range);
  bindKey(use.get(), 3, walk.low);
  bindKey(use.get(), 4, walk.high);
  finish(c, sqlite3_step(use.get()));
  return static_cast<std::size_t>(sqlite3_changes(c.db()));
}

}  // namespace

// A range worth a key walk is read through by place first, which reads records faster than the
// walk does, and only then, every record found as the run left it, deleted along the index.
void removeAdded(Connection& c, const TableInfo& info, AddedRange& range) {
  range.seen.assign(range.count, 0);
  range.found = 0;
  const std::optional<KeyWalk> walk =
      byFunction(c, info) ? keyWalk(c, info, range) : std::optional<KeyWalk>();
  if (!walk) {
    deleteChecking(c, info, range);
    return;
  }
  checkRange(c, info, range);
  if (range.changed != 0 || range.found != range.count) return;  // the caller refuses
  if (deleteSpan(c, info, range, *walk) == range.count) return;
  // Whatever the walk left, every record there having been checked, goes by place.
  StatementUse use(c.statement("DELETE FROM " + info.quotedName + byPlace(info)));
  bindPlaces(use.get(), range);
  finish(c, sqlite3_step(use.get()));
}

void registerAddedCheck(sqlite3* db) {
  sqlite3_create_function(db, "rk_added", -1, SQLITE_UTF8 | SQLITE_DIRECTONLY, nullptr,
                          addedFunction, nullptr, nullptr);
}

}  // namespace store::history
