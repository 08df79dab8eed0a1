#include "cleanup_panel.h"

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
}

}  // namespace roomkit
