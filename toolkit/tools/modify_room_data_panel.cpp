#include "modify_room_data_panel.h"

namespace roomkit {

ModifyRoomDataPanel::ModifyRoomDataPanel(ShellContext& shell, QWidget* parent)
    : ToolPanel(shell, "Frame2", "Modify Room Data", parent) {
  label("Room Number", 240, 330, 3255);
  List1 = new LineList("List1", false, this);
  place(List1, 240, 600, 3495, 4695);

  const char* modes[] = {"Room Name", "Cleaning Schedule", "SQ.FT."};
  for (int i = 0; i < 3; ++i) {
    Option1[i] = new QRadioButton(modes[i], this);
    Option1[i]->setObjectName(QString("Option1(%1)").arg(i));
    place(Option1[i], 3960, 600 + i * 330, 2400, 285);
  }
  Option1[0]->setChecked(true);
  const char* kinds[] = {"Tile", "Carpet"};
  for (int i = 0; i < 2; ++i) {
    Check1[i] = new QCheckBox(kinds[i], this);
    Check1[i]->setObjectName(QString("Check1(%1)").arg(i));
    place(Check1[i], 4320 + i * 1320, 1620, 1200, 285);
    Check1[i]->setEnabled(false);
  }
  Check1[0]->setChecked(true);

  Text4 = new TextBox("Text4", this);
  place(Text4, 3960, 2100, 3480, 315);
  Text4->setMaxLength(24);
  Label4 = label("LIN.FT.", 3960, 2580, 900, 255, "Label4");
  Text6 = new TextBox("Text6", this);
  place(Text6, 4920, 2550, 1455, 315);
  Check2 = new QCheckBox("Retain Value", this);
  Check2->setObjectName("Check2");
  place(Check2, 3960, 3060, 2400, 285);
  Command3 = new QPushButton("Update", this);
  Command3->setObjectName("Command3");
  place(Command3, 3960, 3540, 1455, 420);
}

}  // namespace roomkit
