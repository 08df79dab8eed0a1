#include "history_commands.h"

#include "store/error.h"
#include "store/history.h"
#include "store/merge_log.h"

namespace dbtool {

namespace {

std::string headline(const store::RunInfo& run) {
  std::string line = "run " + std::to_string(run.number) + ", " + run.when + ", " + run.function;
  if (!run.detail.empty()) line += " (" + run.detail + ")";
  line += ": " + std::to_string(run.records) + (run.records == 1 ? " record" : " records");
  return line;
}

std::string tableLine(const store::TableChanges& table) {
  std::string line = "    " + table.table + ":";
  const char* sep = " ";
  for (const auto& [count, word] :
       {std::pair{table.added, "added"}, std::pair{table.changed, "changed"},
        std::pair{table.removed, "removed"}}) {
    if (count == 0) continue;
    line += sep + std::to_string(count) + " " + word;
    sep = ", ";
  }
  return line;
}

void say(Output& out, const std::string& line) {
  out.buffer() += line;
  out.buffer() += '\n';
}

}  // namespace

void listHistory(const std::string& path, Output& out) {
  store::Database db = store::Database::open(path, store::Database::Access::Read);
  const std::vector<store::RunInfo> runs = store::listRuns(db);
  if (runs.empty()) say(out, path + ": the history holds no runs");
  for (const store::RunInfo& run : runs) {
    say(out, headline(run) + (run.undone ? ", undone " + *run.undone : ""));
    for (const store::TableChanges& table : run.tables) say(out, tableLine(table));
    if (run.undone) continue;
    const std::string damage = store::runDamage(db, run.number);
    if (!damage.empty()) say(out, "    cannot be undone: " + damage);
  }
  out.flush();
}

void undoNewestRun(const std::string& path, Output& out) {
  store::Database db = store::Database::open(path);
  const store::UndoResult result = store::undoLatest(db);
  if (!result.ok()) throw store::Error(*result.failure, path + ": " + result.message());
  say(out, "undone: " + headline(*result.run));
  // The merge's log says that it was undone; the undo stands even where the log cannot be written.
  const std::string unlogged = store::noteUndoneMerge(path, *result.run);
  if (!unlogged.empty()) say(out, "warning: " + unlogged);
  out.flush();
}

}  // namespace dbtool
