#include "change_assignment_panel.h"

namespace roomkit {

ChangeAssignmentPanel::ChangeAssignmentPanel(ShellContext& shell, QWidget* parent)
    : ToolPanel(shell, "Frame9", "Change Assignment Number", parent) {
  label("Current Assignment Number", 480, 600, 3000);
  Text7 = new TextBox("Text7", this);
  place(Text7, 480, 870, 3000, 315);
  label("New Assignment Number", 3840, 600, 3000);
  Text8 = new TextBox("Text8", this);
  place(Text8, 3840, 870, 3000, 315);
  Command7 = new QPushButton("Change", this);
  Command7->setObjectName("Command7");
  place(Command7, 3120, 1560, 1455, 420);
}

}  // namespace roomkit
