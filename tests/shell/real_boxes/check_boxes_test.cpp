// The windows below the panels through the real boxes, each opened from inside the window's own
// event loop: Check Database (its list, the Mend question, No then Yes, and its report) and
// History (its list of runs, and an undo from it that is done or refused).
#include <sqlite3.h>

#include <QTreeWidget>

#include "real_boxes_fixture.h"
#include "shell/check_window.h"
#include "shell/history_window.h"
#include "store/engine/handle.h"
#include "store/history.h"
#include "support/building.h"

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
    ASSERT_EQ(
        sqlite3_exec(store::engineHandle(db),
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
  driver.then(mendTwice)
      .then(BoxDriver::press("No"))
      .then(BoxDriver::press("Yes"))
      .then(BoxDriver::press("OK"));
  ASSERT_TRUE(driver.run([this] { form->CommandCheck->click(); }));
  const QString mend =
      "Mend the 2 findings that have a sound mend? The mend is one run, which Undo Last Run takes "
      "back; the other findings are left alone.";
  ASSERT_EQ(driver.seen.size(), 4u);
  EXPECT_EQ(driver.seen[0].kind, "CheckWindow");
  EXPECT_EQ(
      driver.seen[0].note.toStdString(),
      "Records of missing rooms / Room Number \"X9\", Bank 2, Rooms without a time record / Room "
      "Number \"2\", Room schedules without a description / Room Number \"10\", Unlisted sort "
      "values / Room Number \"10\" | after: Room schedules without a description / Room Number "
      "\"10\", Unlisted sort values / Room Number \"10\"");
  EXPECT_EQ(driver.seen[1], question("MEND DATABASE?", mend, false, QMessageBox::Question));
  EXPECT_EQ(driver.seen[2], question("MEND DATABASE?", mend, false, QMessageBox::Question));
  EXPECT_EQ(driver.seen[3],
            report({}, "Mended: 1 record of a missing room removed, 1 \"Room Time\" record made.",
                   QMessageBox::Information));
  EXPECT_EQ(driver.unexpected, 0);
}

// The History window's list as it shows it: each run's function and whether it was undone.
QString runsListed(QWidget* box) {
  QTreeWidget* list = static_cast<HistoryWindow*>(box)->ListRuns;
  QStringList rows;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    const QString undone = list->topLevelItem(i)->text(3);  // "undone " and the time, or "no"
    rows << list->topLevelItem(i)->text(1) + " / " +
                (undone.startsWith("undone ") ? QString("undone") : undone);
  }
  return rows.join(", ");
}

void exec(const QString& file, const char* sql) {
  store::Database db = store::Database::open(file.toStdString());
  ASSERT_EQ(sqlite3_exec(store::engineHandle(db), sql, nullptr, nullptr, nullptr), SQLITE_OK)
      << sql;
}

void recordRun(const QString& file, const char* function, const char* detail, const char* sql) {
  store::Database db = store::Database::open(file.toStdString());
  store::Run run(db, function, detail);
  ASSERT_EQ(sqlite3_exec(store::engineHandle(db), sql, nullptr, nullptr, nullptr), SQLITE_OK)
      << sql;
  run.commit();
}

// Two runs, listed newest first; Undo Last Run in the window asks, then undoes the newer one
// and the list shows it undone, or, when another program changed its record since, refuses and
// the list stays as it was.
TEST_F(RealBoxesTest, HistoryListsTheRunsAndUndoesFromTheWindow) {
  struct Case {
    const char* name;
    const char* later;  // another program's change after the runs, or null
    QString listAfter;
  };
  const QString listBefore =
      "Change Room Number (1B to 1C) / no, Change Sort Field 1 (NORTH to SOUTH) / no";
  const Case cases[] = {
      {"undone", nullptr,
       "Change Room Number (1B to 1C) / undone, Change Sort Field 1 (NORTH to SOUTH) / no"},
      {"refused", "UPDATE \"Room Info\" SET \"Room Number\" = '1D' WHERE \"Room Number\" = '1C'",
       listBefore},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString file = makeBuilding(QString("JOX_%1.MDB").arg(c.name).toUpper());
    recordRun(file, "Change Sort Field 1", "NORTH to SOUTH",
              "UPDATE \"Room Info\" SET \"Sort Field 1\" = 'SOUTH' "
              "WHERE \"Sort Field 1\" = 'NORTH'");
    recordRun(file, "Change Room Number", "1B to 1C",
              "UPDATE \"Room Info\" SET \"Room Number\" = '1C' WHERE \"Room Number\" = '1B'");
    std::string when;
    {
      store::Database db = store::Database::open(file.toStdString());
      when = store::listRuns(db).at(0).when;
    }
    if (c.later) exec(file, c.later);
    startDesktop();
    load(file);
    const auto undoInWindow = [](QWidget* box, SeenBox& seen) {
      auto* window = static_cast<HistoryWindow*>(box);
      seen.note = runsListed(box);
      window->CommandHistoryUndo->click();
      seen.note += " | after: " + runsListed(box);
      window->accept();
    };
    driver.then(undoInWindow).then(BoxDriver::press("Yes")).then(BoxDriver::press("OK"));
    ASSERT_TRUE(driver.run([this] { form->CommandHistory->click(); }));
    const QString run = "Change Room Number (1B to 1C) of " + QString::fromStdString(when);
    ASSERT_EQ(driver.seen.size(), 3u);
    EXPECT_EQ(driver.seen[0].kind, "HistoryWindow");
    EXPECT_EQ(driver.seen[0].note.toStdString(),
              (listBefore + " | after: " + c.listAfter).toStdString());
    EXPECT_EQ(driver.seen[1],
              question("UNDO LAST RUN?",
                       "Undo the last run on " + file + ", " + run + ", which changed 1 record?",
                       false, QMessageBox::Question));
    const SeenBox answer =
        c.later
            ? report("CANNOT UNDO",
                     "The last run on " + file + ", " + run +
                         ", cannot be undone: the record "
                         "\"1D\" of the table \"Room Info\" has changed since the run. Nothing was "
                         "changed.",
                     QMessageBox::Warning)
            : report({}, "Undone.", QMessageBox::Information);
    EXPECT_EQ(driver.seen[2], answer);
    store::Database db = store::Database::open(file.toStdString());
    EXPECT_EQ(testsupport::rows(db, "Room Info")[2][0], c.later ? "1D" : "1B");
    driver.seen.clear();
    form.reset();
  }
}

}  // namespace
