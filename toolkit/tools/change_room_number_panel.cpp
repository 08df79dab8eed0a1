#include "change_room_number_panel.h"

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
}

}  // namespace roomkit
