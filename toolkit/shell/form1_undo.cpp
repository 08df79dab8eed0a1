// Undoing the newest run of the change history of the database in the path box.
#include <QString>

#include "form1.h"
#include "kit/reentry.h"
#include "kit/ui.h"
#include "store/error.h"
#include "store/helpers.h"
#include "store/history.h"

namespace roomkit {

namespace {

QString described(const store::RunInfo& run) {
  QString text = QString::fromStdString(run.function);
  if (!run.detail.empty()) text += " (" + QString::fromStdString(run.detail) + ")";
  return text;
}

}  // namespace

// Asks with the run's function, time and records; then undoes it on a connection of its own,
// reports, and loads the database again as a merge does.
void Form1::CommandUndo_Click() {
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  const std::string path(store::trimBlanks(Text1->text().toStdString()));
  if (path.empty()) {
    refuse("Please select a database.", "CANNOT CONTINUE");
    return;
  }
  store::Database db;
  std::optional<store::RunInfo> run;
  try {
    db = store::Database::open(path);
    run = store::latestUndoable(db);
  } catch (const store::Error& error) {
    refuse("The database could not be opened, so nothing was undone.\r\n" +
               QString::fromStdString(error.what()),
           "CANNOT CONTINUE");
    return;
  }
  if (!run) {
    tell("There is nothing to undo: no run of a function on this database is left that has not "
         "been undone.",
         "NOTHING TO UNDO", Icon::Information);
    return;
  }
  const QString records = QString::number(run->records) + (run->records == 1 ? " record" : " records");
  if (!ask("Undo the last run, " + described(*run) + " of " + QString::fromStdString(run->when) +
               ", which changed " + records + "?",
           "UNDO LAST RUN?", Answer::No, Icon::Question)) {
    return;
  }
  ui().setBusy(true);
  const store::UndoResult result = store::undoLatest(db);
  db.close();
  ui().setBusy(false);
  if (!result.undone) {
    refuse(QString::fromStdString(result.refusal), "CANNOT UNDO");
    return;
  }
  tell("Undone.", {}, Icon::Information);
  LoadCurrentDB();
}

}  // namespace roomkit
