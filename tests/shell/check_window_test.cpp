// Check Database in the main window: the button follows whether a database is loaded, the
// window lists the findings with their counts and sorts them, and Mend asks first, mends as one
// run and has the database loaded again.
#include "shell/check_window.h"

#include <sqlite3.h>

#include "shell_fixture.h"
#include "store/engine/handle.h"
#include "store/history.h"
#include "support/building.h"
#include "tools/combine_rooms_panel.h"

using namespace roomkit;

namespace {

class CheckWindowTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    path = QString::fromStdString(makeSampleBuilding(dir.file("JOX_K.MDB").c_str()));
    store::Database db = store::Database::open(path.toStdString());
    // Room 2 has a time record under its number in lower case; 10 has none; "1B " has
    // blanks; inventory of a room that does not exist.
    ASSERT_EQ(sqlite3_exec(
                  store::engineHandle(db),
                  "INSERT INTO \"Room Time\" (\"Room Number\") VALUES ('2'), ('1b');"
                  "UPDATE \"Room Info\" SET \"Room Number\" = '1B ' WHERE \"Room Number\" = '1B';"
                  "UPDATE \"Room Time\" SET \"Room Number\" = '1b ' WHERE \"Room Number\" = '1b';"
                  "INSERT INTO \"Inventory Banks\" VALUES (1, 'ONE');"
                  "INSERT INTO \"Room Inventory\" (\"Room Number\", \"Bank\") VALUES ('X9', 1);"
                  "INSERT INTO \"Inv Sort Field 1\" VALUES ('NORTH', 'N')",
                  nullptr, nullptr, nullptr),
              SQLITE_OK);
    start();
  }

  // The list's rows as "kind | table | key | problem | mend".
  static std::vector<std::string> rows(const CheckWindow& window) {
    std::vector<std::string> out;
    QTreeWidget* list = window.ListFindings;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      QStringList cells;
      for (int c = 0; c < list->columnCount(); ++c) cells << list->topLevelItem(i)->text(c);
      out.push_back(cells.join(" | ").toStdString());
    }
    return out;
  }

  QString path;
};

TEST_F(CheckWindowTest, ButtonOnlyWhileADatabaseIsLoaded) {
  EXPECT_EQ(form->CommandCheck->objectName(), "CommandCheck");
  EXPECT_EQ(form->CommandCheck->text(), "Check Database...");
  EXPECT_FALSE(form->CommandCheck->isEnabled());
  loadDesktop(path);
  EXPECT_TRUE(form->CommandCheck->isEnabled());
  EXPECT_GT(form->CommandCheck->x(), form->CommandUndo->geometry().right());
  form->Text1->setText(dir.file("JOX_NONE.MDB").c_str());
  form->LoadCurrentDB();
  EXPECT_EQ(ui.lastTitle(), "CANNOT CONTINUE");
  EXPECT_FALSE(form->CommandCheck->isEnabled());
}

TEST_F(CheckWindowTest, ListsSortsAndMendsAfterAsking) {
  loadDesktop(path);
  ui.messages.clear();
  const std::vector<std::string> found = {
      "Records of missing rooms | Room Inventory | Room Number \"X9\", Bank 1 | no \"Room Info\" "
      "record "
      "has this room number | removed",
      "Rooms without a time record | Room Info | Room Number \"10\" | the room has no \"Room "
      "Time\" "
      "record | a \"Room Time\" record is made",
      "Malformed room numbers | Room Info | Room Number \"1B \" | the room number has blanks at an "
      "end | "
      "becomes \"1B\""};
  std::vector<std::string> seen, byTable, afterNo, afterMend;
  QString counts, countsAfter;
  bool mendEnabledAfter = true;
  ui.onModal = [&](QDialog& dialog) {
    auto& window = static_cast<CheckWindow&>(dialog);
    EXPECT_EQ(window.objectName(), "CheckWindow");
    seen = rows(window);
    counts = window.LabelCounts->text();
    window.ListFindings->sortByColumn(1, Qt::DescendingOrder);  // by table, Z to A
    byTable = rows(window);
    window.ListFindings->sortByColumn(0, Qt::AscendingOrder);
    ui.answers.push_back(Answer::No);
    window.CommandMend->click();
    afterNo = rows(window);
    ui.answers.push_back(Answer::Yes);
    window.CommandMend->click();
    afterMend = rows(window);
    countsAfter = window.LabelCounts->text();
    mendEnabledAfter = window.CommandMend->isEnabled();
    return int(QDialog::Accepted);
  };
  form->CommandCheck->click();
  EXPECT_EQ(seen, found);
  EXPECT_EQ(
      counts.toStdString(),
      "3 findings\nRecords of missing rooms: 1\nRooms without a time record: 1\nMalformed room "
      "numbers: 1");
  EXPECT_EQ(byTable, (std::vector<std::string>{found[0], found[1], found[2]}));
  EXPECT_EQ(afterNo, found);
  ASSERT_EQ(ui.messages.size(), 3u);
  EXPECT_EQ(ui.messages[0].title, "MEND DATABASE?");
  EXPECT_EQ(ui.messages[0].text,
            "Mend the 3 findings that have a sound mend? The mend is one run, which Undo Last Run "
            "takes back; the other findings are left alone.");
  EXPECT_EQ(ui.messages[0].defaultButton, Answer::No);
  EXPECT_EQ(ui.messages[1].title, "MEND DATABASE?");
  EXPECT_EQ(ui.messages[2].text,
            "Mended: 1 record of a missing room removed, 1 room number trimmed and upper-cased, 1 "
            "\"Room Time\" record made.");
  EXPECT_TRUE(afterMend.empty());
  EXPECT_EQ(countsAfter, "Nothing found.");
  EXPECT_FALSE(mendEnabledAfter);
  // Loaded again: the lists show the trimmed number; the run is in the history.
  EXPECT_EQ(form->Frame10->ListView1->text(1), "1B");  // in key order: 10, 1B, 2
  store::Database db = store::Database::open(path.toStdString());
  const auto runs = store::listRuns(db);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].function, "Check Database");
}

}  // namespace
