// "Modify Room Data": walks the rooms one by one, setting each room's name, schedule or floor area.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "shell/line_list.h"
#include "shell/text_box.h"
#include "tool_panel.h"

namespace roomkit {

class ModifyRoomDataPanel : public ToolPanel {
  Q_OBJECT

 public:
  ModifyRoomDataPanel(ShellContext& shell, QWidget* parent);

  LineList* List1;
  std::array<QRadioButton*, 3> Option1;  // "Room Name", "Cleaning Schedule", "SQ.FT."
  std::array<QCheckBox*, 2> Check1;      // "Tile", "Carpet"
  TextBox* Text4;
  QLabel* Label4;
  TextBox* Text6;
  QCheckBox* Check2;  // "Retain Value"
  QPushButton* Command3;
};

}  // namespace roomkit
