#include "change_assignment_panel.h"

#include "shell/ui.h"
#include "store/helpers.h"
#include "walking_work.h"

namespace roomkit {

namespace {

std::string trimmed(const QString& text) {
  return std::string(store::trimBlanks(text.toStdString()));
}

}  // namespace

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
void ChangeAssignmentPanel::Text7_KeyPress(int& KeyAscii) {
  KeyAscii = upperCode(KeyAscii);
  if (KeyAscii == 13) {
    KeyAscii = 0;
    Text8->setFocus();
  }
}

void ChangeAssignmentPanel::Text8_KeyPress(int& KeyAscii) {
  KeyAscii = upperCode(KeyAscii);
  if (KeyAscii == 13) {
    KeyAscii = 0;
    Text7->setFocus();
  }
}

void ChangeAssignmentPanel::Command7_Click() {
  const std::string path = trimmed(shell_.databasePath());
  if (path.empty()) {
    refuse("Please select a database.", "CANNOT CONTINUE");
    shell_.focusDatabasePath();
    return;
  }
  const std::string current = trimmed(Text7->text());
  if (current.empty()) {
    refuse("Please select an assignment number.", "CANNOT CONTINUE");
    Text7->setFocus();
    return;
  }
  const std::string newNumber = trimmed(Text8->text());
  if (newNumber.empty()) {
    refuse("Please select an assignment number.", "CANNOT CONTINUE");
    Text8->setFocus();
    return;
  }
  if (!ask("Are you sure?", "CHANGE ASSIGNMENT NUMBER?", Answer::No)) return;

  ui().setBusy(true);
  const WalkResult result = changeAssignmentNumber(path, current, newNumber);
  ui().setBusy(false);
  if (result.failure) {
    refuse(QString::fromStdString(*result.failure), "CANNOT CONTINUE");
    return;
  }
  tell("Done");
}

}  // namespace roomkit
