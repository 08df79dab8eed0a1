// "Change Room Number": gives a room a new number in every table that carries room numbers.
#pragma once

#include <QPushButton>

#include "kit/text_box.h"
#include "tool_panel.h"

namespace roomkit {

class ChangeRoomNumberPanel : public ToolPanel {
  Q_OBJECT

 public:
  ChangeRoomNumberPanel(ShellContext& shell, QWidget* parent);

  TextBox* Text2;  // current room number
  TextBox* Text3;  // new room number
  QPushButton* Command1;

  void Text2_GotFocus();
  void Text3_GotFocus();
  void Text2_KeyPress(int& KeyAscii);
  void Text3_KeyPress(int& KeyAscii);
  void Command1_Click();
};

}  // namespace roomkit
