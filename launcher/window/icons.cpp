#include "window/icons.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>
#include <array>
#include <cmath>
#include <numbers>

namespace switchboard {

namespace {

const QColor kInk(255, 255, 255);

struct Tile {
  QColor top;
  QColor bottom;
};

// About Box, Assignments, Global, Inventory, Login, Projects, Quality, Schedules.
const std::array<Tile, 8> kTiles = {{
    {QColor(92, 160, 246), QColor(28, 86, 196)},
    {QColor(255, 178, 80), QColor(226, 108, 18)},
    {QColor(70, 200, 214), QColor(0, 122, 146)},
    {QColor(212, 164, 108), QColor(140, 90, 44)},
    {QColor(128, 138, 160), QColor(58, 66, 88)},
    {QColor(174, 126, 234), QColor(104, 58, 176)},
    {QColor(122, 196, 96), QColor(36, 128, 62)},
    {QColor(242, 106, 104), QColor(184, 36, 48)},
}};

// From here on the painter draws the symbol layer; cut() makes later shapes punch holes in it.
void cut(QPainter& p) { p.setCompositionMode(QPainter::CompositionMode_DestinationOut); }
void ink(QPainter& p, const QColor& colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
}
void stroke(QPainter& p, const QColor& colour, qreal width) {
  p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
}

void drawAbout(QPainter& p) {
  ink(p, kInk);
  p.drawEllipse(QPointF(50, 50), 31, 31);
  cut(p);
  ink(p, Qt::black);
  p.drawEllipse(QPointF(50, 33), 6.5, 6.5);
  p.drawRoundedRect(QRectF(43.5, 44, 13, 28), 3, 3);
}

void drawAssignments(QPainter& p) {
  ink(p, kInk);
  p.drawRoundedRect(QRectF(25, 21, 50, 63), 6, 6);
  ink(p, QColor(150, 80, 16));
  p.drawRoundedRect(QRectF(37, 14, 26, 13), 4, 4);
  cut(p);
  ink(p, Qt::black);
  for (qreal row : {38.0, 52.0, 66.0}) {
    p.drawRoundedRect(QRectF(33, row, 9, 9), 1.5, 1.5);
    p.drawRoundedRect(QRectF(46, row + 2.2, 21, 4.6), 2.3, 2.3);
  }
}

void drawGlobal(QPainter& p) {
  stroke(p, kInk, 6.5);
  p.drawEllipse(QPointF(50, 50), 30, 30);
  stroke(p, kInk, 5);
  p.drawEllipse(QPointF(50, 50), 13, 30);
  p.drawLine(QPointF(21, 50), QPointF(79, 50));
  stroke(p, kInk, 4);
  p.drawLine(QPointF(26, 35), QPointF(74, 35));
  p.drawLine(QPointF(26, 65), QPointF(74, 65));
}

void drawInventory(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 252, 246));
  p.drawPolygon(QPolygonF({{50, 17}, {83, 31}, {50, 45}, {17, 31}}));
  p.setBrush(QColor(238, 226, 206));
  p.drawPolygon(QPolygonF({{17, 31}, {50, 45}, {50, 85}, {17, 71}}));
  p.setBrush(QColor(212, 192, 164));
  p.drawPolygon(QPolygonF({{50, 45}, {83, 31}, {83, 71}, {50, 85}}));
  // Packing tape over the lid and down the front.
  p.setBrush(QColor(168, 110, 52));
  p.drawPolygon(QPolygonF({{30, 23.5}, {38, 20}, {70, 34}, {62, 37.5}}));
  p.drawPolygon(QPolygonF({{62, 37.5}, {70, 34}, {70, 63.5}, {62, 67}}));
}

