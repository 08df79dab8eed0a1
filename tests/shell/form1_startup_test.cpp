// Start-up, the backup warning, the settings files and closing.
#include <QTest>

#include "shell_fixture.h"
#include "tools/change_room_number_panel.h"

using namespace roomkit;

namespace {

struct Folder {
  const char* path;
  bool hosted;
};

class ModeTest : public ::testing::TestWithParam<Folder> {};

TEST_P(ModeTest, HostedWhenTheFolderLiesInsideCorvaneAsp) {
  EXPECT_EQ(isHostedFolder(GetParam().path), GetParam().hosted) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Folders, ModeTest,
                         ::testing::Values(Folder{"C:\\Apps\\Corvane ASP\\Tools", true},
                                           Folder{"c:\\apps\\CORVANE asp\\tools", true},
                                           Folder{"C:\\Apps\\Corvane ASP", false},
                                           Folder{"/srv/Corvane ASP/Tools", true},
                                           Folder{"/srv/Corvane ASP", false},
                                           Folder{"/srv/Corvane ASPX/Tools", false},
                                           Folder{"/home/user/roomkit", false}));

TEST(DataRootTest, LiesBesideTheCorvaneAspFolder) {
  EXPECT_EQ(hostedDataRoot("/srv/Corvane ASP/Tools/bin"),
            "/srv/Corvane ASP/User Accounts/HQ_DATA/");
}

TEST_F(ShellTest, WithoutSettingsDesktopStartsEmptyAndWarns) {
  form = std::make_unique<Form1>();
  EXPECT_TRUE(ui.busy) << "the hourglass lasts until the first activation";
  EXPECT_EQ(form->Combo1->count(), 8);
  EXPECT_EQ(form->Combo1->itemText(7), "Change Sort Fields");
  EXPECT_EQ(form->Combo1->currentIndex(), -1);
  EXPECT_FALSE(form->Combo1->isEnabled());
  EXPECT_EQ(form->Text1->text(), "");
  EXPECT_EQ(form->LastFunctionIndex, -1);
  form->show();
  EXPECT_TRUE(form->Text1->isVisible());
  EXPECT_FALSE(form->Text9->isVisible());

  ui.answers.push_back(Answer::Yes);
  form->Form_Activate();
  ASSERT_EQ(ui.messages.size(), 1u);
  const Message& warning = ui.messages[0];
  EXPECT_EQ(warning.title, "WARNING");
  EXPECT_EQ(warning.text,
            "Please be sure to backup any database you plan to modify with this program, as it "
            "will perform irreversible changes.\r\nDo you wish to continue?");
  EXPECT_EQ(warning.buttons, Buttons::YesNo);
  EXPECT_EQ(warning.defaultButton, Answer::No);
  EXPECT_EQ(warning.icon, Icon::Exclamation);
  EXPECT_FALSE(ui.busy);
  EXPECT_FALSE(ui.ended);

  form->Form_Activate();
  EXPECT_EQ(ui.messages.size(), 1u) << "the warning shows once a run";
}

TEST_F(ShellTest, NoToTheWarningEndsAtOnceAndWritesNothing) {
  writeSetting("lastdir.ini", "C:\\OLD\r\n");
  writeSetting("lastopt.ini", "3\r\n");
  form = std::make_unique<Form1>();
  form->show();
  form->Text1->setText("C:\\DATA\\JOX_MAIN.MDB");
  form->Combo1->setCurrentIndex(2);
  ui.answers.push_back(Answer::No);
  form->Form_Activate();
  EXPECT_TRUE(ui.ended);
  form->close();
  EXPECT_EQ(testsupport::readFile(file("lastdir.ini").toStdString()), "C:\\OLD\r\n");
  EXPECT_EQ(testsupport::readFile(file("lastopt.ini").toStdString()), "3\r\n");
}

TEST_F(ShellTest, HostedModeReadsTheUserAndNeverWarns) {
  useProgramFolder("Corvane ASP/Tools");
  writeSetting("jox.usr", "  USER7 , x\r\n");
  writeSetting("lastdir.ini", "C:\\IGNORED\r\n");
  form = std::make_unique<Form1>();
  form->show();
  form->Form_Activate();
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_FALSE(form->Text1->isVisible());
  EXPECT_FALSE(form->Text1->isEnabled());
  EXPECT_TRUE(form->Text9->isVisible());
  EXPECT_EQ(program().CurrentUserID, "USER7");
  EXPECT_EQ(program().DataRootPath,
            programDir.left(programDir.size() - 6) + "/User Accounts/HQ_DATA/");
  EXPECT_EQ(form->LastDirectory, "") << "lastdir.ini is read in desktop mode only";
}

struct Closing {
  const char* path;
  const char* lastdirBefore;  // nullptr: no file
  const char* lastdirAfter;   // nullptr: no file
};

class ClosingTest : public ShellTest, public ::testing::WithParamInterface<Closing> {};

TEST_P(ClosingTest, WritesTheFolderOfTheDatabase) {
  if (GetParam().lastdirBefore) writeSetting("lastdir.ini", GetParam().lastdirBefore);
  start();
  form->Text1->setText(GetParam().path);
  form->close();
  const std::string path = file("lastdir.ini").toStdString();
  if (GetParam().lastdirAfter) {
    EXPECT_EQ(testsupport::readFile(path), GetParam().lastdirAfter);
  } else {
    EXPECT_FALSE(std::filesystem::exists(path));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ClosingTest,
    ::testing::Values(Closing{"C:\\DATA\\JOX_MAIN.MDB", nullptr, "C:\\DATA\r\n"},
                      Closing{"/srv/data/jox_main.mdb", "old\r\n", "/srv/data\r\n"},
                      Closing{"   ", "C:\\OLD\r\n", "C:\\OLD\r\n"}, Closing{"", nullptr, nullptr},
                      Closing{"C:\\DATA\\MAIN.MDB", "C:\\READ\r\n", "C:\\READ\r\n"},
                      Closing{"JOX_MAIN.MDB", "C:\\READ\r\n", "C:\\READ\r\n"}));

TEST_F(ShellTest, ClosingWritesTheSelectedFunctionOnly) {
  start();
  form->close();
  EXPECT_FALSE(std::filesystem::exists(file("lastopt.ini").toStdString()));
  form.reset();
  start();
  form->Combo1->setCurrentIndex(5);
  form->close();
  EXPECT_EQ(testsupport::readFile(file("lastopt.ini").toStdString()), "5\r\n");
}

TEST_F(ShellTest, PathBoxUpperCasesAndSelectsAllOnFocus) {
  start();
  QTest::keyClicks(form->Text1, "c:\\data");
  EXPECT_EQ(form->Text1->text(), "C:\\DATA");
  QTest::keyClick(form->Text1, Qt::Key_Backspace);
  EXPECT_EQ(form->Text1->text(), "C:\\DAT");
  form->Frame1->Text2->setFocus();
  form->Text1->setFocus();
  EXPECT_EQ(form->Text1->selectedText(), "C:\\DAT");
}

}  // namespace
