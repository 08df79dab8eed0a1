// "switchboard.ini" lies in the program folder when the user may write there, and in the user's
// configuration folder when not.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>

#include "logic/settings_file.h"
#include "support/nobody.h"

using namespace switchboard;
namespace fs = std::filesystem;

namespace {

struct Place {
  const char* name;
  bool programFolderWritable;
};

class SettingsLocationTest : public ::testing::TestWithParam<Place> {
 protected:
  QTemporaryDir dir;
  fs::path app = fs::path(dir.path().toStdString()) / "app";
  fs::path config = fs::path(dir.path().toStdString()) / "home" / "config";

  void TearDown() override {
    for (const auto& entry : fs::recursive_directory_iterator(dir.path().toStdString())) {
      if (entry.is_directory()) fs::permissions(entry.path(), fs::perms(0755));
    }
  }
};

TEST_P(SettingsLocationTest, TheChosenPlaceKeepsTheSettings) {
  const bool writable = GetParam().programFolderWritable;
  testsupport::makeFolder(app, writable);
  testsupport::makeFolder(config.parent_path(), true);
  testsupport::RunAsNobody nobody;
  if (testsupport::userMayWrite(app) != writable) {
    GTEST_SKIP() << "the program folder cannot be made " << (writable ? "writable" : "read-only")
                 << " for this user here (as root, switching to the user nobody failed)";
  }
  const QString path = settingsPathFor(QString::fromStdString(app.string()),
                                       QString::fromStdString(config.string()));
  EXPECT_EQ(path.toStdString(), ((writable ? app : config) / "switchboard.ini").string());
  EXPECT_EQ(fs::exists(config), !writable) << "the configuration folder is made only when used";

  ASSERT_TRUE(writeSettings(path, {2, -1}));
  EXPECT_EQ(readSettings(path), (Settings{2, -1}));
  EXPECT_EQ(readSettings(settingsPathFor(QString::fromStdString(app.string()),
                                         QString::fromStdString(config.string()))),
            (Settings{2, -1}))
      << "the next start finds them in the same place";
}

INSTANTIATE_TEST_SUITE_P(Folders, SettingsLocationTest,
                         ::testing::Values(Place{"WritableProgramFolder", true},
                                           Place{"ReadOnlyProgramFolder", false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
