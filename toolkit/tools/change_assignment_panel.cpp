#include "change_assignment_panel.h"

#include "kit/reentry.h"
#include "value_change.h"
#include "walking_work.h"

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

  Text7->onGotFocus = [this] { Text7_GotFocus(); };
  Text8->onGotFocus = [this] { Text8_GotFocus(); };
  Text7->onKeyPress = [this](int& code) { Text7_KeyPress(code); };
  Text8->onKeyPress = [this](int& code) { Text8_KeyPress(code); };
  connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
}

void ChangeAssignmentPanel::Text7_GotFocus() { Text7->selectWhole(); }

void ChangeAssignmentPanel::Text8_GotFocus() { Text8->selectWhole(); }

// Enter moves between the two boxes; it never runs the change.
// Enter moves between the two boxes; it never runs the change.
void ChangeAssignmentPanel::Text7_KeyPress(int& KeyAscii) {
  KeyAscii = upperCode(KeyAscii);
  moveOnEnter(KeyAscii, Text8);
}

void ChangeAssignmentPanel::Text8_KeyPress(int& KeyAscii) {
  KeyAscii = upperCode(KeyAscii);
  moveOnEnter(KeyAscii, Text7);
}

void ChangeAssignmentPanel::Command7_Click() {
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  if (shell_.refuseReadOnly()) return;
  runValueChange(shell_, {Text7, Text8, "Please select an assignment number.",
                          "CHANGE ASSIGNMENT NUMBER?", changeAssignmentNumber});
}

}  // namespace roomkit
