#include "line_list.h"

#include <algorithm>

namespace roomkit {

LineList::LineList(const QString& name, bool multiple, QWidget* parent)
    : QListView(parent), model_(this) {
  setObjectName(name);
  setModel(&model_);
  setUniformItemSizes(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(multiple ? QAbstractItemView::MultiSelection
                            : QAbstractItemView::SingleSelection);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit Click(); });
}

void LineList::setLines(const QStringList& lines) {
  const QSignalBlocker quiet(selectionModel());
  model_.setStringList(lines);
}

int LineList::count() const { return model_.rowCount(); }

QString LineList::line(int row) const {
  return model_.data(model_.index(row, 0), Qt::DisplayRole).toString();
}

int LineList::currentRow() const {
  const QModelIndex current = selectionModel()->currentIndex();
  return current.isValid() ? current.row() : -1;
}

int LineList::firstSelected() const {
  int first = -1;
  for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
    if (first < 0 || index.row() < first) first = index.row();
  }
  return first;
}

bool LineList::isSelected(int row) const {
  return selectionModel()->isSelected(model_.index(row, 0));
}

void LineList::setSelected(int row, bool selected) {
  if (row < 0 || row >= count()) return;
  selectionModel()->select(model_.index(row, 0),
                           selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

void LineList::selectOnly(int row) {
  if (row < 0 || row >= count()) return;
  const QModelIndex index = model_.index(row, 0);
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  scrollTo(index);
}

void LineList::clearSelected() { selectionModel()->clearSelection(); }

void LineList::setCurrentRow(int row) {
  selectionModel()->setCurrentIndex(row < 0 ? QModelIndex() : model_.index(row, 0),
                                    QItemSelectionModel::NoUpdate);
}

void sortLines(QStringList& lines) {
  std::sort(lines.begin(), lines.end(), [](const QString& a, const QString& b) {
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
  });
}

}  // namespace roomkit
