#include "change_sort_field_panel.h"

#include "kit/reentry.h"
#include "value_change.h"
#include "walking_work.h"

namespace roomkit {

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
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  if (shell_.refuseReadOnly()) return;
  const QString name = Option2[0]->isChecked() ? "Sort Field 1" : "Sort Field 2";
  runValueChange(shell_,
                 {Text12, Text13, "Please select a " + name + ".", "CHANGE " + name.toUpper() + "?",
                  [field = name.toStdString()](const std::string& path, const std::string& oldValue,
                                               const std::string& newValue) {
                    return changeSortField(path, field, oldValue, newValue);
                  }});
}

}  // namespace roomkit
