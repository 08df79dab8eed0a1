// The record picker: what it lists, its search, how it returns a choice, its failing steps, and
// the schedule button that opens it.
#include "pickers/record_picker.h"

#include <QHeaderView>
#include <QTest>

#include "generate_fixture.h"
#include "kit/program.h"
#include "kit/twips.h"
#include "store/schema.h"

using namespace roomkit;
namespace sch = store::schema;
using store::Value;

namespace {

TEST(PickerColumnWidthsTest, SharesOfTheWidthLess160HalvesToEven) {
  struct Case {
    int width, size0, size1;
    std::pair<int, int> widths;
  };
  const Case cases[] = {
      {5295, 10, 40, {899, 4076}}, {5295, 6, 40, {531, 4444}}, {321, 1, 1, {0, 0}},  // 0.5 each
      {323, 1, 1, {2, 2}},                                                           // 1.5 each
      {325, 1, 1, {2, 2}},                                                           // 2.5 each
      {5295, 10, 0, {5135, 0}},  // one field only: it takes the whole width
      {100, 10, 40, {0, 0}},     // never below 0
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pickerColumnWidths(c.width, c.size0, c.size1), c.widths)
        << c.width << " " << c.size0 << " " << c.size1;
  }
}

class RecordPickerTest : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  testsupport::ScriptedUi ui;
  std::string path = dir.file("JOX_P.MDB");
  store::Database db = testsupport::makeBuilding(path);
  RecordQuery query{QString::fromStdString(path), sch::scheduleDescribe, "",
                    "Cleaning Schedule, Description"};
  std::optional<QString> answer;  // what the last run of the picker gave

  void SetUp() override { program() = ProgramValues{}; }
  void TearDown() override { program() = ProgramValues{}; }

  void setQuery(const QString& table, const QString& preselect, const QString& columns) {
    query = {QString::fromStdString(path), table, preselect, columns};
  }
  void addSchedule(const char* code, const Value& description) {
    store::Table t = db.openTable(sch::scheduleDescribe);
    t.addNew();
    t.setField(sch::cleaningSchedule, Value(code));
    t.setField(sch::description, description);
    t.update();
  }
  static QStringList column(const New_SelectionBox_Database& picker, int c) {
    QStringList out;
    for (int row = 0; row < picker.ListView1->count(); ++row) out << picker.ListView1->text(row, c);
    return out;
  }
  static QString selected(const New_SelectionBox_Database& picker) {
    const int row = picker.ListView1->selectedRow();
    return row < 0 ? QString("<none>") : picker.ListView1->text(row);
  }
  // Shows the picker through the message layer, runs the script on it and keeps its answer.
  int run(const std::function<void(New_SelectionBox_Database&)>& script) {
    ui.onModal = [&](QDialog& dialog) {
      auto& picker = static_cast<New_SelectionBox_Database&>(dialog);
      script(picker);
      return dialog.isVisible() ? int(QDialog::Rejected) : dialog.result();
    };
    New_SelectionBox_Database picker(query);
    const int result = ui.showModal(picker);
    answer = picker.choice();
    return result;
  }
};

TEST_F(RecordPickerTest, ListsTheFirstTwoFieldsUnderTheirNames) {
  addSchedule("B1", Value("DAILY"));
  addSchedule("A1", Value("WEEKLY"));
  addSchedule("C3", Value());
  setQuery(sch::scheduleDescribe, "b", "Cleaning Schedule, Description");
  New_SelectionBox_Database picker(query);
  picker.Form_Activate();
  const ReportModel& model = picker.ListView1->model();
  ASSERT_EQ(model.columnCount(), 2);
  EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Cleaning Schedule");
  EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Description");
  EXPECT_EQ(picker.ListView1->columnWidth(0), px(531));
  EXPECT_EQ(picker.ListView1->columnWidth(1), px(4444));
  EXPECT_EQ(column(picker, 0), (QStringList{"A1", "B1", "C3"}));
  EXPECT_EQ(column(picker, 1), (QStringList{"WEEKLY", "DAILY", ""})) << "a null shows empty";
  EXPECT_EQ(picker.Text1->text(), "b");
  EXPECT_EQ(selected(picker), "B1") << "the caller's text preselects by prefix";
  EXPECT_EQ(picker.choice(), std::nullopt) << "nothing is chosen while the dialog is open";
  EXPECT_EQ(picker.windowTitle(), "Cleaning Schedule:");
  EXPECT_FALSE(ui.busy);
}

