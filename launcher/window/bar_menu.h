// The bar's context menu: "Position" (Left, Center, Right), "Keep on top", "Close toolbar".
// The tick marks always show the MenuState handed in, whatever Qt toggled on a click.
#pragma once

#include <QMenu>
#include <array>
#include <functional>

#include "logic/menu_state.h"

class QAction;

namespace switchboard {

class BarMenu {
 public:
  explicit BarMenu(QWidget* owner);

  QMenu* menu() const { return popup1_; }  // POPUP1
  void show(const MenuState& state);

  std::function<void(int)> onPosition;
  std::function<void()> onOnTop;
  std::function<void()> onClose;

 private:
  QMenu* popup1_;
  std::array<QAction*, kPositionCount> position_{};
  QAction* onTop_;
};

}  // namespace switchboard
