#include "combine_rooms_panel.h"

namespace roomkit {

CombineRoomsPanel::CombineRoomsPanel(ShellContext& shell, QWidget* parent)
    : ToolPanel(shell, "Frame10", "Combine Rooms", parent) {
  label("Combine Selected Rooms", 240, 300, 3255);
  ListView1 = new ReportList("ListView1", this);
  ListView1->setCheckable(true);
  place(ListView1, 240, 555, 7215, 3255);
  ListView1->setColumns({"Room Number", "Room Name", "Schedule", "Sort 1", "Sort 2"},
                        {px(1500), px(2100), px(1050), px(1200)});
  Check5 = new QCheckBox("Delete selected rooms after combine", this);
  Check5->setObjectName("Check5");
  Check5->setChecked(true);
  place(Check5, 240, 3900, 4200, 285);

  label("Into This Room", 240, 4320, 1815);
  Text11 = new TextBox("Text11", this);
  place(Text11, 240, 4575, 1815, 330);
  label("(Room Name)", 2160, 4320, 2535);
  Text10 = new TextBox("Text10", this);
  place(Text10, 2160, 4575, 2535, 330);
  label("(Cleaning Schedule)", 4800, 4320, 1455);
  Combo2 = new QComboBox(this);
  Combo2->setObjectName("Combo2");
  place(Combo2, 4800, 4575, 1335, 330);
  Command8 = new QPushButton("Combine", this);
  Command8->setObjectName("Command8");
  place(Command8, 6240, 4530, 1215, 420);
}

}  // namespace roomkit
