// A report-view list: rows of column texts, optional check boxes on the first column, a sort by
// any column that stays in force for rows added later, and a prefix search in display order.
// Built on a model so that lists of a few hundred thousand rows load and sort quickly.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTreeView>
#include <vector>

namespace roomkit {

class ReportModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  void setHeaders(const QStringList& headers);
  void setCheckable(bool checkable) { checkable_ = checkable; }
  void clear();
  void setRows(std::vector<QStringList> rows);
  void addRow(QStringList cells);

  QString text(int row, int column) const;  // row in display order; "" past the cells
  bool isChecked(int row) const;
  void setChecked(int row, bool checked);

  void sortBy(int column, bool descending);  // switches sorting on; stable, ignores letter case
  bool sorted() const { return sorted_; }
  int sortColumn() const { return sortColumn_; }
  bool descending() const { return descending_; }
  void setDescending(bool descending) { descending_ = descending; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  struct Row {
    QStringList cells;
    bool checked = false;
  };
  bool before(const Row& a, const Row& b) const;
  void applySort();

  QStringList headers_;
  std::vector<Row> rows_;  // in display order
  bool checkable_ = false;
  bool sorted_ = false;
  int sortColumn_ = 0;
  bool descending_ = false;
};

class ReportList : public QTreeView {
  Q_OBJECT

 public:
  ReportList(const QString& name, QWidget* parent);

  ReportModel& model() { return model_; }
  const ReportModel& model() const { return model_; }
  void setColumns(const QStringList& headers, const std::vector<int>& widths = {});
  void setCheckable(bool checkable);

  int count() const { return model_.rowCount(); }
  QString text(int row, int column = 0) const { return model_.text(row, column); }
  int selectedRow() const;  // -1 when none
  // Makes the row the selected one, scrolls it into view and repaints.
  void selectRow(int row);
  // The first row, in display order, whose text begins with the prefix (ignoring case); -1.
  int findPrefix(const QString& prefix) const;

 signals:
  void headerClicked(int column);  // 0 for the first column
  void rowDoubleClicked();
  void mouseButtonPressed(Qt::MouseButton button);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  ReportModel model_;
};

}  // namespace roomkit
