#include "logic/launch_plan.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace switchboard {

LaunchHost thisHost() {
  LaunchHost host;
#ifdef Q_OS_WIN
  host.runsWindowsPrograms = true;
#else
  host.wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
#endif
  host.isFolder = [](const QString& path) { return QFileInfo(path).isDir(); };
  host.isFile = [](const QString& path) { return QFileInfo(path).isFile(); };
  host.isExecutable = [](const QString& path) { return QFileInfo(path).isExecutable(); };
  return host;
}

LaunchPlan planLaunch(const QString& path, const LaunchHost& host) {
  LaunchPlan plan;
  const QFileInfo info(QDir::fromNativeSeparators(path));
  const QString file = info.absoluteFilePath();
  const QString folder = info.absolutePath();
  if (path.isEmpty() || !host.isFolder(folder)) {
    plan.reason = QStringLiteral("its folder does not exist");
    return plan;
  }
  if (!host.isFile(file)) {
    plan.reason = QStringLiteral("the file does not exist");
    return plan;
  }
  plan.workingFolder = folder;
  const bool windowsProgram = file.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive);
  if (windowsProgram && !host.runsWindowsPrograms) {
    if (host.wine.isEmpty()) {
      plan.reason = QStringLiteral("it is a Windows program and Wine is not installed");
      return plan;
    }
    plan.program = host.wine;
    plan.arguments = QStringList{file};
  } else {
    if (!windowsProgram && !host.isExecutable(file)) {
      plan.reason = QStringLiteral("the file is not a program");
      return plan;
    }
    plan.program = file;
  }
  plan.ok = true;
  return plan;
}

QString launchFailureText(const QString& path, const QString& reason) {
  return QStringLiteral("The program \"%1\" cannot be started: %2.").arg(path, reason);
}

}  // namespace switchboard
