// The three panels with a pair of boxes: Change Room Number, Change Assignment Number and Change
// Sort Fields, driven through the real main window.
#include <QTest>
#include <filesystem>

#include "panel_fixture.h"
#include "records.h"
#include "store/schema.h"
#include "tools/change_assignment_panel.h"
#include "tools/change_room_number_panel.h"
#include "tools/change_sort_field_panel.h"

using namespace roomkit;
using store::Value;
using walkingtest::column;
using walkingtest::put;
using Texts = std::vector<std::string>;
namespace sch = store::schema;

namespace {

struct Pair {
  const char* name;
  int function;  // selector position
  TextBox* (*first)(Form1&);
  TextBox* (*second)(Form1&);
  QPushButton* (*button)(Form1&);
  const char* missing;   // the refusal of an empty box
  const char* question;  // the question's title
};

const Pair pairs[] = {
    {"room number", 0, [](Form1& f) { return f.Frame1->Text2; },
     [](Form1& f) { return f.Frame1->Text3; }, [](Form1& f) { return f.Frame1->Command1; },
     "Please select a room number.", "CHANGE ROOM NUMBER?"},
    {"assignment", 5, [](Form1& f) { return f.Frame9->Text7; },
     [](Form1& f) { return f.Frame9->Text8; }, [](Form1& f) { return f.Frame9->Command7; },
     "Please select an assignment number.", "CHANGE ASSIGNMENT NUMBER?"},
    {"sort field", 7, [](Form1& f) { return f.Frame11->Text12; },
     [](Form1& f) { return f.Frame11->Text13; }, [](Form1& f) { return f.Frame11->Command9; },
     "Please select a Sort Field 1.", "CHANGE SORT FIELD 1?"},
};

const Message question(const char* title) {
  return {"Are you sure?", title, Buttons::YesNo, Answer::No, Icon::None};
}
const Message done{"Done", "", Buttons::Ok, Answer::Ok, Icon::None};
Message cannotContinue(const QString& text) {
  return {text, "CANNOT CONTINUE", Buttons::Ok, Answer::Ok, Icon::Exclamation};
}

class PairPanelTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    testsupport::addRooms(db, {{"1B", Value("LAB"), Value(), Value("North"), Value("NORTH")},
                               {"2", Value(), Value(), Value("NORTH WING"), Value()}});
    testsupport::addInventory(db, "1B", 1);
    put(db, sch::areaAssignments,
        {{sch::areaAssignment, Value("A1")}, {sch::roomNumber, Value("1B")}});
    put(db, sch::invSortField1, {{sch::sortField, Value("NORTH")}});
    load();
  }
  void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
};

TEST_F(PairPanelTest, ChecksComeInOrderAndFocusTheBoxAtFault) {
  for (const Pair& p : pairs) {
    SCOPED_TRACE(p.name);
    choose(p.function);
    TextBox* first = p.first(*form);
    TextBox* second = p.second(*form);
    form->Text1->setText("   ");
    first->setText("");
    second->setText("");
    click(p.button(*form));
    expectOnly(cannotContinue("Please select a database."));
    EXPECT_EQ(focused(), form->Text1);

    form->Text1->setText(QString::fromStdString(path));
    first->setText("  ");
    click(p.button(*form));
    expectOnly(cannotContinue(p.missing));
    EXPECT_EQ(focused(), first);

    first->setText("X");
    second->setText(" ");
    click(p.button(*form));
    expectOnly(cannotContinue(p.missing));
    EXPECT_EQ(focused(), second);
  }
}

TEST_F(PairPanelTest, NoChangesNothingAndSaysNothingMore) {
  for (const Pair& p : pairs) {
    SCOPED_TRACE(p.name);
    choose(p.function);
    p.first(*form)->setText("1B");
    p.second(*form)->setText("9");
    ui.answers.push_back(Answer::No);
    click(p.button(*form));
    expectOnly(question(p.question));
  }
  EXPECT_EQ(column(db, sch::roomInfo, sch::roomNumber), (Texts{"1B", "2"}));
}

TEST_F(PairPanelTest, TypedLettersBecomeCapitalsAndEnterMovesBetweenTheBoxes) {
  for (const Pair& p : {pairs[0], pairs[1]}) {
    SCOPED_TRACE(p.name);
    choose(p.function);
    TextBox* first = p.first(*form);
    TextBox* second = p.second(*form);
    first->setText("");
    second->setText("old");
    first->setFocus();
    QTest::keyClicks(first, "b1 -x");
    EXPECT_EQ(first->text(), "B1 -X");
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(focused(), second);
    EXPECT_EQ(second->selectedText(), "old") << "gaining the focus selects the whole text";
    QTest::keyClick(second, Qt::Key_Backspace);
    QTest::sendKeyEvent(QTest::Click, second, Qt::Key_Adiaeresis, QString("ä"), Qt::NoModifier);
    QTest::keyClicks(second, "2");
    EXPECT_EQ(second->text(), "Ä2");
    QTest::keyClick(second, Qt::Key_Enter);
    EXPECT_EQ(focused(), first) << "from the second box back to the first";
    EXPECT_EQ(first->selectedText(), "B1 -X");
    EXPECT_TRUE(ui.messages.empty()) << "Enter never runs the change";
  }
}

