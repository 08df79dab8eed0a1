// "Copy Room Inventory (Templates)": copies one room's inventory, optionally multiplied, into
// other rooms.
#pragma once

#include <QCheckBox>
#include <QPushButton>

#include "kit/line_list.h"
#include "kit/text_box.h"
#include "tool_panel.h"

namespace roomkit {

class CopyInventoryPanel : public ToolPanel {
  Q_OBJECT

 public:
  CopyInventoryPanel(ShellContext& shell, QWidget* parent);

  LineList* List2;        // "Copy From Room"
  LineList* List3;        // "Copy To Room(s)"
  TextBox* Text5;         // "Multiply by"
  QCheckBox* Check3;      // "Keep existing inventory (add)"
  QCheckBox* Check4;      // "Exact copy (Copy all items)"
  QPushButton* Command4;  // "Copy"
  QPushButton* Command5;  // "Clear"

  void Check4_Click();
  void Command4_Click();
  void Command5_Click();
};

}  // namespace roomkit
