// The Check Database window: the findings of the check of one database file in a sortable list
// with a count per kind, and a Mend button that asks first, mends what has a sound mend as one
// run of the change history, has the database loaded again and checks once more.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <functional>
#include <string>

#include "store/check.h"

namespace roomkit {

class CheckWindow : public QDialog {
  Q_OBJECT

 public:
  // `reload` loads the database again after a mend was committed; `refuseMend` tells the user,
  // and is true, when the database may only be read.
  CheckWindow(std::string path, std::function<void()> reload, std::function<bool()> refuseMend,
              QWidget* parent = nullptr);

  QLabel* LabelCounts;          // a line per kind found, with its count
  QTreeWidget* ListFindings;    // kind, table, key, what is wrong, mend; sortable
  QProgressBar* ProgressCheck;  // the step of the check under way
  QPushButton* CommandMend;
  QPushButton* CommandClose;

  // Checks the file on a connection of its own that only reads, and shows the findings.
  void check();
  void CommandMend_Click();
  const store::CheckResult& result() const { return result_; }

 protected:
  void reject() override;  // not while a check or a mend is under way

 private:
  // Progress is shown (and events let run) only once a step has taken a moment, so that a
  // quick check shows its findings without the window flickering.
  store::CheckProgress progress();
  void showFindings(const store::CheckResult& result);
  void setWorking(bool working);

  std::string path_;
  std::function<void()> reload_;
  std::function<bool()> refuseMend_;
  store::CheckResult result_;
  QElapsedTimer clock_;
  bool working_ = false;
};

// "Room Inventory: 2 records removed ..." as the report after a mend says it.
QString mendReport(const store::MendResult& result);

}  // namespace roomkit
