#include "support/scripted_ui.h"

#include <QApplication>

namespace testsupport {

ScriptedUi::ScriptedUi() { roomkit::setUi(this); }
ScriptedUi::~ScriptedUi() { roomkit::setUi(nullptr); }

roomkit::Answer ScriptedUi::message(const roomkit::Message& m) {
  messages.push_back(m);
  if (m.buttons == roomkit::Buttons::Ok) return roomkit::Answer::Ok;
  if (answers.empty()) return m.defaultButton;
  const roomkit::Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

void ScriptedUi::processEvents() {
  ++eventRuns;
  QApplication::processEvents();
}

QString ScriptedUi::openFile(QWidget*, const QString& filterName, const QString& pattern,
                             const QString& initialName) {
  lastFilterName = filterName;
  lastPattern = pattern;
  lastInitialName = initialName;
  return fileChoice ? *fileChoice : initialName;
}

int ScriptedUi::showModal(QDialog& dialog) {
  dialog.show();
  QApplication::processEvents();
  const int result = onModal ? onModal(dialog) : QDialog::Rejected;
  if (dialog.isVisible()) dialog.done(result);
  return dialog.result();
}

}  // namespace testsupport

namespace roomkit {

bool operator==(const Message& a, const Message& b) {
  return a.text == b.text && a.title == b.title && a.buttons == b.buttons &&
         a.defaultButton == b.defaultButton && a.icon == b.icon;
}

void PrintTo(const Message& m, std::ostream* out) {
  *out << "{\"" << m.text.toStdString() << "\", \"" << m.title.toStdString() << "\", buttons "
       << static_cast<int>(m.buttons) << ", default " << static_cast<int>(m.defaultButton)
       << ", icon " << static_cast<int>(m.icon) << "}";
}

}  // namespace roomkit
