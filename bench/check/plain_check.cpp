#include "plain_check.h"

#include <sqlite3.h>

#include <stdexcept>
#include <vector>

#include "store/database.h"
#include "store/engine/handle.h"

namespace bench {

namespace {

using Kind = store::FindingKind;

// A record's room number that no room has, the rooms compared case-blind.
std::string missingRoom(const char* table) {
  return std::string("SELECT t.\"Room Number\" FROM \"") + table +
         "\" AS t WHERE NOT EXISTS (SELECT 1 FROM \"Room Info\" AS r WHERE r.\"Room Number\" = "
         "t.\"Room Number\" COLLATE FOLD)";
}

std::string unlisted(const char* field, const char* table) {
  return std::string("SELECT \"Room Number\" FROM \"Room Info\" AS r WHERE trim(r.\"") + field +
         "\", ' ') <> '' AND NOT EXISTS (SELECT 1 FROM \"" + table +
         "\" AS s WHERE s.\"Sort Field\" = r.\"" + field + "\" COLLATE FOLD)";
}

const std::vector<std::pair<Kind, std::string>> queries = {
    {Kind::Engine, "SELECT * FROM pragma_integrity_check WHERE integrity_check <> 'ok'"},
    {Kind::MissingRoom, missingRoom("Room Inventory")},
    {Kind::MissingRoom, missingRoom("Room Time")},
    {Kind::MissingRoom, missingRoom("Area Assignments")},
    {Kind::MissingRoom, missingRoom("Project Assignments")},
    {Kind::NoRoomTime,
     "SELECT \"Room Number\" FROM \"Room Info\" AS r WHERE r.\"Room Number\" IS NOT NULL AND NOT "
     "EXISTS (SELECT 1 FROM \"Room Time\" AS t WHERE t.\"Room Number\" = r.\"Room Number\" COLLATE "
     "FOLD)"},
    {Kind::UndescribedSchedule,
     "SELECT \"Room Number\" FROM \"Room Info\" AS r WHERE trim(r.\"Schedule\", ' ') <> '' AND NOT "
     "EXISTS (SELECT 1 FROM \"Cleaning Schedules- Describe\" AS d WHERE d.\"Cleaning Schedule\" = "
     "r.\"Schedule\" COLLATE FOLD)"},
    {Kind::UndescribedLine,
     "SELECT \"Line Number\" FROM \"Cleaning Schedules\" AS l WHERE NOT EXISTS (SELECT 1 FROM "
     "\"Cleaning Schedules- Describe\" AS d WHERE d.\"Cleaning Schedule\" = l.\"Cleaning "
     "Schedule\" "
     "COLLATE FOLD)"},
    {Kind::UnlistedSortValue, unlisted("Sort Field 1", "Inv Sort Field 1")},
    {Kind::UnlistedSortValue, unlisted("Sort Field 2", "Inv Sort Field 2")},
    {Kind::UnknownBank,
     "SELECT \"Room Number\" FROM \"Room Inventory\" AS i WHERE NOT EXISTS (SELECT 1 FROM "
     "\"Inventory Banks\" AS b WHERE b.\"Bank\" = i.\"Bank\")"},
    {Kind::KeyFormat,
     "SELECT \"Room Number\" FROM \"Room Info\" WHERE \"Room Number\" IS NULL OR \"Room Number\" = "
     "'' "
     "OR trim(\"Room Number\", ' ') <> \"Room Number\" OR instr(\"Room Number\", ',') > 0 OR "
     "rk_upper_text(\"Room Number\", 0) <> \"Room Number\""},
    {Kind::DuplicateNumber,
     "SELECT 1 FROM \"Room Info\" WHERE \"Room Number\" IS NOT NULL GROUP BY \"Room Number\" "
     "COLLATE FOLD HAVING count(*) > 1"},
};

}  // namespace

KindCounts plainCheck(const std::string& path) {
  store::Database db = store::Database::open(path);
  sqlite3* handle = store::engineHandle(db);
  KindCounts counts{};
  for (const auto& [kind, sql] : queries) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(handle, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
      throw std::runtime_error(sqlite3_errmsg(handle));
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) ++counts[static_cast<std::size_t>(kind)];
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(handle));
  }
  return counts;
}

}  // namespace bench
