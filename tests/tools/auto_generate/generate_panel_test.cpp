// "Generate" on the real panel: the lines, every refusal with its beep and icon, and the digit
// boxes' keys, focus and locks.
#include <QTest>

#include "generate_fixture.h"

using namespace roomkit;

namespace {

const Message exclamation(const QString& text, const QString& title = {}) {
  return {text, title, Buttons::Ok, Answer::Ok, Icon::Exclamation};
}

class GeneratePanelTest : public GenerateTest {
 protected:
  void SetUp() override {
    GenerateTest::SetUp();
    panel->aaText3->setText("A1");
  }
  // Types each character into whichever box has the focus.
  void type(const QString& keys) {
    for (QChar key : keys) QTest::keyClick(focused(), key.toLatin1());
  }
};

TEST_F(GeneratePanelTest, ListsTheRangeAndCountsIt) {
  setPattern("A1-101", "A1-120", "***");
  panel->aaCommand1_Click();
  const QStringList got = lines();
  ASSERT_EQ(got.size(), 20);
  EXPECT_EQ(got.front(), "A1-101");
  EXPECT_EQ(got.at(9), "A1-110");
  EXPECT_EQ(got.back(), "A1-120");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0],
            (Message{"20 rooms in total.", {}, Buttons::Ok, Answer::Ok, Icon::Information}));
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_FALSE(ui.busy);

  setPattern("0100", "0150");
  panel->aaCombo1->setCurrentIndex(9);  // "10"
  panel->aaCommand1_Click();
  EXPECT_EQ(lines(), (QStringList{"0100", "0110", "0120", "0130", "0140", "0150"}))
      << "each Generate replaces the list";
  EXPECT_EQ(ui.lastText(), "6 rooms in total.");
}

TEST_F(GeneratePanelTest, LockedDigitsOnBothSidesStayAroundTheCounter) {
  setPattern("W10E", "W12E", "*  *");
  panel->aaCommand1_Click();
  EXPECT_EQ(lines(), (QStringList{"W10E", "W11E", "W12E"}));
  setPattern("5", "5");
  panel->aaCommand1_Click();
  EXPECT_EQ(lines(), QStringList{"5"}) << "equal start and end give one number";
  EXPECT_EQ(ui.lastText(), "1 rooms in total.");
}

struct Refusal {
  const char* name;
  const char* start;
  const char* end;
  const char* locks;
  const char* schedule;
  const char* increment;  // typed into the increment box
  Message message;
  int beeps;
};

class RefusalTest : public GeneratePanelTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTest, ShowsItsMessageAndLeavesTheList) {
  const Refusal& r = GetParam();
  panel->aaList1->addItem("OLD");
  setPattern(r.start, r.end, r.locks);
  panel->aaText3->setText(r.schedule);
  panel->aaCombo1->setEditText(r.increment);
  panel->aaCommand1_Click();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], r.message);
  EXPECT_EQ(ui.beeps, r.beeps);
  EXPECT_EQ(lines(), QStringList{"OLD"});
  EXPECT_FALSE(ui.busy);
}

const Refusal refusals[] = {
    {"EmptyFirstBox", " 101", " 120", "", "A1", "1",
     exclamation("Please enter a room number starting from left to right with no spaces."), 1},
    {"GapInsideTheGroup", "1 1", "1 9", "", "A1", "1",
     exclamation("Please enter a room number starting from left to right with no spaces."), 1},
    {"LockInsideTheGroup", "1234", "1299", " * ", "A1", "1",
     exclamation("Unlocked digits must be grouped together."), 1},
    {"LetterInAStartDigit", "1A1", "1A9", "", "A1", "1",
     exclamation("Only numbers are allowed in unlocked fields."), 1},
    {"LetterInAnEndDigit",
     "101",
     "1A1",
     "",
     "A1",
     "1",
     {"Error", {}, Buttons::Ok, Answer::Ok, Icon::Critical},
     0},
    {"StartAboveEnd", "120", "101", "", "A1", "1",
     exclamation("Starting number must be smaller then ending number (unlocked)."), 1},
    {"NoSchedule", "101", "120", "", "   ", "1",
     exclamation("You must assign a cleaning schedule."), 1},
    {"TypedIncrementZero", "101", "120", "", "A1", "0",
     exclamation("The increment must be a whole number from 1 to 100.", "INVALID VALUE"), 1},
    {"TypedIncrementTooLarge", "101", "120", "", "A1", "250",
     exclamation("The increment must be a whole number from 1 to 100.", "INVALID VALUE"), 1},
    {"TypedIncrementNotANumber", "101", "120", "", "A1", "x",
     exclamation("The increment must be a whole number from 1 to 100.", "INVALID VALUE"), 1},
    {"RangeTooLong", "00000000", "99999999", "", "A1", "1",
     exclamation("This range gives 100000000 rooms; at most 1000000 can be generated at once.",
                 "TOO MANY ROOMS"),
     1},
};

