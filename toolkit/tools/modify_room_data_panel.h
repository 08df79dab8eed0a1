// "Modify Room Data": walks the rooms one by one, setting each room's name, schedule or floor area.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <array>

#include "kit/line_list.h"
#include "kit/text_box.h"
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

  void List1_Click();
  void Option1_Click(int index);
  void Check1_Click(int index);
  void Text4_KeyPress(int& code);
  void Text6_KeyPress(int& code);
  void Command3_Click();
  void FindText4();  // the room value lookup

 private:
  void showPresentValue();  // the lookup without "Retain Value" and focus
  void limitText4(int length);
  void setText4(const QString& text);
  void focusText4();
  QString selectedRoom() const;  // "" when no line is selected

  int text4Limit_ = 24;
};

}  // namespace roomkit
