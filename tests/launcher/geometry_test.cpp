// The bar's arithmetic: docking places, program paths, the six magnification steps and the
// client region that the window is cut down to.
#include <gtest/gtest.h>

#include "logic/docking.h"
#include "logic/layout.h"
#include "logic/magnify.h"
#include "logic/window_routines.h"

using namespace switchboard;

namespace {

struct DockCase {
  int position;
  double left;
};

class DockTest : public ::testing::TestWithParam<DockCase> {};

TEST_P(DockTest, LeftOnAScreenOf15360Twips) {
  EXPECT_DOUBLE_EQ(dockLeft(GetParam().position, 15360, 4920), GetParam().left);
}

INSTANTIATE_TEST_SUITE_P(Positions, DockTest,
                         ::testing::Values(DockCase{0, 10}, DockCase{1, 5220}, DockCase{2, 10430},
                                           DockCase{3, 5220}, DockCase{-1, 5220},
                                           DockCase{99, 5220}));

TEST(DockTopTest, BarSits400AboveTheBottom) {
  EXPECT_DOUBLE_EQ(dockTop(11520, 2265), 8855);
  EXPECT_EQ(kWindowWidth, 4920);
  EXPECT_EQ(kWindowHeight, 2265);
}

TEST(ProgramPathTest, FolderIsFollowedDirectlyByTheFile) {
  EXPECT_EQ(programPath("D:\\Suite\\", 2), "D:\\Suite\\tavin32.exe");
  EXPECT_EQ(programPath("D:\\Suite", 2), "D:\\Suitetavin32.exe");
  EXPECT_EQ(programPath("/opt/suite/", 7), "/opt/suite/dastel32.exe");
}

TEST(MagnifyStepsTest, OddStepsGrowEvenStepsLiftAndEveryStepShifts60) {
  const auto frames = magnifyFrames(homeLayout(), 3);
  const TwipRect expected[] = {{1440, 1920, 540, 540}, {1260, 1830, 540, 540},
                               {1260, 1830, 720, 720}, {1080, 1740, 720, 720},
                               {1080, 1740, 900, 900}, {900, 1650, 900, 900}};
  for (int step = 0; step < kMagnifySteps; ++step) {
    EXPECT_EQ(frames[step][3], expected[step]) << step;
    EXPECT_EQ(frames[step][2].left, 1440 - 60 * (step + 1));
    EXPECT_EQ(frames[step][4].left, 2400 + 60 * (step + 1));
  }
  // The bottom edge and the horizontal centre stay where they were.
  const TwipRect& grown = frames.back()[3];
  EXPECT_EQ(grown.top + grown.height, 1440 + 360);
  EXPECT_EQ(grown.left + grown.width / 2, 1920 + 180);
}

TEST(CaptionTest, CentredOverTheMagnifiedButton) {
  EXPECT_DOUBLE_EQ(captionLeft({900, 1650, 900, 900}), 1650 + 450 - 577.5);
}

struct RegionCase {
  WindowSizes sizes;
  PixelRect expected;
};

class ClientRegionTest : public ::testing::TestWithParam<RegionCase> {};

TEST_P(ClientRegionTest, CutsAwayBorderAndTitle) {
  EXPECT_EQ(clientRegion(GetParam().sizes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ClientRegionTest,
                         ::testing::Values(
                             // The bar as laid out: border 75, title 240.
                             RegionCase{{4920, 2265, 4770, 1950}, {5, 16, 323, 146}},
                             // No frame at all.
                             RegionCase{{4770, 1950, 4770, 1950}, {0, 0, 318, 130}},
                             // Border 36.5 twips: x1 = 2.5 pixels rounds to the even 2.
                             RegionCase{{4843, 2026, 4770, 1950}, {2, 3, 320, 133}}));

}  // namespace
