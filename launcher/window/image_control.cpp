#include "window/image_control.h"

#include <QMouseEvent>
#include <QPainter>

namespace switchboard {

ImageControl::ImageControl(Picture picture, QWidget* parent)
    : QWidget(parent), picture_(std::move(picture)) {
  setMouseTracking(true);
}

void ImageControl::paintEvent(QPaintEvent*) {
  const qreal ratio = devicePixelRatioF();
  const QSize pixels = (QSizeF(size()) * ratio).toSize();
  if (pixels.isEmpty()) return;
  const quint64 key = (quint64(pixels.width()) << 32) | quint64(pixels.height());
  auto found = drawn_.find(key);
  if (found == drawn_.end()) {
    QImage image = picture_(pixels);
    image.setDevicePixelRatio(ratio);
    found = drawn_.insert(key, image);
  }
  QPainter painter(this);
  painter.drawImage(QPointF(0, 0), *found);
}

void ImageControl::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  if (onMouseMove) onMouseMove();
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
  event->accept();  // so the release comes back here
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (onMouseUp) onMouseUp(event->button());
}

}  // namespace switchboard
