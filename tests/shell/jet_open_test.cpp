// Choosing a database that is still an Access (Jet) file: asked first, converted on Yes with the
// original kept as "<name>.jet", left alone on No or when it cannot be converted.
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <functional>

#include "shell_fixture.h"
#include "store/history.h"
#include "support/building.h"
#include "tools/auto_generate_panel.h"
#include "tools/change_room_number_panel.h"
#include "tools/cleanup_panel.h"

using namespace roomkit;

namespace {

std::string bytesOf(const QString& file) { return testsupport::readFile(file.toStdString()); }

class JetOpenTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    start();
    ui.messages.clear();
    jetFile = useProgramFolder("data") + "/JOX_NODE.MDB";
    ASSERT_TRUE(QFile::copy(JET_TEST_DATA "/node-adodb.mdb", jetFile));
    original = bytesOf(jetFile);
  }
  QString jetFile;
  std::string original;
};

const QString question(const QString& path) {
  return "The database " + path +
         " is an Access (Jet) database. To open it, roomkit converts it "
         "into a database of its own under the same name, and keeps the original as " +
         "JOX_NODE.MDB.jet beside it.\r\nConvert it now?";
}

// The test file holds no room tables: it is converted, then the load fails as for any database
// that lacks them, and both files stay.
TEST_F(JetOpenTest, YesConvertsKeepsTheOriginalAndLoadsTheNewFile) {
  ui.answers.push_back(Answer::Yes);
  loadDesktop(jetFile);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, question(jetFile));
  EXPECT_EQ(ui.messages[0].title, "CONVERT DATABASE?");
  EXPECT_EQ(ui.messages[0].buttons, Buttons::YesNo);
  EXPECT_EQ(ui.messages[0].defaultButton, Answer::Yes);
  EXPECT_EQ(ui.messages[1].title, "CANNOT CONTINUE");
  EXPECT_TRUE(ui.messages[1].text.startsWith("The database " + jetFile + " could not be loaded."))
      << ui.messages[1].text.toStdString();
  EXPECT_TRUE(ui.messages[1].text.contains("Room Info")) << ui.messages[1].text.toStdString();
  EXPECT_EQ(bytesOf(jetFile + ".jet"), original) << "the original is kept byte for byte";
  store::Database converted = store::Database::open(jetFile.toStdString());
  EXPECT_EQ(converted.tableNames(), std::vector<std::string>{"Users"});
  EXPECT_TRUE(store::listRuns(converted).empty()) << "a converted file starts without history";
  EXPECT_EQ(form->Text1->text(), jetFile);
  EXPECT_FALSE(form->Combo1->isEnabled());
}

TEST_F(JetOpenTest, NoChangesNothingAndLoadsNothing) {
  ui.answers.push_back(Answer::No);
  loadDesktop(jetFile);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "CONVERT DATABASE?");
  EXPECT_EQ(bytesOf(jetFile), original);
  EXPECT_FALSE(QFile::exists(jetFile + ".jet"));
  EXPECT_EQ(
      QDir(programDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 1)
      << "the file converted before the question is gone";
  EXPECT_FALSE(form->Combo1->isEnabled());
}

// Refusals come at once, without the question first.
TEST_F(JetOpenTest, AKeptCopyAlreadyThereStopsItWithNothingChanged) {
  testsupport::writeFile((jetFile + ".jet").toStdString(), "an older copy");
  loadDesktop(jetFile);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "CANNOT CONTINUE");
  EXPECT_TRUE(ui.messages[0].text.contains(jetFile + ".jet already exists"))
      << ui.messages[0].text.toStdString();
  EXPECT_EQ(ui.messages[0].icon, Icon::Exclamation);
  EXPECT_EQ(bytesOf(jetFile), original);
  EXPECT_EQ(bytesOf(jetFile + ".jet"), "an older copy");
  EXPECT_EQ(
      QDir(programDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 2);
}

TEST_F(JetOpenTest, AFileThatOnlyLooksLikeJetIsRefusedAndLeftAsItWas) {
  std::string fake = original.substr(0, 4096);
  fake.resize(3 * 4096 + 100, '\x7f');  // not a whole number of pages
  testsupport::writeFile(jetFile.toStdString(), fake);
  loadDesktop(jetFile);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.messages[0].text.startsWith("The database " + jetFile +
                                             " could not be converted, and nothing was changed."))
      << ui.messages[0].text.toStdString();
  EXPECT_EQ(bytesOf(jetFile), fake);
  EXPECT_EQ(
      QDir(programDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 1);
}

