// roomkit's icon, a building front with a sparkle. It is drawn in code, so that the window and the
// icon files installed for the desktop show one picture and the program needs no files beside it.
#pragma once

#include "common/qt/program_icon.h"

namespace roomkit {

// Draws the icon over (0, 0)-(64, 64) of the painter's coordinates (suite::IconDrawing).
void drawProgramIcon(QPainter& painter);
// The icon at `size` x `size` pixels on a see-through ground.
inline QImage programIconImage(int size) { return suite::iconImage(drawProgramIcon, size); }
// The window's icon: the picture at each size the desktop asks for.
inline QIcon programIcon() { return suite::windowIcon(drawProgramIcon); }

}  // namespace roomkit
