// How a module program is started on this machine, or why it cannot be.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace switchboard {

struct LaunchHost {
  bool runsWindowsPrograms = false;  // the machine starts ".exe" files itself
  QString wine;                      // the Wine program found on the search path, "" when none
  std::function<bool(const QString&)> isFolder;
  std::function<bool(const QString&)> isFile;
  std::function<bool(const QString&)> isExecutable;
};

// The machine the program runs on.
LaunchHost thisHost();

struct LaunchPlan {
  bool ok = false;
  QString program;
  QStringList arguments;
  QString workingFolder;  // the program's own folder, where module programs expect to run
  QString reason;         // why it cannot start, when not ok
};

LaunchPlan planLaunch(const QString& path, const LaunchHost& host);

// The message shown when a program cannot be started.
QString launchFailureText(const QString& path, const QString& reason);

}  // namespace switchboard