TEST_F(PairPanelTest, SortFieldBoxesOnlyUpperCaseAndEnterStaysPut) {
  choose(7);
  TextBox* first = form->Frame11->Text12;
  first->setText("");
  first->setFocus();
  QTest::keyClicks(first, "north 1");
  EXPECT_EQ(first->text(), "NORTH 1");
  QTest::keyClick(first, Qt::Key_Return);
  EXPECT_EQ(focused(), first);
  EXPECT_EQ(first->text(), "NORTH 1");
  EXPECT_TRUE(ui.messages.empty()) << "Enter never runs the change";
}

TEST_F(PairPanelTest, ChangeRoomNumberTrimsTheBoxesAndSaysDone) {
  choose(0);
  form->Frame1->Text2->setText("  1B ");
  form->Frame1->Text3->setText(" 3C  ");
  ui.answers.push_back(Answer::Yes);
  click(form->Frame1->Command1);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0], question("CHANGE ROOM NUMBER?"));
  EXPECT_EQ(ui.messages[1], done);
  EXPECT_FALSE(ui.busy);
  EXPECT_EQ(column(db, sch::roomInfo, sch::roomNumber), (Texts{"3C", "2"}));
  EXPECT_EQ(column(db, sch::roomInventory, sch::roomNumber), (Texts{"3C"}));
  EXPECT_EQ(column(db, sch::areaAssignments, sch::roomNumber), (Texts{"3C"}));
  EXPECT_EQ(form->Frame1->Text2->text(), "  1B ") << "the boxes keep their text";
}

TEST_F(PairPanelTest, ARefusedRunShowsOneMessageInsteadOfDone) {
  choose(0);
  form->Frame1->Text2->setText("1B");
  form->Frame1->Text3->setText("2");
  ui.answers.push_back(Answer::Yes);
  click(form->Frame1->Command1);
  ASSERT_EQ(ui.messages.size(), 2u);
  const Message& shown = ui.messages[1];
  EXPECT_TRUE(shown.text.startsWith(
      "The change could not be made in the table \"Room Info\", so nothing was changed.\r\n"))
      << shown.text.toStdString();
  EXPECT_TRUE(shown.text.contains("UNIQUE"));
  EXPECT_EQ(shown, cannotContinue(shown.text));
  EXPECT_FALSE(ui.busy);
  EXPECT_EQ(column(db, sch::roomInfo, sch::roomNumber), (Texts{"1B", "2"}));
}

TEST_F(PairPanelTest, ChangeAssignmentNumberUpperCasesPastedText) {
  choose(5);
  form->Frame9->Text7->setText(" a1 ");  // pasted, so not upper-cased by the box
  form->Frame9->Text8->setText("b7");
  ui.answers.push_back(Answer::Yes);
  click(form->Frame9->Command7);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1], done);
  EXPECT_EQ(column(db, sch::areaAssignments, sch::areaAssignment), (Texts{"B7"}));
}

TEST_F(PairPanelTest, ChangeSortFieldsFollowsTheChosenField) {
  choose(7);
  ChangeSortFieldPanel& panel = *form->Frame11;
  EXPECT_TRUE(panel.Option2[0]->isChecked());
  QTest::mouseClick(panel.Option2[1], Qt::LeftButton);
  ASSERT_TRUE(panel.Option2[1]->isChecked());
  EXPECT_FALSE(panel.Option2[0]->isChecked());
  panel.Text12->setText("");
  panel.Text13->setText("");
  click(panel.Command9);
  expectOnly(cannotContinue("Please select a Sort Field 2."));
  EXPECT_EQ(focused(), panel.Text12);

  panel.Text12->setText("north");
  panel.Text13->setText(" upper ");
  ui.answers.push_back(Answer::Yes);
  click(panel.Command9);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0], question("CHANGE SORT FIELD 2?"));
  EXPECT_EQ(ui.messages[1], done);
  EXPECT_EQ(column(db, sch::roomInfo, sch::sortField2), (Texts{"UPPER", "<null>"}));
  EXPECT_EQ(column(db, sch::roomInfo, sch::sortField1), (Texts{"North", "NORTH WING"}));
}

TEST_F(PairPanelTest, ChangeSortFieldsAtAPathWithoutAFileCreatesNothing) {
  choose(7);
  const std::string missing = dir.file("JOX_GONE.MDB");
  form->Text1->setText(QString::fromStdString(missing));
  form->Frame11->Text12->setText("NORTH");
  form->Frame11->Text13->setText("SOUTH");
  ui.answers.push_back(Answer::Yes);
  click(form->Frame11->Command9);
  ASSERT_EQ(ui.messages.size(), 2u);
  const Message& shown = ui.messages[1];
  EXPECT_TRUE(shown.text.startsWith("The database could not be opened, so nothing was changed."));
  EXPECT_TRUE(shown.text.contains("no such file")) << shown.text.toStdString();
  EXPECT_EQ(shown, cannotContinue(shown.text));
  EXPECT_FALSE(std::filesystem::exists(missing));
  EXPECT_FALSE(std::filesystem::exists(missing + "-wal"));
}

}  // namespace
