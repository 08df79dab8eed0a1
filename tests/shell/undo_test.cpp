// The undo of the main window: its button and Ctrl+Z ask about the newest run of the loaded
// database, naming the file and the run, undo it on Yes, report, and load the database again
// with every panel as after a fresh load; the History window lists the runs.
#include <QTest>
#include <filesystem>
#include <fstream>

#include "shell/history_window.h"
#include "shell_fixture.h"
#include "store/history.h"
#include "store/merge_log.h"
#include "store/writes.h"
#include "support/building.h"
#include "support/temp_dir.h"
#include "tools/change_room_number_panel.h"
#include "tools/combine_rooms_panel.h"
#include "tools/modify_room_data_panel.h"

using namespace roomkit;

namespace {

class UndoTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    path = QString::fromStdString(makeSampleBuilding(dir.file("JOX_U.MDB").c_str()));
    start();
    loadDesktop(path);
    ui.messages.clear();
  }

  // Change Room Number from `from` to `to`, answered Yes.
  void renumber(const char* from = "2", const char* to = "20") {
    form->Combo1->setCurrentIndex(0);
    form->Combo1_Click();
    form->Frame1->Text2->setText(from);
    form->Frame1->Text3->setText(to);
    ui.answers.push_back(Answer::Yes);
    form->Frame1->Command1_Click();
    ASSERT_EQ(ui.lastText(), "Done");
    ui.messages.clear();
  }

  std::vector<std::vector<std::string>> rooms() {
    store::Database db = store::Database::open(path.toStdString());
    return testsupport::rows(db, "Room Info");
  }

  QString path;
};

TEST_F(UndoTest, CtrlZAsksAboutTheNewestRunAndUndoesItOnYes) {
  const auto before = rooms();
  renumber();
  ASSERT_NE(rooms(), before);
  ui.answers.push_back(Answer::Yes);
  QTest::keyClick(form->Frame1->Text3, Qt::Key_Z, Qt::ControlModifier);  // a text box has the focus
  ASSERT_EQ(ui.messages.size(), 2u);
  const Message& question = ui.messages[0];
  EXPECT_EQ(question.title, "UNDO LAST RUN?");
  EXPECT_TRUE(question.text.startsWith("Undo the last run on " + path +
                                       ", Change Room Number (2 to 20) of "))
      << question.text.toStdString();
  EXPECT_TRUE(question.text.endsWith(", which changed 1 record?")) << question.text.toStdString();
  EXPECT_EQ(question.buttons, Buttons::YesNo);
  EXPECT_EQ(question.defaultButton, Answer::No);
  EXPECT_EQ(ui.messages[1].text, "Undone.");
  EXPECT_EQ(rooms(), before);
  EXPECT_EQ(form->Frame1->Text3->text(), "20") << "Ctrl+Z undid the run, not the typing";
  // Loaded again: the lists show the room under its old number.
  EXPECT_EQ(form->Frame10->ListView1->text(2), "2");
}

TEST_F(UndoTest, NoLeavesTheRunAndNothingLeftSaysSo) {
  renumber();
  const auto after = rooms();
  ui.answers.push_back(Answer::No);
  form->CommandUndo->click();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(rooms(), after);

  ui.messages.clear();
  ui.answers.push_back(Answer::Yes);
  form->CommandUndo->click();
  ui.messages.clear();
  form->CommandUndo->click();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.lastTitle(), "NOTHING TO UNDO");
  EXPECT_TRUE(ui.lastText().startsWith("There is nothing to undo"));
}

TEST_F(UndoTest, ARecordChangedSinceIsReportedAndNothingIsUndone) {
  renumber();
  {
    store::Database other = store::Database::open(path.toStdString());
    store::updateWhereUpperText(other, "Room Info", "Room Number", store::Value("21"), "20");
  }
  const auto changed = rooms();
  ui.answers.push_back(Answer::Yes);
  form->CommandUndo->click();
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].title, "CANNOT UNDO");
  EXPECT_EQ(ui.messages[1].icon, Icon::Exclamation);
  const QString refusal = ui.messages[1].text;
  EXPECT_TRUE(refusal.startsWith("The last run on " + path + ", Change Room Number (2 to 20) of "))
      << refusal.toStdString();
  EXPECT_TRUE(
      refusal.contains(", cannot be undone: the record \"21\" of the table \"Room Info\" has "
                       "changed since the run. Nothing was changed."))
      << refusal.toStdString();
  EXPECT_FALSE(refusal.contains("Run 1")) << "runs are named by function and time, not number";
  EXPECT_EQ(rooms(), changed);
}

// The undo acts on the database whose rooms the lists show, whatever the path box says.
TEST_F(UndoTest, TheLoadedDatabaseIsUndoneNotTheOneInThePathBox) {
  renumber();
  const QString other =
      QString::fromStdString(makeSampleBuilding(dir.file("JOX_OTHER.MDB").c_str()));
  {
    store::Database db = store::Database::open(other.toStdString());
    store::Run run(db, "Elsewhere");
    store::updateWhereUpperText(db, "Room Info", "Room Name", store::Value("X"), "OFFICE");
    run.commit();
  }
  form->Text1->setText(other);
  ui.answers.push_back(Answer::Yes);
  form->CommandUndo->click();
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_TRUE(ui.messages[0].text.contains(path + ", Change Room Number"))
      << ui.messages[0].text.toStdString();
  EXPECT_EQ(ui.messages[1].text, "Undone.");
  store::Database db = store::Database::open(other.toStdString());
  EXPECT_EQ(store::latestUndoable(db)->function, "Elsewhere") << "the other file is untouched";
}

