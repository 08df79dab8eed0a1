// "Database Cleanup": removes cleaning schedules that no room uses.
#pragma once

#include <QLabel>
#include <QPushButton>

#include "tool_panel.h"

namespace roomkit {

class CleanupPanel : public ToolPanel {
  Q_OBJECT

 public:
  CleanupPanel(ShellContext& shell, QWidget* parent);

  QLabel* Label5;
  QPushButton* Command6;

  void Command6_Click();
};

}  // namespace roomkit
