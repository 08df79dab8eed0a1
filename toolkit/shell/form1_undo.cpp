// Undoing the newest run of the change history of the loaded database, the one whose rooms the
// lists show. The question and every answer name the file and the run as a person knows it: by
// its function, its detail and its time.
#include <QString>

#include "form1.h"
#include "history_window.h"
#include "kit/reentry.h"
#include "kit/ui.h"
#include "store/error.h"
#include "store/history.h"
#include "store/merge_log.h"
#include "tools/modify_room_data_panel.h"

namespace roomkit {

QString describedRun(const store::RunInfo& run) {
  QString text = QString::fromStdString(run.function);
  if (!run.detail.empty()) text += " (" + QString::fromStdString(run.detail) + ")";
  return text + " of " + QString::fromStdString(run.when);
}

void Form1::CommandUndo_Click() {
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  undoNewestRun();
}

bool Form1::undoNewestRun() {
  if (!currentDB_.isOpen() || !CommandUndo->isEnabled()) return false;  // no database is loaded
  if (refuseReadOnly()) return false;
  const std::string path = currentDB_.path();
  const QString file = QString::fromStdString(path);
  store::Database db;
  std::optional<store::RunInfo> run;
  try {
    db = store::Database::open(path);
    run = store::latestUndoable(db);
  } catch (const store::Error& error) {
    refuse("The database " + file + " could not be opened, so nothing was undone.\r\n" +
               QString::fromStdString(error.what()),
           "CANNOT CONTINUE");
    return false;
  }
  if (!run) {
    tell("There is nothing to undo in " + file +
             ": no run of a function on it is left that has "
             "not been undone.",
         "NOTHING TO UNDO", Icon::Information);
    return false;
  }
  const QString records =
      QString::number(run->records) + (run->records == 1 ? " record" : " records");
  if (!ask("Undo the last run on " + file + ", " + describedRun(*run) + ", which changed " +
               records + "?",
           "UNDO LAST RUN?", Answer::No, Icon::Question)) {
    return false;
  }
  ui().setBusy(true);
  const store::UndoResult result = store::undoLatest(db);
  db.close();
  ui().setBusy(false);
  if (!result.ok()) {
    refuse(result.run && !result.reason.empty()
               ? "The last run on " + file + ", " + describedRun(*result.run) +
                     ", cannot be undone: " + QString::fromStdString(result.reason) +
                     ". Nothing was changed."
               : QString::fromStdString(result.message()),
           "CANNOT UNDO");
    return false;
  }
  const std::string unlogged = store::noteUndoneMerge(path, *result.run);
  tell(unlogged.empty() ? QString("Undone.") : "Undone.\r\n" + QString::fromStdString(unlogged), {},
       Icon::Information);
  LoadCurrentDB();
  showFreshPanels();
  return true;
}

// The values that a panel shows of the records it looked up go with the state they came from.
void Form1::showFreshPanels() {
  Frame2->List1->clearSelected();
  Frame2->Text4->setText("");
  Frame2->Text6->setText("");
}

void Form1::CommandHistory_Click() {
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  if (!currentDB_.isOpen() || !CommandHistory->isEnabled()) return;
  HistoryWindow window(*this, this);
  ui().showModal(window);
}

}  // namespace roomkit
