#include "history_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "form1.h"
#include "kit/reentry.h"
#include "store/error.h"

namespace roomkit {

namespace {

// The records per table, the longest, come last.
enum Column { WhenColumn, FunctionColumn, RecordsColumn, UndoneColumn, TablesColumn };
constexpr int numberRole = Qt::UserRole;

// Records and times sort as numbers; the rest by their text.
class RunItem : public QTreeWidgetItem {
 public:
  using QTreeWidgetItem::QTreeWidgetItem;
  bool operator<(const QTreeWidgetItem& other) const override {
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    if (column == RecordsColumn || column == WhenColumn) {
      return data(column, numberRole).toLongLong() < other.data(column, numberRole).toLongLong();
    }
    return text(column).localeAwareCompare(other.text(column)) < 0;
  }
};

QString qs(const std::string& text) { return QString::fromStdString(text); }

QString tablesText(const store::RunInfo& run) {
  QStringList tables;
  for (const store::TableChanges& table : run.tables) {
    QStringList counts;
    if (table.added) counts << QString::number(table.added) + " added";
    if (table.changed) counts << QString::number(table.changed) + " changed";
    if (table.removed) counts << QString::number(table.removed) + " removed";
    tables << qs(table.table) + ": " + counts.join(", ");
  }
  return tables.join("; ");
}

}  // namespace

HistoryWindow::HistoryWindow(Form1& form, QWidget* parent) : QDialog(parent), form_(form) {
  setObjectName("HistoryWindow");
  resize(980, 420);
  auto* layout = new QVBoxLayout(this);
  LabelHistory = new QLabel(this);
  LabelHistory->setObjectName("LabelHistory");
  layout->addWidget(LabelHistory);

  ListRuns = new QTreeWidget(this);
  ListRuns->setObjectName("ListRuns");
  ListRuns->setHeaderLabels({"When", "Function", "Records", "Undone", "Records per table"});
  ListRuns->setRootIsDecorated(false);
  ListRuns->setAlternatingRowColors(true);
  ListRuns->setAllColumnsShowFocus(true);
  ListRuns->setSortingEnabled(true);
  ListRuns->header()->setSectionsClickable(true);
  ListRuns->header()->setStretchLastSection(true);
  layout->addWidget(ListRuns, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  CommandHistoryUndo = new QPushButton("&Undo Last Run...", this);
  CommandHistoryUndo->setObjectName("CommandHistoryUndo");
  CommandHistoryUndo->setAutoDefault(false);
  CommandHistoryClose = new QPushButton("&Close", this);
  CommandHistoryClose->setObjectName("CommandHistoryClose");
  CommandHistoryClose->setDefault(true);
  buttons->addWidget(CommandHistoryUndo);
  buttons->addWidget(CommandHistoryClose);
  layout->addLayout(buttons);
  connect(CommandHistoryUndo, &QPushButton::clicked, this,
          &HistoryWindow::CommandHistoryUndo_Click);
  connect(CommandHistoryClose, &QPushButton::clicked, this, &QDialog::accept);
  showRuns();
  ListRuns->setFocus();
}

void HistoryWindow::showRuns() {
  ListRuns->clear();
  store::Database& db = form_.CurrentDB();
  const QString file = db.isOpen() ? qs(db.path()) : QString();
  setWindowTitle("History - " + file);
  std::vector<store::RunInfo> runs;
  QString failure;
  try {
    if (db.isOpen()) runs = store::listRuns(db);
  } catch (const store::Error& error) {
    failure = qs(error.what());
  }
  bool undoable = false;
  for (const store::RunInfo& run : runs) {
    auto* item = new RunItem(ListRuns);
    item->setText(WhenColumn, qs(run.when));
    item->setData(WhenColumn, numberRole, static_cast<qlonglong>(run.number));  // in the order made
    QString function = qs(run.function);
    if (!run.detail.empty()) function += " (" + qs(run.detail) + ")";
    item->setText(FunctionColumn, function);
    item->setText(RecordsColumn, QString::number(run.records));
    item->setData(RecordsColumn, numberRole, static_cast<qlonglong>(run.records));
    item->setTextAlignment(RecordsColumn, Qt::AlignRight | Qt::AlignVCenter);
    item->setText(TablesColumn, tablesText(run));
    item->setToolTip(TablesColumn, tablesText(run).replace("; ", "\n"));
    QString undone;
    if (run.undone) {
      undone = "undone " + qs(*run.undone);
    } else {
      const std::string damage = store::runDamage(db, run.number);
      undone = damage.empty() ? QString("no") : "cannot be undone: " + qs(damage);
      undoable = true;
    }
    item->setText(UndoneColumn, undone);
  }
  ListRuns->sortByColumn(WhenColumn, Qt::DescendingOrder);
  for (int column = 0; column < TablesColumn; ++column) ListRuns->resizeColumnToContents(column);
  if (ListRuns->topLevelItemCount() > 0) ListRuns->setCurrentItem(ListRuns->topLevelItem(0));
  const int count = static_cast<int>(runs.size());
  LabelHistory->setText(
      !failure.isEmpty() ? "The history of " + file + " cannot be read: " + failure
      : count == 0       ? "No function has changed " + file + " since its history began."
                         : file + ": " + QString::number(count) + (count == 1 ? " run" : " runs") +
                         ", newest first.");
  CommandHistoryUndo->setEnabled(undoable && db.isOpen() && !db.readOnly());
}

void HistoryWindow::CommandHistoryUndo_Click() {
  const Reentry undo(undoing_);
  if (!undo.entered()) return;
  if (form_.undoNewestRun()) showRuns();
}

}  // namespace roomkit
