// The start-up order of the bar up to the window-system calls: single copy, program folder,
// window place and menu ticks.
#pragma once

#include <QString>

#include "logic/layout.h"
#include "logic/menu_state.h"
#include "logic/window_system.h"

namespace switchboard {

struct Paths {
  QString systemFolder;  // where "jox.ini" lies, ending with its separator
  QString settingsFile;  // "switchboard.ini", see settingsPathFor()
};

struct StartupPlan {
  bool endProgram = true;  // another copy runs, or no program folder
  QString suiteFolder;
  MenuState menu;
  double left = 0;  // twips
  double top = 0;
  int height = kWindowHeight;
};

StartupPlan planStartup(WindowSystem& ws, const Paths& paths, int windowWidth);

}  // namespace switchboard
