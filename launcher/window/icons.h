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

// The parts of a tile, each on the grid of the painter's coordinates: the rounded tile alone, and
// its symbol straight onto the painter. Symbols with holes punch them with the destination-out
// mode, so they need a layer of their own (as drawIcon gives them) to show the tile through.
void drawTile(QPainter& painter, int index);
void drawSymbol(QPainter& painter, int index);

}  // namespace switchboard
