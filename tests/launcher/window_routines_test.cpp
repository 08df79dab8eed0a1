// The bar's window routines over the window system: z-order, top-level window, colours, shape.
#include "logic/window_routines.h"

#include <gtest/gtest.h>

#include "fake_window_system.h"

using namespace switchboard;

namespace {

struct TopMostCase {
  int on;
  ZOrder order;
};

class SetTopMostTest : public ::testing::TestWithParam<TopMostCase> {};

TEST_P(SetTopMostTest, TrueFalseOrTopOfTheBand) {
  FakeWindowSystem ws;
  SetTopMost(ws, 1, GetParam().on);
  ASSERT_EQ(ws.zOrders.size(), 1u);
  EXPECT_EQ(ws.zOrders[0], GetParam().order);
}

INSTANTIATE_TEST_SUITE_P(Values, SetTopMostTest,
                         ::testing::Values(TopMostCase{-1, ZOrder::TopMost},
                                           TopMostCase{0, ZOrder::NotTopMost},
                                           TopMostCase{1, ZOrder::Top},
                                           TopMostCase{2, ZOrder::Top}));

// Windows 1 (the bar) <- 2 <- 3 <- 4: each number's parent is the next one.
struct ChainCase {
  std::set<WindowHandle> visible;
  WindowHandle top;
};

class TopLevelWindowTest : public ::testing::TestWithParam<ChainCase> {};

TEST_P(TopLevelWindowTest, ClimbsWhileTheParentIsVisible) {
  FakeWindowSystem ws;
  ws.parents = {{1, 2}, {2, 3}, {3, 4}};
  ws.visible = GetParam().visible;
  EXPECT_EQ(TopLevelWindow(ws, 1), GetParam().top);
}

INSTANTIATE_TEST_SUITE_P(Chains, TopLevelWindowTest,
                         ::testing::Values(ChainCase{{}, 1}, ChainCase{{1}, 1},
                                           ChainCase{{1, 3, 4}, 1},  // hidden parent stops at once
                                           ChainCase{{2}, 2}, ChainCase{{2, 4}, 2},
                                           ChainCase{{2, 3, 4}, 4}));

TEST(TopLevelAloneTest, WindowWithoutParentIsItsOwnTop) {
  FakeWindowSystem ws;
  EXPECT_EQ(TopLevelWindow(ws, 7), 7u);
}

TEST(ResolveColorTest, SystemColourReferencesAreLookedUp) {
  FakeWindowSystem ws;
  ws.systemColors = {{15, 0x00C0C0C0}, {0, 0x00112233}};
  EXPECT_EQ(ResolveColor(ws, 0x8000000F), 0x00C0C0C0u);
  EXPECT_EQ(ResolveColor(ws, 0x80000000), 0x00112233u);
  EXPECT_EQ(ResolveColor(ws, kPureGreen), kPureGreen);
  EXPECT_EQ(ResolveColor(ws, 0x7FFFFFFF), 0x7FFFFFFFu);
}

TEST(SetColorKeyTest, KeysTheTopLevelWindowWithTheResolvedColour) {
  FakeWindowSystem ws;
  ws.parents = {{1, 2}};
  ws.visible = {2};
  ws.systemColors = {{5, 0x00FFFFFF}};
  EXPECT_TRUE(SetColorKey(ws, 1, 0x80000005));
  ASSERT_EQ(ws.colorKeyWindows.size(), 1u);
  EXPECT_EQ(ws.colorKeyWindows[0], 2u);
  EXPECT_EQ(ws.colorKeys[0], 0x00FFFFFFu);
  ws.colorKeyTakes = false;
  EXPECT_FALSE(SetColorKey(ws, 1, kPureGreen));
}

TEST(ShapeWindowTest, KeysFirstThenCutsEvenWhenTheKeyFails) {
  for (const bool takes : {true, false}) {
    FakeWindowSystem ws;
    ws.colorKeyTakes = takes;
    ShapeWindow(ws, 1, kPureGreen, {4920, 2265, 4770, 1950});
    EXPECT_EQ(ws.calls, (QStringList{"colorkey", "region"}));
    EXPECT_EQ(ws.colorKeys, std::vector<OleColor>{kPureGreen});
    EXPECT_EQ(ws.regions, std::vector<PixelRect>{(PixelRect{5, 16, 323, 146})});
  }
}

}  // namespace
