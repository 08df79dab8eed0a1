// The "Combine" button: its checks and questions in order, the run through the real window, and
// the reload that ends every run.
#include <QApplication>
#include <QTest>

#include "combine_panel_fixture.h"
#include "store/schema.h"
#include "support/building.h"

using namespace roomkit;
namespace sch = store::schema;

namespace {

const QString header = "Original Room Number, New Room Number\r\n";

TEST_F(CombinePanelTest, ThreeTickedRoomsOfWhichOneIsTheTarget) {
  EXPECT_TRUE(panel->Check5->isChecked()) << "ticked from the start";
  tick({"101", "102", "103"});
  panel->Text11->setText("102");
  panel->Combo2->setCurrentIndex(1);
  clickCombine();
  ASSERT_EQ(ui.messages.size(), 1u);
  const Message& question = ui.messages[0];
  EXPECT_EQ(question.text, "Would you like to combine these 3 rooms into the existing room 102?");
  EXPECT_EQ(question.title, "MODIFY EXISTING ROOM?");
  EXPECT_EQ(question.buttons, Buttons::YesNo);
  EXPECT_EQ(question.defaultButton, Answer::Yes);
  EXPECT_EQ(question.icon, Icon::None);
  EXPECT_EQ(rooms(), (QStringList{"10", "100", "102"})) << "reloaded without the merged rooms";
  EXPECT_TRUE(ticked().isEmpty());
  EXPECT_EQ(panel->Combo2->currentIndex(), -1);
  EXPECT_EQ(logText(), header + "101,102\r\n103,102\r\n");
  store::Database db = database();
  EXPECT_EQ(combinetest::quantity(db, "102", 1, 1), 13.0);
  EXPECT_FALSE(ui.busy);
}

TEST_F(CombinePanelTest, ANewRoomWithTrimmedNumberAndNoNameIsACombinedRoom) {
  tick({"101", "103"});
  panel->Text11->setText("  300 ");
  panel->Text10->setText("   ");
  panel->Combo2->setCurrentIndex(0);
  clickCombine();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.lastText(), "Would you like to create a new combined room number 300?");
  EXPECT_EQ(ui.lastTitle(), "CREATE NEW ROOM?");
  EXPECT_EQ(panel->Text11->text(), "300");
  EXPECT_EQ(panel->Text10->text(), "COMBINED ROOM");
  EXPECT_EQ(rooms(), (QStringList{"10", "100", "102", "300"}));
  store::Database db = database();
  const auto info = testsupport::rows(db, sch::roomInfo);
  EXPECT_EQ(info.back()[1], "COMBINED ROOM");
  EXPECT_EQ(info.back()[2], "A1");
  EXPECT_EQ(testsupport::rows(db, sch::roomTime).back()[1], store::Date::today().display());
  EXPECT_EQ(combinetest::quantity(db, "300", 1, 3), 6.0);
  EXPECT_EQ(logText(), header + "101,300\r\n103,300\r\n");
}

TEST_F(CombinePanelTest, ANewRoomKeepsItsNameAsTyped) {
  tick({"101", "103"});
  panel->Text11->setText("301");
  panel->Text10->setText(" SUITE");
  panel->Combo2->setCurrentIndex(1);
  clickCombine();
  store::Database db = database();
  EXPECT_EQ(testsupport::rows(db, sch::roomInfo).back()[1], " SUITE");
}

TEST_F(CombinePanelTest, WithoutDeletionTheSourcesStayListed) {
  panel->Check5->setChecked(false);
  tick({"101", "103"});
  panel->Text11->setText("102");
  panel->Combo2->setCurrentIndex(1);
  clickCombine();
  EXPECT_EQ(rooms(), (QStringList{"10", "100", "101", "102", "103"}));
  store::Database db = database();
  EXPECT_EQ(combinetest::quantity(db, "102", 1, 1), 13.0);
  EXPECT_EQ(combinetest::quantity(db, "101", 1, 1), 2.0);
}

TEST_F(CombinePanelTest, TwoRunsShareOneLog) {
  tick({"101", "102"});
  panel->Text11->setText("102");
  panel->Combo2->setCurrentIndex(1);
  clickCombine();
  tick({"103", "102"});
  panel->Combo2->setCurrentIndex(1);
  clickCombine();
  EXPECT_EQ(logText(), "Original Room Number,New Room Number\r\n101,102\r\n103,102\r\n");
  EXPECT_EQ(rooms(), (QStringList{"10", "100", "102"}));
}

struct Refusal {
  const char* name;
  QStringList ticks;
  const char* target;
  int schedule;
  const char* text;
  const char* title;
  const char* focus;  // objectName of the box at fault, or ""
};