TEST_F(RecordPickerTest, ColumnWidthsFollowTheDefinedSizes) {
  db.createTable(
      {"Pairs", {{"Code", store::FieldType::Text, 10}, {"Name", store::FieldType::Text, 40}}, {}});
  setQuery("Pairs", "", "");
  New_SelectionBox_Database picker(query);
  picker.Form_Activate();
  EXPECT_EQ(picker.ListView1->columnWidth(0), px(899));
  EXPECT_EQ(picker.ListView1->columnWidth(1), px(4076));
  EXPECT_EQ(picker.windowTitle(), "Code:");
}

TEST_F(RecordPickerTest, AnEmptyTableStillHasTitledColumnsAndReturnsTheBox) {
  setQuery(sch::scheduleDescribe, " x1 ", "");
  const int result = run([](New_SelectionBox_Database& picker) {
    EXPECT_EQ(picker.ListView1->count(), 0);
    EXPECT_EQ(picker.ListView1->model().columnCount(), 2);
    EXPECT_EQ(picker.Text1->text(), " x1 ");
    QTest::keyClick(picker.Text1, Qt::Key_Return);
  });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(answer, "X1") << "trimmed and upper-cased";
}

TEST_F(RecordPickerTest, TypingIsUpperCasedAndSearchesIgnoringCase) {
  addSchedule("A1", Value("ONE"));
  addSchedule("b1", Value("TWO"));
  addSchedule("B2", Value("THREE"));
  run([&](New_SelectionBox_Database& picker) {
    EXPECT_EQ(selected(picker), "<none>") << "an empty box selects nothing at opening";
    QTest::keyClick(picker.Text1, 'b');
    EXPECT_EQ(picker.Text1->text(), "B");
    EXPECT_EQ(selected(picker), "b1");
    QTest::keyClick(picker.Text1, '2');
    EXPECT_EQ(selected(picker), "B2");
    QTest::keyClick(picker.Text1, 'z');
    EXPECT_EQ(selected(picker), "B2") << "no match keeps the selection";
    QTest::keyClick(picker.Text1, Qt::Key_Return);
  });
  EXPECT_EQ(answer, "B2Z") << "Enter returns the box's text even when nothing matches";
}

TEST_F(RecordPickerTest, ClickingAPrefixItemReturnsTheClickedText) {
  addSchedule("A", Value("SHORT"));
  addSchedule("AB", Value("LONG"));
  setQuery(sch::scheduleDescribe, "", "Cleaning Schedule, Start Date");
  run([&](New_SelectionBox_Database& picker) {
    ASSERT_EQ(column(picker, 0), (QStringList{"AB", "A"})) << "a DATE caller sorts descending";
    const QRect item = picker.ListView1->visualRect(picker.ListView1->model().index(1, 0));
    QTest::mouseClick(picker.ListView1->viewport(), Qt::LeftButton, {}, item.center());
    EXPECT_EQ(picker.Text1->text(), "A");
    EXPECT_EQ(selected(picker), "AB") << "the search selects the first item beginning with A";
    QTest::keyClick(picker.Text1, Qt::Key_Return);
  });
  EXPECT_EQ(answer, "A");
}

TEST_F(RecordPickerTest, EnterOnAListItemAndDoubleClickAccept) {
  addSchedule("a1", Value("ONE"));
  addSchedule("b1", Value("TWO"));
  int result = run([&](New_SelectionBox_Database& picker) {
    picker.ListView1->setFocus();
    picker.ListView1->selectRow(1);
    QTest::keyClick(picker.ListView1, Qt::Key_Return);
  });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(answer, "B1");

  result = run([&](New_SelectionBox_Database& picker) {
    const QRect item = picker.ListView1->visualRect(picker.ListView1->model().index(0, 0));
    QTest::mouseClick(picker.ListView1->viewport(), Qt::LeftButton, {}, item.center());
    EXPECT_EQ(picker.Text1->text(), "a1") << "the first click of the two";
    QTest::mouseDClick(picker.ListView1->viewport(), Qt::LeftButton, {}, item.center());
  });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(answer, "A1");
}

