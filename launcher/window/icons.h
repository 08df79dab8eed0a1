// The eight module tiles as vector drawings on a 100 x 100 grid: a rounded tile in the module's
// colour with a white symbol on it.
#pragma once

#include <QPainter>
#include <QSize>

namespace switchboard {

constexpr qreal kIconUnits = 100;

// Draws tile `index` with a painter already scaled to the grid; `size` is the picture's size in
// pixels, for the symbol's shadow layer.
void drawIcon(QPainter& painter, int index, QSize size);

}  // namespace switchboard
