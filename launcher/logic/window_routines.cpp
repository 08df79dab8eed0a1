#include "logic/window_routines.h"

#include <cmath>

#include "logic/layout.h"

namespace switchboard {

namespace {

double toPixels(double twips) { return twips / kTwipsPerPixel; }
int roundEven(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

void SetTopMost(WindowSystem& ws, WindowHandle window, int on) {
  const ZOrder order = on == -1 ? ZOrder::TopMost : on == 0 ? ZOrder::NotTopMost : ZOrder::Top;
  ws.setZOrder(window, order);
}

WindowHandle TopLevelWindow(WindowSystem& ws, WindowHandle window) {
  WindowHandle reached = window;
  for (WindowHandle parent = ws.parentOf(reached); parent != 0 && ws.isVisible(parent);
       parent = ws.parentOf(reached))
    reached = parent;
  return reached;
}

OleColor ResolveColor(WindowSystem& ws, OleColor colour) {
  if (colour & kSystemColorBit) return ws.systemColor(static_cast<int>(colour & ~kSystemColorBit));
  return colour;
}

bool SetColorKey(WindowSystem& ws, WindowHandle window, OleColor colour) {
  return ws.setColorKey(TopLevelWindow(ws, window), ResolveColor(ws, colour));
}

// Each corner is summed in twips and converted once, so a corner that lies exactly on half a
// pixel rounds to the even neighbour instead of whichever way the conversion's error falls.
PixelRect clientRegion(const WindowSizes& sizes) {
  const double border = (sizes.windowWidth - sizes.clientWidth) / 2.0;
  const double title = sizes.windowHeight - sizes.clientHeight - border;
  const double x1 = 1 + border;
  const double y1 = 1 + title;
  const double x2 = x1 + (sizes.clientWidth - 2);
  const double y2 = y1 + (sizes.clientHeight - 2);
  return PixelRect{roundEven(toPixels(x1)), roundEven(toPixels(y1)), roundEven(toPixels(x2)),
                   roundEven(toPixels(y2))};
}

void ShapeWindow(WindowSystem& ws, WindowHandle window, OleColor colour, const WindowSizes& sizes) {
  SetColorKey(ws, window, colour);
  ws.setWindowRegion(window, clientRegion(sizes));
}

}  // namespace switchboard
