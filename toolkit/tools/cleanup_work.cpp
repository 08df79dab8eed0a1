#include "cleanup_work.h"

#include "store/database.h"
#include "store/error.h"
#include "store/history.h"
#include "store/schema.h"
#include "store/table.h"
#include "store/writes.h"

namespace roomkit {

namespace sch = store::schema;

namespace {

store::Error failed(const std::string& what, const store::Error& error) {
  return store::Error(error, what + ", so nothing was deleted.\r\n" + error.what());
}

std::string inTable(const char* table) {
  return std::string("The cleanup failed in the table \"") + table + "\"";
}

struct Tables {
  store::Table rooms;
  store::Table describe;
  store::Table lines;
};

// Deletes the detail lines of one schedule: from the seek on, while they hold exactly the code.
void removeLines(store::Table& lines, const std::string& code) {
  lines.setIndex(sch::schedIndex);
  lines.seek({store::Value(code)});
  while (!lines.eof() && !lines.noMatch() && lines.field(sch::cleaningSchedule).toText() == code) {
    lines.remove();
    lines.moveNext();
  }
}

// The walk; `what` tells where a failure happened.
int walk(Tables& t, std::string& what) {
  int deleted = 0;
  what = inTable(sch::scheduleDescribe);
  for (store::moveToFirst(t.describe); !t.describe.eof(); t.describe.moveNext()) {
    const std::string code = t.describe.field(sch::cleaningSchedule).toText();
    if (code.empty()) continue;  // no room can name it and it has no lines to find
    what = inTable(sch::roomInfo);
    // Whether a seek on the rooms' "Schedule" index finds one.
    if (!store::hasKey(t.rooms.database(), t.rooms.name(), sch::scheduleIndex,
                       {store::Value(code)})) {
      ++deleted;
      what = inTable(sch::scheduleLines);
      removeLines(t.lines, code);
      what = inTable(sch::scheduleDescribe);
      t.describe.remove();
    }
    what = inTable(sch::scheduleDescribe);
  }
  return deleted;
}

}  // namespace

CleanupResult removeUnusedSchedules(const std::string& path) {
  CleanupResult result;
  store::Database db;
  Tables t;
  std::string what = "The database could not be opened";
  try {
    db = store::Database::open(path);
    for (auto [table, name] :
         {std::pair{&t.rooms, sch::roomInfo}, std::pair{&t.describe, sch::scheduleDescribe},
          std::pair{&t.lines, sch::scheduleLines}}) {
      what = std::string("The table \"") + name + "\" could not be opened";
      *table = db.openTable(name);
    }
  } catch (const store::Error& error) {
    result.failure = failed(what, error);
    return result;
  }

  try {
    what = "The cleanup could not be started";
    store::Run run(db, "Database Cleanup");
    result.deleted = walk(t, what);
    what = "The deletions could not be saved";
    run.commit();
  } catch (const store::Error& error) {
    result.deleted = 0;
    result.failure = failed(what, error);
  }
  t = Tables{};
  db.close();
  return result;
}

}  // namespace roomkit
