#include "value_change.h"

#include "common/text/trim.h"
#include "kit/jet_conversion.h"
#include "kit/ui.h"

namespace roomkit {

namespace {

std::string trimmed(const QString& text) {
  return std::string(suite::trimBlanks(text.toStdString()));
}

}  // namespace

void runValueChange(ShellContext& shell, const ValueChange& change) {
  const std::string path = trimmed(shell.databasePath());
  if (path.empty()) {
    refuse("Please select a database.", "CANNOT CONTINUE");
    shell.focusDatabasePath();
    return;
  }
  const std::string current = trimmed(change.current->text());
  if (current.empty()) {
    refuse(change.missing, "CANNOT CONTINUE");
    change.current->setFocus();
    return;
  }
  const std::string replacement = trimmed(change.replacement->text());
  if (replacement.empty()) {
    refuse(change.missing, "CANNOT CONTINUE");
    change.replacement->setFocus();
    return;
  }
  // An Access file is converted (when the user agrees) before the function asks its own question.
  if (!readyToOpen(change.current->window(), QString::fromStdString(path))) return;
  if (!ask("Are you sure?", change.title, Answer::No)) return;

  ui().setBusy(true);
  const WalkResult result = change.run(path, current, replacement);
  ui().setBusy(false);
  if (!result.ok()) {
    refuse(QString::fromStdString(result.message()), "CANNOT CONTINUE");
    return;
  }
  tell("Done");
}

void moveOnEnter(int& KeyAscii, TextBox* other) {
  if (KeyAscii != 13) return;
  KeyAscii = 0;
  other->setFocus();
}

}  // namespace roomkit
