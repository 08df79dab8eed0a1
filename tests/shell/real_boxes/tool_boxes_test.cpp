// One run of each of the eight functions through the real boxes. While each question or report
// is open, the tool's button is clicked again by program, as a queued event could: the run asks
// and reports once.
#include <QAbstractButton>
#include <QComboBox>
#include <QListWidget>
#include <QRadioButton>

#include "kit/program.h"
#include "pickers/record_picker.h"
#include "real_boxes_fixture.h"
#include "support/building.h"
#include "tools/auto_generate_panel.h"
#include "tools/change_assignment_panel.h"
#include "tools/change_room_number_panel.h"
#include "tools/change_sort_field_panel.h"
#include "tools/cleanup_panel.h"
#include "tools/combine_rooms_panel.h"
#include "tools/copy_inventory_panel.h"
#include "tools/modify_room_data_panel.h"

using namespace roomkit;
using store::Value;
using testsupport::BoxDriver;
using testsupport::SeenBox;

namespace {

class ToolBoxesTest : public RealBoxesTest {
 protected:
  void SetUp() override {
    RealBoxesTest::SetUp();
    file = makeBuilding("JOX_MAIN.MDB");
    startDesktop();
    load(file);
  }

  void choose(int function) {
    form->Combo1->setCurrentIndex(function);
    form->Combo1_Click();
  }

  // Clicks the button again while its box is open, then answers.
  static BoxDriver::Step againThen(QAbstractButton* button, const QString& answer) {
    return BoxDriver::both([button](QWidget*, SeenBox&) { button->click(); },
                           BoxDriver::press(answer));
  }

  std::vector<std::vector<std::string>> rows(const std::string& table) {
    store::Database db = store::Database::open(file.toStdString());
    return testsupport::rows(db, table);
  }

  QString file;
};

const SeenBox done = report({}, "Done");
const SeenBox sure(const QString& title) { return question(title, "Are you sure?", false); }

TEST_F(ToolBoxesTest, ChangeRoomNumber) {
  choose(0);
  form->Frame1->Text2->setText("1B");
  form->Frame1->Text3->setText("1C");
  QAbstractButton* button = form->Frame1->Command1;
  driver.then(againThen(button, "Yes")).then(againThen(button, "OK"));
  EXPECT_TRUE(driver.run([button] { button->click(); }));
  EXPECT_EQ(boxes(), (std::vector<SeenBox>{sure("CHANGE ROOM NUMBER?"), done}));
  EXPECT_EQ(rows("Room Info")[2][0], "1C");
}

TEST_F(ToolBoxesTest, ModifyRoomDataWritesWithoutABoxAndRefusesWithOne) {
  choose(1);
  ModifyRoomDataPanel* panel = form->Frame2;
  QAbstractButton* button = panel->Command3;
  panel->List1->selectOnly(0);  // "10, OFFICE"
  panel->List1_Click();
  panel->Text4->setText("BOARD ROOM");
  EXPECT_TRUE(driver.run([button] { button->click(); }));
  EXPECT_TRUE(boxes().empty());
  EXPECT_EQ(rows("Room Info")[0][1], "BOARD ROOM");
  EXPECT_EQ(panel->List1->firstSelected(), 1) << "the walk moved on";

  // A refusal; while it is open the list and the button are clicked by program.
  panel->Text4->setText("");
  driver.then(BoxDriver::both(
      [panel](QWidget*, SeenBox&) {
        panel->List1->selectOnly(2);
        emit panel->List1->Click();
        panel->Command3->click();
      },
      BoxDriver::press("OK")));
  EXPECT_TRUE(driver.run([button] { button->click(); }));
  EXPECT_EQ(boxes(), (std::vector<SeenBox>{report("CANNOT CONTINUE", "Please enter a value.",
                                                  QMessageBox::Warning)}));
  EXPECT_EQ(form->BusyFlag(), "");
  EXPECT_EQ(panel->Text4->text(), "") << "no lookup ran inside the box";
}

TEST_F(ToolBoxesTest, CopyRoomInventory) {
  choose(2);
  CopyInventoryPanel* panel = form->Frame3;
  panel->List2->selectOnly(0);         // from 10
  panel->List3->setSelected(1, true);  // to 1B
  QAbstractButton* button = panel->Command4;
  driver.then(againThen(button, "OK"));
  EXPECT_TRUE(driver.run([button] { button->click(); }));
  EXPECT_EQ(boxes(),
            (std::vector<SeenBox>{report("DONE", "1 rooms completed.", QMessageBox::Information)}));
}

TEST_F(ToolBoxesTest, AutoGenerateRoomsWithTheRecordPicker) {
  choose(3);
  AutoGeneratePanel* panel = form->Frame4;
  const QString start = "300", end = "302";
  for (int i = 0; i < 8; ++i) {
    panel->aaText1[i]->setText(i < 3 ? QString(start.at(i)) : QString());
    panel->aaText2[i]->setText(i < 3 ? QString(end.at(i)) : QString());
    panel->aaCheck1[i]->setChecked(false);
  }
  // The schedule through the record picker, activated again while it is open.
  auto listed = [](QWidget* box) {
    auto* picker = qobject_cast<New_SelectionBox_Database*>(box);
    return QString::number(picker->ListView1->count()) + " rows";
  };
  driver.then(
      BoxDriver::both(BoxDriver::both(BoxDriver::sendActivations(3), BoxDriver::note(listed)),
                      BoxDriver::doubleClickRow("A1")));
  EXPECT_TRUE(driver.run([panel] { panel->CSCmd2->click(); }));
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].kind, "New_SelectionBox_Database");
  EXPECT_EQ(boxes()[0].note, "3 rows");
  EXPECT_EQ(panel->aaText3->text(), "A1");
  driver.seen.clear();

  QAbstractButton* generate = panel->aaCommand1;
  QAbstractButton* update = panel->aaCommand2;
  driver.then(againThen(generate, "OK"));
  EXPECT_TRUE(driver.run([generate] { generate->click(); }));
  driver.then(againThen(update, "Yes")).then(againThen(update, "OK"));
  EXPECT_TRUE(driver.run([update] { update->click(); }));
  EXPECT_EQ(boxes(),
            (std::vector<SeenBox>{report({}, "3 rooms in total.", QMessageBox::Information),
                                  question({}, "Add 3 rooms?", true, QMessageBox::Question),
                                  report({}, "3 rooms processed...", QMessageBox::Information)}));
  EXPECT_EQ(rows("Room Info").size(), 6u);
}

