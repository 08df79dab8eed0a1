#include "window/program_icon.h"

#include <QLinearGradient>
#include <QPainterPath>

#include "window/icons.h"

namespace switchboard {

namespace {

// Inventory and Projects stand beside Global; their symbols have no holes, so they need no layer.
constexpr int kLeftTile = 3;
constexpr int kMiddleTile = 2;
constexpr int kRightTile = 5;

void drawShelf(QPainter& p) {
  QPainterPath shelf;
  shelf.addRoundedRect(QRectF(2, 38, 60, 18), 8, 8);
  QLinearGradient fill(0, 38, 0, 56);
  fill.setColorAt(0.0, QColor(250, 251, 253));
  fill.setColorAt(0.55, QColor(229, 233, 240));
  fill.setColorAt(1.0, QColor(204, 211, 223));
  p.fillPath(shelf, fill);
  p.setPen(QPen(QColor(138, 148, 166), 1));
  p.setBrush(Qt::NoBrush);
  p.drawPath(shelf);
}

void drawTileAt(QPainter& p, int index, const QRectF& place) {
  p.save();
  p.translate(place.topLeft());
  p.scale(place.width() / kIconUnits, place.height() / kIconUnits);
  drawTile(p, index);
  drawSymbol(p, index);
  p.restore();
}

}  // namespace

void drawProgramIcon(QPainter& p) {
  p.save();
  drawShelf(p);
  drawTileAt(p, kLeftTile, QRectF(3, 26, 22, 22));
  drawTileAt(p, kRightTile, QRectF(39, 26, 22, 22));
  drawTileAt(p, kMiddleTile, QRectF(16, 8, 32, 32));
  p.restore();
}

}  // namespace switchboard
