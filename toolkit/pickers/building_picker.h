// The building picker of hosted mode: the buildings the current user may access, read from the
// account database in the program folder. A double-click chooses; the code goes back in
// SelectedBuildingCode.
#pragma once

#include <QDialog>
#include <QPushButton>

#include "kit/report_list.h"

namespace roomkit {

class SelectionBoxArray2 : public QDialog {
  Q_OBJECT

 public:
  explicit SelectionBoxArray2(QWidget* parent = nullptr);

  ReportList* ListView1;
  QPushButton* CSCmd1;  // "Cancel"

  void Form_Activate();  // fills the list
  void ListView1_ColumnClick(int column);  // column counted from 0
  void ListView1_DblClick();
  void CSCmd1_Click();

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  bool filledOnShow_ = false;
  bool filling_ = false;
  bool conversionDeclined_ = false;
};

}  // namespace roomkit
