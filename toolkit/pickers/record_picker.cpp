#include "record_picker.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <functional>

#include "common/text/trim.h"
#include "kit/numbers.h"
#include "kit/reentry.h"
#include "kit/twips.h"
#include "kit/ui.h"
#include "store/database.h"
#include "store/table.h"

namespace roomkit {

namespace {

constexpr int twipsPerPixel = 15;

// The opening goes on past a failing step: that step has no effect.
void step(const std::function<void()>& action) {
  try {
    action();
  } catch (const store::Error&) {
  }
}

}  // namespace

std::pair<int, int> pickerColumnWidths(int width, int size0, int size1) {
  const double total = static_cast<double>(size0) + size1;
  auto share = [&](int size) {
    const double part = total > 0 ? width * (size / total) : width / 2.0;
    return std::max(0, static_cast<int>(roundHalfEven(part - 160)));
  };
  return {share(size0), share(size1)};
}

New_SelectionBox_Database::New_SelectionBox_Database(const RecordQuery& query, QWidget* parent)
    : QDialog(parent), query_(query) {
  setObjectName("New_SelectionBox_Database");
  setWindowTitle("Select Records");
  // The outer size is 5655 x 6750 twips; the inside is that less the frame and the title bar.
  setFixedSize(px(5535), px(6330));

  Text1 = new TextBox("Text1", this);
  Text1->upperCase = true;
  Text1->selectAllOnFocus = true;
  place(Text1, 120, 120, 5295, 285);
  ListView1 = new ReportList("ListView1", this);
  ListView1->header()->setStretchLastSection(false);  // the columns keep their computed widths
  place(ListView1, 120, 600, 5295, 5055);
  CSCmd1 = new QPushButton("Cancel", this);
  CSCmd1->setObjectName("CSCmd1");
  CSCmd1->setAutoDefault(false);
  place(CSCmd1, 2160, 5880, 1215, 375);

  Text1->onKeyPress = [this](int& code) { Text1_KeyPress(code); };
  connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
  connect(ListView1, &QAbstractItemView::clicked, this, [this] { ListView1_Click(); });
  connect(ListView1, &ReportList::rowDoubleClicked, this,
          &New_SelectionBox_Database::ListView1_DblClick);
  connect(ListView1, &ReportList::headerClicked, this,
          &New_SelectionBox_Database::ListView1_ColumnClick);
  ListView1->installEventFilter(this);
  connect(CSCmd1, &QPushButton::clicked, this, &New_SelectionBox_Database::CSCmd1_Click);
}

// Fills the list once per showing. The connection and the table are released when the fill
// ends; the list keeps copies of the values.
void New_SelectionBox_Database::Form_Activate() {
  if (filled_) return;
  filled_ = true;
  repaint();
  const std::string path = query_.path.toStdString();
  const std::string table = query_.table.toStdString();
  ui().setBusy(true);
  ui().processEvents();

  store::Database db;
  store::Table records;
  std::vector<store::FieldDef> fields;  // the first two, by position
  std::pair<int, int> widths{0, 0};
  QString firstName;
  bool named = false;
  step([&] { db = store::Database::open(path, store::Database::Access::Read); });
  step([&] { records = db.openTable(table); });
  step([&] {
    for (std::size_t k = 0; k < 2 && k < records.fieldCount(); ++k) {
      fields.push_back(records.fieldDef(k));
    }
  });
  step([&] {
    if (fields.empty()) return;
    widths = pickerColumnWidths(ListView1->width() * twipsPerPixel, fields[0].size,
                                fields.size() > 1 ? fields[1].size : 0);
  });
  if (!fields.empty()) {
    QStringList headers;
    for (const store::FieldDef& field : fields) headers << QString::fromStdString(field.name);
    ListView1->setColumns(headers, {px(widths.first), px(widths.second)});
    firstName = headers.front();
    named = true;
  }
  std::vector<QStringList> rows;
  step([&] {
    if (fields.empty()) return;
    records.moveFirst();
    while (!records.eof()) {
      QStringList cells{QString::fromStdString(records.field(0).toText())};
      if (fields.size() > 1 && !records.field(1).isNull()) {
        cells << QString::fromStdString(records.field(1).toText());
      }
      rows.push_back(std::move(cells));
      records.moveNext();
    }
  });
  records.close();
  db.close();
  ListView1->model().setRows(std::move(rows));

  descending_ = query_.columns.toUpper().contains("DATE");
  // The list opens sorted by its first column, in the direction a header click would use.
  if (!fields.empty()) ListView1->model().sortBy(0, descending_);
  if (ListView1->count() > 0) ListView1->scrollTo(ListView1->model().index(0, 0));
  ui().setBusy(false);

  Text1->setText(query_.text);
  Text1->setFocus();
  Text1->selectWhole();
  if (named) setWindowTitle(firstName + ":");
}

void New_SelectionBox_Database::SelectAListItem(int position) {
  ListView1->selectRow(position - 1);
}

// The first item, in display order, whose text begins with the box's text; none leaves the
// selection as it was.
void New_SelectionBox_Database::Text1_Change() {
  const int row = ListView1->findPrefix(Text1->text());
  if (row >= 0) SelectAListItem(row + 1);
}

void New_SelectionBox_Database::Text1_KeyPress(int& KeyAscii) {
  if (KeyAscii != 13) return;
  KeyAscii = 0;
  Choose();
}

void New_SelectionBox_Database::ListView1_Click() {
  const int row = ListView1->selectedRow();
  if (row >= 0) Text1->setText(ListView1->text(row));
}

void New_SelectionBox_Database::ListView1_DblClick() { Choose(); }

void New_SelectionBox_Database::ListView1_KeyPress(int KeyAscii) {
  if (KeyAscii != 13) return;
  ListView1_Click();
  Choose();
}

// The selected item stays selected while the rows move.
void New_SelectionBox_Database::ListView1_ColumnClick(int column) {
  const int selected = ListView1->selectedRow();
  const QString first = ListView1->text(selected, 0), second = ListView1->text(selected, 1);
  ListView1->model().sortBy(column, descending_);
  if (selected < 0) return;
  for (int row = 0; row < ListView1->count(); ++row) {
    if (ListView1->text(row, 0) == first && ListView1->text(row, 1) == second) {
      ListView1->selectRow(row);
      return;
    }
  }
}

void New_SelectionBox_Database::CSCmd1_Click() { reject(); }

// Whatever the box holds is the choice, listed or not.
void New_SelectionBox_Database::Choose() {
  // Letting events run below may deliver a second double-click or Enter: it chooses nothing more.
  const Reentry choosing(choosing_);
  if (!choosing.entered()) return;
  const std::string typed = Text1->text().toStdString();
  chosen_ = QString::fromStdString(std::string(suite::trimBlanks(typed))).toUpper();
  ui().processEvents();
  accept();
}

std::optional<QString> New_SelectionBox_Database::choice() const {
  if (chosen_.isEmpty()) return std::nullopt;
  return chosen_;
}

void New_SelectionBox_Database::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Form_Activate();
}

bool New_SelectionBox_Database::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListView1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      ListView1_KeyPress(13);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

std::optional<QString> pickRecord(QWidget* parent, const RecordQuery& query) {
  New_SelectionBox_Database picker(query, parent);
  ui().showModal(picker);
  return picker.choice();
}

}  // namespace roomkit
