#include "window/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "window/icons.h"

namespace switchboard {

QImage keySafe(const QImage& drawn) {
  QImage image = drawn.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = line[x];
      if (qAlpha(pixel) < 128) {
        line[x] = 0;
      } else {
        const int green =
            qRed(pixel) == 0 && qGreen(pixel) == 255 && qBlue(pixel) == 0 ? 254 : qGreen(pixel);
        line[x] = qRgba(qRed(pixel), green, qBlue(pixel), 255);
      }
    }
  }
  return image;
}

QImage buttonPicture(int index, QSize size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size.width() / kIconUnits, size.height() / kIconUnits);
  drawIcon(painter, index, size);
  painter.end();
  return keySafe(image);
}

QImage backdropPicture(QSize size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF plate = QRectF(image.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const qreal radius = plate.height() * 0.42;
  QPainterPath outline;
  outline.addRoundedRect(plate, radius, radius);

  QLinearGradient fill(0, plate.top(), 0, plate.bottom());
  fill.setColorAt(0.0, QColor(250, 251, 253));
  fill.setColorAt(0.55, QColor(229, 233, 240));
  fill.setColorAt(1.0, QColor(204, 211, 223));
  painter.fillPath(outline, fill);

  // A soft shine across the upper half and a groove along the lower third, like a shelf's edge.
  painter.save();
  painter.setClipPath(outline);
  QLinearGradient shine(0, plate.top(), 0, plate.center().y());
  shine.setColorAt(0.0, QColor(255, 255, 255, 200));
  shine.setColorAt(1.0, QColor(255, 255, 255, 0));
  painter.fillRect(QRectF(plate.left(), plate.top(), plate.width(), plate.height() / 2), shine);
  const qreal groove = plate.top() + plate.height() * 0.7;
  painter.setPen(QPen(QColor(186, 194, 208), 1));
  painter.drawLine(QPointF(plate.left() + radius, groove), QPointF(plate.right() - radius, groove));
  painter.setPen(QPen(QColor(255, 255, 255), 1));
  painter.drawLine(QPointF(plate.left() + radius, groove + 1),
                   QPointF(plate.right() - radius, groove + 1));
  painter.restore();

  painter.setPen(QPen(QColor(138, 148, 166), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(outline);
  painter.end();
  return keySafe(image);
}

}  // namespace switchboard
