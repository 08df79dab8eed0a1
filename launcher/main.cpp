// switchboard: the suite's launcher bar.
#include <QApplication>

#include "logic/layout.h"
#include "logic/startup.h"
#include "logic/suite_folder.h"
#include "window/bar_window.h"
#include "window/qt_window_system.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(switchboard::kProgramTitle);

  switchboard::QtWindowSystem windowSystem;
  const switchboard::Paths paths{switchboard::thisSystemFolder(),
                                 switchboard::settingsPathIn(QApplication::applicationDirPath())};
  switchboard::BarWindow bar(windowSystem, paths);
  if (!bar.Form_Load()) return 0;
  return app.exec();
}
