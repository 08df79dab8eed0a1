#include "common/qt/program_icon.h"

#include <QPixmap>

namespace suite {

QImage iconImage(IconDrawing draw, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / double(kIconGrid), size / double(kIconGrid));
  draw(p);
  return image;
}

QIcon windowIcon(IconDrawing draw) {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    icon.addPixmap(QPixmap::fromImage(iconImage(draw, size)));
  }
  return icon;
}

}  // namespace suite
