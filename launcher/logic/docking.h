// Where the bar sits on the screen, in twips: left, centre or right, 400 above the bottom.
#pragma once

namespace switchboard {

constexpr int kDockMargin = 10;
constexpr int kDockLift = 400;

// Position 0 is left, 2 right; any other value centres the bar.
double dockLeft(int position, double screenWidth, double windowWidth);
double dockTop(double screenHeight, double windowHeight);

}  // namespace switchboard
