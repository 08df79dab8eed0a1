// Start-up, loading and the building picker through the real boxes, with the activations a window
// system sends while a box runs its own event loop.
#include <QDir>
#include <QFile>

#include "kit/program.h"
#include "pickers/building_picker.h"
#include "real_boxes_fixture.h"
#include "store/schema.h"
#include "support/building.h"
#include "tools/combine_rooms_panel.h"

using namespace roomkit;
using testsupport::BoxDriver;
using testsupport::SeenBox;

namespace {

QByteArray contents(const QString& file) {
  QFile in(file);
  return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(none)");
}

TEST_F(RealBoxesTest, DesktopWarningAnsweredYesShowsOnceWhateverActivationsCome) {
  form = std::make_unique<Form1>();
  driver.then(
      BoxDriver::both(BoxDriver::sendActivationsTo(form.get(), 3), BoxDriver::press("Yes")));
  EXPECT_TRUE(driver.run([this] { form->startShown(); }));
  EXPECT_EQ(boxes(), std::vector<SeenBox>{warningBox()});
  EXPECT_TRUE(form->activatedOnce);

  // Later activations show nothing.
  driver.run([this] { form->Form_Activate(); });
  EXPECT_EQ(boxes(), std::vector<SeenBox>{warningBox()});
}

// As the program starts: the window is shown and activated, and the activation that the window
// system reports comes while the warning is open.
TEST_F(RealBoxesTest, DesktopStartShowsTheWarningOnce) {
  form = std::make_unique<Form1>();
  driver.then(BoxDriver::press("Yes"));
  EXPECT_TRUE(driver.run([this] { form->startShown(); }));
  EXPECT_EQ(boxes(), std::vector<SeenBox>{warningBox()});
}

TEST_F(RealBoxesTest, DesktopWarningAnsweredNoEndsAtOnceAndWritesNothing) {
  {
    QFile dirFile(programDir + "/lastdir.ini");
    ASSERT_TRUE(dirFile.open(QIODevice::WriteOnly));
    dirFile.write("/old/place\r\n");
    QFile optFile(programDir + "/lastopt.ini");
    ASSERT_TRUE(optFile.open(QIODevice::WriteOnly));
    optFile.write("2\r\n");
  }
  form = std::make_unique<Form1>();
  form->Text1->setText("/data/JOX_1.MDB");
  form->Combo1->setCurrentIndex(5);
  driver.then(BoxDriver::both(BoxDriver::sendActivationsTo(form.get(), 3), BoxDriver::press("No")));
  EXPECT_FALSE(driver.run([this] { form->startShown(); })) << "No ends the program";
  EXPECT_EQ(boxes(), std::vector<SeenBox>{warningBox()});
  EXPECT_FALSE(form->activatedOnce);
  form->close();  // what the end of the program does to the window: nothing is written
  EXPECT_EQ(contents(programDir + "/lastdir.ini"), "/old/place\r\n");
  EXPECT_EQ(contents(programDir + "/lastopt.ini"), "2\r\n");
}

TEST_F(RealBoxesTest, HostedStartShowsNoBox) {
  useProgramFolder("Corvane ASP/Tools");
  form = std::make_unique<Form1>();
  EXPECT_TRUE(driver.run([this] { form->startShown(); }));
  EXPECT_TRUE(boxes().empty());
  EXPECT_TRUE(form->activatedOnce);
}

TEST_F(RealBoxesTest, LoadThatFailsShowsOneMessageAfterTheFileDialog) {
  startDesktop();
  const QString bad = path("JOX_BAD.MDB");
  {
    QFile text(bad);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a database\n");
  }
  driver.then(BoxDriver::chooseFile(bad)).then(BoxDriver::press("OK"));
  EXPECT_TRUE(driver.run([this] { form->Command2->click(); }));
  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_EQ(boxes()[0].kind, "file dialog");
  EXPECT_TRUE(boxes()[0].text.startsWith("Corvane Database (*.mdb)"))
      << boxes()[0].text.toStdString();
  EXPECT_EQ(boxes()[1], report("CANNOT CONTINUE",
                               "The database " + bad + " could not be loaded.\r\nCannot open '" +
                                   bad + "': the file is not a database.",
                               QMessageBox::Warning));
  EXPECT_FALSE(form->Combo1->isEnabled());
}

TEST_F(RealBoxesTest, LoadThroughTheFileDialogFillsTheLists) {
  startDesktop();
  const QString file = makeBuilding("JOX_MAIN.MDB");
  driver.then(BoxDriver::chooseFile(file));
  EXPECT_TRUE(driver.run([this] { form->Command2->click(); }));
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(form->Text1->text(), file);
  EXPECT_TRUE(form->Combo1->isEnabled());
  EXPECT_EQ(form->Frame10->ListView1->count(), 3);
}

// The picker rebuilds its list at every activation, also those that come while its own loop
// runs: the rows are neither doubled nor lost, and the user's selection stays.
TEST_F(RealBoxesTest, BuildingPickerActivatedDuringItsLoopKeepsRowsAndSelection) {
  useProgramFolder("Corvane ASP/Tools");
  QFile user(programDir + "/jox.usr");
  ASSERT_TRUE(user.open(QIODevice::WriteOnly));
  user.write("ANNA\r\n");
  user.close();
  {
    store::schema::createAccountDatabase((programDir + "/JOXINIT.MDB").toStdString());
    store::Database accounts = store::Database::open((programDir + "/JOXINIT.MDB").toStdString());
    store::Table access = accounts.openTable(store::schema::userAccess);
    for (const char* code : {"7", "12", "30"}) {
      access.addNew();
      access.setField(store::schema::userId, store::Value("ANNA"));
      access.setField(store::schema::buildingCode, store::Value(code));
      access.setField(store::schema::buildingName, store::Value(std::string("Building ") + code));
      access.update();
    }
  }
  const QString dataRoot = path("Corvane ASP/User Accounts/HQ_DATA");
  QDir().mkpath(dataRoot);
  makeBuilding("Corvane ASP/User Accounts/HQ_DATA/JOX_12.MDB");

  form = std::make_unique<Form1>();
  ASSERT_TRUE(driver.run([this] { form->startShown(); }));
  auto rowsAndSelection = [](QWidget* box) {
    auto* picker = qobject_cast<SelectionBoxArray2*>(box);
    QString rows;
    for (int row = 0; row < picker->ListView1->count(); ++row)
      rows += picker->ListView1->text(row) + " ";
    return rows + "/ " + picker->ListView1->text(picker->ListView1->selectedRow());
  };
  auto selectTwelve = [](QWidget* box, SeenBox&) {
    auto* picker = qobject_cast<SelectionBoxArray2*>(box);
    picker->ListView1->selectRow(picker->ListView1->findPrefix("12"));
  };
  driver.then(BoxDriver::both(BoxDriver::both(BoxDriver::note(rowsAndSelection), selectTwelve),
                              BoxDriver::both(BoxDriver::both(BoxDriver::sendActivations(3),
                                                              BoxDriver::note(rowsAndSelection)),
                                              BoxDriver::doubleClickRow("12"))));
  EXPECT_TRUE(driver.run([this] { form->Command2->click(); }));
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].kind, "SelectionBoxArray2");
  EXPECT_EQ(boxes()[0].title, "Please select a building");
  EXPECT_EQ(boxes()[0].note, "7 12 30 / 7; 7 12 30 / 12");
  EXPECT_EQ(form->Text9->text(), "12");
  EXPECT_EQ(form->Text1->text(), dataRoot + "/JOX_12.MDB");
  EXPECT_EQ(form->Frame10->ListView1->count(), 3);
}

}  // namespace
