#include "content_fixture.h"

#include <sqlite3.h>

#include <QDir>
#include <QTest>

#include "kit/program.h"
#include "store/engine/handle.h"
#include "store/schema.h"

using namespace roomkit;

void ContentTest::SetUp() {
  program() = ProgramValues{};
  const QString folder = QString::fromStdString(dir.file("app"));
  QDir().mkpath(folder);
  program().programFolder = folder;
  path = dir.file("JOX_T.MDB");
  db = testsupport::makeBuilding(path);
}

void ContentTest::TearDown() {
  form.reset();
  db.close();
  program() = ProgramValues{};
}

void ContentTest::open(int function) {
  form = std::make_unique<Form1>();
  ui.answers.push_back(Answer::Yes);  // the backup warning
  form->show();
  form->activateWindow();
  if (!QTest::qWaitForWindowActive(form.get())) form->Form_Activate();
  form->Form_Activate();
  ui.fileChoice = QString::fromStdString(path);
  form->Command2_Click();
  form->Combo1->setCurrentIndex(function);
  form->Combo1_Click();
  ui.messages.clear();
}

void ContentTest::refuseInventoryWrites(const std::string& room, const std::string& reason) {
  const std::string sql =
      "CREATE TRIGGER refuse_room BEFORE UPDATE ON \"Room Inventory\" WHEN "
      "OLD.\"Room Number\" = '" +
      room + "' BEGIN SELECT RAISE(ABORT, '" + reason + "'); END";
  char* error = nullptr;
  ASSERT_EQ(sqlite3_exec(store::engineHandle(db), sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
      << (error ? error : "");
}

void ContentTest::clickBox(QWidget* box) {
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

std::string ContentTest::item(const std::string& room, int bank, int item) {
  store::Table inventory = db.openTable(store::schema::roomInventory);
  inventory.setIndex(store::schema::primaryKey);
  inventory.seek({store::Value(room), store::Value(bank)});
  if (inventory.noMatch()) return "<none>";
  const store::Value& value = inventory.field(store::schema::quantityField(item));
  return value.isNull() ? "<null>" : value.toText();
}