// An Access 2007 or later file and a damaged one are refused before the question.
TEST_F(JetOpenTest, FilesThatCannotBeConvertedAreRefusedWithoutTheQuestion) {
  std::string ace = original;
  ace.replace(4, 15, "Standard ACE DB");
  std::string damaged = original;
  damaged[25 * 4096 + 55] = '\xD5';  // the table definition of "Users": libmdb fails on it
  for (const std::string& bytes : {ace, damaged}) {
    ui.messages.clear();
    testsupport::writeFile(jetFile.toStdString(), bytes);
    loadDesktop(jetFile);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "CANNOT CONTINUE");
    EXPECT_TRUE(ui.messages[0].text.startsWith("The database " + jetFile +
                                               " could not be converted, and nothing was changed."))
        << ui.messages[0].text.toStdString();
    EXPECT_EQ(bytesOf(jetFile), bytes);
    EXPECT_EQ(
        QDir(programDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
        1);
  }
}

// A function that opens the file in the path box itself asks about the conversion first: No
// ends it before its own question, with nothing changed.
TEST_F(JetOpenTest, AFunctionOnAnAccessFileAsksAboutTheConversionFirst) {
  const std::pair<const char*, std::function<void()>> buttons[] = {
      {"Change Room Number",
       [&] {
         form->Frame1->Text2->setText("2");
         form->Frame1->Text3->setText("20");
         form->Frame1->Command1_Click();
       }},
      {"Database Cleanup", [&] { form->Frame8->Command6_Click(); }},
      {"Auto Generate Rooms", [&] { form->Frame4->aaCommand2_Click(); }},
  };
  for (const auto& [name, press] : buttons) {
    SCOPED_TRACE(name);
    form->Text1->setText(jetFile);
    ui.messages.clear();
    ui.answers = {Answer::No};
    press();
    ASSERT_EQ(ui.messages.size(), 1u) << ui.lastText().toStdString();
    EXPECT_EQ(ui.messages[0].title, "CONVERT DATABASE?");
    EXPECT_EQ(bytesOf(jetFile), original);
    EXPECT_FALSE(QFile::exists(jetFile + ".jet"));
  }
}

}  // namespace

namespace {

// The hosted account database is offered the same way when the building picker fills its list,
// once a showing however often the picker is activated.
class HostedJetTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    useProgramFolder("Corvane ASP/Tools");
    writeSetting("jox.usr", "USER7\r\n");
    accounts = file("JOXINIT.MDB");
    ASSERT_TRUE(QFile::copy(JET_TEST_DATA "/node-adodb.mdb", accounts));
    start();
    ui.answers.clear();  // hosted mode shows no warning to take the answer start() gave
    ui.onModal = [](QDialog& dialog) {
      for (int i = 0; i < 3; ++i) {
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&dialog, &activate);
      }
      return QDialog::Rejected;
    };
  }
  QString accounts;
};

TEST_F(HostedJetTest, TheAccountDatabaseIsConvertedOnYes) {
  ui.answers.push_back(Answer::Yes);
  form->Command2_Click();
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].title, "CONVERT DATABASE?");
  EXPECT_TRUE(ui.messages[0].text.contains("JOXINIT.MDB.jet"));
  // This Access file holds no building access table: the picker says so, once for the showing.
  EXPECT_EQ(ui.messages[1].title, "CANNOT CONTINUE");
  EXPECT_TRUE(ui.messages[1].text.startsWith("The buildings could not be read"))
      << ui.messages[1].text.toStdString();
  EXPECT_TRUE(QFile::exists(accounts + ".jet"));
  EXPECT_EQ(store::Database::open(accounts.toStdString()).tableNames(),
            std::vector<std::string>{"Users"});
}

TEST_F(HostedJetTest, NoIsAskedOnceAndTheListStaysEmpty) {
  ui.answers.push_back(Answer::No);
  form->Command2_Click();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_FALSE(QFile::exists(accounts + ".jet"));
}

}  // namespace
