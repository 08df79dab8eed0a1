#include "check_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <algorithm>

#include "kit/ui.h"

namespace roomkit {

namespace {

enum Column { KindColumn, TableColumn, KeyColumn, ProblemColumn, MendColumn };
constexpr int kindRole = Qt::UserRole;
constexpr int showAfterMs = 250;
constexpr int maxColumnWidth = 320;

// Sorting by kind follows the kinds' order, not their names' letters.
class FindingItem : public QTreeWidgetItem {
 public:
  using QTreeWidgetItem::QTreeWidgetItem;
  bool operator<(const QTreeWidgetItem& other) const override {
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    if (column == KindColumn) return data(0, kindRole).toInt() < other.data(0, kindRole).toInt();
    return text(column) < other.text(column);
  }
};

QString qs(const std::string& text) { return QString::fromStdString(text); }

QString counted(std::int64_t count, const char* one, const char* many) {
  return QString::number(count) + " " + (count == 1 ? one : many);
}

}  // namespace

QString mendReport(const store::MendResult& result) {
  QStringList parts;
  if (result.removed)
    parts << counted(result.removed, "record of a missing room removed",
                     "records of missing rooms removed");
  if (result.renumbered)
    parts << counted(result.renumbered, "room number trimmed and upper-cased",
                     "room numbers trimmed and upper-cased");
  if (result.timesAdded)
    parts << counted(result.timesAdded, "\"Room Time\" record made", "\"Room Time\" records made");
  return parts.isEmpty() ? QString("Nothing needed a mend.") : "Mended: " + parts.join(", ") + ".";
}

CheckWindow::CheckWindow(std::string path, std::function<void()> reload,
                         std::function<bool()> refuseMend, QWidget* parent)
    : QDialog(parent),
      path_(std::move(path)),
      reload_(std::move(reload)),
      refuseMend_(std::move(refuseMend)) {
  setObjectName("CheckWindow");
  setWindowTitle("Check Database - " + qs(path_));
  resize(1100, 520);
  auto* layout = new QVBoxLayout(this);

  LabelCounts = new QLabel(this);
  LabelCounts->setObjectName("LabelCounts");
  LabelCounts->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(LabelCounts);

  ListFindings = new QTreeWidget(this);
  ListFindings->setObjectName("ListFindings");
  ListFindings->setHeaderLabels({"Kind", "Table", "Key", "What is wrong", "Mend"});
  ListFindings->setRootIsDecorated(false);
  ListFindings->setAlternatingRowColors(true);
  ListFindings->setSortingEnabled(true);
  ListFindings->sortByColumn(KindColumn, Qt::AscendingOrder);
  ListFindings->header()->setStretchLastSection(true);
  layout->addWidget(ListFindings, 1);

  ProgressCheck = new QProgressBar(this);
  ProgressCheck->setObjectName("ProgressCheck");
  ProgressCheck->setRange(0, store::findingKindCount);
  ProgressCheck->setFormat("Checking... %p%");
  ProgressCheck->hide();
  layout->addWidget(ProgressCheck);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  CommandMend = new QPushButton("Mend...", this);
  CommandMend->setObjectName("CommandMend");
  CommandMend->setToolTip(
      "Mends what has one sound mend, as one run that Undo Last Run takes back");
  CommandMend->setAutoDefault(false);
  CommandMend->setEnabled(false);
  connect(CommandMend, &QPushButton::clicked, this, &CheckWindow::CommandMend_Click);
  buttons->addWidget(CommandMend);
  CommandClose = new QPushButton("Close", this);
  CommandClose->setObjectName("CommandClose");
  CommandClose->setDefault(true);
  connect(CommandClose, &QPushButton::clicked, this, &QDialog::accept);
  buttons->addWidget(CommandClose);
  layout->addLayout(buttons);
}

store::CheckProgress CheckWindow::progress() {
  clock_.start();
  return [this](int step, int steps) {
    if (clock_.elapsed() < showAfterMs) return;
    if (ProgressCheck->isHidden()) {
      ProgressCheck->setMaximum(steps);
      ProgressCheck->show();
    }
    ProgressCheck->setValue(step);
    ui().processEvents();
  };
}

void CheckWindow::setWorking(bool working) {
  working_ = working;
  ui().setBusy(working);
  CommandClose->setEnabled(!working);
  if (working) CommandMend->setEnabled(false);
  if (!working) ProgressCheck->hide();
}

void CheckWindow::check() {
  setWorking(true);
  store::CheckResult result;
  try {
    store::Database db = store::Database::open(path_, store::Database::Access::Read);
    result = store::checkDatabase(db, progress());
  } catch (const store::Error& error) {
    result.failure = error;
  }
  setWorking(false);
  showFindings(result);
}

void CheckWindow::showFindings(const store::CheckResult& result) {
  result_ = result;
  ListFindings->setSortingEnabled(false);
  ListFindings->clear();
  if (!result.ok()) {
    LabelCounts->setText("The database could not be checked: " + qs(result.message()));
    CommandMend->setEnabled(false);
    return;
  }
  int counts[store::findingKindCount] = {};
  bool mendable = false;
  for (const store::Finding& finding : result.findings) {
    ++counts[static_cast<int>(finding.kind)];
    mendable = mendable || finding.mendable;
    auto* item = new FindingItem(ListFindings);
    item->setText(KindColumn, store::kindName(finding.kind));
    item->setData(KindColumn, kindRole, static_cast<int>(finding.kind));
    item->setText(TableColumn, finding.table.empty() ? QString("(the engine)") : qs(finding.table));
    item->setText(KeyColumn, qs(store::keyText(finding)));
    item->setText(ProblemColumn, qs(finding.problem));
    item->setText(MendColumn, qs(finding.mend));
  }
  QStringList lines;
  for (int k = 0; k < store::findingKindCount; ++k) {
    if (counts[k] > 0)
      lines << QString(store::kindName(static_cast<store::FindingKind>(k))) + ": " +
                   QString::number(counts[k]);
  }
  LabelCounts->setText(lines.isEmpty() ? QString("Nothing found.")
                                       : counted(static_cast<std::int64_t>(result.findings.size()),
                                                 "finding", "findings") +
                                             "\n" + lines.join("\n"));
  ListFindings->setSortingEnabled(true);
  // Wide enough for their texts, but not so wide that "what is wrong" and the mend go out of view.
  for (int c = 0; c < MendColumn; ++c) {
    ListFindings->resizeColumnToContents(c);
    ListFindings->setColumnWidth(c, std::min(ListFindings->columnWidth(c), maxColumnWidth));
  }
  CommandMend->setEnabled(mendable);
}

void CheckWindow::CommandMend_Click() {
  if (working_) return;
  std::int64_t mendable = 0;
  for (const store::Finding& finding : result_.findings) mendable += finding.mendable;
  if (mendable == 0 || (refuseMend_ && refuseMend_())) return;
  if (!ask("Mend the " + counted(mendable, "finding", "findings") +
               " that have a sound mend? The mend is one run, which Undo Last Run takes back; "
               "the other findings are left alone.",
           "MEND DATABASE?", Answer::No, Icon::Question)) {
    return;
  }
  setWorking(true);
  store::MendResult mend;
  try {
    store::Database db = store::Database::open(path_);
    mend = store::mendDatabase(db, progress());
  } catch (const store::Error& error) {
    mend.failure = error;
  }
  setWorking(false);
  if (!mend.ok()) {
    refuse("Nothing was mended.\r\n" + qs(mend.message()), "CANNOT MEND");
    showFindings(result_);
    return;
  }
  tell(mendReport(mend), {}, Icon::Information);
  if (reload_) reload_();
  check();
}

void CheckWindow::reject() {
  if (!working_) QDialog::reject();
}

}  // namespace roomkit
