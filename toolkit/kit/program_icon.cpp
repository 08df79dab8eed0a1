#include "program_icon.h"

#include <QPainterPath>
#include <QPixmap>

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

QImage programIconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / double(kProgramIconGrid), size / double(kProgramIconGrid));
  drawProgramIcon(p);
  return image;
}

QIcon programIcon() {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    icon.addPixmap(QPixmap::fromImage(programIconImage(size)));
  }
  return icon;
}

}  // namespace roomkit