// While no database is loaded, before the first and after a failed load, there is nothing to
// undo or list: the buttons are disabled and Ctrl+Z shows nothing.
TEST_F(UndoTest, WithoutALoadedDatabaseUndoAndHistoryAreDisabled) {
  EXPECT_TRUE(form->CommandUndo->isEnabled());
  EXPECT_TRUE(form->CommandHistory->isEnabled());
  testsupport::writeFile(dir.file("JOX_BAD.MDB"), "not a database");
  for (const char* step : {"a failed load", "a fresh window"}) {
    SCOPED_TRACE(step);
    if (std::string(step) == "a failed load") {
      loadDesktop(QString::fromStdString(dir.file("JOX_BAD.MDB")));
    } else {
      form.reset();
      start();
    }
    ui.messages.clear();
    EXPECT_FALSE(form->CommandUndo->isEnabled());
    EXPECT_FALSE(form->CommandHistory->isEnabled());
    QTest::keyClick(form->Text1, Qt::Key_Z, Qt::ControlModifier);
    form->CommandUndo_Click();
    form->CommandHistory_Click();
    EXPECT_TRUE(ui.messages.empty()) << ui.lastText().toStdString();
  }
}

// After an undo the values a panel looked up of a record are gone with the state they came from.
TEST_F(UndoTest, AfterAnUndoThePanelsShowWhatTheDatabaseHolds) {
  form->Combo1->setCurrentIndex(1);
  form->Combo1_Click();
  ModifyRoomDataPanel& panel = *form->Frame2;
  panel.List1->selectOnly(1);
  panel.List1_Click();
  panel.Text4->setText("LAB");
  panel.Command3_Click();
  ASSERT_TRUE(ui.messages.empty()) << ui.lastText().toStdString();
  ASSERT_FALSE(panel.Text4->text().isEmpty()) << "the next room's value is shown";
  ui.answers.push_back(Answer::Yes);
  form->CommandUndo->click();
  ASSERT_EQ(ui.lastText(), "Undone.");
  EXPECT_LT(panel.List1->firstSelected(), 0);
  EXPECT_EQ(panel.Text4->text(), "");
  EXPECT_EQ(panel.Text6->text(), "");
}

// The History window lists the runs newest first with their records per table and whether each
// was undone, and undoes the newest one left as the button does.
TEST_F(UndoTest, TheHistoryWindowListsTheRunsAndUndoes) {
  renumber();
  renumber("20", "30");
  std::vector<std::vector<QString>> shown;
  auto read = [&](HistoryWindow& window) {
    shown.clear();
    for (int i = 0; i < window.ListRuns->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = window.ListRuns->topLevelItem(i);
      shown.push_back({item->text(1), item->text(2), item->text(4), item->text(3)});
    }
  };
  ui.onModal = [&](QDialog& dialog) {
    auto& window = dynamic_cast<HistoryWindow&>(dialog);
    read(window);
    ui.answers.push_back(Answer::Yes);
    window.CommandHistoryUndo->click();
    return 0;
  };
  form->CommandHistory->click();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], (std::vector<QString>{"Change Room Number (20 to 30)", "1",
                                            "Room Info: 1 changed", "no"}));
  EXPECT_EQ(shown[1][0], "Change Room Number (2 to 20)");
  ASSERT_EQ(ui.lastText(), "Undone.");

  ui.onModal = [&](QDialog& dialog) {
    read(dynamic_cast<HistoryWindow&>(dialog));
    return 0;
  };
  form->CommandHistory->click();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_TRUE(shown[0][3].startsWith("undone ")) << shown[0][3].toStdString();
  EXPECT_EQ(shown[1][3], "no");
}

// A merge that is undone says so in the combine log, beside the merge's own lines.
TEST_F(UndoTest, AnUndoneMergeIsWrittenToTheCombineLog) {
  std::string line;
  {
    store::Database db = store::Database::open(path.toStdString());
    store::Run run(db, store::combineRunFunction, "into 10");
    store::updateWhereUpperText(db, "Room Info", "Room Name", store::Value("MERGED"), "LAB");
    run.commit();
  }
  testsupport::writeFile((path + ".log").toStdString(),
                         "Original Room Number, New Room Number\r\n2,10\r\n");
  ui.answers.push_back(Answer::Yes);
  form->CommandUndo->click();
  ASSERT_EQ(ui.lastText(), "Undone.");
  const std::string log = testsupport::readFile((path + ".log").toStdString());
  EXPECT_EQ(log.rfind("Original Room Number, New Room Number\r\n2,10\r\nUndone ", 0), 0u) << log;
  EXPECT_NE(log.find(": the merge into 10 of "), std::string::npos) << log;
  EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
}

}  // namespace
