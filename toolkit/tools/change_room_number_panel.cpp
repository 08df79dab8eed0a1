#include "change_room_number_panel.h"

#include "kit/reentry.h"
#include "value_change.h"
#include "walking_work.h"

namespace roomkit {

ChangeRoomNumberPanel::ChangeRoomNumberPanel(ShellContext& shell, QWidget* parent)
    : ToolPanel(shell, "Frame1", "Change Room Number", parent) {
  label("Current Room Number", 480, 600, 3000);
  Text2 = new TextBox("Text2", this);
  place(Text2, 480, 870, 3000, 315);
  label("New Room Number", 3840, 600, 3000);
  Text3 = new TextBox("Text3", this);
  place(Text3, 3840, 870, 3000, 315);
  Command1 = new QPushButton("Change", this);
  Command1->setObjectName("Command1");
  place(Command1, 3120, 1560, 1455, 420);

  Text2->onGotFocus = [this] { Text2_GotFocus(); };
  Text3->onGotFocus = [this] { Text3_GotFocus(); };
  Text2->onKeyPress = [this](int& code) { Text2_KeyPress(code); };
  Text3->onKeyPress = [this](int& code) { Text3_KeyPress(code); };
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

void ChangeRoomNumberPanel::Text2_GotFocus() { Text2->selectWhole(); }

void ChangeRoomNumberPanel::Text3_GotFocus() { Text3->selectWhole(); }

// Enter moves between the two boxes; it never runs the change.
// Enter moves between the two boxes; it never runs the change.
void ChangeRoomNumberPanel::Text2_KeyPress(int& KeyAscii) {
  KeyAscii = upperCode(KeyAscii);
  moveOnEnter(KeyAscii, Text3);
}

void ChangeRoomNumberPanel::Text3_KeyPress(int& KeyAscii) {
  KeyAscii = upperCode(KeyAscii);
  moveOnEnter(KeyAscii, Text2);
}

void ChangeRoomNumberPanel::Command1_Click() {
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  if (shell_.refuseReadOnly()) return;
  runValueChange(shell_, {Text2, Text3, "Please select a room number.", "CHANGE ROOM NUMBER?",
                          changeRoomNumber});
}

}  // namespace roomkit
