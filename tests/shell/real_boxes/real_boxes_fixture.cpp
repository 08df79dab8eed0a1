#include "real_boxes_fixture.h"

#include <QDir>

#include "kit/program.h"
#include "kit/ui.h"
#include "support/building.h"

using namespace roomkit;
using store::Value;
using testsupport::BoxDriver;
using testsupport::SeenBox;

void RealBoxesTest::SetUp() {
  program() = ProgramValues{};
  useProgramFolder("app");
}

void RealBoxesTest::TearDown() {
  form.reset();
  program() = ProgramValues{};
  EXPECT_FALSE(driver.timedOut) << "a run did not end";
  EXPECT_EQ(driver.unexpected, 0) << "boxes came that no step expected";
}

QString RealBoxesTest::useProgramFolder(const QString& folder) {
  programDir = path(folder);
  QDir().mkpath(programDir);
  program().programFolder = programDir;
  return programDir;
}

QString RealBoxesTest::path(const QString& name) const {
  return QString::fromStdString(dir.path().string()) + "/" + name;
}

QString RealBoxesTest::makeBuilding(const QString& name) {
  const QString file = path(name);
  store::Database db = testsupport::makeBuilding(file.toStdString());
  testsupport::addRooms(db, {{"10", Value("OFFICE"), Value("B1"), Value("NORTH"), Value()},
                             {"2", Value("LAB"), Value("A1")},
                             {"1B", Value("STORE"), Value("A1")}});
  testsupport::addSchedule(db, "B1", "DAILY", 2);
  testsupport::addSchedule(db, "A1", "WEEKLY", 1);
  testsupport::addSchedule(db, "C9", "NEVER", 3);
  for (int bank : {1, 2}) testsupport::addBank(db, bank);
  for (const char* room : {"10", "2", "1B"}) {
    testsupport::addInventory(db, room, 1, {{1, 100}, {2, 5}});
    testsupport::addInventory(db, room, 2, {{3, 1}});
    testsupport::addTime(db, room);
  }
  return file;
}

void RealBoxesTest::startDesktop() {
  form = std::make_unique<Form1>();
  driver.then(BoxDriver::press("Yes"));
  ASSERT_TRUE(driver.run([this] { form->startShown(); }));
  driver.seen.clear();
}

void RealBoxesTest::load(const QString& file) {
  form->Text1->setText(file);
  form->LoadCurrentDB();
}

SeenBox warningBox() {
  return question("WARNING",
                  "Please be sure to backup any database you plan to modify with this program, "
                  "as it will perform irreversible changes.\r\nDo you wish to continue?",
                  false, QMessageBox::Warning);
}

SeenBox question(const QString& title, const QString& text, bool yesIsDefault,
                 QMessageBox::Icon icon) {
  return testsupport::messageBox(title.isEmpty() ? programTitle : title, text, icon, {"Yes", "No"},
                                 yesIsDefault ? "Yes" : "No");
}

SeenBox report(const QString& title, const QString& text, QMessageBox::Icon icon) {
  return testsupport::messageBox(title.isEmpty() ? programTitle : title, text, icon, {"OK"});
}
