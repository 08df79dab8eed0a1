// "Copy Room Inventory (Templates)" in the real main window: the checks, the copy and its
// message, "Clear" and the pair of check boxes.
#include "tools/copy_inventory_panel.h"

#include <QTest>

#include "content_fixture.h"

using namespace roomkit;
using store::Value;

namespace {

class CopyInventory : public ContentTest {
 protected:
  CopyInventoryPanel* panel = nullptr;

  void SetUp() override {
    ContentTest::SetUp();
    testsupport::addRooms(db, {{"T2", Value("B"), Value()},
                               {"S", Value("SOURCE"), Value()},
                               {"T1", Value("A"), Value()},
                               {"T3", Value("C"), Value()}});
    testsupport::addBank(db, 1);
    testsupport::addBank(db, 2);
    testsupport::addInventory(db, "S", 1, {{1, 2}, {3, 1}});
    testsupport::addInventory(db, "S", 2, {{4, 5}});
    testsupport::addInventory(db, "T1", 1, {{1, 3}, {9, 6}});
    testsupport::addInventory(db, "T1", 2);
    testsupport::addInventory(db, "T2", 1);
    open(2);
    panel = form->Frame3;
    ASSERT_EQ(panel->List3->line(0), "S, SOURCE");
  }

  void click(LineList* list, int row) {
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
  }
  void chooseTargets(const std::vector<int>& rows) {
    for (int row : rows) click(panel->List3, row);
  }
  std::vector<int> selectedTargets() const {
    std::vector<int> rows;
    for (int row = 0; row < panel->List3->count(); ++row) {
      if (panel->List3->isSelected(row)) rows.push_back(row);
    }
    return rows;
  }
  void setMultiplier(const QString& typed) {
    panel->Text5->clear();
    QTest::keyClicks(panel->Text5, typed);
  }
};

TEST_F(CopyInventory, RefusalsComeInOrderAndWriteNothing) {
  struct Case {
    bool source;
    std::vector<int> targets;
    QString multiplier;
    QString text, title;
  };
  const QString noMultiplier = "Please select a multiplier greater then zero.";
  const std::vector<Case> cases = {
      {false, {1}, "0", "Please select a room to copy from.", "NO ROOM SELECTED"},
      {true, {}, "0", "Please select a room to copy to.", "NO ROOM SELECTED"},
      {true, {1}, "0", noMultiplier, "INVALID VALUE"},
      {true, {1}, "", noMultiplier, "INVALID VALUE"},
      {true, {1}, "  ", noMultiplier, "INVALID VALUE"},
      {true, {1}, "-2", noMultiplier, "INVALID VALUE"},
      {true, {1}, "x", noMultiplier, "INVALID VALUE"},
      {true, {1}, "40000", noMultiplier, "INVALID VALUE"},
      {true, {1}, "32767.5", noMultiplier, "INVALID VALUE"},  // rounds to 32768
  };
  const auto before = inventoryRows();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.multiplier.toStdString() + " " + c.text.toStdString());
    panel->List2->clearSelected();
    panel->List3->clearSelected();
    if (c.source) click(panel->List2, 0);
    chooseTargets(c.targets);
    panel->Text5->setText(c.multiplier);
    ui.messages.clear();
    QTest::mouseClick(panel->Command4, Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.lastText(), c.text);
    EXPECT_EQ(ui.lastTitle(), c.title);
    EXPECT_EQ(ui.messages.back().icon, Icon::Exclamation);
    if (c.title == "INVALID VALUE") {
      EXPECT_EQ(form->focusWidget(), panel->Text5);
    }
    EXPECT_EQ(selectedTargets(), c.targets);
    EXPECT_FALSE(ui.busy);
  }
  EXPECT_EQ(inventoryRows(), before);
}

TEST_F(CopyInventory, AddingTwiceTheSourceCountsEveryTarget) {
  click(panel->List2, 0);
  chooseTargets({1, 2, 3});
  setMultiplier("2");
  clickBox(panel->Check3);
  QTest::mouseClick(panel->Command4, Qt::LeftButton);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.lastText(), "3 rooms completed.");  // T3 has no records
  EXPECT_EQ(ui.lastTitle(), "DONE");
  EXPECT_EQ(ui.messages.back().icon, Icon::Information);
  EXPECT_EQ(item("T1", 1, 1), "7");  // 3 + 2 x 2
  EXPECT_EQ(item("T1", 1, 3), "2");
  EXPECT_EQ(item("T1", 1, 9), "6");
  EXPECT_EQ(item("T1", 2, 4), "10");
  EXPECT_EQ(item("T2", 1, 1), "4");
  EXPECT_EQ(item("T2", 2, 4), "<none>");
  EXPECT_EQ(item("T3", 1, 1), "<none>");
  EXPECT_EQ(item("S", 1, 1), "2");
  // The targets are cleared; everything else keeps its state.
  EXPECT_TRUE(selectedTargets().empty());
  EXPECT_EQ(panel->List2->firstSelected(), 0);
  EXPECT_EQ(panel->Text5->text(), "2");
  EXPECT_TRUE(panel->Check3->isChecked());
  EXPECT_FALSE(ui.busy);
}