void drawLogin(QPainter& p) {
  QPainterPath shackle;
  shackle.moveTo(34, 48);
  shackle.lineTo(34, 35);
  shackle.arcTo(QRectF(34, 19, 32, 32), 180, -180);
  shackle.lineTo(66, 48);
  p.setPen(QPen(kInk, 8.5, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(shackle);
  ink(p, kInk);
  p.drawRoundedRect(QRectF(23, 45, 54, 40), 7, 7);
  cut(p);
  ink(p, Qt::black);
  p.drawEllipse(QPointF(50, 60), 6.5, 6.5);
  p.drawRoundedRect(QRectF(46.5, 61, 7, 14), 2, 2);
}

void drawProjects(QPainter& p) {
  ink(p, QColor(226, 212, 248));
  QPainterPath back;
  back.moveTo(17, 29);
  back.quadTo(17, 23, 23, 23);
  back.lineTo(40, 23);
  back.lineTo(47, 30);
  back.lineTo(78, 30);
  back.quadTo(83, 30, 83, 35);
  back.lineTo(83, 78);
  back.lineTo(17, 78);
  back.closeSubpath();
  p.drawPath(back);
  ink(p, kInk);
  QPainterPath front;
  front.moveTo(24, 42);
  front.lineTo(87, 42);
  front.lineTo(80, 80);
  front.lineTo(14, 80);
  front.closeSubpath();
  p.drawPath(front);
}

QPolygonF star(QPointF centre, qreal outer, qreal inner) {
  QPolygonF points;
  for (int i = 0; i < 10; ++i) {
    const qreal angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
    const qreal r = i % 2 == 0 ? outer : inner;
    points << QPointF(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
  }
  return points;
}

void drawQuality(QPainter& p) {
  ink(p, QColor(222, 238, 214));
  p.drawPolygon(QPolygonF({{37, 55}, {51, 62}, {43, 90}, {37, 83}, {28, 86}}));
  p.drawPolygon(QPolygonF({{63, 55}, {49, 62}, {57, 90}, {63, 83}, {72, 86}}));
  ink(p, kInk);
  p.drawEllipse(QPointF(50, 41), 25, 25);
  cut(p);
  ink(p, Qt::black);
  p.drawPolygon(star(QPointF(50, 42.5), 15, 6.3));
}

void drawSchedules(QPainter& p) {
  QPainterPath page;
  page.addRoundedRect(QRectF(19, 23, 62, 60), 7, 7);
  ink(p, kInk);
  p.drawPath(page);
  p.save();
  p.setClipPath(page);
  ink(p, QColor(150, 24, 34));
  p.drawRect(QRectF(19, 23, 62, 16));
  p.restore();
  ink(p, kInk);
  p.drawRoundedRect(QRectF(31, 15, 8, 16), 4, 4);
  p.drawRoundedRect(QRectF(61, 15, 8, 16), 4, 4);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      ink(p, row == 1 && column == 2 ? QColor(150, 24, 34) : QColor(238, 134, 132));
      p.drawRoundedRect(QRectF(28 + column * 16, 45 + row * 12.5, 12, 9), 1.5, 1.5);
    }
  }
}

}  // namespace

void drawSymbol(QPainter& p, int index) {
  switch (index) {
    case 0: drawAbout(p); break;
    case 1: drawAssignments(p); break;
    case 2: drawGlobal(p); break;
    case 3: drawInventory(p); break;
    case 4: drawLogin(p); break;
    case 5: drawProjects(p); break;
    case 6: drawQuality(p); break;
    default: drawSchedules(p); break;
  }
}

void drawTile(QPainter& p, int index) {
  const Tile& tile = kTiles[static_cast<std::size_t>(index) % kTiles.size()];
  QPainterPath shape;
  shape.addRoundedRect(QRectF(5, 5, 90, 90), 21, 21);
  QLinearGradient body(0, 5, 0, 95);
  body.setColorAt(0, tile.top);
  body.setColorAt(1, tile.bottom);
  p.fillPath(shape, body);

  // The gloss is the tile's upper half as a shape of its own rather than a clip, so that the
  // tile stays plain vector drawing.
  QPainterPath upperHalf;
  upperHalf.addRect(QRectF(5, 5, 90, 47));
  QLinearGradient gloss(0, 5, 0, 52);
  gloss.setColorAt(0, QColor(255, 255, 255, 90));
  gloss.setColorAt(1, QColor(255, 255, 255, 0));
  p.fillPath(shape.intersected(upperHalf), gloss);

  p.setPen(QPen(tile.bottom.darker(135), 2.5));
  p.setBrush(Qt::NoBrush);
  p.drawPath(shape);
}

void drawIcon(QPainter& painter, int index, QSize size) {
  drawTile(painter, index);

  // The symbol is drawn on a layer of its own, so its holes show the tile and its silhouette
  // casts a soft shadow.
  QImage symbol(size, QImage::Format_ARGB32_Premultiplied);
  symbol.fill(Qt::transparent);
  {
    QPainter layer(&symbol);
    layer.setRenderHint(QPainter::Antialiasing);
    layer.scale(size.width() / kIconUnits, size.height() / kIconUnits);
    drawSymbol(layer, index);
  }
  QImage shadow = symbol;
  {
    QPainter tint(&shadow);
    tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
    tint.fillRect(shadow.rect(), QColor(0, 0, 0, 70));
  }
  painter.save();
  painter.resetTransform();
  painter.drawImage(QPointF(0, size.height() * 0.025), shadow);
  painter.drawImage(QPointF(0, 0), symbol);
  painter.restore();
}

}  // namespace switchboard
