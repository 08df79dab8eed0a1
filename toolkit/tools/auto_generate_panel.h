// "Auto Generate Rooms": builds a range of room numbers from a digit pattern and adds them as
// new rooms.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <array>

#include "kit/text_box.h"
#include "tool_panel.h"
#include "tools/auto_generate_work.h"

namespace roomkit {

class AutoGeneratePanel : public ToolPanel {
  Q_OBJECT

 public:
  AutoGeneratePanel(ShellContext& shell, QWidget* parent);

  QGroupBox* Frame7;                   // "Starting Room Number"
  QGroupBox* Frame5;                   // "Ending Room Number"
  QGroupBox* Frame6;                   // increment and schedule
  std::array<TextBox*, 8> aaText1;     // starting digits
  std::array<QCheckBox*, 8> aaCheck1;  // locks
  std::array<TextBox*, 8> aaText2;     // ending digits
  QComboBox* aaCombo1;                 // increment "1" to "100"
  TextBox* aaText3;                    // schedule
  QToolButton* CSCmd2;                 // choose a schedule
  QListWidget* aaList1;                // the generated room numbers
  QPushButton* aaCommand1;             // "Generate"
  QPushButton* aaCommand2;             // "Update"

  void aaText1_GotFocus(int Index);
  void aaText1_Click(int Index);
  void aaText1_KeyPress(int Index, int& KeyAscii);
  void aaText1_Change(int Index);
  void aaText2_GotFocus(int Index);
  void aaText2_Click(int Index);
  void aaText2_KeyPress(int Index, int& KeyAscii);
  void aaCheck1_Click(int Index);
  void aaText3_Click();
  void aaText3_KeyPress(int& KeyAscii);
  void aaCommand1_Click();  // "Generate"
  void aaCommand2_Click();  // "Update"
  void CSCmd2_Click();      // choose a schedule

 private:
  // A locked position passes the focus on to the next unlocked one of its row.
  void skipLocked(const std::array<TextBox*, 8>& row, int index);
  autogen::Pattern pattern() const;
  void refusePattern(const QString& text);
};

}  // namespace roomkit
