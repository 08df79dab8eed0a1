// roomkit's settings files live in the program folder when the user may write there, and in the
// user's configuration folder when not; everything else it reads stays in the program folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <memory>

#include "kit/program.h"
#include "shell/form1.h"
#include "support/nobody.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

using namespace roomkit;
namespace fs = std::filesystem;

namespace {

struct Place {
  const char* name;
  bool programFolderWritable;
};

std::string toString(const QString& text) { return text.toStdString(); }

class SettingsPlaceTest : public ::testing::TestWithParam<Place> {
 protected:
  testsupport::TempDir dir;
  fs::path app = dir.path() / "app";
  fs::path config = dir.path() / "home" / "config";

  void SetUp() override {
    program() = ProgramValues{};
    fs::create_directories(app);
    testsupport::makeFolder(config.parent_path(), true);
    program().programFolder = QString::fromStdString(app.string());
    program().configFolder = QString::fromStdString(config.string());
  }
  void TearDown() override {
    program() = ProgramValues{};
    // Read-only folders would keep their files from being removed.
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
      if (entry.is_directory()) fs::permissions(entry.path(), fs::perms(0755));
    }
  }

  // Gives the program folder the rights of the case under test.
  void settleProgramFolder(const fs::path& folder) {
    testsupport::makeFolder(folder, GetParam().programFolderWritable);
  }

  // Where the settings belong, and the other folder, which must stay as it was.
  fs::path settingsHome() const { return GetParam().programFolderWritable ? app : config; }
  fs::path otherFolder() const { return GetParam().programFolderWritable ? config : app; }

  // Whether this user's rights give the case under test; the tests skip, saying so, when not.
  bool caseHolds(const fs::path& folder) const {
    return testsupport::userMayWrite(folder) == GetParam().programFolderWritable;
  }
};

#define REQUIRE_CASE(folder)                                                    \
  if (!caseHolds(folder))                                                       \
  GTEST_SKIP() << "the program folder cannot be made "                          \
               << (GetParam().programFolderWritable ? "writable" : "read-only") \
               << " for this user here (as root, switching to the user nobody failed)"

TEST_P(SettingsPlaceTest, SettingsFilesFollowTheProgramFolderAndTheRestStays) {
  settleProgramFolder(app);
  testsupport::RunAsNobody nobody;
  REQUIRE_CASE(app);
  EXPECT_EQ(toString(programFile("lastdir.ini")), (settingsHome() / "lastdir.ini").string());
  EXPECT_EQ(toString(programFile("lastopt.ini")), (settingsHome() / "lastopt.ini").string());
  EXPECT_EQ(toString(settingsFolder()), settingsHome().string());
  for (const char* name : {"jox.usr", "JOXINIT.MDB"}) {
    EXPECT_EQ(toString(programFile(name)), (app / name).string()) << name;
  }
  EXPECT_EQ(fs::exists(config), !GetParam().programFolderWritable)
      << "the configuration folder is made only when it is used";
  EXPECT_TRUE(testsupport::userMayWrite(settingsHome()));
}

TEST_P(SettingsPlaceTest, HostedModeStillFollowsTheProgramFolder) {
  const fs::path hosted = dir.path() / "Corvane ASP" / "Tools";
  testsupport::makeFolder(hosted.parent_path(), true);
  settleProgramFolder(hosted);
  program().programFolder = QString::fromStdString(hosted.string());
  testsupport::RunAsNobody nobody;
  REQUIRE_CASE(hosted);
  EXPECT_TRUE(isHostedFolder(programFolder()));
  EXPECT_EQ(toString(programFile("jox.usr")), (hosted / "jox.usr").string());
  EXPECT_EQ(toString(programFile("JOXINIT.MDB")), (hosted / "JOXINIT.MDB").string());
}

TEST_P(SettingsPlaceTest, TheMainWindowReadsAndWritesThemThere) {
  // A decoy in the other folder, written before the switch: it must be neither read nor changed.
  testsupport::makeFolder(config, true);
  testsupport::writeFile((otherFolder() / "lastdir.ini").string(), "/decoy\r\n");
  testsupport::writeFile((otherFolder() / "lastopt.ini").string(), "6\r\n");
  settleProgramFolder(app);
  testsupport::RunAsNobody nobody;
  REQUIRE_CASE(app);
  testsupport::writeFile((settingsHome() / "lastdir.ini").string(), "/old\r\n");
  testsupport::writeFile((settingsHome() / "lastopt.ini").string(), "4\r\n");

  testsupport::ScriptedUi ui;
  ui.answers.push_back(Answer::Yes);
  auto form = std::make_unique<Form1>();
  form->show();
  form->Form_Activate();
  EXPECT_EQ(form->LastDirectory, "/old");
  EXPECT_EQ(form->LastFunctionIndex, 4);

  form->Text1->setText("/data/JOX_MAIN.MDB");
  form->Combo1->setCurrentIndex(2);
  form->close();
  EXPECT_EQ(testsupport::readFile((settingsHome() / "lastdir.ini").string()), "/data\r\n");
  EXPECT_EQ(testsupport::readFile((settingsHome() / "lastopt.ini").string()), "2\r\n");
  EXPECT_EQ(testsupport::readFile((otherFolder() / "lastdir.ini").string()), "/decoy\r\n");
  EXPECT_EQ(testsupport::readFile((otherFolder() / "lastopt.ini").string()), "6\r\n");
}

INSTANTIATE_TEST_SUITE_P(Folders, SettingsPlaceTest,
                         ::testing::Values(Place{"WritableProgramFolder", true},
                                           Place{"ReadOnlyProgramFolder", false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
