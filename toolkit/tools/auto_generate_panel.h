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

#include "shell/text_box.h"
#include "tool_panel.h"

namespace roomkit {

class AutoGeneratePanel : public ToolPanel {
  Q_OBJECT

 public:
  AutoGeneratePanel(ShellContext& shell, QWidget* parent);

  QGroupBox* Frame7;  // "Starting Room Number"
  QGroupBox* Frame5;  // "Ending Room Number"
  QGroupBox* Frame6;  // increment and schedule
  std::array<TextBox*, 8> aaText1;     // starting digits
  std::array<QCheckBox*, 8> aaCheck1;  // locks
  std::array<TextBox*, 8> aaText2;     // ending digits
  QComboBox* aaCombo1;                 // increment "1" to "100"
  TextBox* aaText3;                    // schedule
  QToolButton* CSCmd2;                 // choose a schedule
  QListWidget* aaList1;                // the generated room numbers
  QPushButton* aaCommand1;             // "Generate"
  QPushButton* aaCommand2;             // "Update"
};

}  // namespace roomkit
