// "Update" on the real panel: the path test, the question, the count message, a failing run, and
// the panels that are off while it runs.
#include <QTest>

#include "generate_fixture.h"
#include "store/schema.h"
#include "tools/modify_room_data_panel.h"

using namespace roomkit;
namespace sch = store::schema;
using store::Value;

namespace {

// Notes, at every message, which of the first four panels are enabled.
class WatchingUi : public testsupport::ScriptedUi {
 public:
  explicit WatchingUi(ShellContext& shell) : shell_(shell) {}
  std::vector<std::vector<bool>> enabledAtMessage;
  Answer message(const Message& m) override {
    std::vector<bool> enabled;
    for (int p = 0; p < 4; ++p) enabled.push_back(shell_.panelAt(p)->isEnabled());
    enabledAtMessage.push_back(enabled);
    return ScriptedUi::message(m);
  }

 private:
  ShellContext& shell_;
};

class UpdatePanelTest : public GenerateTest {
 protected:
  void SetUp() override {
    GenerateTest::SetUp();
    panel->aaText3->setText("b2");
  }
  void list(const QStringList& numbers) {
    panel->aaList1->clear();
    panel->aaList1->addItems(numbers);
  }
  std::vector<std::size_t> counts() {
    return {testsupport::count(db, sch::roomInfo), testsupport::count(db, sch::roomTime),
            testsupport::count(db, sch::roomInventory)};
  }
};

TEST_F(UpdatePanelTest, AnEmptyOrMissingPathIsRefusedBeforeAsking) {
  list({"1"});
  for (const QString& bad : {QString(), QString::fromStdString(dir.file("NONE.MDB")),
                             QString::fromStdString(dir.path().string())}) {
    form->Text1->setText(bad);
    ui.messages.clear();
    ui.beeps = 0;
    panel->aaCommand2_Click();
    ASSERT_EQ(ui.messages.size(), 1u) << bad.toStdString();
    EXPECT_EQ(ui.messages[0], (Message{"Invalid database.  Please select another.",
                                       {},
                                       Buttons::Ok,
                                       Answer::Ok,
                                       Icon::Exclamation}));
    EXPECT_EQ(ui.beeps, 1);
  }
  EXPECT_EQ(counts(), (std::vector<std::size_t>{0, 0, 0}));
}

TEST_F(UpdatePanelTest, OnlyYesWrites) {
  list({"1", "2", "3"});
  ui.answers.push_back(Answer::No);
  panel->aaCommand2_Click();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0],
            (Message{"Add 3 rooms?", {}, Buttons::YesNo, Answer::Yes, Icon::Question}));
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_EQ(counts(), (std::vector<std::size_t>{0, 0, 0}));
}

TEST_F(UpdatePanelTest, WritesTheNewNumbersAndCountsEveryLine) {
  for (const char* existing : {"A1-103", "A1-106", "A1-109", "A1-112", "A1-115"}) {
    testsupport::addRoom(db, {existing, Value("KEEP"), Value("Z9")});
  }
  setPattern("A1-101", "A1-120", "***");
  panel->aaCommand1_Click();
  ui.messages.clear();
  ui.beeps = 0;
  const int beforeLoad = form->Frame2->List1->count();
  {
    WatchingUi watching(*form);
    watching.answers.push_back(Answer::Yes);
    panel->aaCommand2_Click();
    ASSERT_EQ(watching.messages.size(), 2u);
    EXPECT_EQ(watching.messages[1],
              (Message{"20 rooms processed...", {}, Buttons::Ok, Answer::Ok, Icon::Information}));
    EXPECT_EQ(watching.beeps, 2);
    EXPECT_EQ(watching.enabledAtMessage[0], std::vector<bool>(4, true));
    EXPECT_EQ(watching.enabledAtMessage[1], std::vector<bool>(4, false))
        << "the four panels are off until the run has been reported";
    EXPECT_FALSE(watching.busy);
  }
  setUi(&ui);
  for (int p = 0; p < 4; ++p) EXPECT_TRUE(form->panelAt(p)->isEnabled()) << p;
  EXPECT_EQ(counts(), (std::vector<std::size_t>{20, 15, 45}));
  for (const auto& room : testsupport::rows(db, sch::roomInfo)) {
    if (room[1] != "KEEP") {
      EXPECT_EQ(room[2], "B2") << "the box's schedule, upper-cased";
    }
  }
  EXPECT_EQ(lines().size(), 20) << "the list keeps its lines";
  EXPECT_EQ(form->Frame2->List1->count(), beforeLoad) << "no list is reloaded";
}

TEST_F(UpdatePanelTest, AnEmptyListAsksForNoneAndReportsNone) {
  ui.answers.push_back(Answer::Yes);
  panel->aaCommand2_Click();
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "Add 0 rooms?");
  EXPECT_EQ(ui.messages[1].text, "0 rooms processed...");
  EXPECT_EQ(counts(), (std::vector<std::size_t>{0, 0, 0}));
}

TEST_F(UpdatePanelTest, AFailingRunWritesNothingAndSaysWhyInOneMessage) {
  testsupport::addTime(db, "7");
  list({"5", "6", "7", "8"});
  ui.answers.push_back(Answer::Yes);
  panel->aaCommand2_Click();
  ASSERT_EQ(ui.messages.size(), 2u);
  const Message& failure = ui.messages[1];
  EXPECT_EQ(failure.title, "CANNOT CONTINUE");
  EXPECT_EQ(failure.icon, Icon::Exclamation);
  EXPECT_TRUE(failure.text.startsWith("No rooms were added; the database is unchanged.\r\n"));
  EXPECT_TRUE(failure.text.contains("7")) << failure.text.toStdString();
  EXPECT_TRUE(failure.text.contains("\"Room Time\"")) << failure.text.toStdString();
  EXPECT_EQ(counts(), (std::vector<std::size_t>{0, 1, 0}));
  for (int p = 0; p < 4; ++p) EXPECT_TRUE(form->panelAt(p)->isEnabled()) << p;
  EXPECT_FALSE(ui.busy);
}

TEST_F(UpdatePanelTest, AListLongerThan32767LinesIsWrittenWithProgress) {
  setPattern("00000", "40000");
  panel->aaCommand1_Click();
  ASSERT_EQ(panel->aaList1->count(), 40001);
  ui.messages.clear();
  ui.eventRuns = 0;
  ui.answers.push_back(Answer::Yes);
  panel->aaCommand2_Click();
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "Add 40001 rooms?");
  EXPECT_EQ(ui.messages[1].text, "40001 rooms processed...");
  EXPECT_GE(ui.eventRuns, 40001 / 250) << "the window is kept responsive while it writes";
  EXPECT_EQ(counts(), (std::vector<std::size_t>{40001, 40001, 3 * 40001}));
}

}  // namespace
