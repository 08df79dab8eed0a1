#include "panel_fixture.h"

#include <QApplication>
#include <QTest>
#include <ostream>

#include "kit/program.h"

using namespace roomkit;

void PanelTest::SetUp() {
  program() = ProgramValues{};
  program().programFolder = QString::fromStdString(dir.path().string());
  path = dir.file("JOX_T.MDB");
  db = testsupport::makeBuilding(path);
  form = std::make_unique<Form1>();
  ui.answers.push_back(Answer::Yes);  // the backup warning
  form->show();
  form->activateWindow();
  if (!QTest::qWaitForWindowActive(form.get())) form->Form_Activate();
}

void PanelTest::TearDown() {
  form.reset();
  program() = ProgramValues{};
}

void PanelTest::load() {
  ui.fileChoice = QString::fromStdString(path);
  form->Command2_Click();
  ui.messages.clear();
}

void PanelTest::choose(int function) {
  form->Combo1->setCurrentIndex(function);
  form->Combo1_Click();
}

QWidget* PanelTest::focused() const { return QApplication::focusWidget(); }

void PanelTest::expectOnly(const Message& expected) {
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], expected);
  ui.messages.clear();
}
