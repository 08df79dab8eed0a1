// HoverIndex, BusyState and the buttons' places as the pointer moves, the timer ticks and the bar
// is repositioned.
#include "logic/bar.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "logic/magnify.h"

using namespace switchboard;

namespace {

struct RecordingView : Bar::View {
  std::vector<Look> shown;
  std::function<void()> duringFrame;
  int frames = 0;
  void showLook(const Look& look) override { shown.push_back(look); }
  void animationPause() override {
    ++frames;
    if (duringFrame) duringFrame();
  }
};

class BarTest : public ::testing::Test {
 protected:
  RecordingView view;
  Bar bar{view, homeLayout()};
  const Layout home = homeLayout();
};

TEST_F(BarTest, StartsIdleWithEverythingHome) {
  EXPECT_EQ(bar.HoverIndex(), -1);
  EXPECT_EQ(bar.BusyState(), "");
  EXPECT_EQ(bar.look().buttons, home);
  EXPECT_FALSE(bar.look().backdropVisible);
  EXPECT_FALSE(bar.look().captionVisible);
  EXPECT_EQ(bar.ButtonLabels()[2], "Global");
  EXPECT_EQ(bar.ButtonPrograms()[2], "tavin32.exe");
}

TEST_F(BarTest, MagnifyingShowsTheCaptionOverTheButton) {
  bar.pointerOver(3);
  EXPECT_EQ(view.frames, 6);
  EXPECT_EQ(bar.HoverIndex(), 3);
  EXPECT_EQ(bar.BusyState(), "");
  const Look& look = bar.look();
  EXPECT_EQ(look.buttons, magnifyFrames(home, 3).back());
  EXPECT_TRUE(look.backdropVisible);
  EXPECT_TRUE(look.captionVisible);
  EXPECT_EQ(look.captionText, "Inventory");
  EXPECT_DOUBLE_EQ(look.captionLeft, 1650 + 450 - 577.5);
  EXPECT_EQ(look.frontButton, 3);
  // While it grows the backdrop shows and the caption does not.
  EXPECT_TRUE(view.shown.front().backdropVisible);
  EXPECT_FALSE(view.shown.front().captionVisible);
}

TEST_F(BarTest, PointingAt3Then5ResetsFirst) {
  bar.pointerOver(3);
  view.shown.clear();
  bar.pointerOver(5);
  ASSERT_FALSE(view.shown.empty());
  EXPECT_EQ(view.shown.front().buttons, home) << "all buttons go home before 5 grows";
  const Layout& last = bar.look().buttons;
  for (int i = 0; i < kButtonCount; ++i) {
    if (i == 5) continue;
    EXPECT_EQ(last[i].left, home[i].left + (i < 5 ? -360 : 360)) << i;
  }
  EXPECT_EQ(bar.HoverIndex(), 5);
  EXPECT_EQ(bar.look().captionText, "Projects");
}

TEST_F(BarTest, PointingWithinTheMagnifiedButtonStartsNothing) {
  bar.pointerOver(3);
  const int frames = view.frames;
  bar.pointerOver(3);
  EXPECT_EQ(view.frames, frames);
}

TEST_F(BarTest, PointerMovesDuringTheAnimationAreIgnored) {
  view.duringFrame = [this] {
    EXPECT_EQ(bar.BusyState(), "WORKING");
    bar.pointerOver(6);
  };
  bar.pointerOver(1);
  EXPECT_EQ(view.frames, 6);
  EXPECT_EQ(bar.HoverIndex(), 1);
}

TEST_F(BarTest, LeavingDuringTheAnimationLeavesEverythingHome) {
  view.duringFrame = [this] {
    if (view.frames == 2) bar.timerTick(QPoint(10, -1), 4920);
  };
  bar.pointerOver(4);
  EXPECT_EQ(view.frames, 2) << "the remaining frames would grow a button nobody points at";
  EXPECT_EQ(bar.look().buttons, home);
  EXPECT_FALSE(bar.look().captionVisible);
  EXPECT_FALSE(bar.look().backdropVisible);
  EXPECT_EQ(bar.HoverIndex(), -1);
  EXPECT_EQ(bar.BusyState(), "");
}

TEST_F(BarTest, ResetKeepsHoverAndBusyState) {
  bar.pointerOver(7);
  bar.ResetButtons();
  EXPECT_EQ(bar.look().buttons, home);
  EXPECT_EQ(bar.HoverIndex(), 7);
  EXPECT_EQ(bar.BusyState(), "");
}

TEST_F(BarTest, RepositioningWaitsForTheMagnification) {
  bool refused = false;
  view.duringFrame = [&] { refused = refused || !bar.beginReposition(); };
  bar.pointerOver(0);
  EXPECT_TRUE(refused);
  ASSERT_TRUE(bar.beginReposition());
  EXPECT_EQ(bar.BusyState(), "NONO");
  const int frames = view.frames;
  bar.pointerOver(5);
  EXPECT_EQ(view.frames, frames) << "no magnification while the bar moves";
  EXPECT_FALSE(bar.beginReposition());
  bar.endReposition();
  EXPECT_EQ(bar.BusyState(), "");
}

}  // namespace
