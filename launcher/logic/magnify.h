// The geometry of magnifying a button: six steps that grow it to 900 x 900 about its bottom
// centre while its neighbours move 360 aside, the caption's place, and when the pointer has left.
#pragma once

#include <QPoint>
#include <array>

#include "logic/layout.h"

namespace switchboard {

constexpr int kMagnifySteps = 6;
constexpr int kGrowStep = 180;
constexpr int kNeighbourShift = 2 * kGrowStep / kMagnifySteps;  // 60 per step, 360 in all

// The layout after each step of magnifying button `index`, starting from `start`.
std::array<Layout, kMagnifySteps> magnifyFrames(const Layout& start, int index);

// Label2's left edge, centred over the button.
double captionLeft(const TwipRect& button);

// True when a pointer at this client position (pixels) is above, left of or right of a bar
// `barWidth` twips wide. A pointer below the bar has not left it.
bool pointerHasLeft(QPoint client, int barWidth);

}  // namespace switchboard
