#include "log.h"

#include <cctype>
#include <ctime>
#include <map>

#include "names.h"
#include "store/engine/connection.h"
#include "stored.h"

namespace store::history {

using detail::Connection;
using detail::quote;
using detail::StatementUse;

namespace {

void bindText(sqlite3_stmt* stmt, int index, const std::string& text) {
  sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void step(Connection& c, sqlite3_stmt* stmt) {
  const int rc = sqlite3_step(stmt);
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) c.fail(rc);
}

std::string columnText(sqlite3_stmt* stmt, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
  return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)))
              : std::string();
}

const std::string runs = quote(runsTable);
const std::string undone = quote(undoneTable);

bool hasTable(Connection& c, const char* table) {
  StatementUse use(
      c.statement("SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name = ?1"));
  sqlite3_bind_text(use.get(), 1, table, -1, SQLITE_STATIC);
  const int rc = sqlite3_step(use.get());
  if (rc != SQLITE_ROW) c.fail(rc);
  return sqlite3_column_int64(use.get(), 0) > 0;
}

// What the checksum covers beside the changes: the counts that the listing shows.
std::string countsText(std::int64_t records, const std::string& tables) {
  return std::to_string(records) + '\n' + tables;
}

std::string tablesText(const std::vector<TableChanges>& tables) {
  std::string text;
  for (const TableChanges& t : tables) {
    if (!text.empty()) text += '\n';
    text += t.table + '\t' + std::to_string(t.added) + '\t' + std::to_string(t.changed) + '\t' +
            std::to_string(t.removed);
  }
  return text;
}

std::vector<TableChanges> tablesOf(const std::string& text) {
  std::vector<TableChanges> tables;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    TableChanges t;
    const std::size_t a = line.find('\t');
    const std::size_t b = line.find('\t', a + 1);
    const std::size_t d = line.find('\t', b + 1);
    if (a == std::string::npos || b == std::string::npos || d == std::string::npos) continue;
    t.table = line.substr(0, a);
    t.added = std::atoll(line.c_str() + a + 1);
    t.changed = std::atoll(line.c_str() + b + 1);
    t.removed = std::atoll(line.c_str() + d + 1);
    tables.push_back(std::move(t));
  }
  return tables;
}

// Drops the oldest runs beyond the limits, each whole.
void trim(Connection& c, std::int64_t newest, bool checkSize) {
  std::int64_t last = newest - runsAtMost;  // runs up to this one go
  if (checkSize) {
    // Before the runs always kept, the oldest go while the whole history is too large.
    StatementUse use(c.statement("SELECT \"Run\", \"Bytes\" FROM " + runs +
                                 " WHERE \"Run\" > ?1 ORDER BY \"Run\" DESC"));
    sqlite3_bind_int64(use.get(), 1, last);
    std::int64_t total = 0, kept = 0;
    int rc;
    while ((rc = sqlite3_step(use.get())) == SQLITE_ROW) {
      const std::int64_t run = sqlite3_column_int64(use.get(), 0);
      total += sqlite3_column_int64(use.get(), 1);
      if (++kept > runsAlwaysKept && total > bytesKept) {
        last = run;
        break;
      }
    }
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) c.fail(rc);
  }
  if (last <= 0) return;
  for (const std::string& table : {runs, undone}) {
    if (table == undone && !hasTable(c, undoneTable)) continue;
    StatementUse use(c.statement("DELETE FROM " + table + " WHERE \"Run\" <= ?1"));
    sqlite3_bind_int64(use.get(), 1, last);
    step(c, use.get());
  }
}

}  // namespace

}  // namespace store::history

