// Check Database through the real window and boxes: the list as the window shows it, the Mend
// question (No, then Yes) and its report, each opened from inside the window's own event loop.
#include <sqlite3.h>

#include <QTreeWidget>

#include "real_boxes_fixture.h"
#include "shell/check_window.h"
#include "support/building.h"
#include "store/engine/handle.h"

using namespace roomkit;
using testsupport::BoxDriver;
using testsupport::SeenBox;

namespace {

QString listed(QWidget* box) {
  QTreeWidget* list = static_cast<CheckWindow*>(box)->ListFindings;
  QStringList rows;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    rows << list->topLevelItem(i)->text(0) + " / " + list->topLevelItem(i)->text(2);
  }
  return rows.join(", ");
}

TEST_F(RealBoxesTest, CheckDatabaseListsAndMendsAfterAsking) {
  const QString file = makeBuilding("JOX_MAIN.MDB");
  {
    store::Database db = store::Database::open(file.toStdString());
    ASSERT_EQ(sqlite3_exec(store::engineHandle(db),
                           "INSERT INTO \"Room Inventory\" (\"Room Number\", \"Bank\") VALUES ('X9', 2);"
                           "DELETE FROM \"Room Time\" WHERE \"Room Number\" = '2';"
                           "UPDATE \"Room Info\" SET \"Schedule\" = 'ZZ' WHERE \"Room Number\" = '10'",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
  }
  startDesktop();
  load(file);
  // Mend is clicked twice from the window's step: the question is answered No, then Yes.
  const auto mendTwice = [](QWidget* box, SeenBox& seen) {
    auto* window = static_cast<CheckWindow*>(box);
    seen.note = listed(box);
    window->CommandMend->click();
    window->CommandMend->click();
    seen.note += " | after: " + listed(box);
    window->accept();
  };
  driver.then(mendTwice).then(BoxDriver::press("No")).then(BoxDriver::press("Yes")).then(BoxDriver::press("OK"));
  ASSERT_TRUE(driver.run([this] { form->CommandCheck->click(); }));
  const QString mend =
      "Mend the 2 findings that have a sound mend? The mend is one run, which Undo Last Run takes "
      "back; the other findings are left alone.";
  ASSERT_EQ(driver.seen.size(), 4u);
  EXPECT_EQ(driver.seen[0].kind, "CheckWindow");
  EXPECT_EQ(driver.seen[0].note.toStdString(),
            "Records of missing rooms / Room Number \"X9\", Bank 2, Rooms without a time record / Room "
            "Number \"2\", Room schedules without a description / Room Number \"10\", Unlisted sort "
            "values / Room Number \"10\" | after: Room schedules without a description / Room Number "
            "\"10\", Unlisted sort values / Room Number \"10\"");
  EXPECT_EQ(driver.seen[1], question("MEND DATABASE?", mend, false, QMessageBox::Question));
  EXPECT_EQ(driver.seen[2], question("MEND DATABASE?", mend, false, QMessageBox::Question));
  EXPECT_EQ(driver.seen[3], report({}, "Mended: 1 record of a missing room removed, 1 \"Room Time\" record made.",
                                   QMessageBox::Information));
  EXPECT_EQ(driver.unexpected, 0);
}

}  // namespace
