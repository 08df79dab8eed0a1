// switchboard: the suite's launcher bar.
#include <QApplication>
#include <QStandardPaths>

#include "logic/layout.h"
#include "logic/settings_file.h"
#include "logic/startup.h"
#include "logic/suite_folder.h"
#include "window/bar_window.h"
#include "window/program_icon.h"
#include "window/qt_window_system.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(switchboard::kProgramTitle);
  QApplication::setWindowIcon(switchboard::programIcon());

  switchboard::QtWindowSystem windowSystem;
  const switchboard::Paths paths{
      switchboard::thisSystemFolder(),
      switchboard::settingsPathFor(
          QApplication::applicationDirPath(),
          QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))};
  switchboard::BarWindow bar(windowSystem, paths);
  if (!bar.Form_Load()) return 0;
  return app.exec();
}