namespace store {

bool isHistoryTable(std::string_view table) {
  const std::string_view prefix = historyTablePrefix;
  if (table.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(table[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace store

namespace store::history {

std::string localTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

bool hasDigests(Connection& c) {
  if (c.historyDigests) return true;
  StatementUse use(c.statement("SELECT count(*) FROM pragma_table_info(?1) WHERE name = 'Digest'"));
  sqlite3_bind_text(use.get(), 1, runsTable, -1, SQLITE_STATIC);
  const int rc = sqlite3_step(use.get());
  if (rc != SQLITE_ROW) c.fail(rc);
  c.historyDigests = sqlite3_column_int64(use.get(), 0) > 0;
  return c.historyDigests;
}

bool hasHistory(Connection& c) { return hasTable(c, runsTable); }

// A history made before checksums were kept gets their column when it next records a run.
void ensureTables(Connection& c) {
  if (c.historyTables && c.historyDigests) return;
  if (c.historyTables || hasHistory(c)) {
    c.historyTables = true;
    if (!hasDigests(c)) c.execute("ALTER TABLE " + runs + " ADD COLUMN \"Digest\" INTEGER");
    c.historyDigests = true;
    return;
  }
  c.execute("CREATE TABLE " + runs +
            " (\"Run\" INTEGER PRIMARY KEY, \"When\" TEXT NOT NULL, \"Function\" TEXT NOT NULL, "
            "\"Detail\" TEXT NOT NULL, \"Records\" INTEGER NOT NULL, \"Tables\" TEXT NOT NULL, "
            "\"Bytes\" INTEGER NOT NULL, \"Undone\" TEXT, \"Changes\" BLOB NOT NULL, "
            "\"Digest\" INTEGER)");
  c.historyTables = c.historyDigests = true;
}

// One row a run: what it was, and its changes packed table by table (name, then the table's
// part), in the last field so that a listing never reads them.
std::int64_t writeRun(Connection& c, const std::string& function, const std::string& detail,
                      Recorder& recorder) {
  std::vector<TableChanges> counts;
  std::int64_t records = 0;
  Packer packed;
  for (TableLog& table : recorder.tables()) {
    const FoldedTable part = foldLog(table);
    if (part.bytes.empty()) continue;
    records += part.added + part.changed + part.removed;
    counts.push_back({table.name, part.added, part.changed, part.removed});
    packed.number(table.name.size());
    packed.bytes() += table.name;
    packed.number(part.bytes.size());
    packed.bytes() += part.bytes;
  }
  if (records == 0) return 0;
  ensureTables(c);
  const auto bytes = static_cast<std::int64_t>(packed.bytes().size());
  const std::string tables = tablesText(counts);
  StatementUse use(c.statement("INSERT INTO " + runs +
                               " (\"When\", \"Function\", \"Detail\", \"Records\", \"Tables\", "
                               "\"Bytes\", \"Changes\", \"Digest\") "
                               "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)"));
  bindText(use.get(), 1, localTime());
  bindText(use.get(), 2, function);
  bindText(use.get(), 3, detail);
  sqlite3_bind_int64(use.get(), 4, records);
  bindText(use.get(), 5, tables);
  sqlite3_bind_int64(use.get(), 6, bytes);
  sqlite3_bind_blob64(use.get(), 7, packed.bytes().data(), packed.bytes().size(), SQLITE_STATIC);
  sqlite3_bind_int64(
      use.get(), 8, static_cast<std::int64_t>(digest(packed.bytes(), countsText(records, tables))));
  step(c, use.get());
  const std::int64_t number = sqlite3_last_insert_rowid(c.db());
  // A run's number is new, unless every run after it was dropped: no mark of an undo stands for it.
  if (hasTable(c, undoneTable)) {
    StatementUse clear(c.statement("DELETE FROM " + undone + " WHERE \"Run\" >= ?1"));
    sqlite3_bind_int64(clear.get(), 1, number);
    step(c, clear.get());
  }
  // The size of the whole history is looked at now and then, and after every large run.
  trim(c, number, number % sizeCheckEvery == 0 || bytes > largeRunBytes);
  return number;
}

std::vector<RunInfo> readRuns(Connection& c, bool onlyUndoable) {
  std::vector<RunInfo> out;
  if (!hasHistory(c)) return out;
  // A run is undone when its own row says so, or the table of undone runs.
  const std::string whenUndone = hasTable(c, undoneTable)
                                     ? "coalesce(r.\"Undone\", (SELECT u.\"When\" FROM " + undone +
                                           " u WHERE u.\"Run\" = r.\"Run\"))"
                                     : std::string("r.\"Undone\"");
  StatementUse use(c.statement(
      "SELECT r.\"Run\", r.\"When\", r.\"Function\", r.\"Detail\", r.\"Records\", r.\"Tables\", " +
      whenUndone + " FROM " + runs + " r" +
      (onlyUndoable ? " WHERE " + whenUndone + " IS NULL" : "") + " ORDER BY r.\"Run\" DESC"));
  int rc;
  while ((rc = sqlite3_step(use.get())) == SQLITE_ROW) {
    RunInfo run;
    run.number = sqlite3_column_int64(use.get(), 0);
    run.when = columnText(use.get(), 1);
    run.function = columnText(use.get(), 2);
    run.detail = columnText(use.get(), 3);
    run.records = sqlite3_column_int64(use.get(), 4);
    run.tables = tablesOf(columnText(use.get(), 5));
    if (sqlite3_column_type(use.get(), 6) != SQLITE_NULL) run.undone = columnText(use.get(), 6);
    out.push_back(std::move(run));
    if (onlyUndoable) break;
  }
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) c.fail(rc);
  return out;
}

std::vector<TablePart> readChanges(Connection& c, std::int64_t run) {
  std::vector<TablePart> out;
  StatementUse use(c.statement("SELECT \"Changes\", \"Records\", \"Tables\", " +
                               std::string(hasDigests(c) ? "\"Digest\"" : "NULL") + " FROM " +
                               runs + " WHERE \"Run\" = ?1"));
  sqlite3_bind_int64(use.get(), 1, run);
  const int rc = sqlite3_step(use.get());
  if (rc == SQLITE_DONE) damaged("the run is no longer in it");
  if (rc != SQLITE_ROW) c.fail(rc);
  if (sqlite3_column_type(use.get(), 0) != SQLITE_BLOB || sqlite3_column_bytes(use.get(), 0) == 0) {
    damaged("the changes of the run are missing");
  }
  const std::string_view changes(static_cast<const char*>(sqlite3_column_blob(use.get(), 0)),
                                 static_cast<std::size_t>(sqlite3_column_bytes(use.get(), 0)));
  const std::int64_t records = sqlite3_column_int64(use.get(), 1);
  const std::string tables = columnText(use.get(), 2);
  if (sqlite3_column_type(use.get(), 3) != SQLITE_NULL &&
      static_cast<std::uint64_t>(sqlite3_column_int64(use.get(), 3)) !=
          digest(changes, countsText(records, tables))) {
    damaged("the changes of the run do not match their checksum");
  }
  const std::vector<TableChanges> counts = tablesOf(tables);
  std::int64_t total = 0;
  for (const TableChanges& t : counts) {
    if (t.added < 0 || t.changed < 0 || t.removed < 0 ||
        __builtin_add_overflow(total, t.added + t.changed + t.removed, &total)) {
      damaged("the counts of the run's records are not whole numbers of records");
    }
  }
  if (total != records || records <= 0) damaged("the counts of the run's records do not add up");
  Unpacker in(changes);
  while (!in.atEnd()) {
    TablePart part;
    part.table = std::string(in.bytes(in.number()));
    part.bytes = std::string(in.bytes(in.number()));
    if (out.size() >= counts.size() || counts[out.size()].table != part.table ||
        part.bytes.empty()) {
      damaged("the changes of the run do not name the tables its counts name");
    }
    part.counts = counts[out.size()];
    out.push_back(std::move(part));
  }
  if (out.size() != counts.size())
    damaged("the changes of the run do not name the tables its counts name");
  return out;
}

void checkCounts(const TablePart& part, const std::vector<Added>& added,
                 const std::vector<Change>& others) {
  std::int64_t changed = 0, removed = 0;
  for (const Change& change : others) {
    if (change.kind == Change::Kind::Deleted) ++removed;
    if (change.kind == Change::Kind::Updated || change.kind == Change::Kind::Replaced) ++changed;
  }
  if (static_cast<std::int64_t>(added.size()) != part.counts.added ||
      changed != part.counts.changed || removed != part.counts.removed) {
    damaged("the changes of the table \"" + part.table + "\" are not the records its counts say");
  }
}

void markUndone(Connection& c, std::int64_t run) {
  c.execute("CREATE TABLE IF NOT EXISTS " + undone +
            " (\"Run\" INTEGER PRIMARY KEY, \"When\" TEXT NOT NULL)");
  StatementUse use(c.statement("INSERT INTO " + undone +
                               " (\"Run\", \"When\") VALUES (?1, ?2) "
                               "ON CONFLICT (\"Run\") DO UPDATE SET \"When\" = excluded.\"When\""));
  sqlite3_bind_int64(use.get(), 1, run);
  bindText(use.get(), 2, localTime());
  step(c, use.get());
}

}  // namespace store::history
