#include "runs.h"

#include "store/database.h"

namespace historytest {

Counts countsOf(const store::RunInfo& run) {
  Counts counts;
  for (const store::TableChanges& t : run.tables) counts[t.table] = {t.added, t.changed, t.removed};
  return counts;
}

std::vector<store::RunInfo> runsOf(const std::string& path) {
  store::Database db = store::Database::open(path);
  return store::listRuns(db);
}

store::UndoResult undoOn(const std::string& path) {
  store::Database db = store::Database::open(path);
  return store::undoLatest(db);
}

}  // namespace historytest
