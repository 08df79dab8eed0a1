// switchboard's own icon: the bar in small, three of the module tiles on a shelf with the middle
// one magnified. Drawn in code from the tiles' artwork, so that the window and the icon files
// installed for the desktop show one picture.
#pragma once

#include "common/qt/program_icon.h"

namespace switchboard {

// Draws the icon over (0, 0)-(64, 64) of the painter's coordinates (suite::IconDrawing).
void drawProgramIcon(QPainter& painter);
// The icon at `size` x `size` pixels on a see-through ground.
inline QImage programIconImage(int size) { return suite::iconImage(drawProgramIcon, size); }
// The window's icon: the picture at each size the desktop asks for.
inline QIcon programIcon() { return suite::windowIcon(drawProgramIcon); }

}  // namespace switchboard
