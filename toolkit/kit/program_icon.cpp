#include "program_icon.h"

#include <QPainterPath>

namespace roomkit {

void drawProgramIcon(QPainter& p) {
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(32, 96, 160));
  p.drawRoundedRect(QRectF(4, 4, 56, 56), 10, 10);
  p.setBrush(QColor(240, 244, 250));
  p.drawRect(QRectF(16, 18, 24, 36));
  p.setBrush(QColor(32, 96, 160));
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 2; ++col) p.drawRect(QRectF(20 + col * 10, 22 + row * 8, 6, 5));
  }
  p.setBrush(QColor(255, 210, 80));
  QPainterPath star;
  star.moveTo(48, 14);
  star.lineTo(51, 23);
  star.lineTo(58, 26);
  star.lineTo(51, 29);
  star.lineTo(48, 38);
  star.lineTo(45, 29);
  star.lineTo(38, 26);
  star.lineTo(45, 23);
  star.closeSubpath();
  p.drawPath(star);
  p.restore();
}

}  // namespace roomkit
