// The bar window over the recording window system: start-up, docking, menu, settings at closing,
// launching and leaving.
#include "window/bar_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <memory>

#include "fake_window_system.h"

using namespace switchboard;

namespace {

class BarWindowTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  FakeWindowSystem ws;
  std::unique_ptr<BarWindow> bar;

  void SetUp() override { writeFile("jox.ini", "D:\\Suite\\,HQ\r\n"); }

  void writeFile(const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray settingsText() {
    QFile file(dir.filePath("switchboard.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
  }
  Paths paths() { return Paths{dir.path() + "/", dir.filePath("switchboard.ini")}; }

  bool load() {
    bar = std::make_unique<BarWindow>(ws, paths());
    return bar->Form_Load();
  }
  QAction* action(const char* name) { return bar->findChild<QAction*>(name); }
  QWidget* control(const QString& name) { return bar->findChild<QWidget*>(name); }
  // The pointer at this place of the client area, in pixels.
  void pointAt(QPoint client) { ws.cursor = client; }
};

TEST_F(BarWindowTest, StartsInTheOrderOfItsSteps) {
  writeFile("switchboard.ini", " 0 \r\n-1 \r\n");
  ASSERT_TRUE(load());
  EXPECT_EQ(ws.calls,
            (QStringList{"instance", "screen", "zorder", "colorkey", "region", "zorder"}));
  EXPECT_EQ(ws.zOrders, (std::vector<ZOrder>{ZOrder::TopMost, ZOrder::TopMost}));
  EXPECT_EQ(ws.colorKeys, std::vector<OleColor>{kPureGreen});
  EXPECT_EQ(ws.regions, std::vector<PixelRect>{(PixelRect{5, 16, 323, 146})});
  EXPECT_EQ(bar->SuiteFolder(), "D:\\Suite\\");
  EXPECT_EQ(bar->bar().HoverIndex(), -1);
  EXPECT_EQ(bar->bar().BusyState(), "");
}

struct PlaceCase {
  const char* settings;  // nullptr: no file
  QPoint place;          // pixels on a 15360 x 11520 twip screen
  std::array<bool, 3> ticked;
  bool onTop;
  const char* written;
};

class PlaceTest : public BarWindowTest, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(PlaceTest, SettingsPlaceTheBarTickTheMenuAndAreWrittenBack) {
  const PlaceCase& c = GetParam();
  if (c.settings) writeFile("switchboard.ini", c.settings);
  ASSERT_TRUE(load());
  EXPECT_EQ(bar->pos(), c.place);
  EXPECT_EQ(bar->size(), QSize(328, 151));
  EXPECT_EQ(bar->menuState().position, c.ticked);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(action(qPrintable(QString("POS_MENU(%1)").arg(i)))->isChecked(), c.ticked[i]);
  EXPECT_EQ(action("POPUP_ONTOP")->isChecked(), c.onTop);
  EXPECT_EQ(ws.zOrders.back(), c.onTop ? ZOrder::TopMost : ZOrder::NotTopMost);
  bar->POPUP_CLOSE_Click();
  EXPECT_EQ(settingsText(), QByteArray(c.written));
}

// Left 10 twips is 0.67 pixels; right 10430 is 695.33; centre 5220 is 348; top 8855 is 590.33.
INSTANTIATE_TEST_SUITE_P(
    Files, PlaceTest,
    ::testing::Values(
        PlaceCase{nullptr, {348, 590}, {false, true, false}, false, " 1 \r\n 0 \r\n"},
        PlaceCase{" 0 \r\n 0 \r\n", {1, 590}, {true, false, false}, false, " 0 \r\n 0 \r\n"},
        PlaceCase{" 2 \r\n-1 \r\n", {695, 590}, {false, false, true}, true, " 2 \r\n-1 \r\n"},
        PlaceCase{" 9 \r\n 0 \r\n", {348, 590}, {false, false, false}, false, " 3 \r\n 0 \r\n"},
        PlaceCase{" 2 \r\n 1 \r\n", {695, 590}, {false, false, true}, false, " 2 \r\n 0 \r\n"}));

TEST_F(BarWindowTest, KeepOnTopSurvivesARestart) {
  ASSERT_TRUE(load());
  EXPECT_FALSE(bar->menuState().onTop);
  bar->POPUP_ONTOP_Click();
  EXPECT_TRUE(action("POPUP_ONTOP")->isChecked());
  EXPECT_EQ(ws.zOrders.back(), ZOrder::TopMost);
  bar->POPUP_CLOSE_Click();
  EXPECT_EQ(settingsText(), QByteArray(" 1 \r\n-1 \r\n"));

  ws = FakeWindowSystem();
  ASSERT_TRUE(load());
  EXPECT_TRUE(bar->menuState().onTop);
  EXPECT_EQ(ws.zOrders.back(), ZOrder::TopMost);
  bar->POPUP_ONTOP_Click();
  EXPECT_EQ(ws.zOrders.back(), ZOrder::NotTopMost);
  EXPECT_FALSE(action("POPUP_ONTOP")->isChecked());
}

TEST_F(BarWindowTest, PositionItemsMoveTheBarAlongTheBottom) {
  ASSERT_TRUE(load());
  bar->move(bar->x(), 400);  // the top stays wherever it is
  action("POS_MENU(2)")->trigger();
  EXPECT_EQ(bar->pos(), QPoint(695, 400));
  EXPECT_EQ(bar->menuState().position, (std::array<bool, 3>{false, false, true}));
  action("POS_MENU(0)")->trigger();
  EXPECT_EQ(bar->pos(), QPoint(1, 400));
  EXPECT_TRUE(action("POS_MENU(0)")->isChecked());
  EXPECT_FALSE(action("POS_MENU(2)")->isChecked());
  EXPECT_EQ(bar->bar().BusyState(), "");
}

TEST_F(BarWindowTest, RightWhileMagnifyingDoesNothing) {
  ASSERT_TRUE(load());
  ws.onAnimationPause = [this] {
    if (ws.framesPaused == 3) action("POS_MENU(2)")->trigger();
  };
  bar->Image1_MouseMove(4);
  EXPECT_EQ(bar->pos(), QPoint(348, 590));
  EXPECT_EQ(bar->menuState().position, (std::array<bool, 3>{false, true, false}));
  EXPECT_FALSE(action("POS_MENU(2)")->isChecked()) << "the tick shows the place the bar holds";
  EXPECT_TRUE(action("POS_MENU(1)")->isChecked());
}

TEST_F(BarWindowTest, MenuItemsCarryTheirNamesAndCaptions) {
  ASSERT_TRUE(load());
  auto* popup = bar->findChild<QMenu*>("POPUP1");
  ASSERT_NE(popup, nullptr);
  const QList<QAction*> items = popup->actions();
  ASSERT_EQ(items.size(), 4);
  EXPECT_EQ(items[0]->text(), "Position");
  EXPECT_EQ(items[0]->menu()->objectName(), "POPUP_POSITION");
  const QList<QAction*> positions = items[0]->menu()->actions();
  ASSERT_EQ(positions.size(), 3);
  const char* captions[] = {"Left", "Center", "Right"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(positions[i]->text(), captions[i]);
    EXPECT_EQ(positions[i]->objectName(), QString("POS_MENU(%1)").arg(i));
  }
  EXPECT_EQ(items[1]->objectName(), "POPUP_ONTOP");
  EXPECT_EQ(items[1]->text(), "Keep on top");
  EXPECT_TRUE(items[2]->isSeparator());
  EXPECT_EQ(items[2]->objectName(), "DUM1");
  EXPECT_EQ(items[3]->objectName(), "POPUP_CLOSE");
  EXPECT_EQ(items[3]->text(), "Close toolbar");
}

TEST_F(BarWindowTest, SecondCopyEndsAtOnceAndKeepsTheSettings) {
  writeFile("switchboard.ini", " 2 \r\n-1 \r\n");
  ws.otherCopy = true;
  EXPECT_FALSE(load());
  EXPECT_EQ(ws.calls, QStringList{"instance"});
  bar->close();
  EXPECT_EQ(settingsText(), QByteArray(" 2 \r\n-1 \r\n"));
}

class NoFolderTest : public BarWindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(NoFolderTest, EndsTheProgramWithoutAMessage) {
  if (GetParam())
    writeFile("jox.ini", GetParam());
  else
    QFile::remove(dir.filePath("jox.ini"));
  EXPECT_FALSE(load());
  EXPECT_EQ(ws.calls, QStringList{"instance"});
  EXPECT_TRUE(ws.messages.isEmpty());
  bar->close();
  EXPECT_EQ(settingsText(), QByteArray("(none)"));
}

INSTANTIATE_TEST_SUITE_P(JoxIni, NoFolderTest,
                         ::testing::Values(nullptr, "", "\r\n", "  ,D:\\Suite\\\r\n"));

struct LaunchCase {
  const char* folder;
  int button;
  const char* path;
};

class LaunchTest : public BarWindowTest, public ::testing::WithParamInterface<LaunchCase> {};

TEST_P(LaunchTest, LeftReleaseStartsTheFolderFollowedByTheFile) {
  writeFile("jox.ini", QByteArray(GetParam().folder) + "\r\n");
  ASSERT_TRUE(load());
  bar->Image1_MouseMove(GetParam().button);
  bar->Image1_MouseUp(GetParam().button, Qt::LeftButton);
  EXPECT_EQ(ws.started, QStringList{GetParam().path});
  EXPECT_EQ(bar->bar().look().buttons, homeLayout()) << "the launch resets first";
  EXPECT_FALSE(bar->bar().look().captionVisible);
}

INSTANTIATE_TEST_SUITE_P(Folders, LaunchTest,
                         ::testing::Values(LaunchCase{"D:\\Suite\\", 2, "D:\\Suite\\tavin32.exe"},
                                           LaunchCase{"D:\\Suite", 2, "D:\\Suitetavin32.exe"},
                                           LaunchCase{"/opt/suite/", 0, "/opt/suite/palu32.exe"},
                                           LaunchCase{"/opt/suite/", 7,
                                                      "/opt/suite/dastel32.exe"}));

TEST_F(BarWindowTest, EveryClickStartsAnotherCopy) {
  ASSERT_TRUE(load());
  bar->Image1_MouseUp(5, Qt::LeftButton);
  bar->Image1_MouseUp(5, Qt::LeftButton);
  EXPECT_EQ(ws.started, (QStringList{"D:\\Suite\\runel32.exe", "D:\\Suite\\runel32.exe"}));
  EXPECT_TRUE(ws.messages.isEmpty());
}

TEST_F(BarWindowTest, OtherButtonsOpenTheMenuAndStartNothing) {
  ASSERT_TRUE(load());
  bar->Image1_MouseMove(3);
  bar->Image1_MouseUp(3, Qt::RightButton);
  bar->Image1_MouseUp(3, Qt::MiddleButton);
  EXPECT_EQ(ws.menusOpened, 2);
  EXPECT_TRUE(ws.started.isEmpty());
  EXPECT_EQ(bar->bar().HoverIndex(), 3) << "the magnification stays";
}

TEST_F(BarWindowTest, FailedLaunchIsReportedAndTheBarGoesOn) {
  ASSERT_TRUE(load());
  ws.startAnswer = {false, "the file does not exist"};
  bar->Image1_MouseUp(1, Qt::LeftButton);
  ASSERT_EQ(ws.messages.size(), 1);
  EXPECT_TRUE(ws.messages[0].contains("D:\\Suite\\mirek32.exe")) << ws.messages[0].toStdString();
  EXPECT_TRUE(ws.messages[0].contains("the file does not exist"));

  // Still running: it magnifies, launches and closes as before.
  bar->Image1_MouseMove(6);
  EXPECT_EQ(bar->bar().HoverIndex(), 6);
  ws.startAnswer = {true, QString()};
  bar->Image1_MouseUp(6, Qt::LeftButton);
  EXPECT_EQ(ws.started.size(), 2);
  EXPECT_EQ(ws.messages.size(), 1);
  bar->POPUP_CLOSE_Click();
  EXPECT_EQ(settingsText(), QByteArray(" 1 \r\n 0 \r\n"));
}

// While a launch lets events run or shows its failure, the event loop delivers a second release
// (a double click), pointer moves and timer ticks: the release starts nothing inside the first
// launch, and the others do what they always do, once each.
TEST_F(BarWindowTest, EventsDuringALaunchAndItsFailureBoxRunOnce) {
  ASSERT_TRUE(load());
  bar->Image1_MouseMove(2);
  ws.startAnswer = {false, "the file does not exist"};
  int ticks = 0;
  auto meanwhile = [&] {
    ws.onLetEventsRun = nullptr;
    bar->Image1_MouseUp(4, Qt::LeftButton);
    pointAt({50, -3});  // the pointer has gone up to the box
    bar->Timer1_Timer();
    ++ticks;
  };
  ws.onLetEventsRun = meanwhile;
  ws.onMessage = [&] { meanwhile(); };
  bar->Image1_MouseUp(2, Qt::LeftButton);
  EXPECT_EQ(ws.started, QStringList{"D:\\Suite\\tavin32.exe"});
  EXPECT_EQ(ws.messages.size(), 1);
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(bar->bar().HoverIndex(), -1) << "the tick saw the pointer leave";
  EXPECT_EQ(bar->bar().look().buttons, homeLayout());

  // After the box the bar launches again.
  ws.onMessage = nullptr;
  ws.startAnswer = {true, QString()};
  bar->Image1_MouseUp(4, Qt::LeftButton);
  EXPECT_EQ(ws.started.size(), 2);
}

struct PointingCase {
  int button;
  const char* caption;
  int shiftBelow;
  int shiftAbove;
};

class PointingTest : public BarWindowTest, public ::testing::WithParamInterface<PointingCase> {};

TEST_P(PointingTest, ControlsFollowTheMagnification) {
  ASSERT_TRUE(load());
  const int i = GetParam().button;
  bar->Image1_MouseMove(i);
  const QWidget* grown = control(QString("Image1(%1)").arg(i));
  ASSERT_NE(grown, nullptr);
  const int homeLeft = 32 + 32 * i;  // 480 + 480 i twips
  EXPECT_EQ(grown->geometry(), QRect(homeLeft - 18, 60, 60, 60));
  for (int other = 0; other < 8; ++other) {
    if (other == i) continue;
    const int shift = (other < i ? GetParam().shiftBelow : GetParam().shiftAbove) / 15;
    EXPECT_EQ(control(QString("Image1(%1)").arg(other))->geometry(),
              QRect(32 + 32 * other + shift, 96, 24, 24))
        << other;
  }
  auto* label = bar->findChild<QLabel*>("Label2");
  EXPECT_FALSE(label->isHidden());
  EXPECT_EQ(label->text(), GetParam().caption);
  EXPECT_NEAR(label->x() + label->width() / 2.0, grown->x() + grown->width() / 2.0, 1);
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(64, 64, 64));
  EXPECT_EQ(label->font().family(), "Arial");
  EXPECT_FALSE(control("Image2")->isHidden());
}

INSTANTIATE_TEST_SUITE_P(Buttons, PointingTest,
                         ::testing::Values(PointingCase{0, "About Box", 0, 360},
                                           PointingCase{3, "Inventory", -360, 360},
                                           PointingCase{7, "Schedules", -360, 0}));

struct WindowLeaveCase {
  QPoint client;
  bool resets;
};

class WindowLeaveTest : public BarWindowTest,
                        public ::testing::WithParamInterface<WindowLeaveCase> {};

TEST_P(WindowLeaveTest, TimerResetsOnlyWhenThePointerLeftAboveLeftOrRight) {
  ASSERT_TRUE(load());
  ws.clientOrigin = QPoint(400, 500);
  bar->Image1_MouseMove(2);
  ws.cursor = ws.clientOrigin + GetParam().client;
  bar->Timer1_Timer();
  EXPECT_EQ(bar->bar().HoverIndex(), GetParam().resets ? -1 : 2);
  EXPECT_EQ(control("Image2")->isHidden(), GetParam().resets);
  EXPECT_EQ(control("Label2")->isHidden(), GetParam().resets);
  EXPECT_EQ(control("Image1(2)")->width(), GetParam().resets ? 24 : 60);
}

INSTANTIATE_TEST_SUITE_P(Pointers, WindowLeaveTest,
                         ::testing::Values(WindowLeaveCase{{50, -3}, true},
                                           WindowLeaveCase{{-3, 50}, true},
                                           WindowLeaveCase{{340, 50}, true},
                                           WindowLeaveCase{{50, 140}, false},  // out of the bottom
                                           WindowLeaveCase{{50, 400}, false},
                                           WindowLeaveCase{{100, 100}, false}));

}  // namespace
