#include "logic/docking.h"

namespace switchboard {

double dockLeft(int position, double screenWidth, double windowWidth) {
  if (position == 0) return kDockMargin;
  if (position == 2) return screenWidth - windowWidth - kDockMargin;
  return screenWidth / 2 - windowWidth / 2;
}

double dockTop(double screenHeight, double windowHeight) {
  return screenHeight - windowHeight - kDockLift;
}

}  // namespace switchboard
