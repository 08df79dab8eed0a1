// The tick marks of the bar's menu, which alone hold the docking position and the on-top state
// while the bar runs.
#pragma once

#include <array>

#include "logic/settings_file.h"

namespace switchboard {

constexpr int kPositionCount = 3;  // "Left", "Center", "Right"

struct MenuState {
  std::array<bool, kPositionCount> position{};  // POS_MENU(0..2)
  bool onTop = false;                           // POPUP_ONTOP

  // A position outside 0 to 2 ticks none; only -1 means on top.
  static MenuState fromSettings(const Settings& settings);
  void tickOnly(int position);
  // The settings to write at closing: the lowest ticked position, or 3 when none is.
  Settings toSettings() const;
  bool operator==(const MenuState&) const = default;
};

}  // namespace switchboard
