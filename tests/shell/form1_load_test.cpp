// Choosing and loading a database, the function selector and its panel resets.
#include <QTest>

#include "shell_fixture.h"
#include "store/schema.h"
#include "tools/auto_generate_panel.h"
#include "tools/change_room_number_panel.h"
#include "tools/change_sort_field_panel.h"
#include "tools/combine_rooms_panel.h"
#include "tools/copy_inventory_panel.h"
#include "tools/modify_room_data_panel.h"

using namespace roomkit;
using store::Value;

namespace {

QStringList lines(const LineList& list) {
  QStringList out;
  for (int i = 0; i < list.count(); ++i) out << list.line(i);
  return out;
}

QStringList column(const ReportList& list, int c) {
  QStringList out;
  for (int i = 0; i < list.count(); ++i) out << list.text(i, c);
  return out;
}

QStringList combo(const QComboBox& box) {
  QStringList out;
  for (int i = 0; i < box.count(); ++i) out << box.itemText(i);
  return out;
}

TEST_F(ShellTest, BrowseCancelledChangesNothing) {
  writeSetting("lastdir.ini", "/srv/data\r\n");
  start();
  form->Text1->setText("KEEP");
  form->Command2_Click();
  EXPECT_EQ(ui.lastInitialName, "/srv/data/jox_*.mdb");
  EXPECT_EQ(ui.lastFilterName, "Corvane Database (*.mdb)");
  EXPECT_EQ(ui.lastPattern, "jox_*.mdb");
  EXPECT_EQ(form->Text1->text(), "KEEP");
  EXPECT_FALSE(form->Combo1->isEnabled());
  ui.fileChoice = "   ";
  form->Command2_Click();
  EXPECT_EQ(form->Text1->text(), "KEEP");
}

TEST_F(ShellTest, LoadFillsEveryList) {
  const QString path = programDir + "/JOX_A.MDB";
  makeSampleBuilding(path);
  start();
  loadDesktop(path);
  EXPECT_EQ(form->Text1->text(), path);
  const QStringList expected{"10, OFFICE", "1B, ", "2, lab"};
  EXPECT_EQ(lines(*form->Frame2->List1), expected);
  EXPECT_EQ(lines(*form->Frame3->List2), expected);
  EXPECT_EQ(lines(*form->Frame3->List3), expected);
  const ReportList& rooms = *form->Frame10->ListView1;
  EXPECT_EQ(column(rooms, 0), (QStringList{"10", "1B", "2"})) << "PrimaryKey order";
  EXPECT_EQ(column(rooms, 1), (QStringList{"OFFICE", "", "lab"}));
  EXPECT_EQ(column(rooms, 3), (QStringList{"NORTH", "", ""}));
  EXPECT_EQ(column(rooms, 4), (QStringList{"", "", ""}));
  EXPECT_EQ(combo(*form->Frame10->Combo2), (QStringList{"A1", "B1"}));
  EXPECT_EQ(form->Frame10->Combo2->currentIndex(), -1);
  EXPECT_TRUE(form->Combo1->isEnabled());
  EXPECT_EQ(form->Combo1->currentIndex(), -1);
  EXPECT_TRUE(form->CurrentDB().isOpen());
  EXPECT_TRUE(form->openTables().RoomTimeTable.isOpen());
  EXPECT_FALSE(ui.busy);
}

TEST_F(ShellTest, ASecondLoadReplacesEverything) {
  const QString first = programDir + "/JOX_A.MDB";
  makeSampleBuilding(first);
  const QString second = programDir + "/JOX_B.MDB";
  {
    store::Database db = testsupport::makeBuilding(second.toStdString());
    testsupport::addRoom(db, {"900", Value("HALL"), Value("Z9")});
    testsupport::addSchedule(db, "Z9", "NIGHT");
  }
  start();
  loadDesktop(first);
  loadDesktop(second);
  EXPECT_EQ(lines(*form->Frame2->List1), QStringList{"900, HALL"});
  EXPECT_EQ(lines(*form->Frame3->List3), QStringList{"900, HALL"});
  EXPECT_EQ(column(*form->Frame10->ListView1, 0), QStringList{"900"});
  EXPECT_EQ(combo(*form->Frame10->Combo2), QStringList{"Z9"});
}

TEST_F(ShellTest, AnEmptyRoomTableStillEnablesTheSelector) {
  const QString path = programDir + "/JOX_E.MDB";
  testsupport::makeBuilding(path.toStdString());
  start();
  loadDesktop(path);
  EXPECT_EQ(form->Frame2->List1->count(), 0);
  EXPECT_TRUE(form->Combo1->isEnabled());
  EXPECT_TRUE(ui.messages.size() == 1u) << "only the warning";
}

struct BadLoad {
  const char* name;
  const char* reasonPart;
};

class BadLoadTest : public ShellTest, public ::testing::WithParamInterface<BadLoad> {};

TEST_P(BadLoadTest, StopsWithOneMessageNamingTheFile) {
  const QString path = programDir + "/JOX_BAD.MDB";
  const std::string kind = GetParam().name;
  if (kind == "text") testsupport::writeFile(path.toStdString(), "not a database\r\n");
  if (kind == "missing table") {
    store::Database db = store::Database::create(path.toStdString());
    for (const auto& table : store::schema::buildingTables()) {
      if (table.name != "Room Time") db.createTable(table);
    }
  }
  start();
  loadDesktop(path);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.lastTitle(), "CANNOT CONTINUE");
  EXPECT_EQ(ui.messages.back().icon, Icon::Exclamation);
  EXPECT_TRUE(ui.lastText().contains(path)) << ui.lastText().toStdString();
  EXPECT_TRUE(ui.lastText().contains(GetParam().reasonPart)) << ui.lastText().toStdString();
  EXPECT_FALSE(form->Combo1->isEnabled());
  EXPECT_EQ(form->Frame2->List1->count(), 0);
  EXPECT_FALSE(ui.busy);
}

