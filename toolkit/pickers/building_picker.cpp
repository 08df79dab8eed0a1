#include "building_picker.h"

#include <QEvent>
#include <QFileInfo>

#include "kit/jet_conversion.h"
#include "kit/reentry.h"
#include "kit/twips.h"
#include "kit/ui.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/table.h"

namespace roomkit {

namespace sch = store::schema;

SelectionBoxArray2::SelectionBoxArray2(const QString& userId, const QString& accountsPath,
                                       const QString& preselected, QWidget* parent)
    : QDialog(parent), userId_(userId), accountsPath_(accountsPath), preselected_(preselected) {
  setObjectName("SelectionBoxArray2");
  setWindowTitle("Please select a building");
  setFixedSize(px(6285), px(6960 - 420));  // the outer height holds the title bar
  ListView1 = new ReportList("ListView1", this);
  place(ListView1, 120, 120, 5925, 5655);
  ListView1->setColumns({"Number", "Building Name", "Customer Name"}, {px(1200), px(2400)});
  CSCmd1 = new QPushButton("Cancel", this);
  CSCmd1->setObjectName("CSCmd1");
  CSCmd1->setAutoDefault(false);
  place(CSCmd1, 2400, 6000, 1215, 375);
  connect(CSCmd1, &QPushButton::clicked, this, &SelectionBoxArray2::CSCmd1_Click);
  connect(ListView1, &ReportList::headerClicked, this, &SelectionBoxArray2::ListView1_ColumnClick);
  connect(ListView1, &ReportList::rowDoubleClicked, this, &SelectionBoxArray2::ListView1_DblClick);
}

// Filling: a missing account database or user leaves an empty list; a database that cannot be
// read is reported once a showing, since every activation reads it again, and the list keeps the
// rows read before the failure. The list is rebuilt at every activation, also one that comes
// while the dialog waits in a box of its own: such an activation finds the fill running and
// leaves it alone. A building the user has selected stays selected through a rebuild while it is
// still listed.
void SelectionBoxArray2::Form_Activate() {
  const Reentry fill(filling_);
  if (!fill.entered()) return;
  const int before = ListView1->selectedRow();
  const QString kept = before >= 0 ? ListView1->text(before) : QString();
  ListView1->model().clear();
  // An account database that is still an Access file is offered for conversion once a showing;
  // declined, it is not read: the user knows why the list stays empty.
  if (!conversionDeclined_) {
    const JetOpen jet = offerJetConversion(this, accountsPath_);
    conversionDeclined_ = jet == JetOpen::Declined || jet == JetOpen::Refused;
  }
  ui().setBusy(true);
  std::optional<QString> failure;
  if (!conversionDeclined_ && QFileInfo::exists(accountsPath_)) {
    try {
      readRows();
    } catch (const store::Error& error) {
      failure = QString::fromStdString(error.what());
    }
  }
  ListView1->viewport()->update();
  int row = -1;
  for (int candidate = 0; !kept.isEmpty() && candidate < ListView1->count(); ++candidate) {
    if (ListView1->text(candidate) == kept) {
      row = candidate;
      break;
    }
  }
  if (row < 0) row = ListView1->findPrefix(preselected_);
  if (row >= 0) ListView1->selectRow(row);
  ui().setBusy(false);
  if (failure && !failureShown_) {
    failureShown_ = true;
    refuse("The buildings could not be read from the account database " + accountsPath_ + ".\r\n" +
               *failure,
           "CANNOT CONTINUE");
  }
}

void SelectionBoxArray2::readRows() {
  store::Database accounts =
      store::Database::open(accountsPath_.toStdString(), store::Database::Access::Read);
  store::Table users = accounts.openTable(sch::userAccess);
  users.setIndex(sch::userIdIndex);
  const std::string user = userId_.trimmed().toStdString();
  users.seek({store::Value(user)});
  while (!users.eof() && !users.noMatch() && users.field(sch::userId).toText() == user) {
    ListView1->model().addRow({QString::fromStdString(users.field(sch::buildingCode).toText()),
                               QString::fromStdString(users.field(sch::buildingName).toText()),
                               QString::fromStdString(users.field(sch::customerName).toText())});
    users.moveNext();
  }
}

void SelectionBoxArray2::ListView1_ColumnClick(int column) {
  const QString selected = ListView1->text(ListView1->selectedRow());
  ListView1->model().sortBy(column, false);
  if (ListView1->selectedRow() < 0) return;
  const int row = ListView1->findPrefix(selected);
  if (row >= 0) ListView1->selectRow(row);
}

void SelectionBoxArray2::ListView1_DblClick() {
  ListView1->setEnabled(false);
  CSCmd1->setEnabled(false);
  ui().setBusy(true);
  repaint();
  const int row = ListView1->selectedRow();
  chosen_ = row < 0 ? QString() : ListView1->text(row).trimmed();
  if (!chosen_.isEmpty()) {
    accept();
    return;
  }
  ListView1->setEnabled(true);
  CSCmd1->setEnabled(true);
  ui().setBusy(false);
}

void SelectionBoxArray2::CSCmd1_Click() { reject(); }

void SelectionBoxArray2::done(int result) {
  ui().setBusy(true);  // the main window restores the pointer when it becomes active again
  QDialog::done(result);
}

void SelectionBoxArray2::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  filledOnShow_ = true;
  Form_Activate();
}

bool SelectionBoxArray2::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) {
    if (filledOnShow_) {
      filledOnShow_ = false;  // the fill at showing stands for this first activation
    } else {
      Form_Activate();
    }
  }
  return QDialog::event(event);
}

std::optional<QString> pickBuilding(QWidget* parent, const QString& userId,
                                    const QString& accountsPath) {
  SelectionBoxArray2 picker(userId, accountsPath, {}, parent);
  ui().showModal(picker);
  if (picker.chosenCode().isEmpty()) return std::nullopt;
  return picker.chosenCode();
}

}  // namespace roomkit
