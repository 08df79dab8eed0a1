// A message layer for widget tests: records every message and answers from a script.
#pragma once

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <vector>

#include "kit/ui.h"

namespace testsupport {

class ScriptedUi : public roomkit::Ui {
 public:
  ScriptedUi();            // installs itself
  ~ScriptedUi() override;  // restores the real layer

  // Yes/No questions take the next scripted answer; without one, the default button.
  std::deque<roomkit::Answer> answers;
  std::vector<roomkit::Message> messages;
  // The file-open dialog returns this, or the initial name (a cancel) when unset.
  std::optional<QString> fileChoice;
  QString lastFilterName, lastPattern, lastInitialName;
  // Modal dialogs are shown, handed to this, then hidden; without it they are cancelled.
  std::function<int(QDialog&)> onModal;

  int beeps = 0;
  bool busy = false;
  bool ended = false;
  int eventRuns = 0;

  // The last message's parts, for short assertions; "" when there was none.
  QString lastText() const { return messages.empty() ? QString() : messages.back().text; }
  QString lastTitle() const { return messages.empty() ? QString() : messages.back().title; }

  roomkit::Answer message(const roomkit::Message& message) override;
  void beep() override { ++beeps; }
  void setBusy(bool value) override { busy = value; }
  void processEvents() override;
  QString openFile(QWidget* parent, const QString& filterName, const QString& pattern,
                   const QString& initialName) override;
  int showModal(QDialog& dialog) override;
  void endProgram() override { ended = true; }
};

}  // namespace testsupport

// Messages compare whole, and print readably in a failed expectation.
namespace roomkit {
bool operator==(const Message& a, const Message& b);
void PrintTo(const Message& m, std::ostream* out);
}  // namespace roomkit
