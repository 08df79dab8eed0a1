#include "shell_fixture.h"

#include <QApplication>
#include <QTest>

using namespace roomkit;
using store::Value;
using testsupport::Room;

void ShellTest::SetUp() {
  program() = ProgramValues{};
  useProgramFolder("app");
}

void ShellTest::TearDown() {
  form.reset();
  program() = ProgramValues{};
}

QString ShellTest::useProgramFolder(const QString& folder) {
  programDir = QString::fromStdString(dir.path().string()) + "/" + folder;
  QDir().mkpath(programDir);
  program().programFolder = programDir;
  return programDir;
}

QString ShellTest::file(const QString& name) const { return programDir + "/" + name; }

void ShellTest::writeSetting(const QString& name, const std::string& bytes) {
  testsupport::writeFile(file(name).toStdString(), bytes);
}

void ShellTest::start() {
  form = std::make_unique<Form1>();
  ui.answers.push_back(Answer::Yes);
  form->show();
  form->activateWindow();
  if (!QTest::qWaitForWindowActive(form.get())) form->Form_Activate();
  form->Form_Activate();
}

std::string ShellTest::makeSampleBuilding(const QString& path) {
  store::Database db = testsupport::makeBuilding(path.toStdString());
  testsupport::addRooms(db, {{"10", Value("OFFICE"), Value("B1"), Value("NORTH"), Value()},
                             {"2", Value("lab"), Value("A1")},
                             {"1B", Value(), Value()}});
  testsupport::addSchedule(db, "B1", "DAILY");
  testsupport::addSchedule(db, "A1", "WEEKLY");
  return path.toStdString();
}

void ShellTest::loadDesktop(const QString& path) {
  ui.fileChoice = path;
  form->Command2_Click();
}
