// The record picker: the first two fields of a table as a two-column list under a filter box that
// searches as the user types. The caller names the file and table in PickerArgs and reads the
// choice (upper case, "" for none) back from slot 2.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <utility>

#include "kit/report_list.h"
#include "kit/text_box.h"

namespace roomkit {

// Column widths in twips for fields of the given defined sizes in a list `width` twips wide:
// each field's share of the width less 160, halves to the even neighbour, never below 0.
std::pair<int, int> pickerColumnWidths(int width, int size0, int size1);

class New_SelectionBox_Database : public QDialog {
  Q_OBJECT

 public:
  explicit New_SelectionBox_Database(QWidget* parent = nullptr);

  TextBox* Text1;        // filter box
  ReportList* ListView1;
  QPushButton* CSCmd1;   // "Cancel"

  void Form_Activate();  // fills the list from PickerArgs
  void Text1_Change();   // incremental search
  void Text1_KeyPress(int& KeyAscii);
  void ListView1_Click();
  void ListView1_DblClick();
  void ListView1_KeyPress(int KeyAscii);
  void ListView1_ColumnClick(int column);  // column counted from 0
  void CSCmd1_Click();
  // Selects the item at a 1-based position, scrolls it into view and repaints the list.
  void SelectAListItem(int position);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Choose();  // accept: the filter box's text goes back in slot 2

  bool descending_ = false;
  bool filled_ = false;
  bool choosing_ = false;
};

}  // namespace roomkit
