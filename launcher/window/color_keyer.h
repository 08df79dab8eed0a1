// Colour key and window region for a top-level widget, as a widget mask: the mask holds the
// region's pixels that are not the key colour, so key-coloured pixels are neither drawn nor hit
// by the pointer. Works without a compositor (X11 shape, Windows regions). The mask follows
// every change of what the window shows.
#pragma once

#include <QColor>
#include <QObject>
#include <QRegion>
#include <optional>

class QImage;
class QWidget;

namespace switchboard {

// The pixels of the picture that are not the key colour, as a region of picture pixels.
QRegion regionWithoutKey(const QImage& picture, const QColor& key);

class ColorKeyer : public QObject {
  Q_OBJECT

 public:
  // The keyer of this window, made on first use.
  static ColorKeyer* of(QWidget* window);

  void setKey(const QColor& key);
  void setRegion(const QRect& region);
  // Recomputes the mask from what the window draws now; `force` sets it even when unchanged.
  void refresh(bool force = false);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit ColorKeyer(QWidget* window);

  QWidget* window_;
  std::optional<QColor> key_;
  std::optional<QRect> region_;
  bool rendering_ = false;
};

}  // namespace switchboard
