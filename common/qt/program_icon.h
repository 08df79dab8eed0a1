// A program's icon is drawn in code, so that its window and the icon files installed for the
// desktop show one picture and the program needs no files beside it. Each program has its own
// drawing; this renders one at the sizes a window and the desktop ask for.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPainter>

namespace suite {

constexpr int kIconGrid = 64;  // a drawing's own units, across and down

// Draws over (0, 0)-(64, 64) of the painter's coordinates, with plain vector operations only, so
// that it can be written out as SVG too.
using IconDrawing = void (*)(QPainter& painter);

// The drawing at `size` x `size` pixels on a see-through ground.
QImage iconImage(IconDrawing draw, int size);
// A window's icon: the drawing at each size the desktop asks for.
QIcon windowIcon(IconDrawing draw);

}  // namespace suite