TEST_F(CopyInventory, TheMultiplierIsRoundedHalvesToEven) {
  const std::vector<std::pair<QString, std::string>> cases = {
      {"2.5", "4"}, {"3.5", "8"}, {"0.4", "0"}, {"2d1", "40"}, {"1", "2"}};
  click(panel->List2, 0);
  for (const auto& [typed, expected] : cases) {
    SCOPED_TRACE(typed.toStdString());
    chooseTargets({1});
    setMultiplier(typed);
    QTest::mouseClick(panel->Command4, Qt::LeftButton);
    if (typed == "2d1") {
      EXPECT_EQ(panel->Text5->text(), "2D1");
    }
    EXPECT_EQ(ui.lastText(), "1 rooms completed.");
    EXPECT_EQ(item("T1", 1, 1), expected);  // 2 x the multiplier, replacing the 3
  }
  EXPECT_EQ(panel->Text5->text(), "1");
}

TEST_F(CopyInventory, ExactCopyDisablesAddingAndCopiesEveryItem) {
  clickBox(panel->Check3);
  clickBox(panel->Check4);
  EXPECT_FALSE(panel->Check3->isEnabled());
  EXPECT_TRUE(panel->Check3->isChecked());
  click(panel->List2, 0);
  chooseTargets({1});
  QTest::mouseClick(panel->Command4, Qt::LeftButton);
  EXPECT_EQ(ui.lastText(), "1 rooms completed.");
  EXPECT_EQ(item("T1", 1, 1), "2");  // replaced, not added
  EXPECT_EQ(item("T1", 1, 9), "0");
  EXPECT_EQ(item("T1", 2, 4), "5");
  clickBox(panel->Check4);
  EXPECT_TRUE(panel->Check3->isEnabled());
  EXPECT_TRUE(panel->Check3->isChecked());
}

TEST_F(CopyInventory, ClearLeavesTheLastSelectedLineCurrent) {
  chooseTargets({1, 3, 2});
  QTest::mouseClick(panel->Command5, Qt::LeftButton);
  EXPECT_TRUE(selectedTargets().empty());
  EXPECT_EQ(panel->List3->currentRow(), 3);
  QTest::mouseClick(panel->Command5, Qt::LeftButton);
  EXPECT_EQ(panel->List3->currentRow(), -1);
}

TEST_F(CopyInventory, ARefusedWriteIsReportedAndNothingChanges) {
  refuseInventoryWrites("T2", "T2 is in use");
  const auto before = inventoryRows();
  click(panel->List2, 0);
  chooseTargets({1, 2});
  QTest::mouseClick(panel->Command4, Qt::LeftButton);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.lastTitle(), "CANNOT CONTINUE");
  EXPECT_EQ(ui.messages.back().icon, Icon::Exclamation);
  EXPECT_TRUE(ui.lastText().startsWith("The inventory could not be written; no room was changed."));
  EXPECT_TRUE(ui.lastText().contains("T2 is in use")) << ui.lastText().toStdString();
  EXPECT_EQ(inventoryRows(), before);
  EXPECT_EQ(selectedTargets(), (std::vector<int>{1, 2}));  // kept for another try
  EXPECT_FALSE(ui.busy);
}

TEST_F(CopyInventory, ASourceInMoreThanAHundredBanksIsRefused) {
  for (int bank = 3; bank <= 101; ++bank) {
    testsupport::addBank(db, bank);
    testsupport::addInventory(db, "S", bank, {{1, 1}});
  }
  const auto before = inventoryRows();
  click(panel->List2, 0);
  chooseTargets({1});
  QTest::mouseClick(panel->Command4, Qt::LeftButton);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.lastTitle(), "CANNOT CONTINUE");
  EXPECT_EQ(ui.lastText(),
            "Room S has inventory in more than 100 banks; at most 100 can be copied. Nothing was "
            "changed.");
  EXPECT_EQ(inventoryRows(), before);
}

}  // namespace