INSTANTIATE_TEST_SUITE_P(Generate, RefusalTest, ::testing::ValuesIn(refusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GeneratePanelTest, ATypedIncrementFromTheListIsUsedAndAddsNoLine) {
  setPattern("1", "9");
  panel->aaCombo1->setEditText("4");
  QTest::keyClick(panel->aaCombo1, Qt::Key_Return);
  panel->aaCommand1_Click();
  EXPECT_EQ(lines(), (QStringList{"1", "5", "9"}));
  EXPECT_EQ(panel->aaCombo1->count(), 100);
  panel->aaCombo1->setEditText("250");
  QTest::keyClick(panel->aaCombo1, Qt::Key_Return);
  EXPECT_EQ(panel->aaCombo1->count(), 100) << "a typed increment never joins the list";
}

TEST_F(GeneratePanelTest, EnterInTheScheduleBoxGeneratesAndTypingIsUpperCased) {
  setPattern("7", "8");
  panel->aaText3->clear();
  panel->aaText3->setFocus();
  QTest::keyClicks(panel->aaText3, "b2");
  EXPECT_EQ(panel->aaText3->text(), "B2");
  QTest::keyClick(panel->aaText3, Qt::Key_Return);
  EXPECT_EQ(lines(), (QStringList{"7", "8"}));
  EXPECT_EQ(panel->aaText3->text(), "B2");
}

TEST_F(GeneratePanelTest, TypingFillsBothRowsAndMovesRightPastLocks) {
  panel->aaCheck1[2]->setChecked(true);
  panel->aaText1[0]->setFocus();
  ASSERT_EQ(focused(), panel->aaText1[0]) << "the window must be active for focus tests";
  type("a1");
  EXPECT_EQ(panel->aaText1[0]->text(), "A");
  EXPECT_EQ(panel->aaText2[0]->text(), "A") << "the start row types the end row";
  EXPECT_EQ(panel->aaText1[1]->text(), "1");
  EXPECT_EQ(focused(), panel->aaText1[3]) << "the locked box 2 is skipped";

  panel->aaText1[7]->setFocus();
  type("9");
  EXPECT_EQ(focused(), panel->aaText1[0]) << "after the last box the first";
  panel->aaCheck1[0]->setChecked(true);
  panel->aaText1[7]->setFocus();
  type("9");
  EXPECT_EQ(focused(), panel->aaText1[1]) << "the first unlocked box from the left";
}

TEST_F(GeneratePanelTest, StartingBoxesRefuseControlKeysAndCodesAbove122) {
  panel->aaText1[4]->setText("5");
  panel->aaText1[4]->setFocus();
  QTest::keyClick(panel->aaText1[4], Qt::Key_Backspace);
  QTest::keyClick(panel->aaText1[4], '{');
  EXPECT_EQ(panel->aaText1[4]->text(), "5");
  EXPECT_EQ(focused(), panel->aaText1[4]) << "a refused key does not move the focus";
  QTest::keyClick(panel->aaText1[4], Qt::Key_Return);
  EXPECT_EQ(panel->aaText1[4]->text(), "5");
  EXPECT_EQ(focused(), panel->aaText1[5]) << "Enter moves on";
}

TEST_F(GeneratePanelTest, EndingBoxesTakeControlCharactersButNotCodesAbove122) {
  setPattern("12", "12");
  panel->aaText2[1]->setFocus();
  QTest::keyClick(panel->aaText2[1], '{');
  EXPECT_EQ(panel->aaText2[1]->text(), "2");
  EXPECT_EQ(focused(), panel->aaText2[1]);
  QTest::keyClick(panel->aaText2[1], 'x');
  EXPECT_EQ(panel->aaText2[1]->text(), "X");
  EXPECT_EQ(panel->aaText1[1]->text(), "2") << "the end row copies nothing back";
  EXPECT_EQ(focused(), panel->aaText2[2]);
  panel->aaText2[1]->setFocus();
  QTest::keyClick(panel->aaText2[1], Qt::Key_Backspace);
  EXPECT_EQ(panel->aaText2[1]->text(), QString(QChar(8)));
  EXPECT_EQ(focused(), panel->aaText2[2]);
  panel->aaCommand1_Click();
  EXPECT_EQ(ui.lastText(), "Error") << "the control character does not read as a digit";
}

TEST_F(GeneratePanelTest, ALockedBoxPassesTheFocusOnInBothRowsUntilUnlocked) {
  panel->aaCheck1[5]->setChecked(true);
  panel->aaCheck1[6]->setChecked(true);
  QTest::mouseClick(panel->aaText1[5], Qt::LeftButton);
  EXPECT_EQ(focused(), panel->aaText1[7]);
  QTest::mouseClick(panel->aaText2[6], Qt::LeftButton);
  EXPECT_EQ(focused(), panel->aaText2[7]);
  panel->aaCheck1[5]->setChecked(false);
  QTest::mouseClick(panel->aaText1[5], Qt::LeftButton);
  EXPECT_EQ(focused(), panel->aaText1[5]);
  panel->aaText1[5]->setText("4");
  QTest::mouseClick(panel->aaText1[5], Qt::LeftButton);
  EXPECT_EQ(panel->aaText1[5]->selectedText(), "4") << "a click selects the digit";
}

TEST_F(GeneratePanelTest, TheEighthLockIsRefused) {
  for (int i = 0; i < 8; ++i) {
    if (i != 3) QTest::mouseClick(panel->aaCheck1[i], Qt::LeftButton);
  }
  EXPECT_TRUE(ui.messages.empty());
  QTest::mouseClick(panel->aaCheck1[3], Qt::LeftButton);
  EXPECT_FALSE(panel->aaCheck1[3]->isChecked());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], exclamation("You must leave at least one field unlocked."));
  EXPECT_EQ(ui.beeps, 1);
  QTest::mouseClick(panel->aaCheck1[0], Qt::LeftButton);  // unticks
  QTest::mouseClick(panel->aaCheck1[3], Qt::LeftButton);
  EXPECT_TRUE(panel->aaCheck1[3]->isChecked());
  EXPECT_EQ(ui.messages.size(), 1u);
}

}  // namespace
