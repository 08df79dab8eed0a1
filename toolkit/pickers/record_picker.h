// The record picker: the first two fields of a table as a two-column list under a filter box that
// searches as the user types. pickRecord() shows it and answers with the box's text, upper-cased.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <optional>
#include <utility>

#include "kit/report_list.h"
#include "kit/text_box.h"

namespace roomkit {

// Column widths in twips for fields of the given defined sizes in a list `width` twips wide:
// each field's share of the width less 160, halves to the even neighbour, never below 0.
std::pair<int, int> pickerColumnWidths(int width, int size0, int size1);

// What the picker lists and how it opens.
struct RecordQuery {
  QString path;  // the database file
  QString table;
  QString text;     // the filter box's text at opening; it preselects by prefix
  QString columns;  // the fields the caller shows, as "Code, Description": one naming a date
                    // sorts the list descending
};

class New_SelectionBox_Database : public QDialog {
  Q_OBJECT

 public:
  explicit New_SelectionBox_Database(const RecordQuery& query, QWidget* parent = nullptr);

  TextBox* Text1;  // filter box
  ReportList* ListView1;
  QPushButton* CSCmd1;  // "Cancel"

  void Form_Activate();  // fills the list from the query
  void Text1_Change();   // incremental search
  void Text1_KeyPress(int& KeyAscii);
  void ListView1_Click();
  void ListView1_DblClick();
  void ListView1_KeyPress(int KeyAscii);
  void ListView1_ColumnClick(int column);  // column counted from 0
  void CSCmd1_Click();
  // Selects the item at a 1-based position, scrolls it into view and repaints the list.
  void SelectAListItem(int position);

  // The box's text, blanks around it dropped and upper-cased, once the user chose; an empty
  // choice counts as none.
  std::optional<QString> choice() const;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Choose();  // accept: the filter box's text is the choice

  const RecordQuery query_;
  QString chosen_;
  bool descending_ = false;
  bool filled_ = false;
  bool choosing_ = false;
};

// Shows the picker as a modal dialog over `parent`: the choice, or nothing when the user cancels
// or chooses an empty box.
std::optional<QString> pickRecord(QWidget* parent, const RecordQuery& query);

}  // namespace roomkit
