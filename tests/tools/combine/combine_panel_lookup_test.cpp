// The panel's own behaviour: the target lookup as the number is typed, upper-casing, the column
// sort that keeps the selection by prefix, and the right-button copy of the selected room.
#include <QHeaderView>
#include <QTest>

#include "combine_panel_fixture.h"

using namespace roomkit;

namespace {

class LookupTest : public CombinePanelTest {
 protected:
  void SetUp() override {
    CombinePanelTest::SetUp();
    panel->Text11->setFocus();
  }
  void expectTarget(const QString& name, const QString& schedule) {
    EXPECT_EQ(panel->Text10->text(), name);
    EXPECT_EQ(panel->Combo2->currentText(), schedule);
    EXPECT_EQ(panel->Combo2->currentIndex() < 0, schedule.isEmpty());
  }
};

TEST_F(LookupTest, TypingShowsTheRoomAndOneCharacterTooManyClearsIt) {
  QTest::keyClicks(panel->Text11, "101");
  expectTarget("LAB", "A1");
  QTest::keyClick(panel->Text11, '1');
  EXPECT_EQ(panel->Text11->text(), "1011");
  expectTarget("", "");
}

TEST_F(LookupTest, ARoomWhoseScheduleIsNotListedShowsNothing) {
  QTest::keyClicks(panel->Text11, "10");
  expectTarget("OFFICE", "A1");
  QTest::keyClick(panel->Text11, '3');  // 103 exists, its schedule ZZ is not in the list
  expectTarget("", "");
}

TEST_F(LookupTest, ThePressLooksUpTheTextWithTheCharacterAtTheEnd) {
  panel->Text11->setText("10");
  panel->Text11->setCursorPosition(0);
  QTest::keyPress(panel->Text11, '1');
  expectTarget("LAB", "A1");  // "10" and "1": 101, wherever the caret stood
  EXPECT_EQ(panel->Text11->text(), "110");
  QTest::keyRelease(panel->Text11, '1');
  expectTarget("", "");  // the release looks up what the box holds
}

TEST_F(LookupTest, BackspaceFailsOnThePressAndFindsTheShortenedNumberOnRelease) {
  panel->Text11->setText("1011");
  panel->Text10->setText("X");
  panel->Combo2->setCurrentIndex(0);
  QTest::keyPress(panel->Text11, Qt::Key_Backspace);
  expectTarget("", "");
  EXPECT_EQ(panel->Text11->text(), "101");
  QTest::keyRelease(panel->Text11, Qt::Key_Backspace);
  expectTarget("LAB", "A1");
}

TEST_F(LookupTest, EnterLooksUpTheTextAsItIs) {
  panel->Text11->setText("102");
  QTest::keyPress(panel->Text11, Qt::Key_Return);
  expectTarget("STORE", "B1");
}

TEST_F(LookupTest, TypedLettersBecomeCapitals) {
  QTest::keyClicks(panel->Text11, "ab1");
  EXPECT_EQ(panel->Text11->text(), "AB1");
  panel->Text10->setFocus();
  QTest::keyClicks(panel->Text10, "new lab");
  EXPECT_EQ(panel->Text10->text(), "NEW LAB");
}

TEST_F(LookupTest, GainingTheFocusSelectsTheWholeNumber) {
  panel->Text11->setText("102");
  panel->Command8->setFocus();
  panel->Text11->setFocus();
  EXPECT_EQ(panel->Text11->selectedText(), "102");
}

class ListTest : public CombinePanelTest {
 protected:
  void clickHeader(int column) {
    QHeaderView* header = panel->ListView1->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 4, header->height() / 2));
  }
  QPoint rowPoint(int r) {
    return panel->ListView1->visualRect(panel->ListView1->model().index(r, 1)).center();
  }
  QString selected() const { return panel->ListView1->text(panel->ListView1->selectedRow()); }
};

TEST_F(ListTest, EveryHeaderClickFlipsTheDirection) {
  clickHeader(0);
  EXPECT_EQ(rooms(), (QStringList{"103", "102", "101", "100", "10"}));
  clickHeader(0);
  EXPECT_EQ(rooms(), (QStringList{"10", "100", "101", "102", "103"}));
  clickHeader(1);  // another column: still the opposite of the last direction
  EXPECT_EQ(rooms(), (QStringList{"102", "10", "101", "100", "103"}));
  clickHeader(1);
  EXPECT_EQ(rooms(), (QStringList{"103", "100", "101", "10", "102"}));
}

TEST_F(ListTest, TheSelectionMovesToTheFirstRoomBeginningWithItsNumber) {
  panel->ListView1->selectRow(row("10"));
  clickHeader(0);  // descending: 103 is the first number that begins with 10
  EXPECT_EQ(selected(), "103");
  clickHeader(0);
  EXPECT_EQ(selected(), "103");
  panel->ListView1->selectRow(row("102"));
  clickHeader(2);
  EXPECT_EQ(selected(), "102") << "followed to its new place";
}

TEST_F(ListTest, SortingStaysInForceAfterAMerge) {
  clickHeader(0);
  tick({"101", "103"});
  panel->Text11->setText("102");
  panel->Combo2->setCurrentIndex(1);
  clickCombine();
  EXPECT_EQ(rooms(), (QStringList{"102", "100", "10"}));
}

TEST_F(ListTest, TheRightButtonCopiesTheSelectedRoomIntoTheTargetBoxes) {
  tick({"101"});
  QTest::mousePress(panel->ListView1->viewport(), Qt::RightButton, {}, rowPoint(row("102")));
  EXPECT_EQ(panel->Text11->text(), "102");
  EXPECT_EQ(panel->Text10->text(), "STORE");
  EXPECT_EQ(panel->Combo2->currentText(), "B1");
  EXPECT_EQ(ticked(), QStringList{"101"}) << "the check boxes stay as they were";
}

TEST_F(ListTest, OtherButtonsAndAnEmptySelectionCopyNothing) {
  panel->Text11->setText("KEEP");
  QTest::mousePress(panel->ListView1->viewport(), Qt::LeftButton, {}, rowPoint(row("102")));
  EXPECT_EQ(panel->Text11->text(), "KEEP");
  panel->ListView1->clearSelection();
  panel->ListView1_MouseDown(Qt::RightButton);
  EXPECT_EQ(panel->Text11->text(), "KEEP");
}

}  // namespace
