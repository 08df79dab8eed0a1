// The undo of the main window: its button and Ctrl+Z ask about the newest run, undo it on Yes,
// report, and load the database again.
#include <QTest>

#include "shell_fixture.h"
#include "store/history.h"
#include "support/building.h"
#include "tools/change_room_number_panel.h"
#include "tools/combine_rooms_panel.h"

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

  // Change Room Number from 2 to 20, answered Yes.
  void renumber() {
    form->Combo1->setCurrentIndex(0);
    form->Combo1_Click();
    form->Frame1->Text2->setText("2");
    form->Frame1->Text3->setText("20");
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
  EXPECT_TRUE(question.text.startsWith("Undo the last run, Change Room Number (2 to 20) of "))
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
    other.updateWhereUpperText("Room Info", "Room Number", store::Value("21"), "20");
  }
  const auto changed = rooms();
  ui.answers.push_back(Answer::Yes);
  form->CommandUndo->click();
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].title, "CANNOT UNDO");
  EXPECT_EQ(ui.messages[1].icon, Icon::Exclamation);
  EXPECT_TRUE(ui.messages[1].text.contains("\"21\" of the table \"Room Info\" has changed"))
      << ui.messages[1].text.toStdString();
  EXPECT_EQ(rooms(), changed);
}

TEST_F(UndoTest, WithoutADatabaseItAsksForOne) {
  form->Text1->setText("  ");
  form->CommandUndo->click();
  EXPECT_EQ(ui.lastText(), "Please select a database.");
  EXPECT_EQ(ui.lastTitle(), "CANNOT CONTINUE");
}

}  // namespace
