// "Change Sort Fields": replaces a sort-field value in the rooms and in that field's value list.
#pragma once

#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "kit/text_box.h"
#include "tool_panel.h"

namespace roomkit {

class ChangeSortFieldPanel : public ToolPanel {
  Q_OBJECT

 public:
  ChangeSortFieldPanel(ShellContext& shell, QWidget* parent);

  std::array<QRadioButton*, 2> Option2;  // "Sort Field 1", "Sort Field 2"
  TextBox* Text12;                       // current sort field value
  TextBox* Text13;                       // new sort field value
  QPushButton* Command9;

  void Text12_KeyPress(int& KeyAscii);
  void Text13_KeyPress(int& KeyAscii);
  void Command9_Click();
};

}  // namespace roomkit
