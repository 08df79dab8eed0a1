#include "report_list.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <algorithm>

namespace roomkit {

void ReportModel::setHeaders(const QStringList& headers) {
  beginResetModel();
  headers_ = headers;
  endResetModel();
}

void ReportModel::clear() {
  beginResetModel();
  rows_.clear();
  endResetModel();
}

void ReportModel::setRows(std::vector<QStringList> rows) {
  beginResetModel();
  rows_.clear();
  rows_.reserve(rows.size());
  for (QStringList& cells : rows) rows_.push_back({std::move(cells), false});
  if (sorted_) applySort();
  endResetModel();
}

void ReportModel::addRow(QStringList cells) {
  Row row{std::move(cells), false};
  auto at = rows_.end();
  if (sorted_) {
    at = std::upper_bound(rows_.begin(), rows_.end(), row,
                          [this](const Row& a, const Row& b) { return before(a, b); });
  }
  const int position = static_cast<int>(at - rows_.begin());
  beginInsertRows({}, position, position);
  rows_.insert(at, std::move(row));
  endInsertRows();
}

QString ReportModel::text(int row, int column) const {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return {};
  const QStringList& cells = rows_[static_cast<std::size_t>(row)].cells;
  return column >= 0 && column < cells.size() ? cells.at(column) : QString();
}

bool ReportModel::isChecked(int row) const {
  return row >= 0 && row < static_cast<int>(rows_.size()) &&
         rows_[static_cast<std::size_t>(row)].checked;
}

void ReportModel::setChecked(int row, bool checked) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  rows_[static_cast<std::size_t>(row)].checked = checked;
  const QModelIndex cell = index(row, 0);
  emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

bool ReportModel::before(const Row& a, const Row& b) const {
  const QString x = sortColumn_ < a.cells.size() ? a.cells.at(sortColumn_) : QString();
  const QString y = sortColumn_ < b.cells.size() ? b.cells.at(sortColumn_) : QString();
  const int order = x.compare(y, Qt::CaseInsensitive);
  return descending_ ? order > 0 : order < 0;
}

void ReportModel::applySort() {
  std::stable_sort(rows_.begin(), rows_.end(),
                   [this](const Row& a, const Row& b) { return before(a, b); });
}

void ReportModel::sortBy(int column, bool descending) {
  emit layoutAboutToBeChanged();
  sorted_ = true;
  sortColumn_ = column;
  descending_ = descending;
  applySort();
  emit layoutChanged();
}

int ReportModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ReportModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant ReportModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole) return text(index.row(), index.column());
  if (role == Qt::CheckStateRole && checkable_ && index.column() == 0) {
    return isChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
  }
  return {};
}

bool ReportModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || !checkable_ || index.column() != 0) return false;
  setChecked(index.row(), value.toInt() == Qt::Checked);
  return true;
}

Qt::ItemFlags ReportModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (checkable_ && index.column() == 0) flags |= Qt::ItemIsUserCheckable;
  return flags;
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < headers_.size()) {
    return headers_.at(section);
  }
  return {};
}

ReportList::ReportList(const QString& name, QWidget* parent) : QTreeView(parent), model_(this) {
  setObjectName(name);
  setModel(&model_);
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setItemsExpandable(false);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  header()->setSectionsClickable(true);
  header()->setSortIndicatorShown(false);
  header()->setStretchLastSection(true);
  connect(header(), &QHeaderView::sectionClicked, this, &ReportList::headerClicked);
}

void ReportList::setColumns(const QStringList& headers, const std::vector<int>& widths) {
  model_.setHeaders(headers);
  for (std::size_t i = 0; i < widths.size(); ++i) setColumnWidth(static_cast<int>(i), widths[i]);
}

void ReportList::setCheckable(bool checkable) { model_.setCheckable(checkable); }

int ReportList::selectedRow() const {
  const QModelIndexList rows = selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void ReportList::selectRow(int row) {
  if (row < 0 || row >= count()) return;
  const QModelIndex index = model_.index(row, 0);
  selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  scrollTo(index);
  viewport()->update();
}

int ReportList::findPrefix(const QString& prefix) const {
  for (int row = 0; row < count(); ++row) {
    if (model_.text(row, 0).startsWith(prefix, Qt::CaseInsensitive)) return row;
  }
  return -1;
}

void ReportList::mousePressEvent(QMouseEvent* event) {
  QTreeView::mousePressEvent(event);
  emit mouseButtonPressed(event->button());
}

void ReportList::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeView::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) emit rowDoubleClicked();
}

}  // namespace roomkit
