// roomkit: the room database maintenance toolkit.
#include <QApplication>

#include "common/text/program_info.h"
#include "shell/form1.h"

namespace {

const char* const usage =
    "Usage: roomkit [--help | --version] [FILE]\n"
    "\n"
    "The maintenance toolkit for the building databases (JOX_<code>.MDB) of a facility-cleaning\n"
    "suite: pick a database, pick one of eight functions, fill in its panel and press its\n"
    "button. Changes go straight into the database; Undo Last Run (Ctrl+Z) takes the newest run\n"
    "back, and an Access (Jet) database is converted to the toolkit's own format when chosen.\n"
    "\n"
    "FILE, a building database, is opened at start (after the backup warning) as if chosen with\n"
    "the browse button; an Access (Jet) file is offered for conversion first.\n"
    "\n"
    "Options:\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n"
    "\n"
    "Desktop mode: the browse button chooses a database file. Hosted mode, for a copy that lies\n"
    "in a folder inside a folder named \"Corvane ASP\": it chooses one of the buildings of the\n"
    "user named in jox.usr beside the program.\n"
    "lastdir.ini and lastopt.ini are kept beside the program, or in ~/.config/roomkit when the\n"
    "program's folder cannot be written. See roomkit(1).\n";

}  // namespace

int main(int argc, char** argv) {
  // Every argument other than --help and --version goes to Qt as it always has.
  const suite::ProgramInfo info{"roomkit", ROOMKIT_VERSION, usage};
  if (const auto status = suite::answerInfoOption(argc, argv, info)) return *status;
  QApplication app(argc, argv);
  QApplication::setApplicationName("roomkit");
  roomkit::Form1 form;
  // The first argument that Qt left and that is no option names the database to open.
  const QStringList arguments = QApplication::arguments().mid(1);
  for (const QString& argument : arguments) {
    if (!argument.startsWith('-')) {
      form.openAtStart(argument);
      break;
    }
  }
  form.startShown();
  return QApplication::exec();
}
