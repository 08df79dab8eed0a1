// A database named when roomkit starts (from a file manager's "Open with"): after the backup
// warning it is loaded as if chosen in the file dialog, an Access file is offered for conversion
// first, and a file that cannot be loaded is refused as any chosen file is; hosted mode says that
// it does not use it.
#include <QFile>

#include "shell_fixture.h"

using namespace roomkit;

namespace {

class OpenAtStartTest : public ShellTest {
 protected:
  QStringList titles() const {
    QStringList shown;
    for (const Message& message : ui.messages) shown << message.title;
    return shown;
  }
};

TEST_F(OpenAtStartTest, TheFileIsOpenedAfterTheWarning) {
  struct Case {
    const char* name;
    QString file;
    std::vector<Answer> answers;  // after the warning
    QStringList titles;           // every box, the warning first
    bool loaded;
    const char* said;  // in the last box
  };
  const QString building = QString::fromStdString(makeSampleBuilding(file("JOX_A.MDB")));
  const QString jet = file("JOX_NODE.MDB");
  ASSERT_TRUE(QFile::copy(JET_TEST_DATA "/node-adodb.mdb", jet));
  testsupport::writeFile(file("JOX_TEXT.MDB").toStdString(), "Room Number, Room Name\r\n");
  const Case cases[] = {
      {"building", building, {}, {"WARNING"}, true, "Please be sure"},
      {"Access file declined",
       jet,
       {Answer::No},
       {"WARNING", "CONVERT DATABASE?"},
       false,
       "Convert it now?"},
      {"missing file",
       file("JOX_NONE.MDB"),
       {},
       {"WARNING", "CANNOT CONTINUE"},
       false,
       "no such file"},
      {"no database",
       file("JOX_TEXT.MDB"),
       {},
       {"WARNING", "CANNOT CONTINUE"},
       false,
       "not a database"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui.messages.clear();
    ui.answers.assign(c.answers.begin(), c.answers.end());
    ui.answers.push_front(Answer::Yes);
    form = std::make_unique<Form1>();
    form->openAtStart(c.file);
    form->show();
    form->Form_Activate();
    EXPECT_EQ(titles(), c.titles);
    EXPECT_TRUE(ui.lastText().contains(c.said)) << ui.lastText().toStdString();
    EXPECT_EQ(form->Combo1->isEnabled(), c.loaded);
    EXPECT_EQ(form->Text1->text(), c.file);
    form->Form_Activate();
    EXPECT_EQ(ui.messages.size(), static_cast<std::size_t>(c.titles.size())) << "opened once";
  }
}

TEST_F(OpenAtStartTest, NoToTheWarningOpensNothing) {
  const QString building = QString::fromStdString(makeSampleBuilding(file("JOX_A.MDB")));
  form = std::make_unique<Form1>();
  form->openAtStart(building);
  ui.answers.push_back(Answer::No);
  form->Form_Activate();
  EXPECT_TRUE(ui.ended);
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(form->Text1->text().isEmpty());
}

TEST_F(OpenAtStartTest, HostedModeSaysItDoesNotUseTheFile) {
  useProgramFolder("Corvane ASP/Tools");
  const QString building = QString::fromStdString(makeSampleBuilding(file("JOX_A.MDB")));
  form = std::make_unique<Form1>();
  form->openAtStart(building);
  form->Form_Activate();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_TRUE(ui.lastText().contains(building + " named at start is not opened"))
      << ui.lastText().toStdString();
  EXPECT_EQ(ui.messages[0].icon, Icon::Information);
  EXPECT_FALSE(form->Combo1->isEnabled());
}

}  // namespace
