#include "generate_fixture.h"

#include <QApplication>
#include <QTest>

#include "kit/program.h"

using namespace roomkit;

void GenerateTest::SetUp() {
  program() = ProgramValues{};
  program().programFolder = QString::fromStdString(dir.path().string());
  path = dir.file("JOX_T.MDB");
  db = testsupport::makeBuilding(path);
  for (int bank : {3, 1, 2}) testsupport::addBank(db, bank);
  testsupport::addSchedule(db, "A1", "DAILY");
  form = std::make_unique<Form1>();
  ui.answers.push_back(Answer::Yes);  // the backup warning
  form->show();
  form->activateWindow();
  if (!QTest::qWaitForWindowActive(form.get())) form->Form_Activate();
  ui.fileChoice = QString::fromStdString(path);
  form->Command2_Click();
  form->Combo1->setCurrentIndex(3);
  form->Combo1_Click();
  panel = form->Frame4;
  ui.messages.clear();
  ui.beeps = 0;
}

void GenerateTest::TearDown() {
  form.reset();
  program() = ProgramValues{};
}

void GenerateTest::setPattern(const QString& start, const QString& end, const QString& locks) {
  for (int i = 0; i < 8; ++i) {
    panel->aaText1[i]->setText(i < start.size() ? QString(start.at(i)) : QString());
    panel->aaText2[i]->setText(i < end.size() ? QString(end.at(i)) : QString());
    panel->aaCheck1[i]->setChecked(i < locks.size() && locks.at(i) == '*');
  }
}

QStringList GenerateTest::lines() const {
  QStringList out;
  for (int row = 0; row < panel->aaList1->count(); ++row) out << panel->aaList1->item(row)->text();
  return out;
}

QWidget* GenerateTest::focused() const { return QApplication::focusWidget(); }
