#include "modify_room_data_panel.h"

#include <QValidator>
#include <algorithm>

#include "common/text/trim.h"
#include "kit/reentry.h"
#include "kit/room_line.h"
#include "kit/ui.h"
#include "modify_room_data_work.h"

namespace roomkit {

namespace work = modify_room_data;

namespace {

constexpr int text4Limits[] = {24, 6, 9};  // by mode

// The busy flag for the length of one handler: list and check-box changes made meanwhile by
// program run no click handler. It gives back what it found, so a hold inside another's leaves
// the outer hold in place.
class Busy {
 public:
  explicit Busy(QString& flag) : flag_(flag), before_(flag) { flag_ = "NONO"; }
  ~Busy() { flag_ = before_; }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

 private:
  QString& flag_;
  QString before_;
};

// The longest entry of a box, for typing only: a longer text set by program or kept from another
// mode stays whole and may be shortened, but typing (or pasting) never makes the text longer than
// the limit or than it already is; the characters that do not fit are dropped. The box checks
// texts set by program too, which it then reports as not modified.
class TypedLength : public QValidator {
 public:
  TypedLength(const int& limit, QLineEdit& box) : QValidator(&box), limit_(limit), box_(box) {
    connect(&box, &QLineEdit::textChanged, this,
            [this](const QString& text) { length_ = static_cast<int>(text.size()); });
  }

  State validate(QString& input, int& pos) const override {
    if (!box_.isModified()) return Acceptable;
    const int allowed = std::max(limit_, length_);
    const int excess = static_cast<int>(input.size()) - allowed;
    if (excess > 0) {
      const int from = std::max(0, pos - excess);
      input.remove(from, excess);
      pos = from;
    }
    return Acceptable;
  }

