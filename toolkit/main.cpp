// roomkit: the room database maintenance toolkit.
#include <QApplication>
#include <QTimer>

#include "shell/form1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("roomkit");
  roomkit::Form1 form;
  form.show();
  form.activateWindow();
  // Some window systems never report the first activation; the warning must show all the same.
  QTimer::singleShot(0, &form, [&form] { form.Form_Activate(); });
  return QApplication::exec();
}
