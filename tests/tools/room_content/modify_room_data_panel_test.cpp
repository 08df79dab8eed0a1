// "Modify Room Data" in the real main window: lookups, updates, the walk, keys and the busy flag.
#include "tools/modify_room_data_panel.h"

#include <QTest>

#include "content_fixture.h"
#include "store/schema.h"

using namespace roomkit;
using store::Value;

namespace {

class ModifyRoomData : public ContentTest {
 protected:
  ModifyRoomDataPanel* panel = nullptr;

  void SetUp() override {
    ContentTest::SetUp();
    testsupport::addRooms(db, {{"B1", Value("STORE"), Value("D1")},
                               {"A1", Value("LOBBY"), Value("D1")},
                               {"A2", Value(" office"), Value("W2")},
                               {"A3", Value(), Value()}});
    testsupport::addInventory(db, "A1", 1, {{1, 100}, {2, 20.5}, {28, 12}});
    testsupport::addInventory(db, "A1", 2, {{1, 7}});
    testsupport::addInventory(db, "A2", 1, {{1, 5}, {28, 2}});
    testsupport::addInventory(db, "B1", 1);
    open(1);
    panel = form->Frame2;
    ASSERT_EQ(panel->List1->count(), 4);  // A1, A2, A3, B1
  }

  void clickLine(int row) {
    LineList* list = panel->List1;
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
  }
  void type(QWidget* box, const QString& keys) { QTest::keyClicks(box, keys); }
  void enter(QWidget* box) { QTest::keyClick(box, Qt::Key_Return); }
  bool text4Whole() const {
    return panel->Text4->selectedText() == panel->Text4->text() &&
           form->focusWidget() == panel->Text4;
  }
  std::string roomName(const std::string& room) {
    for (const auto& row : roomRows()) {
      if (row[0] == room) return row[1];
    }
    return "<none>";
  }
};

TEST_F(ModifyRoomData, ClickingARoomShowsItsValueInEachMode) {
  clickLine(1);
  EXPECT_EQ(panel->Text4->text(), "OFFICE");  // upper-cased and trimmed
  EXPECT_TRUE(text4Whole());
  clickBox(panel->Option1[1]);
  EXPECT_EQ(panel->Text4->text(), "W2");
  EXPECT_FALSE(panel->Check1[0]->isEnabled());
  clickLine(0);
  clickBox(panel->Option1[2]);
  EXPECT_EQ(panel->Text4->text(), "100");
  EXPECT_EQ(panel->Text6->text(), "12");
  EXPECT_TRUE(panel->Check1[0]->isEnabled());
  EXPECT_TRUE(panel->Check1[1]->isEnabled());
  clickBox(panel->Check1[1]);
  EXPECT_EQ(panel->Text4->text(), "20.5");
  clickLine(2);  // no inventory record: the linear feet stay
  EXPECT_EQ(panel->Text4->text(), "");
  EXPECT_EQ(panel->Text6->text(), "12");
  clickBox(panel->Option1[0]);
  EXPECT_EQ(panel->Text4->text(), "");  // a null name
  EXPECT_FALSE(panel->Check1[1]->isEnabled());
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ModifyRoomData, EnterWritesAndTheWalkWrapsToTheFirstRoom) {
  clickLine(0);
  type(panel->Text4, "  new lobby ");
  enter(panel->Text4);
  EXPECT_EQ(roomName("A1"), "NEW LOBBY");
  EXPECT_EQ(panel->List1->firstSelected(), 1);
  EXPECT_EQ(panel->Text4->text(), "OFFICE");
  EXPECT_TRUE(text4Whole());

  clickLine(3);
  panel->Text4->setText("yard");
  QTest::mouseClick(panel->Command3, Qt::LeftButton);
  EXPECT_EQ(roomName("B1"), "YARD");
  EXPECT_EQ(panel->List1->firstSelected(), 0);
  EXPECT_EQ(panel->Text4->text(), "NEW LOBBY");
  EXPECT_EQ(form->BusyFlag(), "");
  EXPECT_TRUE(ui.messages.empty());
  // The room lists are not reloaded.
  EXPECT_EQ(panel->List1->line(0), "A1, LOBBY");
}

TEST_F(ModifyRoomData, ScheduleModeEnterRunsUpdate) {
  clickBox(panel->Option1[1]);
  clickLine(2);
  type(panel->Text4, "zz9");
  enter(panel->Text4);
  EXPECT_EQ(roomRows()[3][2], "ZZ9");  // A3, stored fourth; not a known schedule
  EXPECT_EQ(panel->List1->firstSelected(), 3);
  EXPECT_EQ(panel->Text4->text(), "D1");
}

TEST_F(ModifyRoomData, RefusalsWriteNothing) {
  struct Case {
    int row;
    QString value;
    bool dropRoom;
    QString message;
    QWidget* focus;
  };
  const std::vector<Case> cases = {
      {-1, "X", false, "Please select a room number.", panel->List1},
      {0, "   ", false, "Please enter a value.", panel->Text4},
      {0, "", false, "Please enter a value.", panel->Text4},
      {2, "X", true, "Please select a valid room number.", panel->List1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message.toStdString());
    if (c.dropRoom) {
      store::Table rooms = db.openTable(store::schema::roomInfo);
      rooms.setIndex(store::schema::primaryKey);
      rooms.seek({Value("A3")});
      rooms.remove();
    }
    const auto before = roomRows();
    panel->List1->clearSelected();
    if (c.row >= 0) clickLine(c.row);
    panel->Text4->setText(c.value);
    ui.messages.clear();
    panel->Command3_Click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.lastText(), c.message);
    EXPECT_EQ(ui.lastTitle(), "CANNOT CONTINUE");
    EXPECT_EQ(ui.messages.back().icon, Icon::Exclamation);
    EXPECT_EQ(form->focusWidget(), c.focus);
    EXPECT_EQ(roomRows(), before);
    EXPECT_EQ(panel->List1->firstSelected(), c.row);
  }
}

