#include "cleanup_panel.h"

#include <QFileInfo>

#include "cleanup_work.h"
#include "kit/jet_conversion.h"
#include "kit/reentry.h"
#include "kit/ui.h"

namespace roomkit {

CleanupPanel::CleanupPanel(ShellContext& shell, QWidget* parent)
    : ToolPanel(shell, "Frame8", "Database Cleanup", parent) {
  Label5 = label(
      "These tools will assist in removing unused or unwanted records from your Corvane "
      "database.  Only run these tools after the construction of a new Corvane database is "
      "complete.",
      480, 480, 6735, 900, "Label5");
  Label5->setWordWrap(true);
  Command6 = new QPushButton("Remove Cleaning Schedules not attached to Rooms", this);
  Command6->setObjectName("Command6");
  place(Command6, 480, 1560, 5055, 420);
  connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
}

void CleanupPanel::Command6_Click() {
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  if (shell_.refuseReadOnly()) return;
  const QString path = shell_.databasePath();
  if (path.isEmpty() || !QFileInfo(path).isFile()) {
    ui().beep();
    tell("Invalid database.  Please select another.", {}, Icon::Exclamation);
    return;
  }
  if (!readyToOpen(window(), path)) return;  // an Access file is converted before the question
  ui().beep();
  if (!ask("This operation will delete all unused schedules.  Are you sure?", {}, Answer::Yes,
           Icon::Question)) {
    return;
  }

  // Disabling the panel takes the focus away; the button gets it back afterwards.
  const bool hadFocus = Command6->hasFocus();
  setEnabled(false);
  ui().setBusy(true);
  const CleanupResult result = removeUnusedSchedules(path.toStdString());
  ui().setBusy(false);
  setEnabled(true);
  if (hadFocus) Command6->setFocus();

  if (!result.ok()) {
    refuse(QString::fromStdString(result.message()), "CANNOT CONTINUE");
    return;
  }
  tell(QString::number(result.deleted) + " Cleaning Schedules have been deleted.", {},
       Icon::Information);
}

}  // namespace roomkit
