// A list box of text lines (the room lists). One line can be selected, or several, each click
// toggling one line. Click fires whenever the selection changes, by the user or by the program,
// as the panels' busy flag expects.
#pragma once

#include <QListView>
#include <QStringListModel>

namespace roomkit {

class LineList : public QListView {
  Q_OBJECT

 public:
  LineList(const QString& name, bool multiple, QWidget* parent);

  void setLines(const QStringList& lines);  // kept in the given order
  void clearLines() { setLines({}); }
  int count() const;
  QString line(int row) const;
  int currentRow() const;     // the focused line, -1 when none
  int firstSelected() const;  // -1 when none
  bool isSelected(int row) const;
  void setSelected(int row, bool selected);
  void selectOnly(int row);  // single-line lists: select and make current
  void clearSelected();
  void setCurrentRow(int row);  // without changing the selection

 signals:
  void Click();

 private:
  QStringListModel model_;
};

// Sorts lines as a sorted list box keeps them: by text, ignoring letter case first.
void sortLines(QStringList& lines);

}  // namespace roomkit
