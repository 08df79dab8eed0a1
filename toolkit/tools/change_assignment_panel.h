// "Change Assignment Number": replaces an area assignment number in the assignment tables.
#pragma once

#include <QPushButton>

#include "kit/text_box.h"
#include "tool_panel.h"

namespace roomkit {

class ChangeAssignmentPanel : public ToolPanel {
  Q_OBJECT

 public:
  ChangeAssignmentPanel(ShellContext& shell, QWidget* parent);

  TextBox* Text7;  // current assignment number
  TextBox* Text8;  // new assignment number
  QPushButton* Command7;

  void Text7_GotFocus();
  void Text8_GotFocus();
  void Text7_KeyPress(int& KeyAscii);
  void Text8_KeyPress(int& KeyAscii);
  void Command7_Click();
};

}  // namespace roomkit
