// How a module program is started, and the single running copy.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <set>

#include "logic/launch_plan.h"
#include "window/qt_window_system.h"

using namespace switchboard;

namespace {

struct Host {
  bool windows = false;
  const char* wine = "";
};

struct PlanCase {
  const char* path;
  Host host;
  bool ok;
  const char* program;  // or the reason when not ok
  QStringList arguments;
};

class PlanLaunchTest : public ::testing::TestWithParam<PlanCase> {};

// Folders /suite and /bin exist; /suite holds tavin32.exe and the script tool.sh, which alone
// may be run; /bin holds wine.
LaunchHost hostFor(const Host& h) {
  static const std::set<QString> files = {"/suite/tavin32.exe", "/suite/tool.sh",
                                          "/suite/notes.txt", "/bin/wine"};
  LaunchHost host;
  host.runsWindowsPrograms = h.windows;
  host.wine = QString::fromLatin1(h.wine);
  host.isFolder = [](const QString& p) { return p == "/suite" || p == "/bin"; };
  host.isFile = [](const QString& p) { return files.count(p) > 0; };
  host.isExecutable = [](const QString& p) { return p == "/suite/tool.sh" || p == "/bin/wine"; };
  return host;
}

TEST_P(PlanLaunchTest, StartsTheFileOrSaysWhyNot) {
  const PlanCase& c = GetParam();
  const LaunchPlan plan = planLaunch(c.path, hostFor(c.host));
  EXPECT_EQ(plan.ok, c.ok) << c.path;
  if (c.ok) {
    EXPECT_EQ(plan.program, c.program);
    EXPECT_EQ(plan.arguments, c.arguments);
    EXPECT_EQ(plan.workingFolder, "/suite");
  } else {
    EXPECT_EQ(plan.reason, c.program);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PlanLaunchTest,
    ::testing::Values(
        PlanCase{
            "/suite/tavin32.exe", {false, "/bin/wine"}, true, "/bin/wine", {"/suite/tavin32.exe"}},
        PlanCase{"/suite/tavin32.exe", {true, ""}, true, "/suite/tavin32.exe", {}},
        PlanCase{"/suite/tavin32.exe",
                 {false, ""},
                 false,
                 "it is a Windows program and Wine is not installed",
                 {}},
        PlanCase{"/suite/tool.sh", {false, ""}, true, "/suite/tool.sh", {}},
        PlanCase{"/suite/notes.txt", {false, "/bin/wine"}, false, "the file is not a program", {}},
        PlanCase{"/suite/mirek32.exe", {false, "/bin/wine"}, false, "the file does not exist", {}},
        PlanCase{"/suitetavin32.exe", {false, "/bin/wine"}, false, "its folder does not exist", {}},
        PlanCase{"/gone/tavin32.exe", {true, ""}, false, "its folder does not exist", {}},
        PlanCase{"", {true, ""}, false, "its folder does not exist", {}}));

TEST(LaunchFailureTextTest, NamesThePathAndTheReason) {
  EXPECT_EQ(launchFailureText("D:\\Suite\\palu32.exe", "the file does not exist"),
            "The program \"D:\\Suite\\palu32.exe\" cannot be started: the file does not exist.");
}

TEST(QtStartProgramTest, MissingProgramIsNotStarted) {
  QTemporaryDir dir;
  QtWindowSystem ws(dir.filePath("switchboard.lock"));
  const StartResult result = ws.startProgram(dir.filePath("palu32.exe"));
  EXPECT_FALSE(result.started);
  EXPECT_EQ(result.reason, "the file does not exist");
}

TEST(SingleCopyTest, SecondCopyFindsTheFirstUntilItEnds) {
  QTemporaryDir dir;
  const QString lock = dir.filePath("switchboard.lock");
  auto first = std::make_unique<QtWindowSystem>(lock);
  EXPECT_FALSE(first->anotherInstanceRunning());
  EXPECT_FALSE(first->anotherInstanceRunning()) << "the first copy keeps its own claim";
  {
    QtWindowSystem second(lock);
    EXPECT_TRUE(second.anotherInstanceRunning());
  }
  first.reset();
  QtWindowSystem third(lock);
  EXPECT_FALSE(third.anotherInstanceRunning());
}

TEST(SingleCopyTest, LeftoverLockOfAnEndedCopyDoesNotCount) {
  QTemporaryDir dir;
  const QString lock = dir.filePath("switchboard.lock");
  {
    QFile file(lock);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("999999999\nswitchboard\n\n");  // a process of this machine that has ended
  }
  QtWindowSystem ws(lock);
  EXPECT_FALSE(ws.anotherInstanceRunning());
}

}  // namespace
