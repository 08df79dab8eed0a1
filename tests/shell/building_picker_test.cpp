// The building picker of hosted mode and the browse button that opens it.
#include "pickers/building_picker.h"

#include <QTest>

#include "shell_fixture.h"
#include "store/schema.h"
#include "tools/combine_rooms_panel.h"

using namespace roomkit;
using store::Value;

namespace {

class PickerTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    useProgramFolder("Corvane ASP/Tools");
    writeSetting("jox.usr", " USER7 \r\n");
    store::schema::createAccountDatabase(file("JOXINIT.MDB").toStdString());
    accounts = store::Database::open(file("JOXINIT.MDB").toStdString());
  }
  void addAccess(const char* user, const char* code, const Value& name, const Value& customer) {
    store::Table users = accounts.openTable("Users- Building Access");
    users.addNew();
    users.setField("User ID", Value(user));
    users.setField("Building Code", Value(code));
    users.setField("Building Name", name);
    users.setField("Customer Name", customer);
    users.update();
  }
  QString accountsPath() const { return file("JOXINIT.MDB"); }
  QStringList codes(const SelectionBoxArray2& picker) {
    QStringList out;
    for (int i = 0; i < picker.ListView1->count(); ++i) out << picker.ListView1->text(i);
    return out;
  }
  store::Database accounts;
};

TEST_F(PickerTest, ListsTheTrimmedUsersRowsInIndexOrder) {
  addAccess("USER7", "20", Value("ZETA HALL"), Value("ACME"));
  addAccess("OTHER", "99", Value("X"), Value("Y"));
  addAccess("USER7", "10", Value(), Value());
  addAccess("user7", "30", Value("LOWER"), Value("CASE"));
  SelectionBoxArray2 picker("  USER7 ", accountsPath());
  picker.Form_Activate();
  EXPECT_EQ(codes(picker), (QStringList{"20", "10"})) << "the walk stops at another user's row";
  EXPECT_EQ(picker.ListView1->text(1, 1), "");
  EXPECT_EQ(picker.ListView1->text(0, 2), "ACME");
  EXPECT_EQ(picker.ListView1->selectedRow(), 0) << "an empty code preselects the first row";
  EXPECT_FALSE(ui.busy);
}

TEST_F(PickerTest, AUserIdDifferingInCaseGetsNoRows) {
  addAccess("USER7", "20", Value("A"), Value("B"));
  SelectionBoxArray2 picker("user7", accountsPath());
  picker.Form_Activate();
  EXPECT_EQ(picker.ListView1->count(), 0);
  picker.show();
  picker.ListView1_DblClick();
  EXPECT_TRUE(picker.isVisible()) << "nothing to choose: the dialog stays";
  EXPECT_TRUE(picker.CSCmd1->isEnabled());
}

TEST_F(PickerTest, HeaderSortKeepsTheSelectionByPrefix) {
  addAccess("USER7", "1", Value("B BUILDING"), Value());
  addAccess("USER7", "10", Value("A BUILDING"), Value());
  addAccess("USER7", "2", Value("C BUILDING"), Value());
  SelectionBoxArray2 picker("USER7", accountsPath(), "2");
  picker.Form_Activate();
  EXPECT_EQ(picker.ListView1->text(picker.ListView1->selectedRow()), "2");
  picker.ListView1->selectRow(0);  // code 1
  picker.ListView1_ColumnClick(1);
  EXPECT_EQ(codes(picker), (QStringList{"10", "1", "2"}));
  EXPECT_EQ(picker.ListView1->text(picker.ListView1->selectedRow()), "10")
      << "the first row whose code begins with 1";
}

TEST_F(PickerTest, AMissingAccountDatabaseGivesAnEmptyList) {
  accounts.close();
  std::filesystem::remove(file("JOXINIT.MDB").toStdString());
  SelectionBoxArray2 picker("USER7", accountsPath());
  picker.Form_Activate();
  EXPECT_EQ(picker.ListView1->count(), 0);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PickerTest, AnUnreadableAccountDatabaseIsReportedOnceAShowing) {
  accounts.close();
  testsupport::writeFile(accountsPath().toStdString(), "not a database\n");
  SelectionBoxArray2 picker("USER7", accountsPath());
  picker.Form_Activate();
  EXPECT_EQ(picker.ListView1->count(), 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.lastTitle(), "CANNOT CONTINUE");
  const QString opening =
      "The buildings could not be read from the account database " + accountsPath() + ".\r\n";
  EXPECT_TRUE(ui.lastText().startsWith(opening)) << ui.lastText().toStdString();
  EXPECT_FALSE(ui.busy);
  picker.Form_Activate();
  EXPECT_EQ(ui.messages.size(), 1u) << "every activation reads again; the user is told once";
}

TEST_F(PickerTest, DoubleClickChoosesAndTheBrowseButtonLoadsThatBuilding) {
  addAccess("USER7", "12", Value("MAIN"), Value("ACME"));
  start();
  const QString root = program().DataRootPath;
  QDir().mkpath(root);
  makeSampleBuilding(root + "JOX_12.MDB");
  ui.onModal = [](QDialog& dialog) {
    auto& picker = static_cast<SelectionBoxArray2&>(dialog);
    const QRect row = picker.ListView1->visualRect(picker.ListView1->model().index(0, 0));
    QTest::mouseDClick(picker.ListView1->viewport(), Qt::LeftButton, {}, row.center());
    return QDialog::Rejected;
  };
  form->Command2_Click();
  EXPECT_EQ(form->Text1->text(), root + "JOX_12.MDB");
  EXPECT_EQ(form->Text9->text(), "12");
  EXPECT_TRUE(form->Combo1->isEnabled());
  EXPECT_EQ(form->Frame10->ListView1->count(), 3);
}

TEST_F(PickerTest, CancelKeepsTheEarlierCodeAndLoadsNothing) {
  addAccess("USER7", "12", Value("MAIN"), Value("ACME"));
  start();
  form->Text9->setText("12");
  form->Text1->setText("UNCHANGED");
  ui.onModal = [](QDialog& dialog) {
    static_cast<SelectionBoxArray2&>(dialog).CSCmd1_Click();
    return QDialog::Rejected;
  };
  form->Command2_Click();
  EXPECT_EQ(form->Text9->text(), "12");
  EXPECT_EQ(form->Text1->text(), "UNCHANGED");
  EXPECT_FALSE(form->Combo1->isEnabled());
}

}  // namespace