TEST_F(ModifyRoomData, FloorAreaTakesTheLeadingNumberOfWhatIsTyped) {
  struct Case {
    QString square, linear;
    std::string tile, lin;
  };
  const std::vector<Case> cases = {
      {"abc", "", "0", "0"},
      {"12.5 ft", "3x", "12.5", "3"},  // letters cannot be typed in the linear box
      {"1 2", "4.b5", "12", "4.5"},
      {"-2e1", "1 0", "-20", "10"},
  };
  clickBox(panel->Option1[2]);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.square.toStdString());
    clickLine(1);
    const std::string was = item("A2", 1, 1);
    type(panel->Text4, c.square);
    enter(panel->Text4);
    EXPECT_EQ(form->focusWidget(), panel->Text6);  // nothing written yet
    EXPECT_EQ(item("A2", 1, 1), was);
    panel->Text6->clear();
    type(panel->Text6, c.linear);
    enter(panel->Text6);
    EXPECT_EQ(item("A2", 1, 1), c.tile);
    EXPECT_EQ(item("A2", 1, 28), c.lin);
    EXPECT_EQ(panel->List1->firstSelected(), 2);
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ModifyRoomData, FloorAreaWritesOnlyTheRoomsFirstRecordAndTheChosenKind) {
  clickBox(panel->Option1[2]);
  clickBox(panel->Check1[1]);
  clickLine(0);
  panel->Text4->setText("33");
  panel->Text6->setText("");
  panel->Command3_Click();
  EXPECT_EQ(item("A1", 1, 2), "33");
  EXPECT_EQ(item("A1", 1, 1), "100");
  EXPECT_EQ(item("A1", 1, 28), "0");  // an empty linear box writes 0
  EXPECT_EQ(item("A1", 2, 1), "7");
  EXPECT_EQ(panel->Text4->text(), "0");  // A2's carpet
  EXPECT_EQ(panel->Text6->text(), "2");
}

TEST_F(ModifyRoomData, FloorAreaOfARoomWithoutInventoryIsRefused) {
  clickBox(panel->Option1[2]);
  clickLine(2);
  panel->Text4->setText("50");
  const auto before = inventoryRows();
  panel->Command3_Click();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.lastText(), "Room A3 has no inventory record to hold its floor area.");
  EXPECT_EQ(ui.lastTitle(), "CANNOT CONTINUE");
  EXPECT_EQ(ui.messages.back().icon, Icon::Exclamation);
  EXPECT_EQ(inventoryRows(), before);
  EXPECT_EQ(panel->List1->firstSelected(), 2);
}