 private:
  const int& limit_;
  QLineEdit& box_;
  int length_ = 0;  // the text's length before the edit being checked
};

}  // namespace

ModifyRoomDataPanel::ModifyRoomDataPanel(ShellContext& shell, QWidget* parent)
    : ToolPanel(shell, "Frame2", "Modify Room Data", parent) {
  label("Room Number", 240, 330, 3255);
  List1 = new LineList("List1", false, this);
  place(List1, 240, 600, 3495, 4695);

  const char* modes[] = {"Room Name", "Cleaning Schedule", "SQ.FT."};
  for (int i = 0; i < 3; ++i) {
    Option1[i] = new QRadioButton(modes[i], this);
    Option1[i]->setObjectName(QString("Option1(%1)").arg(i));
    place(Option1[i], 3960, 600 + i * 330, 2400, 285);
  }
  Option1[0]->setChecked(true);
  const char* kinds[] = {"Tile", "Carpet"};
  for (int i = 0; i < 2; ++i) {
    Check1[i] = new QCheckBox(kinds[i], this);
    Check1[i]->setObjectName(QString("Check1(%1)").arg(i));
    place(Check1[i], 4320 + i * 1320, 1620, 1200, 285);
    Check1[i]->setEnabled(false);
  }
  Check1[0]->setChecked(true);

  Text4 = new TextBox("Text4", this);
  place(Text4, 3960, 2100, 3480, 315);
  Text4->setMaxLength(24);
  Label4 = label("LIN.FT.", 3960, 2580, 900, 255, "Label4");
  Text6 = new TextBox("Text6", this);
  place(Text6, 4920, 2550, 1455, 315);
  Check2 = new QCheckBox("Retain Value", this);
  Check2->setObjectName("Check2");
  place(Check2, 3960, 3060, 2400, 285);
  Command3 = new QPushButton("Update", this);
  Command3->setObjectName("Command3");
  place(Command3, 3960, 3540, 1455, 420);

  Text4->upperCase = true;
  Text4->selectAllOnFocus = true;
  Text4->onKeyPress = [this](int& code) { Text4_KeyPress(code); };
  Text6->upperCase = true;
  Text6->selectAllOnFocus = true;
  Text6->onKeyPress = [this](int& code) { Text6_KeyPress(code); };
  Text4->setValidator(new TypedLength(text4Limit_, *Text4));
  connect(List1, &LineList::Click, this, [this] { List1_Click(); });
  for (int i = 0; i < 3; ++i) {
    connect(Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
  }
  for (int i = 0; i < 2; ++i) {
    connect(Check1[i], &QCheckBox::toggled, this, [this, i] { Check1_Click(i); });
  }
  connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
}

namespace {

work::Mode modeOf(const std::array<QRadioButton*, 3>& options) {
  if (options[1]->isChecked()) return work::Mode::Schedule;
  if (options[2]->isChecked()) return work::Mode::FloorArea;
  return work::Mode::RoomName;
}

work::FloorKind kindOf(const std::array<QCheckBox*, 2>& kinds) {
  return kinds[0]->isChecked() ? work::FloorKind::Tile : work::FloorKind::Carpet;
}

}  // namespace

QString ModifyRoomDataPanel::selectedRoom() const {
  const int row = List1->firstSelected();
  if (row < 0) return {};
  return QString::fromStdString(roomNumberOfLine(List1->line(row).toStdString()));
}

// Changing the box's own limit resets its cursor, so it is done only where the text is replaced
// or selected whole anyway; it never cuts a text that is already there.
void ModifyRoomDataPanel::limitText4(int length) {
  text4Limit_ = length;
  const int longest = std::max(length, static_cast<int>(Text4->text().size()));
  if (Text4->maxLength() != longest) Text4->setMaxLength(longest);
}

void ModifyRoomDataPanel::setText4(const QString& text) {
  const int longest = std::max(text4Limit_, static_cast<int>(text.size()));
  if (Text4->maxLength() != longest) Text4->setMaxLength(longest);
  Text4->setText(text);
}

void ModifyRoomDataPanel::focusText4() {
  Text4->selectWhole();
  Text4->setFocus();
}

void ModifyRoomDataPanel::showPresentValue() {
  const QString room = selectedRoom();
  setText4("");
  OpenTables& tables = shell_.openTables();
  const work::PresentValue present =
      work::presentValue({tables.RoomInfoTable, tables.RoomInventoryTable}, room.toStdString(),
                         modeOf(Option1), kindOf(Check1));
  if (!present.ok()) {
    if (!room.isEmpty()) {
      refuse("The present value of room " + room + " could not be read.\r\n" +
                 QString::fromStdString(present.message()),
             "CANNOT CONTINUE");
    }
    return;
  }
  setText4(QString::fromStdString(present.value));
  if (present.linear) Text6->setText(QString::fromStdString(*present.linear));
}

void ModifyRoomDataPanel::FindText4() {
  if (!Check2->isChecked()) showPresentValue();
  focusText4();
}

void ModifyRoomDataPanel::List1_Click() {
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  if (!shell_.BusyFlag().isEmpty() || List1->firstSelected() < 0) return;
  FindText4();
}

void ModifyRoomDataPanel::Option1_Click(int index) {
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  limitText4(text4Limits[index]);
  FindText4();
  for (QCheckBox* kind : Check1) kind->setEnabled(index == 2);
}

void ModifyRoomDataPanel::Check1_Click(int index) {
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  if (!shell_.BusyFlag().isEmpty()) return;
  const Busy busy(shell_.BusyFlag());
  const std::size_t i = static_cast<std::size_t>(index);
  if (!Check1[i]->isChecked()) Check1[i]->setChecked(true);
  Check1[i == 0 ? 1 : 0]->setChecked(false);
  FindText4();
}

void ModifyRoomDataPanel::Text4_KeyPress(int& code) {
  if (code != 13) return;
  code = 0;
  if (modeOf(Option1) == work::Mode::FloorArea) {
    Text6->setFocus();
  } else {
    Command3_Click();
  }
}

void ModifyRoomDataPanel::Text6_KeyPress(int& code) {
  // Delete (127) edits rather than types, so it is not refused with the characters above "9".
  if (code > 57 && code != 127) code = 0;
  if (code != 13) return;
  code = 0;
  Command3_Click();
}

void ModifyRoomDataPanel::Command3_Click() {
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  if (shell_.refuseReadOnly()) return;
  const int row = List1->firstSelected();
  if (row < 0) {
    refuse("Please select a room number.", "CANNOT CONTINUE");
    List1->setFocus();
    return;
  }
  const std::string value = Text4->text().toStdString();
  if (suite::trimBlanks(value).empty()) {
    refuse("Please enter a value.", "CANNOT CONTINUE");
    Text4->setFocus();
    return;
  }
  const QString room = selectedRoom();
  OpenTables& tables = shell_.openTables();
  const work::UpdateResult result =
      work::writeValue({tables.RoomInfoTable, tables.RoomInventoryTable}, room.toStdString(),
                       {modeOf(Option1), kindOf(Check1), value, Text6->text().toStdString()});
  switch (result.status) {
    case work::UpdateResult::Status::Written: break;
    case work::UpdateResult::Status::NoRoom:
      refuse("Please select a valid room number.", "CANNOT CONTINUE");
      List1->setFocus();
      return;
    case work::UpdateResult::Status::NoInventory:
      refuse("Room " + room + " has no inventory record to hold its floor area.",
             "CANNOT CONTINUE");
      List1->setFocus();
      return;
    case work::UpdateResult::Status::Refused:
      refuse("The value could not be written.\r\n" + QString::fromStdString(result.message()),
             "CANNOT CONTINUE");
      focusText4();
      return;
  }
  {
    const Busy busy(shell_.BusyFlag());
    List1->selectOnly(row + 1 < List1->count() ? row + 1 : 0);
  }
  if (!Check2->isChecked()) showPresentValue();
  focusText4();
}

}  // namespace roomkit
