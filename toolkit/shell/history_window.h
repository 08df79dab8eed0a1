// The History window: the runs of the loaded database's change history, newest first, with their
// time, function and detail, records per table and whether each was undone (or why it cannot be),
// sortable by any column; it undoes the newest run not yet undone as Undo Last Run does.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "store/history.h"

namespace roomkit {

class Form1;

// The run as the window names it: "Change Room Number (101 to 201) of 2026-12-09 14:05:09".
QString describedRun(const store::RunInfo& run);

class HistoryWindow : public QDialog {
  Q_OBJECT

 public:
  HistoryWindow(Form1& form, QWidget* parent = nullptr);

  QLabel* LabelHistory;   // the file and the number of runs
  QTreeWidget* ListRuns;  // when, function, records, undone, records per table
  QPushButton* CommandHistoryUndo;
  QPushButton* CommandHistoryClose;

  void showRuns();  // reads the runs of the loaded database again
  void CommandHistoryUndo_Click();

 private:
  Form1& form_;
  bool undoing_ = false;
};

}  // namespace roomkit