TEST_F(ModifyRoomData, RetainValueKeepsTheTextThroughClicksAndUpdates) {
  panel->Check2->setChecked(true);
  clickLine(0);
  EXPECT_EQ(panel->Text4->text(), "");
  type(panel->Text4, "hall");
  enter(panel->Text4);
  enter(panel->Text4);
  EXPECT_EQ(roomName("A1"), "HALL");
  EXPECT_EQ(roomName("A2"), "HALL");
  EXPECT_EQ(panel->List1->firstSelected(), 2);
  EXPECT_EQ(panel->Text4->text(), "HALL");
  EXPECT_TRUE(text4Whole());
  clickLine(3);
  EXPECT_EQ(panel->Text4->text(), "HALL");
  clickBox(panel->Option1[2]);
  panel->Text6->setText("8");
  clickBox(panel->Check1[1]);
  EXPECT_EQ(panel->Text4->text(), "HALL");
  EXPECT_EQ(panel->Text6->text(), "8");
  EXPECT_TRUE(text4Whole());
  EXPECT_EQ(roomName("B1"), "STORE");
}

TEST_F(ModifyRoomData, RetainedTextLongerThanTheModeAllowsIsKeptAndRefusedByTheField) {
  panel->Check2->setChecked(true);
  clickLine(0);
  type(panel->Text4, "corridor 12");
  clickBox(panel->Option1[1]);
  EXPECT_EQ(panel->Text4->text(), "CORRIDOR 12");
  const auto before = roomRows();
  panel->Command3_Click();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.lastTitle(), "CANNOT CONTINUE");
  EXPECT_TRUE(ui.lastText().startsWith("The value could not be written."))
      << ui.lastText().toStdString();
  EXPECT_EQ(roomRows(), before);
  EXPECT_EQ(panel->List1->firstSelected(), 0);
  // Shortening the text brings the schedule limit back.
  panel->Text4->selectAll();
  type(panel->Text4, "abcdefgh");
  EXPECT_EQ(panel->Text4->text(), "ABCDEF");
}

TEST_F(ModifyRoomData, TypedTextIsLimitedByMode) {
  const QString many(30, 'q');
  const std::vector<std::pair<int, int>> limits = {{0, 24}, {1, 6}, {2, 9}, {0, 24}};
  clickLine(0);
  for (const auto& [mode, limit] : limits) {
    clickBox(panel->Option1[static_cast<std::size_t>(mode)]);
    panel->Text4->selectAll();
    type(panel->Text4, many);
    EXPECT_EQ(panel->Text4->text(), QString(limit, 'Q')) << mode;
  }
  // The present value is shown whole, whatever the limit.
  store::Table inventory = db.openTable(store::schema::roomInventory);
  inventory.setIndex(store::schema::primaryKey);
  inventory.seek({Value("A1"), Value(1)});
  inventory.edit();
  inventory.setField("1", Value(1234.56789));
  inventory.update();
  clickBox(panel->Option1[2]);
  EXPECT_EQ(panel->Text4->text(), "1234.56789");
}

TEST_F(ModifyRoomData, ClickOnTheTickedFloorKindKeepsItAndReReads) {
  clickBox(panel->Option1[2]);
  clickLine(0);
  panel->Text4->setText("typed");
  clickBox(panel->Check1[0]);
  EXPECT_TRUE(panel->Check1[0]->isChecked());
  EXPECT_FALSE(panel->Check1[1]->isChecked());
  EXPECT_EQ(panel->Text4->text(), "100");
  clickBox(panel->Check1[1]);
  EXPECT_FALSE(panel->Check1[0]->isChecked());
  EXPECT_TRUE(panel->Check1[1]->isChecked());
  EXPECT_EQ(panel->Text4->text(), "20.5");
  clickBox(panel->Check1[1]);
  EXPECT_TRUE(panel->Check1[1]->isChecked());
  EXPECT_EQ(form->BusyFlag(), "");
}

TEST_F(ModifyRoomData, TheBusyFlagSilencesListAndFloorKindClicks) {
  clickBox(panel->Option1[2]);
  clickLine(0);
  panel->Text4->setText("typed");
  form->BusyFlag() = "NONO";
  clickLine(1);
  EXPECT_EQ(panel->Text4->text(), "typed");
  clickBox(panel->Check1[1]);
  EXPECT_EQ(panel->Text4->text(), "typed");
  EXPECT_TRUE(panel->Check1[0]->isChecked());
  form->BusyFlag() = "";
  clickLine(0);
  EXPECT_EQ(panel->Text4->text(), "100");
}

TEST_F(ModifyRoomData, ChoosingThePanelAgainEmptiesTheBoxAndTheSelection) {
  clickLine(0);
  EXPECT_EQ(panel->Text4->text(), "LOBBY");
  form->Combo1_Click();
  EXPECT_EQ(panel->Text4->text(), "");
  EXPECT_EQ(panel->List1->firstSelected(), -1);
  EXPECT_EQ(form->focusWidget(), panel->Text4);
}

}  // namespace
