// The Database Cleanup panel through the real main window.
#include "tools/cleanup_panel.h"

#include <QTest>

#include "panel_fixture.h"
#include "records.h"
#include "store/schema.h"

using namespace roomkit;
using store::Value;
using walkingtest::column;
using Texts = std::vector<std::string>;
namespace sch = store::schema;

namespace {

const Message invalid{"Invalid database.  Please select another.", "", Buttons::Ok, Answer::Ok,
                      Icon::Exclamation};
const Message question{"This operation will delete all unused schedules.  Are you sure?", "",
                       Buttons::YesNo, Answer::Yes, Icon::Question};

class CleanupPanelTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    testsupport::addRooms(db, {{"1", Value(), Value("A1")}});
    testsupport::addSchedule(db, "A1", "USED", 2);
    testsupport::addSchedule(db, "Z1", "UNUSED", 5);
    load();
    choose(4);
  }
  void click() { QTest::mouseClick(form->Frame8->Command6, Qt::LeftButton); }
};

TEST_F(CleanupPanelTest, APathWithoutAFileIsRefusedWithABeep) {
  const std::string folder = dir.file("JOX_DIR.MDB");
  std::filesystem::create_directory(folder);
  for (const std::string& bad : {std::string(), dir.file("JOX_NONE.MDB"), folder}) {
    SCOPED_TRACE(bad);
    form->Text1->setText(QString::fromStdString(bad));
    ui.beeps = 0;
    click();
    expectOnly(invalid);
    EXPECT_EQ(ui.beeps, 1);
  }
  EXPECT_EQ(testsupport::count(db, sch::scheduleDescribe), 2u);
}

TEST_F(CleanupPanelTest, NoLeavesTheDatabaseAlone) {
  ui.answers.push_back(Answer::No);
  click();
  expectOnly(question);
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_EQ(testsupport::count(db, sch::scheduleLines), 7u);
}

TEST_F(CleanupPanelTest, YesDeletesAndCounts) {
  ui.answers.push_back(Answer::Yes);
  click();
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0], question);
  EXPECT_EQ(ui.messages[1], (Message{"1 Cleaning Schedules have been deleted.", "", Buttons::Ok,
                                     Answer::Ok, Icon::Information}));
  EXPECT_EQ(column(db, sch::scheduleDescribe, sch::cleaningSchedule), (Texts{"A1"}));
  EXPECT_EQ(testsupport::count(db, sch::scheduleLines), 2u);
  EXPECT_TRUE(form->Frame8->isEnabled());
  EXPECT_FALSE(ui.busy);
  EXPECT_EQ(focused(), form->Frame8->Command6);
}

TEST_F(CleanupPanelTest, AFileThatIsNoDatabaseIsReportedAndThePanelComesBack) {
  const std::string text = dir.file("JOX_TEXT.MDB");
  testsupport::writeFile(text, "not a database");
  form->Text1->setText(QString::fromStdString(text));
  ui.answers.push_back(Answer::Yes);
  click();
  ASSERT_EQ(ui.messages.size(), 2u);
  const Message& shown = ui.messages[1];
  EXPECT_TRUE(shown.text.startsWith("The database could not be opened, so nothing was deleted."))
      << shown.text.toStdString();
  EXPECT_EQ(shown,
            (Message{shown.text, "CANNOT CONTINUE", Buttons::Ok, Answer::Ok, Icon::Exclamation}));
  EXPECT_TRUE(form->Frame8->isEnabled());
  EXPECT_FALSE(ui.busy);
  EXPECT_EQ(testsupport::readFile(text), "not a database");
}

}  // namespace