class RefusalTest : public CombinePanelTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTest, RefusesWithOneMessageAndLeavesTheDatabaseAlone) {
  const Refusal& r = GetParam();
  testsupport::writeFile((path + ".log").toStdString(),
                         "Original Room Number, New Room Number\r\n1,2\r\n");
  combinetest::Snapshot before;
  {
    store::Database db = database();
    before = combinetest::snapshot(db);
  }
  tick(r.ticks);
  panel->Text11->setText(r.target);
  panel->Combo2->setCurrentIndex(r.schedule);
  panel->Command8->setFocus();
  clickCombine();
  ASSERT_EQ(ui.messages.size(), 1u) << r.name;
  EXPECT_EQ(ui.lastText(), r.text);
  EXPECT_EQ(ui.lastTitle(), r.title);
  EXPECT_EQ(ui.messages[0].icon, Icon::Exclamation);
  if (*r.focus) {
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), r.focus);
  }
  store::Database db = database();
  EXPECT_EQ(combinetest::snapshot(db), before);
  EXPECT_EQ(logText(), "Original Room Number,New Room Number\r\n1,2\r\n") << "the log was prepared";
  EXPECT_TRUE(ticked().isEmpty()) << "the lists were reloaded";
  EXPECT_FALSE(ui.busy);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, RefusalTest,
    ::testing::Values(Refusal{"one room",
                              {"101"},
                              "102",
                              1,
                              "Please select two or more rooms to combine.",
                              "CANNOT COMBINE",
                              ""},
                      Refusal{"no room",
                              {},
                              "102",
                              1,
                              "Please select two or more rooms to combine.",
                              "CANNOT COMBINE",
                              ""},
                      Refusal{"blank target",
                              {"101", "103"},
                              "   ",
                              1,
                              "Please enter a room number for the combined room.",
                              "NO COMBINED ROOM NUMBER DEFINED",
                              "Text11"},
                      Refusal{"no schedule",
                              {"101", "103"},
                              "102",
                              -1,
                              "Please select a cleaning schedule for the combined room.",
                              "NO COMBINED SCHEDULE DEFINED",
                              "Combo2"},
                      Refusal{"comma",
                              {"101", "103"},
                              "3,4",
                              0,
                              "Please enter a room number without a comma.",
                              "INVALID VALUE",
                              "Text11"}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& c : name)
        if (c == ' ') c = '_';
      return name;
    });

TEST_F(CombinePanelTest, TheCountCheckComesBeforeTheTrimmedTarget) {
  tick({"101"});
  panel->Text11->setText(" 102 ");
  clickCombine();
  EXPECT_EQ(ui.lastTitle(), "CANNOT COMBINE");
  EXPECT_EQ(panel->Text11->text(), " 102 ") << "not reached";
}

TEST_F(CombinePanelTest, AnsweringNoChangesNothing) {
  for (const char* target : {"102", "400"}) {
    tick({"101", "103"});
    panel->Text11->setText(target);
    panel->Combo2->setCurrentIndex(0);
    ui.answers.push_back(Answer::No);
    clickCombine();
    EXPECT_EQ(rooms(), (QStringList{"10", "100", "101", "102", "103"})) << target;
  }
  EXPECT_EQ(logText(), "Original Room Number,New Room Number\r\n") << "prepared by both runs";
  store::Database db = database();
  EXPECT_EQ(combinetest::quantity(db, "102", 1, 1), 10.0);
  EXPECT_EQ(testsupport::count(db, sch::roomInfo), 5u);
}

TEST_F(CombinePanelTest, ARefusedWriteShowsOneMessageAndRollsBack) {
  combinetest::Snapshot before;
  {
    store::Database db = database();
    combinetest::execute(db,
                         "CREATE TRIGGER keep BEFORE DELETE ON \"Room Time\" "
                         "WHEN old.\"Room Number\" = '103' BEGIN SELECT RAISE(ABORT, 'kept'); END");
    before = combinetest::snapshot(db);
  }
  tick({"101", "103"});
  panel->Text11->setText("102");
  panel->Combo2->setCurrentIndex(1);
  clickCombine();
  ASSERT_EQ(ui.messages.size(), 2u) << "the question, then the reason";
  EXPECT_EQ(ui.lastTitle(), "CANNOT CONTINUE");
  EXPECT_EQ(ui.messages.back().icon, Icon::Exclamation);
  EXPECT_TRUE(ui.lastText().contains("kept")) << ui.lastText().toStdString();
  store::Database db = database();
  EXPECT_EQ(combinetest::snapshot(db), before);
  EXPECT_EQ(logText(), header) << "no line of the run that was rolled back";
  EXPECT_EQ(rooms(), (QStringList{"10", "100", "101", "102", "103"}));
  EXPECT_FALSE(ui.busy);
}

TEST_F(CombinePanelTest, ALogThatCannotBeWrittenStopsBeforeTheChecks) {
  std::filesystem::create_directory((path + ".log").toStdString());
  tick({"101", "103"});
  panel->Text11->setText("102");
  panel->Combo2->setCurrentIndex(1);
  clickCombine();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.lastTitle(), "CANNOT CONTINUE");
  EXPECT_TRUE(ui.lastText().contains(".log")) << ui.lastText().toStdString();
  EXPECT_EQ(rooms(), (QStringList{"10", "100", "101", "102", "103"}));
}

}  // namespace
