#include "copy_inventory_panel.h"

#include "copy_inventory_work.h"
#include "kit/reentry.h"
#include "kit/room_line.h"
#include "kit/ui.h"

namespace roomkit {

namespace work = copy_inventory;

namespace {

std::string roomOf(const LineList& list, int row) {
  return roomNumberOfLine(list.line(row).toStdString());
}

}  // namespace

CopyInventoryPanel::CopyInventoryPanel(ShellContext& shell, QWidget* parent)
    : ToolPanel(shell, "Frame3", "Copy Room Inventory (Templates)", parent) {
  label("Copy From Room", 240, 330, 3495);
  List2 = new LineList("List2", false, this);
  place(List2, 240, 600, 3495, 3615);
  label("Copy To Room(s)", 3960, 330, 3495);
  List3 = new LineList("List3", true, this);
  place(List3, 3960, 600, 3495, 3615);

  label("Multiply by", 240, 4395, 1095);
  Text5 = new TextBox("Text5", this);
  Text5->setText("1");
  place(Text5, 1335, 4365, 735, 315);
  Check3 = new QCheckBox("Keep existing inventory (add)", this);
  Check3->setObjectName("Check3");
  place(Check3, 2280, 4380, 3255, 285);
  Check4 = new QCheckBox("Exact copy (Copy all items)", this);
  Check4->setObjectName("Check4");
  place(Check4, 2280, 4740, 3255, 285);
  Command4 = new QPushButton("Copy", this);
  Command4->setObjectName("Command4");
  place(Command4, 6240, 4320, 1215, 420);
  Command5 = new QPushButton("Clear", this);
  Command5->setObjectName("Command5");
  place(Command5, 6240, 4860, 1215, 420);

  Text5->upperCase = true;
  connect(Check4, &QCheckBox::toggled, this, [this] { Check4_Click(); });
  connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
  connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
}

void CopyInventoryPanel::Check4_Click() { Check3->setEnabled(!Check4->isChecked()); }

void CopyInventoryPanel::Command5_Click() {
  int last = -1;
  for (int row = 0; row < List3->count(); ++row) {
    if (List3->isSelected(row)) last = row;
  }
  List3->clearSelected();
  List3->setCurrentRow(last);
}

void CopyInventoryPanel::Command4_Click() {
  const Reentry action(actionRunning());
  if (!action.entered()) return;
  if (shell_.refuseReadOnly()) return;
  const int from = List2->firstSelected();
  if (from < 0) {
    refuse("Please select a room to copy from.", "NO ROOM SELECTED");
    return;
  }
  std::vector<std::string> targets;
  for (int row = 0; row < List3->count(); ++row) {
    if (List3->isSelected(row)) targets.push_back(roomOf(*List3, row));
  }
  if (targets.empty()) {
    refuse("Please select a room to copy to.", "NO ROOM SELECTED");
    return;
  }
  const std::optional<int> multiplier = work::multiplierOf(Text5->text().toStdString());
  if (!multiplier) {
    refuse("Please select a multiplier greater then zero.", "INVALID VALUE");
    Text5->setFocus();
    return;
  }

  ui().setBusy(true);
  const std::string source = roomOf(*List2, from);
  OpenTables& tables = shell_.openTables();
  const work::CopyResult result = work::copyInventory(
      {shell_.CurrentDB(), tables.InventoryBanksTable, tables.RoomInventoryTable}, source, targets,
      {*multiplier, Check4->isChecked(), Check3->isChecked()});
  ui().setBusy(false);

  const QString reason = QString::fromStdString(result.message());
  switch (result.status) {
    case work::CopyResult::Status::Done:
      Command5_Click();
      tell(QString::number(result.completed) + " rooms completed.", "DONE", Icon::Information);
      return;
    case work::CopyResult::Status::TooManyBanks:
      refuse("Room " + QString::fromStdString(source) + " has inventory in more than " +
                 QString::number(work::maxBankRows) + " banks; at most " +
                 QString::number(work::maxBankRows) + " can be copied. Nothing was changed.",
             "CANNOT CONTINUE");
      return;
    case work::CopyResult::Status::ReadFailed:
      refuse("The inventory of room " + QString::fromStdString(source) +
                 " could not be read. Nothing was changed.\r\n" + reason,
             "CANNOT CONTINUE");
      return;
    case work::CopyResult::Status::WriteFailed:
      refuse("The inventory could not be written; no room was changed.\r\n" + reason,
             "CANNOT CONTINUE");
      return;
  }
}

}  // namespace roomkit
