// The bar window's routines over the window system: z-order, colour key and shape.
#pragma once

#include "logic/window_system.h"

namespace switchboard {

// on: -1 (true) into the always-on-top band, 0 (false) out of it, anything else to the top of
// the window's band.
void SetTopMost(WindowSystem& ws, WindowHandle window, int on);

// The window itself when its parent is not visible; otherwise the last of its ancestors reached
// by climbing while the parent is visible.
WindowHandle TopLevelWindow(WindowSystem& ws, WindowHandle window);

// A system colour reference becomes that colour's current value; other colours stay as they are.
OleColor ResolveColor(WindowSystem& ws, OleColor colour);

// Keys out the colour on the window's top-level window; false when that window cannot take it.
bool SetColorKey(WindowSystem& ws, WindowHandle window, OleColor colour);

// Sizes in twips.
struct WindowSizes {
  int windowWidth = 0;
  int windowHeight = 0;
  int clientWidth = 0;
  int clientHeight = 0;
};

// The client area as a rectangle of window pixels, the frame left outside.
PixelRect clientRegion(const WindowSizes& sizes);

// Keys out the colour and cuts the window down to its client area; a window that cannot take the
// colour key keeps its colours but is cut all the same.
void ShapeWindow(WindowSystem& ws, WindowHandle window, OleColor colour, const WindowSizes& sizes);

}  // namespace switchboard
