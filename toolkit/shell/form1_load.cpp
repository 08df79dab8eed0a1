// Choosing and loading the building database, and showing the chosen function's panel.
#include <QDir>

#include "form1.h"
#include "kit/jet_conversion.h"
#include "kit/program.h"
#include "kit/reentry.h"
#include "kit/twips.h"
#include "kit/ui.h"
#include "pickers/building_picker.h"
#include "store/schema.h"
#include "tools/auto_generate_panel.h"
#include "tools/change_assignment_panel.h"
#include "tools/change_room_number_panel.h"
#include "tools/change_sort_field_panel.h"
#include "tools/cleanup_panel.h"
#include "tools/combine_rooms_panel.h"
#include "tools/copy_inventory_panel.h"
#include "tools/modify_room_data_panel.h"

namespace roomkit {

namespace sch = store::schema;

namespace {

QString text(const store::Value& value) { return QString::fromStdString(value.toText()); }

}  // namespace

void Form1::Command2_Click() {
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  const ProgramValues& values = program();
  if (!values.DataRootPath.isEmpty()) {
    const std::optional<QString> code =
        pickBuilding(this, values.CurrentUserID, programFile(sch::accountFile));
    if (!code) return;
    Text1->setText(values.DataRootPath + "JOX_" + *code + ".MDB");
    Text9->setText(*code);
    LoadCurrentDB();
    return;
  }
  const QString initial = LastDirectory + QDir::separator() + "jox_*.mdb";
  const QString chosen = ui().openFile(this, "Corvane Database (*.mdb)", "jox_*.mdb", initial);
  if (chosen == initial || chosen.trimmed().isEmpty()) return;
  Text1->setText(chosen);
  LoadCurrentDB();
}

bool Form1::refuseReadOnly() {
  if (!currentDB_.isOpen() || !currentDB_.readOnly()) return false;
  refuse("The database " + QString::fromStdString(currentDB_.path()) +
             " may only be read: the file, or the folder it is in, cannot be written here, so it "
             "was opened for reading and nothing in it can be changed.",
         "CANNOT CONTINUE");
  return true;
}

void Form1::failLoad(const QString& path, const QString& reason) {
  ui().setBusy(false);
  refuse("The database " + path + " could not be loaded.\r\n" + reason, "CANNOT CONTINUE");
}

void Form1::LoadCurrentDB() {
  // A database that is still an Access file is converted first, when the user agrees; otherwise
  // nothing changes and nothing is loaded.
  if (!readyToOpen(this, Text1->text())) return;
  ui().processEvents();
  Frame2->List1->clearLines();
  Frame3->List2->clearLines();
  Frame3->List3->clearLines();
  Frame10->ListView1->model().clear();
  Frame10->Combo2->clear();
  ui().setBusy(true);
  closeDatabase();

  const QString path = Text1->text();
  QString step = "opening the database";
  QStringList lines;
  std::vector<QStringList> rooms;
  auto showLines = [&] {
    sortLines(lines);
    Frame2->List1->setLines(lines);
    Frame3->List2->setLines(lines);
    Frame3->List3->setLines(lines);
  };
  try {
    currentDB_ = store::Database::open(path.toStdString(), store::Database::Access::AsAllowed);
    step = "opening its tables";
    tables_.RoomInfoTable = currentDB_.openTable(sch::roomInfo);
    tables_.RoomInventoryTable = currentDB_.openTable(sch::roomInventory);
    tables_.InventoryBanksTable = currentDB_.openTable(sch::inventoryBanks);
    tables_.ScheduleDescribeTable = currentDB_.openTable(sch::scheduleDescribe);
    tables_.RoomTimeTable = currentDB_.openTable(sch::roomTime);

    step = "reading the rooms";
    store::Table& info = tables_.RoomInfoTable;
    const std::size_t number = info.fieldPosition(sch::roomNumber);
    const std::size_t name = info.fieldPosition(sch::roomName);
    for (store::moveToFirst(info); !info.eof(); info.moveNext()) {
      lines.push_back(text(info.field(number)) + ", " + text(info.field(name)));
    }
  } catch (const store::Error& error) {
    // The load stops where it failed; what was opened and listed so far stays.
    if (step == "reading the rooms") showLines();
    failLoad(path, QString::fromStdString(error.what()));
    return;
  }
  showLines();

  try {
    store::Table& info = tables_.RoomInfoTable;
    try {
      info.setIndex(sch::primaryKey);
    } catch (const store::Error&) {
      // without the index the list follows the stored order
    }
    const std::size_t schedule = info.fieldPosition(sch::schedule);
    const std::size_t sort1 = info.fieldPosition(sch::sortField1);
    const std::size_t sort2 = info.fieldPosition(sch::sortField2);
    rooms.reserve(static_cast<std::size_t>(lines.size()));
    step = "listing the rooms";
    const std::size_t number = info.fieldPosition(sch::roomNumber);
    const std::size_t name = info.fieldPosition(sch::roomName);
    for (store::moveToFirst(info); !info.eof(); info.moveNext()) {
      rooms.push_back({text(info.field(number)), text(info.field(name)), text(info.field(schedule)),
                       text(info.field(sort1)), text(info.field(sort2))});
    }
    Frame10->ListView1->model().setRows(std::move(rooms));

    step = "listing the schedules";
    store::Table& schedules = tables_.ScheduleDescribeTable;
    schedules.setIndex(sch::primaryKey);
    QStringList codes;
    const std::size_t code = schedules.fieldPosition(sch::cleaningSchedule);
    for (store::moveToFirst(schedules); !schedules.eof(); schedules.moveNext()) {
      codes.push_back(text(schedules.field(code)));
    }
    Frame10->Combo2->addItems(codes);
    Frame10->Combo2->setCurrentIndex(-1);
  } catch (const store::Error& error) {
    if (step == "listing the rooms") Frame10->ListView1->model().setRows(std::move(rooms));
    failLoad(path, QString::fromStdString(error.what()));
    return;
  }

  Combo1->setEnabled(true);
  for (QPushButton* button : {CommandUndo, CommandCheck, CommandHistory}) button->setEnabled(true);
  if (LastFunctionIndex >= 0 && LastFunctionIndex < 8) {
    Combo1->setCurrentIndex(LastFunctionIndex);
    Combo1_Click();
  }
  ui().setBusy(false);
}

void Form1::Combo1_Click() {
  const int p = Combo1->currentIndex();
  if (p < 0 || p > 7) return;
  QWidget* panel = panels[static_cast<std::size_t>(p)];
  if (p == 1) {
    Frame2->Text4->setText("");
    Frame2->List1->clearSelected();
  }
  place(panel, 120, 1560, panelWidth, panelHeight);
  for (QWidget* other : panels) {
    if (other != panel) other->hide();
  }
  panel->show();
  switch (p) {
    case 0: Frame1->Text2->setFocus(); break;
    case 1: Frame2->Text4->setFocus(); break;
    case 2:
      Frame3->List2->clearSelected();
      Frame3->List3->clearSelected();
      Frame3->Text5->setFocus();
      Frame3->Text5->setSelection(0, 1);
      break;
    case 3: Frame4->aaText1[0]->setFocus(); break;
    case 4: Frame8->Command6->setFocus(); break;
    case 5: Frame9->Command7->setFocus(); break;
    case 6: Frame10->Command8->setFocus(); break;
    case 7: Frame11->Text12->setFocus(); break;
  }
}

}  // namespace roomkit
