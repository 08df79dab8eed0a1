#include "copy_inventory_panel.h"

namespace roomkit {

CopyInventoryPanel::CopyInventoryPanel(ShellContext& shell, QWidget* parent)
    : ToolPanel(shell, "Frame3", "Copy Room Inventory (Templates)", parent) {
  label("Copy From Room", 240, 330, 3495);
  List2 = new LineList("List2", false, this);
  place(List2, 240, 600, 3495, 3615);
  label("Copy To Room(s)", 3960, 330, 3495);
  List3 = new LineList("List3", true, this);
  place(List3, 3960, 600, 3495, 3615);

  label("Multiply by", 240, 4395, 1095);
  Text5 = new TextBox("Text5", this);
  Text5->setText("1");
  place(Text5, 1335, 4365, 735, 315);
  Check3 = new QCheckBox("Keep existing inventory (add)", this);
  Check3->setObjectName("Check3");
  place(Check3, 2280, 4380, 3255, 285);
  Check4 = new QCheckBox("Exact copy (Copy all items)", this);
  Check4->setObjectName("Check4");
  place(Check4, 2280, 4740, 3255, 285);
  Command4 = new QPushButton("Copy", this);
  Command4->setObjectName("Command4");
  place(Command4, 6240, 4320, 1215, 420);
  Command5 = new QPushButton("Clear", this);
  Command5->setObjectName("Command5");
  place(Command5, 6240, 4860, 1215, 420);
}

}  // namespace roomkit
