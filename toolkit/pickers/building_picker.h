// The building picker of hosted mode: the buildings a user may access, read from the account
// database. A double-click chooses; pickBuilding() shows the picker and answers with the code.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <optional>

#include "kit/report_list.h"

namespace roomkit {

class SelectionBoxArray2 : public QDialog {
  Q_OBJECT

 public:
  // The rows of `userId` (blanks around it dropped) in the account database at `accountsPath`;
  // the first row whose code begins with `preselected` is selected when the user selected none.
  SelectionBoxArray2(const QString& userId, const QString& accountsPath,
                     const QString& preselected = {}, QWidget* parent = nullptr);

  ReportList* ListView1;
  QPushButton* CSCmd1;  // "Cancel"

  void Form_Activate();                    // fills the list
  void ListView1_ColumnClick(int column);  // column counted from 0
  void ListView1_DblClick();
  void CSCmd1_Click();

  // The code of the building double-clicked last; empty while none was chosen.
  const QString& chosenCode() const { return chosen_; }

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  void readRows();  // appends the user's rows; throws store::Error

  const QString userId_;
  const QString accountsPath_;
  const QString preselected_;
  QString chosen_;
  bool filledOnShow_ = false;
  bool filling_ = false;
  bool conversionDeclined_ = false;
  bool failureShown_ = false;
};

// Shows the picker as a modal dialog over `parent`: the chosen building's code, or nothing when
// the user cancels.
std::optional<QString> pickBuilding(QWidget* parent, const QString& userId,
                                    const QString& accountsPath);

}  // namespace roomkit
