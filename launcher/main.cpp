// switchboard: the suite's launcher bar.
#include <QApplication>
#include <QStandardPaths>

#include <cstdio>
#include <cstring>

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

// The first --help or --version among the arguments, or null. They are answered before any
// window system is needed; every other argument goes to Qt as it always has.
const char* infoOption(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "--version") == 0) {
      return argv[i];
    }
  }
  return nullptr;
}

int printInfo(const char* option) {
  std::fputs(std::strcmp(option, "--help") == 0 ? usage : "switchboard " ROOMKIT_VERSION "\n",
             stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (const char* option = infoOption(argc, argv)) return printInfo(option);
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
