// "Combine Rooms": merges ticked rooms into one, adding up their inventories.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "kit/report_list.h"
#include "kit/text_box.h"
#include "tool_panel.h"

namespace roomkit {

class CombineRoomsPanel : public ToolPanel {
  Q_OBJECT

 public:
  CombineRoomsPanel(ShellContext& shell, QWidget* parent);

  ReportList* ListView1;  // the rooms, with check boxes
  QCheckBox* Check5;      // "Delete selected rooms after combine"
  TextBox* Text11;        // target room number
  TextBox* Text10;        // target room name
  QComboBox* Combo2;      // target room schedule
  QPushButton* Command8;  // "Combine"

  void ListView1_ColumnClick(int column);
  void ListView1_MouseDown(Qt::MouseButton button);
  void Text11_KeyPress(int& code);
  void Text11_KeyUp(int key);
  void Command8_Click();

 private:
  // Shows the name and schedule of the room with that number, or empties both boxes.
  void FindTargetRoom(const QString& number);
  void clearTarget();
  // Steps of the merge up to the closing ones; every way out leaves them to Command8_Click.
  void combine(const QString& logPath);
};

}  // namespace roomkit