TEST_F(RecordPickerTest, CancelAndABlankBoxReturnNothing) {
  addSchedule("A1", Value("ONE"));
  setQuery(sch::scheduleDescribe, "A1", "");
  int result = run(
      [](New_SelectionBox_Database& picker) { QTest::mouseClick(picker.CSCmd1, Qt::LeftButton); });
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_EQ(answer, std::nullopt);

  setQuery(sch::scheduleDescribe, "A1", "");
  result =
      run([](New_SelectionBox_Database& picker) { QTest::keyClick(picker.Text1, Qt::Key_Escape); });
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_EQ(answer, std::nullopt);

  setQuery(sch::scheduleDescribe, "   ", "");
  result =
      run([](New_SelectionBox_Database& picker) { QTest::keyClick(picker.Text1, Qt::Key_Return); });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(answer, std::nullopt);
}

TEST_F(RecordPickerTest, HeaderClickSortsByThatColumnKeepingTheSelection) {
  addSchedule("A1", Value("ZULU"));
  addSchedule("B1", Value("ALPHA"));
  addSchedule("C1", Value("MIKE"));
  struct Case {
    const char* columns;
    QStringList byDescription;
  };
  for (const Case& c : {Case{"Cleaning Schedule, Description", {"B1", "C1", "A1"}},
                        Case{"Cleaning Schedule, Last date", {"A1", "C1", "B1"}}}) {
    setQuery(sch::scheduleDescribe, "C", c.columns);
    New_SelectionBox_Database picker(query);
    picker.Form_Activate();
    picker.ListView1->header()->sectionClicked(1);
    EXPECT_EQ(column(picker, 0), c.byDescription) << c.columns;
    EXPECT_EQ(selected(picker), "C1");
  }
}

TEST_F(RecordPickerTest, FailingStepsAreSkippedSilently) {
  struct Case {
    const char* name;
    QString path;
    QString table;
    int columns;
  };
  db.createTable({"Single", {{"Only", store::FieldType::Text, 8}}, {}});
  {
    store::Table single = db.openTable("Single");
    single.addNew();
    single.setField(0, Value("ONE"));
    single.update();
  }
  const QString file = QString::fromStdString(path);
  for (const Case& c :
       {Case{"missing file", QString::fromStdString(dir.file("NONE.MDB")), sch::scheduleDescribe,
             0},
        Case{"missing table", file, "No Such Table", 0}, Case{"one field", file, "Single", 1}}) {
    setQuery(c.table, "q", "");
    query.path = c.path;
    const int result = run([&](New_SelectionBox_Database& picker) {
      EXPECT_EQ(picker.ListView1->model().columnCount(), c.columns) << c.name;
      EXPECT_EQ(picker.ListView1->count(), c.columns) << c.name;
      EXPECT_EQ(picker.windowTitle(), c.columns ? "Only:" : "Select Records") << c.name;
      QTest::keyClick(picker.Text1, Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted) << c.name;
    EXPECT_EQ(answer, "Q") << c.name;
    EXPECT_TRUE(ui.messages.empty()) << "the picker shows no message";
    EXPECT_FALSE(ui.busy);
  }
}

// The schedule button of the panel.
class ScheduleButtonTest : public GenerateTest {};

TEST_F(ScheduleButtonTest, AChoiceFillsTheBoxAndACancelSelectsIt) {
  testsupport::addSchedule(db, "B7", "NIGHT");
  panel->aaText3->setText(" b ");
  ui.onModal = [&](QDialog& dialog) {
    auto& picker = static_cast<New_SelectionBox_Database&>(dialog);
    EXPECT_EQ(picker.Text1->text(), "b") << "the box's text, trimmed";
    EXPECT_EQ(picker.windowTitle(), "Cleaning Schedule:") << "the schedules' table";
    EXPECT_EQ(picker.ListView1->count(), 2) << "of the loaded database";
    QTest::keyClick(picker.Text1, Qt::Key_End);
    QTest::keyClick(picker.Text1, '7');
    QTest::keyClick(picker.Text1, Qt::Key_Return);
    return dialog.result();
  };
  panel->CSCmd2_Click();
  EXPECT_EQ(panel->aaText3->text(), "B7");
  EXPECT_FALSE(ui.busy);

  ui.onModal = [](QDialog&) { return int(QDialog::Rejected); };
  panel->CSCmd2_Click();
  EXPECT_EQ(panel->aaText3->text(), "B7");
  EXPECT_EQ(panel->aaText3->selectedText(), "B7");
  EXPECT_EQ(form->focusWidget(), panel->aaText3);
  EXPECT_FALSE(ui.busy);
}

}  // namespace
