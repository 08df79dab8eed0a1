#include "logic/startup.h"

#include "logic/docking.h"
#include "logic/layout.h"
#include "logic/settings_file.h"
#include "logic/suite_folder.h"

namespace switchboard {

StartupPlan planStartup(WindowSystem& ws, const Paths& paths, int windowWidth) {
  StartupPlan plan;
  if (ws.anotherInstanceRunning()) return plan;
  plan.suiteFolder = readSuiteFolder(paths.systemFolder);
  if (plan.suiteFolder.isEmpty()) return plan;

  const QSize screen = ws.screenSize() * kTwipsPerPixel;
  plan.top = dockTop(screen.height(), plan.height);
  const Settings settings = readSettings(paths.settingsFile);
  plan.menu = MenuState::fromSettings(settings);
  plan.left = dockLeft(settings.position, screen.width(), windowWidth);
  plan.endProgram = false;
  return plan;
}

}  // namespace switchboard
