#include "auto_generate_panel.h"

#include <QFileInfo>
#include <QProgressDialog>
#include <QStyle>

#include "common/text/trim.h"
#include "kit/jet_conversion.h"
#include "kit/reentry.h"
#include "kit/ui.h"
#include "pickers/record_picker.h"

namespace roomkit {

namespace {

// The panels that must not change the database while "Update" runs: Change Room Number, Modify
// Room Data, Copy Room Inventory and this one. They come back, and the pointer with them,
// however the run ends.
class UpdateRun {
 public:
  explicit UpdateRun(ShellContext& shell) : shell_(shell) {
    ui().setBusy(true);
    enable(false);
  }
  ~UpdateRun() {
    ui().setBusy(false);
    enable(true);
  }
  UpdateRun(const UpdateRun&) = delete;
  UpdateRun& operator=(const UpdateRun&) = delete;

 private:
  void enable(bool on) {
    for (int position = 0; position < 4; ++position) {
      if (QWidget* panel = shell_.panelAt(position)) panel->setEnabled(on);
    }
  }
  ShellContext& shell_;
};

}  // namespace

AutoGeneratePanel::AutoGeneratePanel(ShellContext& shell, QWidget* parent)
    : ToolPanel(shell, "Frame4", "Auto Generate Rooms", parent) {
  Frame7 = new QGroupBox("Starting Room Number", this);
  Frame7->setObjectName("Frame7");
  place(Frame7, 240, 300, 3615, 1095);
  Frame5 = new QGroupBox("Ending Room Number", this);
  Frame5->setObjectName("Frame5");
  place(Frame5, 3960, 300, 3495, 1095);
  for (int i = 0; i < 8; ++i) {
    aaText1[i] = new TextBox(QString("aaText1(%1)").arg(i), Frame7);
    place(aaText1[i], 165 + i * 420, 300, 330, 375);
    aaText1[i]->setAlignment(Qt::AlignCenter);
    aaCheck1[i] = new QCheckBox(Frame7);
    aaCheck1[i]->setObjectName(QString("aaCheck1(%1)").arg(i));
    place(aaCheck1[i], 210 + i * 420, 720, 285, 255);
    aaText2[i] = new TextBox(QString("aaText2(%1)").arg(i), Frame5);
    place(aaText2[i], 105 + i * 420, 300, 330, 375);
    aaText2[i]->setAlignment(Qt::AlignCenter);
  }

  Frame6 = new QGroupBox(this);
  Frame6->setObjectName("Frame6");
  place(Frame6, 240, 1500, 7215, 735);
  auto* increment = new QLabel("Increment", Frame6);
  place(increment, 120, 240, 900, 255);
  aaCombo1 = new QComboBox(Frame6);
  aaCombo1->setObjectName("aaCombo1");
  aaCombo1->setEditable(true);
  place(aaCombo1, 1020, 195, 960, 330);
  auto* schedule = new QLabel("Schedule", Frame6);
  place(schedule, 2280, 240, 855, 255);
  aaText3 = new TextBox("aaText3", Frame6);
  aaText3->setMaxLength(6);
  place(aaText3, 3135, 195, 1095, 330);
  CSCmd2 = new QToolButton(Frame6);
  CSCmd2->setObjectName("CSCmd2");
  CSCmd2->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
  CSCmd2->setToolTip("Choose a cleaning schedule");
  place(CSCmd2, 4290, 180, 375, 375);

  aaList1 = new QListWidget(this);
  aaList1->setObjectName("aaList1");
  aaList1->setUniformItemSizes(true);
  place(aaList1, 240, 2400, 5415, 2895);
  aaCommand1 = new QPushButton("Generate", this);
  aaCommand1->setObjectName("aaCommand1");
  aaCommand1->setToolTip("Create room numbers...");
  place(aaCommand1, 5880, 2400, 1575, 420);
  aaCommand2 = new QPushButton("Update", this);
  aaCommand2->setObjectName("aaCommand2");
  aaCommand2->setToolTip("Add room numbers to JOX Corvane database...");
  place(aaCommand2, 5880, 2940, 1575, 420);

  // A typed increment must not add a line to the list.
  aaCombo1->setInsertPolicy(QComboBox::NoInsert);
  for (int i = 0; i < 8; ++i) {
    aaText1[i]->onGotFocus = [this, i] { aaText1_GotFocus(i); };
    aaText1[i]->onClick = [this, i] { aaText1_Click(i); };
    aaText1[i]->onKeyPress = [this, i](int& code) { aaText1_KeyPress(i, code); };
    connect(aaText1[i], &QLineEdit::textChanged, this, [this, i] { aaText1_Change(i); });
    aaText2[i]->onGotFocus = [this, i] { aaText2_GotFocus(i); };
    aaText2[i]->onClick = [this, i] { aaText2_Click(i); };
    aaText2[i]->onKeyPress = [this, i](int& code) { aaText2_KeyPress(i, code); };
    connect(aaCheck1[i], &QCheckBox::clicked, this, [this, i] { aaCheck1_Click(i); });
  }
  aaText3->upperCase = true;
  aaText3->onClick = [this] { aaText3_Click(); };
  aaText3->onKeyPress = [this](int& code) { aaText3_KeyPress(code); };
  connect(aaCommand1, &QPushButton::clicked, this, [this] { aaCommand1_Click(); });
  connect(aaCommand2, &QPushButton::clicked, this, [this] { aaCommand2_Click(); });
  connect(CSCmd2, &QToolButton::clicked, this, [this] { CSCmd2_Click(); });
}

void AutoGeneratePanel::skipLocked(const std::array<TextBox*, 8>& row, int index) {
  if (!aaCheck1[static_cast<std::size_t>(index)]->isChecked()) return;
  for (int step = 1; step < 8; ++step) {
    const auto next = static_cast<std::size_t>((index + step) % 8);
    if (!aaCheck1[next]->isChecked()) {
      row[next]->setFocus();
      return;
    }
  }
}

void AutoGeneratePanel::aaText1_GotFocus(int Index) {
  aaText1[static_cast<std::size_t>(Index)]->selectWhole();
  skipLocked(aaText1, Index);
}

void AutoGeneratePanel::aaText1_Click(int Index) {
  aaText1[static_cast<std::size_t>(Index)]->selectWhole();
}

// One character per box: it replaces the box's text and the focus moves on to the right.
void AutoGeneratePanel::aaText1_KeyPress(int Index, int& KeyAscii) {
  const int code = KeyAscii;
  KeyAscii = 0;
  if (code != 13) {
    if (code < 32 || code > 122) return;
    aaText1[static_cast<std::size_t>(Index)]->setText(QString(QChar(upperCode(code))));
  }
  aaText1[static_cast<std::size_t>((Index + 1) % 8)]->setFocus();
}

// Typing the starting number types the ending number too.
void AutoGeneratePanel::aaText1_Change(int Index) {
  aaText2[static_cast<std::size_t>(Index)]->setText(
      aaText1[static_cast<std::size_t>(Index)]->text());
}

void AutoGeneratePanel::aaText2_GotFocus(int Index) {
  aaText2[static_cast<std::size_t>(Index)]->selectWhole();
  skipLocked(aaText2, Index);
}

void AutoGeneratePanel::aaText2_Click(int Index) {
  aaText2[static_cast<std::size_t>(Index)]->selectWhole();
}

void AutoGeneratePanel::aaText2_KeyPress(int Index, int& KeyAscii) {
  const int code = KeyAscii;
  KeyAscii = 0;
  if (code != 13) {
    if (code > 122) return;
    aaText2[static_cast<std::size_t>(Index)]->setText(QString(QChar(upperCode(code))));
  }
  aaText2[static_cast<std::size_t>((Index + 1) % 8)]->setFocus();
}

void AutoGeneratePanel::aaCheck1_Click(int Index) {
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  if (!aaCheck1[static_cast<std::size_t>(Index)]->isChecked()) return;
  for (QCheckBox* lock : aaCheck1) {
    if (!lock->isChecked()) return;
  }
  aaCheck1[static_cast<std::size_t>(Index)]->setChecked(false);
  ui().beep();
  refuse("You must leave at least one field unlocked.", {});
}

void AutoGeneratePanel::aaText3_Click() { aaText3->selectWhole(); }

void AutoGeneratePanel::aaText3_KeyPress(int& KeyAscii) {
  if (KeyAscii != 13) return;
  KeyAscii = 0;
  aaCommand1_Click();
}

autogen::Pattern AutoGeneratePanel::pattern() const {
  autogen::Pattern digits;
  for (std::size_t i = 0; i < 8; ++i) {
    digits[i].start = aaText1[i]->text().toStdString();
    digits[i].end = aaText2[i]->text().toStdString();
    digits[i].locked = aaCheck1[i]->isChecked();
  }
  return digits;
}

void AutoGeneratePanel::refusePattern(const QString& text) {
  ui().beep();
  refuse(text, {});
}

// "Generate": checks the pattern and the schedule, then fills the list with every number of the
// range. A refusal leaves the list as it was.
void AutoGeneratePanel::aaCommand1_Click() {
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  using autogen::PatternFault;
  const autogen::PatternResult read = autogen::readPattern(pattern());
  switch (read.fault) {
    case PatternFault::None: break;
    case PatternFault::NoLeadingDigit:
      refusePattern("Please enter a room number starting from left to right with no spaces.");
      return;
    case PatternFault::NotGrouped:
      refusePattern("Unlocked digits must be grouped together.");
      return;
    case PatternFault::NotANumber:
      refusePattern("Only numbers are allowed in unlocked fields.");
      return;
    case PatternFault::Unreadable:
      ui().message({"Error", {}, Buttons::Ok, Answer::Ok, Icon::Critical});
      return;
    case PatternFault::StartAboveEnd:
      refusePattern("Starting number must be smaller then ending number (unlocked).");
      return;
  }
  if (suite::trimBlanks(aaText3->text().toStdString()).empty()) {
    refusePattern("You must assign a cleaning schedule.");
    return;
  }
  const auto increment = autogen::readIncrement(aaCombo1->currentText().toStdString());
  if (!increment) {
    ui().beep();
    refuse("The increment must be a whole number from 1 to 100.", "INVALID VALUE");
    aaCombo1->setFocus();
    aaCombo1->lineEdit()->selectAll();
    return;
  }
  const std::int64_t lines = autogen::lineCount(read.range, *increment);
  if (lines > autogen::maxLines) {
    ui().beep();
    refuse(QString("This range gives %1 rooms; at most %2 can be generated at once.")
               .arg(lines)
               .arg(autogen::maxLines),
           "TOO MANY ROOMS");
    return;
  }

  aaList1->clear();
  ui().setBusy(true);
  QStringList numbers;
  numbers.reserve(static_cast<qsizetype>(lines));
  for (const std::string& number : autogen::roomNumbers(read.range, *increment)) {
    numbers.push_back(QString::fromStdString(number));
  }
  aaList1->addItems(numbers);
  ui().setBusy(false);
  ui().beep();
  tell(QString::number(numbers.size()) + " rooms in total.", {}, Icon::Information);
}

// "Update": writes the listed numbers that are not rooms yet, on a connection of its own, in one
// transaction; a failure anywhere writes nothing and says why.
void AutoGeneratePanel::aaCommand2_Click() {
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  if (shell_.refuseReadOnly()) return;
  const QString path = shell_.databasePath();
  if (path.isEmpty() || !QFileInfo(path).isFile()) {
    ui().beep();
    refuse("Invalid database.  Please select another.", {});
    return;
  }
  const int count = aaList1->count();
  if (!readyToOpen(window(), path)) return;  // an Access file is converted before the question
  ui().beep();
  if (!ask("Add " + QString::number(count) + " rooms?", {}, Answer::Yes, Icon::Question)) return;

  autogen::AddResult result;
  {
    UpdateRun run(shell_);
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) lines.push_back(aaList1->item(row)->text().toStdString());

    QProgressDialog progress("Adding rooms...", QString(), 0, count, window());
    progress.setObjectName("UpdateProgress");
    progress.setWindowTitle(programTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoReset(false);
    result = autogen::addRooms(path.toStdString(), lines, aaText3->text().toStdString(),
                               [&](std::size_t done, std::size_t) {
                                 progress.setValue(static_cast<int>(done));
                                 ui().processEvents();
                               });
    progress.close();
    ui().setBusy(false);
    ui().beep();
    if (result.ok()) {
      tell(QString::number(count) + " rooms processed...", {}, Icon::Information);
    } else {
      refuse("No rooms were added; the database is unchanged.\r\n" +
                 QString::fromStdString(result.message()),
             "CANNOT CONTINUE");
    }
  }
}

// The schedule button: the record picker lists the schedules; a cancel leaves the box as it was,
// selected and focused.
void AutoGeneratePanel::CSCmd2_Click() {
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  if (!readyToOpen(window(), shell_.databasePath())) return;
  const std::string typed = aaText3->text().toStdString();
  const RecordQuery query{shell_.databasePath(), "Cleaning Schedules- Describe",
                          QString::fromStdString(std::string(suite::trimBlanks(typed))),
                          "Cleaning Schedule, Description"};
  ui().setBusy(true);
  const std::optional<QString> schedule = pickRecord(window(), query);
  ui().processEvents();
  if (!schedule) {
    aaText3->selectWhole();
    aaText3->setFocus();
  } else {
    aaText3->setText(*schedule);
  }
  ui().setBusy(false);
}

}  // namespace roomkit
