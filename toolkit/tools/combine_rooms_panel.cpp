#include "combine_rooms_panel.h"

#include <optional>

#include "combine_rooms_work.h"
#include "common/text/trim.h"
#include "kit/reentry.h"
#include "kit/ui.h"
#include "store/error.h"
#include "store/schema.h"

namespace roomkit {

namespace work = combine_rooms;
namespace sch = store::schema;

namespace {

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

void cannotContinue(const std::string& reason) {
  refuse(
      "The rooms were not combined, and nothing in the database was changed.\r\n" + fromStd(reason),
      "CANNOT CONTINUE");
}

}  // namespace

CombineRoomsPanel::CombineRoomsPanel(ShellContext& shell, QWidget* parent)
    : ToolPanel(shell, "Frame10", "Combine Rooms", parent) {
  label("Combine Selected Rooms", 240, 300, 3255);
  ListView1 = new ReportList("ListView1", this);
  ListView1->setCheckable(true);
  place(ListView1, 240, 555, 7215, 3255);
  ListView1->setColumns({"Room Number", "Room Name", "Schedule", "Sort 1", "Sort 2"},
                        {px(1500), px(2100), px(1050), px(1200)});
  Check5 = new QCheckBox("Delete selected rooms after combine", this);
  Check5->setObjectName("Check5");
  Check5->setChecked(true);
  place(Check5, 240, 3900, 4200, 285);

  label("Into This Room", 240, 4320, 1815);
  Text11 = new TextBox("Text11", this);
  place(Text11, 240, 4575, 1815, 330);
  label("(Room Name)", 2160, 4320, 2535);
  Text10 = new TextBox("Text10", this);
  place(Text10, 2160, 4575, 2400, 330);
  label("(Cleaning Schedule)", 4680, 4320, 1800);
  Combo2 = new QComboBox(this);
  Combo2->setObjectName("Combo2");
  place(Combo2, 4680, 4575, 1455, 330);
  Command8 = new QPushButton("Combine", this);
  Command8->setObjectName("Command8");
  place(Command8, 6240, 4530, 1215, 420);

  Text10->upperCase = true;
  Text11->upperCase = true;
  Text11->selectAllOnFocus = true;
  Text11->onKeyPress = [this](int& code) { Text11_KeyPress(code); };
  Text11->onKeyUp = [this](int key) { Text11_KeyUp(key); };
  connect(ListView1, &ReportList::headerClicked, this,
          [this](int column) { ListView1_ColumnClick(column); });
  connect(ListView1, &ReportList::mouseButtonPressed, this,
          [this](Qt::MouseButton button) { ListView1_MouseDown(button); });
  connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
}

// ---- the room list ---------------------------------------------------------------------------

void CombineRoomsPanel::ListView1_ColumnClick(int column) {
  ReportModel& rooms = ListView1->model();
  // The selected room's number, taken before the rows move under the selection.
  const int selected = ListView1->selectedRow();
  const QString number = ListView1->text(selected);
  rooms.sortBy(column, !rooms.descending());
  if (selected < 0) return;
  const int found = ListView1->findPrefix(number);
  if (found >= 0) ListView1->selectRow(found);
}

void CombineRoomsPanel::ListView1_MouseDown(Qt::MouseButton button) {
  if (button != Qt::RightButton) return;
  const int selected = ListView1->selectedRow();
  if (selected < 0) return;
  Text11->setText(ListView1->text(selected));
  FindTargetRoom(Text11->text());
}

// ---- the target boxes ------------------------------------------------------------------------

void CombineRoomsPanel::clearTarget() {
  Text10->setText("");
  Combo2->setCurrentIndex(-1);
}

void CombineRoomsPanel::FindTargetRoom(const QString& number) {
  store::Table& rooms = shell_.openTables().RoomInfoTable;
  try {
    rooms.setIndex(sch::primaryKey);
    rooms.seek({store::Value(number.toStdString())});
    if (rooms.noMatch()) {
      clearTarget();
      return;
    }
    const QString name = fromStd(rooms.field(sch::roomName).toText());
    const QString schedule = fromStd(rooms.field(sch::schedule).toText());
    Text10->setText(name);
    for (int entry = 0; entry < Combo2->count(); ++entry) {
      if (Combo2->itemText(entry) == schedule) {
        Combo2->setCurrentIndex(entry);
        return;
      }
    }
    clearTarget();
  } catch (const store::Error&) {
    clearTarget();  // no database to look in: the number names no room
  }
}

void CombineRoomsPanel::Text11_KeyPress(int& code) {
  // The box's text as it will read once the character is typed, whatever the caret's place.
  QString candidate = Text11->text();
  if (code != 13) candidate += QChar(static_cast<char16_t>(code));
  FindTargetRoom(candidate);
}

void CombineRoomsPanel::Text11_KeyUp(int) { FindTargetRoom(Text11->text()); }

// ---- the merge -------------------------------------------------------------------------------

void CombineRoomsPanel::Command8_Click() {
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  if (shell_.refuseReadOnly()) return;
  combine(shell_.databasePath() + ".log");
  shell_.LoadCurrentDB();  // every run ends with the lists rebuilt, all ticks cleared
  ui().setBusy(false);
}

void CombineRoomsPanel::combine(const QString& logPath) {
  std::optional<work::TargetTables> target;
  try {
    target.emplace(shell_.CurrentDB());
  } catch (const store::Error& error) {
    cannotContinue(error.what());
    return;
  }
  ui().setBusy(true);
  work::CombineLog log(logPath.toStdString());
  if (const store::Outcome prepared = log.prepare(); !prepared.ok()) {
    ui().setBusy(false);
    cannotContinue(prepared.message());
    return;
  }

  work::MergePlan plan;
  for (int row = 0; row < ListView1->count(); ++row) {
    if (ListView1->model().isChecked(row))
      plan.ticked.push_back(ListView1->text(row).toStdString());
  }
  ui().setBusy(false);
  if (plan.ticked.size() < 2) {
    refuse("Please select two or more rooms to combine.", "CANNOT COMBINE");
    return;
  }
  Text11->setText(fromStd(std::string(suite::trimBlanks(Text11->text().toStdString()))));
  plan.target = Text11->text().toStdString();
  if (plan.target.empty()) {
    refuse("Please enter a room number for the combined room.", "NO COMBINED ROOM NUMBER DEFINED");
    Text11->setFocus();
    return;
  }
  if (Combo2->currentIndex() < 0) {
    refuse("Please select a cleaning schedule for the combined room.",
           "NO COMBINED SCHEDULE DEFINED");
    Combo2->setFocus();
    return;
  }

  bool exists = false;
  try {
    exists = work::roomExists(*target, plan.target);
  } catch (const store::Error& error) {
    cannotContinue(error.what());
    return;
  }
  const QString number = Text11->text();
  if (exists) {
    if (!ask("Would you like to combine these " + QString::number(plan.ticked.size()) +
                 " rooms into the existing room " + number + "?",
             "MODIFY EXISTING ROOM?", Answer::Yes)) {
      return;
    }
  } else {
    // The room lists and the log take the text before the first comma as the room number.
    if (number.contains(',')) {
      refuse("Please enter a room number without a comma.", "INVALID VALUE");
      Text11->setFocus();
      return;
    }
    if (!ask("Would you like to create a new combined room number " + number + "?",
             "CREATE NEW ROOM?", Answer::Yes)) {
      return;
    }
    if (suite::trimBlanks(Text10->text().toStdString()).empty()) {
      Text10->setText(work::defaultRoomName);
    }
    plan.create = work::NewRoom{Text10->text().toStdString(), Combo2->currentText().toStdString(),
                                store::Date::today()};
  }
  plan.deleteSources = Check5->isChecked();

  ui().setBusy(true);
  OpenTables& open = shell_.openTables();
  const work::MergeResult result = work::mergeRooms(
      shell_.CurrentDB(),
      {open.RoomInfoTable, open.RoomInventoryTable, open.InventoryBanksTable, open.RoomTimeTable},
      *target, plan, log);
  ui().setBusy(false);
  if (!result.ok()) cannotContinue(result.message());
}

}  // namespace roomkit
