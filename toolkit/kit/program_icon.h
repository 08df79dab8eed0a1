// roomkit's icon, a building front with a sparkle. It is drawn in code, so that the window and the
// icon files installed for the desktop show one picture and the program needs no files beside it.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPainter>

namespace roomkit {

constexpr int kProgramIconGrid = 64;  // the drawing's own units, across and down

// Draws the icon over (0, 0)-(64, 64) of the painter's coordinates, with plain vector operations
// only, so that it can be written out as SVG too.
void drawProgramIcon(QPainter& painter);
// The icon at `size` x `size` pixels on a see-through ground.
QImage programIconImage(int size);
// The window's icon: the picture at each size the desktop asks for.
QIcon programIcon();

}  // namespace roomkit
