#include "store/check.h"

#include <sqlite3.h>

#include <optional>

#include "scan.h"
#include "store/engine/handle.h"
#include "store/history.h"
#include "store/inserter.h"
#include "store/schema.h"
#include "store/table.h"
#include "store/text_case.h"
#include "store/writes.h"

namespace store {

namespace sch = store::schema;

const char* kindName(FindingKind kind) {
  switch (kind) {
    case FindingKind::MissingRoom: return "Records of missing rooms";
    case FindingKind::NoRoomTime: return "Rooms without a time record";
    case FindingKind::UndescribedSchedule: return "Room schedules without a description";
    case FindingKind::UndescribedLine: return "Schedule lines without a description";
    case FindingKind::UnlistedSortValue: return "Unlisted sort values";
    case FindingKind::UnknownBank: return "Inventory of unknown banks";
    case FindingKind::KeyFormat: return "Malformed room numbers";
    case FindingKind::DuplicateNumber: return "Duplicate room numbers";
    case FindingKind::Engine: return "Engine integrity";
  }
  return "";
}

const char* kindCode(FindingKind kind) {
  switch (kind) {
    case FindingKind::MissingRoom: return "missing-room";
    case FindingKind::NoRoomTime: return "no-room-time";
    case FindingKind::UndescribedSchedule: return "undescribed-schedule";
    case FindingKind::UndescribedLine: return "undescribed-line";
    case FindingKind::UnlistedSortValue: return "unlisted-sort-value";
    case FindingKind::UnknownBank: return "unknown-bank";
    case FindingKind::KeyFormat: return "key-format";
    case FindingKind::DuplicateNumber: return "duplicate-number";
    case FindingKind::Engine: return "engine";
  }
  return "";
}

std::string keyText(const Finding& finding) {
  std::string text;
  for (const auto& [field, value] : finding.key) {
    if (!text.empty()) text += ", ";
    text += field + " ";
    if (value.isNull()) {
      text += "(none)";
    } else if (value.isText()) {
      text += "\"" + value.text() + "\"";
    } else {
      text += value.toText();
    }
  }
  return text;
}

namespace {

// A read transaction of the check's own, so that every step sees the same records; none is
// begun inside one that is open already.
class ReadTransaction {
 public:
  explicit ReadTransaction(Database& db) : db_(db) {
    if (db_.inTransaction()) return;
    run("BEGIN DEFERRED");
    own_ = true;
  }
  ~ReadTransaction() {
    if (own_ && db_.isOpen() && db_.inTransaction())
      sqlite3_exec(store::engineHandle(db_), "COMMIT", nullptr, nullptr, nullptr);
  }
  ReadTransaction(const ReadTransaction&) = delete;
  ReadTransaction& operator=(const ReadTransaction&) = delete;

 private:
  void run(const char* sql) {
    const int rc = sqlite3_exec(store::engineHandle(db_), sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) throw Error(rc & 0xFF, sqlite3_errmsg(store::engineHandle(db_)));
  }
  Database& db_;
  bool own_ = false;
};

const Error notOpen(code::misuse, "The database is not open.");

std::int64_t removeOrphans(Database& db, const check::Plan::Orphans& orphans) {
  std::int64_t removed = 0;
  for (const std::string& number : orphans.numbers) {
    removed += store::deleteWhereText(db, orphans.table, orphans.field, number);
  }
  if (!orphans.nulls) return removed;
  Table table = db.openTable(orphans.table);
  const std::size_t field = table.fieldPosition(orphans.field);
  for (moveToFirst(table); !table.eof();) {
    if (table.field(field).isNull()) {
      table.remove();
      ++removed;
    }
    table.moveNext();
  }
  return removed;
}

// The missing "Room Time" records, as Auto Generate Rooms makes a new room's: the number, today
// as "Last Updated", every time 0 and "Misc Time" empty.
std::int64_t addTimes(Database& db, const std::vector<std::string>& rooms) {
  if (rooms.empty()) return 0;
  const TableDef def = db.tableDef(sch::roomTime);
  std::vector<std::size_t> positions;
  std::vector<Value> values;
  const auto field = [&](const std::string& name, const Value& value) {
    if (const auto position = def.fieldPosition(name)) {
      positions.push_back(*position);
      values.push_back(value);
    }
  };
  field(sch::roomNumber, Value());
  field(sch::lastUpdated, Value(Date::today()));
  for (const std::string& time : sch::timeFields) field(time, Value(0));
  field(sch::miscTime, Value(""));
  Inserter insert(db, def.name, positions);
  for (std::size_t k = 1; k < values.size(); ++k) insert.set(k, values[k]);
  for (const std::string& room : rooms) {
    insert.set(0, Value(room));
    insert.insert();
  }
  return static_cast<std::int64_t>(rooms.size());
}

}  // namespace

CheckResult checkDatabase(Database& db, const CheckProgress& progress) {
  CheckResult result;
  if (!db.isOpen()) {
    result.failure = notOpen;
    return result;
  }
  try {
    const ReadTransaction read(db);
    result.findings = check::scan(db, progress).findings;
  } catch (const Error& error) {
    result.findings.clear();
    result.failure = error;
  }
  return result;
}

MendResult mendDatabase(Database& db, const CheckProgress& progress) {
  MendResult result;
  if (!db.isOpen()) {
    result.failure = result.found.failure = notOpen;
    return result;
  }
  std::optional<Run> run;
  bool scanned = false;
  try {
    run.emplace(db, checkFunction, mendDetail);
    const check::Plan plan = check::scan(db, progress);
    result.found.findings = plan.findings;
    scanned = true;
    if (plan.damaged) {
      result.failure = Error(code::corrupt, "The engine's integrity check reports damage.");
      return result;  // the run rolls back, having changed nothing
    }
    // Records of missing rooms go first: a trimmed number then meets none of them.
    for (const check::Plan::Orphans& orphans : plan.orphans)
      result.removed += removeOrphans(db, orphans);
    for (const check::Plan::Rename& rename : plan.renames) {
      const std::string upper = toUpper(rename.from);
      for (const std::string& table : plan.carriers) {
        store::updateWhereUpperText(db, table, sch::roomNumber, Value(rename.to), upper);
      }
      ++result.renumbered;
    }
    result.timesAdded = addTimes(db, plan.newTimes);
    run->commit();
  } catch (const Error& error) {
    result.failure = error;
    if (!scanned) result.found.failure = result.failure;
    result.removed = result.renumbered = result.timesAdded = 0;
  }
  return result;
}

}  // namespace store
