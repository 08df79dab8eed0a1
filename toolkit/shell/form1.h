// The main window: the database path box and browse button, the function selector and the eight
// tool panels; start-up, the settings files, loading a database and closing.
#pragma once

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <array>

#include "kit/program_icon.h"
#include "kit/shell_context.h"
#include "kit/text_box.h"

namespace roomkit {

class ChangeRoomNumberPanel;
class ModifyRoomDataPanel;
class CopyInventoryPanel;
class AutoGeneratePanel;
class CleanupPanel;
class ChangeAssignmentPanel;
class CombineRoomsPanel;
class ChangeSortFieldPanel;

// The function selector's entries, by position.
extern const std::array<const char*, 8> functionNames;

class Form1 : public QWidget, public ShellContext {
  Q_OBJECT

 public:
  explicit Form1(QWidget* parent = nullptr);  // runs Form_Load
  ~Form1() override;

  QLabel* Label2;  // the band behind the top controls
  QLabel* Image2;
  QLabel* Label1;
  TextBox* Text1;  // database path (desktop mode)
  TextBox* Text9;  // building code (hosted mode)
  QPushButton* Command2;
  QFrame* Line1;
  QLabel* Label3;
  QComboBox* Combo1;            // the function selector
  QFrame* LineUndo;             // the strip below the panels
  QPushButton* CommandUndo;     // undoes the newest run of the history, as Ctrl+Z does
  QPushButton* CommandCheck;    // checks the loaded database; disabled while none is loaded
  QPushButton* CommandHistory;  // lists the runs of the history; disabled while none is loaded

  ChangeRoomNumberPanel* Frame1;
  ModifyRoomDataPanel* Frame2;
  CopyInventoryPanel* Frame3;
  AutoGeneratePanel* Frame4;
  CleanupPanel* Frame8;
  ChangeAssignmentPanel* Frame9;
  CombineRoomsPanel* Frame10;
  ChangeSortFieldPanel* Frame11;
  std::array<QWidget*, 8> panels;  // by function position

  QString LastDirectory;
  qint16 LastFunctionIndex = -1;
  bool activatedOnce = false;

  // Shows the window as the program starts it: shown, made active, and Form_Activate once more
  // when the event loop runs, for window systems that never report the first activation.
  void startShown();
  // A database named when the program was started (from a file manager, say): in desktop mode
  // it is loaded after the backup warning, as if chosen in the file dialog.
  void openAtStart(const QString& file) { startFile_ = file; }

  void Form_Load();
  void Form_Activate();
  void Form_Unload();
  void Command2_Click();
  void Combo1_Click();
  void LoadCurrentDB() override;
  void CommandUndo_Click();
  void CommandCheck_Click();
  void CommandHistory_Click();
  // Undoes the newest run of the loaded database after asking; false when nothing was undone.
  bool undoNewestRun();

  // ShellContext
  QString databasePath() const override;
  void focusDatabasePath() override;
  store::Database& CurrentDB() override { return currentDB_; }
  OpenTables& openTables() override { return tables_; }
  QString& BusyFlag() override { return busyFlag_; }
  QWidget* panelAt(int position) override;
  bool refuseReadOnly() override;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildTop();
  void buildPanels();
  void buildUndo();
  void closeDatabase();
  void failLoad(const QString& path, const QString& reason);
  void showFreshPanels();

  store::Database currentDB_;
  OpenTables tables_;
  QString busyFlag_;
  bool ended_ = false;        // the warning was declined: nothing more is done or written
  bool warningOpen_ = false;  // activations while the warning waits for its answer
  bool unloaded_ = false;
  QString startFile_;
};

}  // namespace roomkit
