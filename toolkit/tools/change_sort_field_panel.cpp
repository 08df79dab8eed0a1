#include "change_sort_field_panel.h"

#include "shell/ui.h"
#include "store/helpers.h"
#include "walking_work.h"

namespace roomkit {

namespace {

std::string trimmed(const QString& text) {
  return std::string(store::trimBlanks(text.toStdString()));
}

}  // namespace

ChangeSortFieldPanel::ChangeSortFieldPanel(ShellContext& shell, QWidget* parent)
    : ToolPanel(shell, "Frame11", "Change Sort Field", parent) {
  const char* captions[] = {"Sort Field 1", "Sort Field 2"};
  for (int i = 0; i < 2; ++i) {
    Option2[i] = new QRadioButton(captions[i], this);
    Option2[i]->setObjectName(QString("Option2(%1)").arg(i));
    place(Option2[i], 480, 480 + i * 330, 2400, 285);
  }
  Option2[0]->setChecked(true);
  label("Current Sort Field", 480, 1320, 3000);
  Text12 = new TextBox("Text12", this);
  place(Text12, 480, 1590, 3000, 315);
  label("New Sort Field", 3840, 1320, 3000);
  Text13 = new TextBox("Text13", this);
  place(Text13, 3840, 1590, 3000, 315);
  Command9 = new QPushButton("Change", this);
  Command9->setObjectName("Command9");
  place(Command9, 3120, 2280, 1455, 420);

  Text12->onKeyPress = [this](int& code) { Text12_KeyPress(code); };
  Text13->onKeyPress = [this](int& code) { Text13_KeyPress(code); };
  connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
}

// Typed letters become capitals; nothing else is filtered, and Enter does not move the focus.
void ChangeSortFieldPanel::Text12_KeyPress(int& KeyAscii) { KeyAscii = upperCode(KeyAscii); }

void ChangeSortFieldPanel::Text13_KeyPress(int& KeyAscii) { KeyAscii = upperCode(KeyAscii); }

void ChangeSortFieldPanel::Command9_Click() {
  const QString name = Option2[0]->isChecked() ? "Sort Field 1" : "Sort Field 2";
  const std::string path = trimmed(shell_.databasePath());
  if (path.empty()) {
    refuse("Please select a database.", "CANNOT CONTINUE");
    shell_.focusDatabasePath();
    return;
  }
  const std::string oldValue = trimmed(Text12->text());
  if (oldValue.empty()) {
    refuse("Please select a " + name + ".", "CANNOT CONTINUE");
    Text12->setFocus();
    return;
  }
  const std::string newValue = trimmed(Text13->text());
  if (newValue.empty()) {
    refuse("Please select a " + name + ".", "CANNOT CONTINUE");
    Text13->setFocus();
    return;
  }
  if (!ask("Are you sure?", "CHANGE " + name.toUpper() + "?", Answer::No)) return;

  ui().setBusy(true);
  const WalkResult result = changeSortField(path, name.toStdString(), oldValue, newValue);
  ui().setBusy(false);
  if (result.failure) {
    refuse(QString::fromStdString(*result.failure), "CANNOT CONTINUE");
    return;
  }
  tell("Done");
}

}  // namespace roomkit