TEST_F(ToolBoxesTest, DatabaseCleanup) {
  choose(4);
  QAbstractButton* button = form->Frame8->Command6;
  driver.then(againThen(button, "Yes")).then(againThen(button, "OK"));
  EXPECT_TRUE(driver.run([button] { button->click(); }));
  EXPECT_EQ(boxes(),
            (std::vector<SeenBox>{
                question({}, "This operation will delete all unused schedules.  Are you sure?",
                         true, QMessageBox::Question),
                report({}, "1 Cleaning Schedules have been deleted.", QMessageBox::Information)}));
  EXPECT_EQ(rows("Cleaning Schedules- Describe").size(), 2u);
}

TEST_F(ToolBoxesTest, ChangeAssignmentNumber) {
  choose(5);
  {
    store::Database db = store::Database::open(file.toStdString());
    store::Table assignments = db.openTable("Area Assignments");
    assignments.addNew();
    assignments.setField("Area Assignment", Value("A7"));
    assignments.update();
  }
  form->Frame9->Text7->setText("A7");
  form->Frame9->Text8->setText("B8");
  QAbstractButton* button = form->Frame9->Command7;
  driver.then(againThen(button, "Yes")).then(againThen(button, "OK"));
  EXPECT_TRUE(driver.run([button] { button->click(); }));
  EXPECT_EQ(boxes(), (std::vector<SeenBox>{sure("CHANGE ASSIGNMENT NUMBER?"), done}));
  EXPECT_EQ(rows("Area Assignments")[0][0], "B8");
}

TEST_F(ToolBoxesTest, CombineRoomsReloadsAfterItsQuestion) {
  choose(6);
  CombineRoomsPanel* panel = form->Frame10;
  panel->ListView1->model().setChecked(0, true);
  panel->ListView1->model().setChecked(1, true);
  panel->Check5->setChecked(false);
  panel->Text11->setText("500");
  panel->Combo2->setCurrentIndex(0);
  QAbstractButton* button = panel->Command8;
  driver.then(againThen(button, "Yes"));
  EXPECT_TRUE(driver.run([button] { button->click(); }));
  EXPECT_EQ(
      boxes(),
      (std::vector<SeenBox>{question(
          "CREATE NEW ROOM?", "Would you like to create a new combined room number 500?", true)}));
  EXPECT_EQ(form->Frame10->ListView1->count(), 4) << "the lists were loaded again";
}

TEST_F(ToolBoxesTest, ChangeSortFields) {
  choose(7);
  form->Frame11->Text12->setText("NORTH");
  form->Frame11->Text13->setText("SOUTH");
  QAbstractButton* button = form->Frame11->Command9;
  driver.then(againThen(button, "Yes")).then(againThen(button, "OK"));
  EXPECT_TRUE(driver.run([button] { button->click(); }));
  EXPECT_EQ(boxes(), (std::vector<SeenBox>{sure("CHANGE SORT FIELD 1?"), done}));
  EXPECT_EQ(rows("Room Info")[0][3], "SOUTH");
}

}  // namespace