INSTANTIATE_TEST_SUITE_P(Kinds, BadLoadTest,
                         ::testing::Values(BadLoad{"text", "not a database"},
                                           BadLoad{"missing", "no such file"},
                                           BadLoad{"missing table", "Room Time"}));

class LastFunctionTest : public ShellTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(LastFunctionTest, AnUnusableNumberSelectsNothing) {
  writeSetting("lastopt.ini", GetParam());
  const QString path = programDir + "/JOX_A.MDB";
  makeSampleBuilding(path);
  start();
  loadDesktop(path);
  EXPECT_EQ(form->Combo1->currentIndex(), -1);
  EXPECT_TRUE(form->Combo1->isEnabled());
  for (QWidget* panel : form->panels) EXPECT_FALSE(panel->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Values, LastFunctionTest,
                         ::testing::Values("8\r\n", "-1\r\n", "abc\r\n", "99999\r\n", ""));

TEST_F(ShellTest, LastFunctionIsShownAfterEveryLoad) {
  writeSetting("lastopt.ini", "7\r\n");
  const QString path = programDir + "/JOX_A.MDB";
  makeSampleBuilding(path);
  start();
  EXPECT_EQ(form->Combo1->currentIndex(), -1) << "applied only once a database is loaded";
  loadDesktop(path);
  EXPECT_EQ(form->Combo1->currentIndex(), 7);
  EXPECT_TRUE(form->Frame11->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), form->Frame11->Text12);
  form->Combo1->setCurrentIndex(6);
  form->Combo1_Click();
  form->LoadCurrentDB();
  EXPECT_EQ(form->Combo1->currentIndex(), 7);
  EXPECT_TRUE(form->Frame11->isVisible());
  EXPECT_FALSE(form->Frame10->isVisible());
}

TEST_F(ShellTest, ChoosingAFunctionShowsOnlyItsPanelAtThePanelPlace) {
  const QString path = programDir + "/JOX_A.MDB";
  makeSampleBuilding(path);
  start();
  loadDesktop(path);
  QWidget* focus[] = {form->Frame1->Text2,
                      form->Frame2->Text4,
                      form->Frame3->Text5,
                      form->Frame4->aaText1[0],
                      nullptr,
                      nullptr,
                      form->Frame10->Command8,
                      form->Frame11->Text12};
  for (int p = 0; p < 8; ++p) {
    form->Combo1->setCurrentIndex(p);
    form->Combo1_Click();
    for (int q = 0; q < 8; ++q) EXPECT_EQ(form->panels[q]->isVisible(), p == q) << p << " " << q;
    EXPECT_EQ(form->panels[p]->pos(), QPoint(px(120), px(1560)));
    if (focus[p]) {
      EXPECT_EQ(QApplication::focusWidget(), focus[p]) << p;
    }
  }
  form->Combo1->setCurrentIndex(-1);
  form->Combo1_Click();
  EXPECT_TRUE(form->Frame11->isVisible()) << "no entry: the visible panel stays";
}

TEST_F(ShellTest, PanelResets) {
  const QString path = programDir + "/JOX_A.MDB";
  makeSampleBuilding(path);
  start();
  loadDesktop(path);
  auto choose = [&](int p) {
    form->Combo1->setCurrentIndex(p);
    form->Combo1_Click();
  };
  choose(0);
  QTest::keyClicks(form->Frame1->Text2, "101");
  choose(2);
  form->Frame3->List2->selectOnly(1);
  form->Frame3->List3->setSelected(0, true);
  form->Frame3->List3->setSelected(2, true);
  form->Frame3->Text5->setText("25");
  choose(2);
  EXPECT_EQ(form->Frame3->List2->firstSelected(), -1);
  EXPECT_EQ(form->Frame3->List3->firstSelected(), -1);
  EXPECT_EQ(form->Frame3->Text5->selectedText(), "2");
  choose(1);
  form->Frame2->List1->selectOnly(0);
  form->Frame2->Text4->setText("NAME");
  choose(0);
  EXPECT_EQ(form->Frame1->Text2->text(), "101") << "other panels keep their boxes";
  choose(1);
  EXPECT_EQ(form->Frame2->Text4->text(), "");
  EXPECT_EQ(form->Frame2->List1->firstSelected(), -1);
}

}  // namespace
