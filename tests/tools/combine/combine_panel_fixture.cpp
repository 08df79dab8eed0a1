#include "combine_panel_fixture.h"

#include <QDir>
#include <QTest>

#include "kit/program.h"

using namespace roomkit;

void CombinePanelTest::SetUp() {
  program() = ProgramValues{};
  const QString folder = QString::fromStdString(dir.file("app"));
  QDir().mkpath(folder);
  program().programFolder = folder;
  path = folder + "/JOX_C.MDB";
  combinetest::makeCombineBuilding(path.toStdString());

  form = std::make_unique<Form1>();
  ui.answers.push_back(Answer::Yes);  // the backup warning
  form->show();
  form->activateWindow();
  if (!QTest::qWaitForWindowActive(form.get())) form->Form_Activate();
  form->Form_Activate();
  ui.fileChoice = path;
  form->Command2_Click();
  form->Combo1->setCurrentIndex(6);
  form->Combo1_Click();
  panel = form->Frame10;
  ui.messages.clear();
}

void CombinePanelTest::TearDown() {
  form.reset();
  program() = ProgramValues{};
}

int CombinePanelTest::row(const QString& room) const {
  for (int r = 0; r < panel->ListView1->count(); ++r) {
    if (panel->ListView1->text(r) == room) return r;
  }
  return -1;
}

QStringList CombinePanelTest::rooms() const {
  QStringList out;
  for (int r = 0; r < panel->ListView1->count(); ++r) out << panel->ListView1->text(r);
  return out;
}

QStringList CombinePanelTest::ticked() const {
  QStringList out;
  for (int r = 0; r < panel->ListView1->count(); ++r) {
    if (panel->ListView1->model().isChecked(r)) out << panel->ListView1->text(r);
  }
  return out;
}

void CombinePanelTest::tick(const QStringList& list) {
  for (const QString& room : list) {
    const int r = row(room);
    ASSERT_GE(r, 0) << room.toStdString();
    panel->ListView1->model().setChecked(r, true);
  }
}

void CombinePanelTest::clickCombine() { QTest::mouseClick(panel->Command8, Qt::LeftButton); }

store::Database CombinePanelTest::database() const {
  return store::Database::open(path.toStdString());
}

QString CombinePanelTest::logText() const {
  return QString::fromStdString(testsupport::readFile((path + ".log").toStdString()));
}
