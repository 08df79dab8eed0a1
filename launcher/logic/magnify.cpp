#include "logic/magnify.h"

namespace switchboard {

std::array<Layout, kMagnifySteps> magnifyFrames(const Layout& start, int index) {
  std::array<Layout, kMagnifySteps> frames;
  Layout layout = start;
  for (int step = 1; step <= kMagnifySteps; ++step) {
    TwipRect& grown = layout[index];
    if (step % 2 == 1) {
      grown.height += kGrowStep;
      grown.width += kGrowStep;
    } else {
      grown.top -= kGrowStep;
      grown.left -= kGrowStep / 2;
    }
    // The end buttons push their neighbours one way only; any other pushes both ways.
    for (int other = 0; other < kButtonCount; ++other) {
      if (other < index) layout[other].left -= kNeighbourShift;
      if (other > index) layout[other].left += kNeighbourShift;
    }
    frames[step - 1] = layout;
  }
  return frames;
}

double captionLeft(const TwipRect& button) {
  return button.left + button.width / 2.0 - kCaptionWidth / 2.0;
}

bool pointerHasLeft(QPoint client, int barWidth) {
  return client.y() < 0 || client.x() < 0 ||
         static_cast<double>(barWidth) / kTwipsPerPixel < client.x();
}

}  // namespace switchboard
