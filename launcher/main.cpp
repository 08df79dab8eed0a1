// switchboard: the suite's launcher bar.
#include <QApplication>
#include <QStandardPaths>

#include "common/text/program_info.h"
#include "logic/layout.h"
#include "logic/settings_file.h"
#include "logic/startup.h"
#include "logic/suite_folder.h"
#include "window/bar_window.h"
#include "window/program_icon.h"
#include "window/qt_window_system.h"

namespace {

const char* const usage =
    "Usage: switchboard [--help | --version]\n"
    "\n"
    "The suite's floating launcher bar: eight picture buttons that magnify under the pointer\n"
    "and start the suite's module programs from the folder named in the first field of\n"
    "/etc/jox.ini. Any other mouse button opens its menu: position, \"Keep on top\" and\n"
    "\"Close toolbar\". Only one copy runs at a time.\n"
    "\n"
    "Options:\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n"
    "\n"
    "The position and the on-top state are kept in switchboard.ini beside the program, or in\n"
    "~/.config/switchboard when the program's folder cannot be written. See switchboard(1).\n";

}  // namespace

int main(int argc, char** argv) {
  // Every argument other than --help and --version goes to Qt as it always has.
  const suite::ProgramInfo info{"switchboard", ROOMKIT_VERSION, usage};
  if (const auto status = suite::answerInfoOption(argc, argv, info)) return *status;
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
