#include "window/color_keyer.h"

#include <QBitmap>
#include <QEvent>
#include <QImage>
#include <QWidget>

namespace switchboard {

// The bitmap's colour table is set here, not left to Qt's defaults: a set bit (colour 1, black)
// is a pixel inside the region, whatever the default table of a one-bit image is.
QRegion regionWithoutKey(const QImage& picture, const QColor& key) {
  const QImage pixels = picture.convertToFormat(QImage::Format_RGB32);
  QImage bits(pixels.size(), QImage::Format_MonoLSB);
  bits.setColorCount(2);
  bits.setColor(0, QColor(Qt::white).rgb());
  bits.setColor(1, QColor(Qt::black).rgb());
  bits.fill(0);
  const QRgb keyRgb = key.rgb() & RGB_MASK;
  for (int y = 0; y < pixels.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
    for (int x = 0; x < pixels.width(); ++x)
      if ((line[x] & RGB_MASK) != keyRgb) bits.setPixel(x, y, 1);
  }
  return QRegion(QBitmap::fromImage(bits));
}

ColorKeyer* ColorKeyer::of(QWidget* window) {
  if (auto* existing = window->findChild<ColorKeyer*>(QString(), Qt::FindDirectChildrenOnly))
    return existing;
  return new ColorKeyer(window);
}

ColorKeyer::ColorKeyer(QWidget* window) : QObject(window), window_(window) {
  window_->installEventFilter(this);
}

void ColorKeyer::setKey(const QColor& key) { key_ = key; }
void ColorKeyer::setRegion(const QRect& region) { region_ = region; }

void ColorKeyer::refresh(bool force) {
  QRegion mask = region_ ? QRegion(*region_) : QRegion(window_->rect());
  if (key_) {
    QImage drawn(window_->size(), QImage::Format_RGB32);
    drawn.fill(*key_);
    rendering_ = true;
    window_->render(&drawn, QPoint(), QRegion(),
                    QWidget::DrawWindowBackground | QWidget::DrawChildren | QWidget::IgnoreMask);
    rendering_ = false;
    mask &= regionWithoutKey(drawn, *key_);
  }
  // An empty mask would mean "no mask" and show the whole window; keep the last one instead.
  if (mask.isEmpty()) return;
  const QRegion before = window_->mask();
  if (!force && mask == before) return;
  window_->setMask(mask);
  // Painting is clipped to the old mask, so pixels that have just come into it hold nothing
  // yet: paint them now.
  const QRegion gained = before.isEmpty() ? mask : mask - before;
  if (!gained.isEmpty()) window_->update(gained);
}

// The mask follows the content before each repaint of the window reaches the screen, so a
// change never shows the key colour for a frame, nor cuts away what has just appeared.
bool ColorKeyer::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && !rendering_) {
    switch (event->type()) {
      case QEvent::UpdateRequest:
      case QEvent::Resize:
      case QEvent::Show: refresh(); break;
      default: break;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace switchboard
