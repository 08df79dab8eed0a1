// A picture control: draws its picture stretched to its current size and reports pointer moves
// and button releases over it.
#pragma once

#include <QHash>
#include <QImage>
#include <QWidget>
#include <functional>

namespace switchboard {

class ImageControl : public QWidget {
 public:
  using Picture = std::function<QImage(QSize pixels)>;

  ImageControl(Picture picture, QWidget* parent);

  std::function<void()> onMouseMove;
  std::function<void(Qt::MouseButton)> onMouseUp;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  Picture picture_;
  QHash<quint64, QImage> drawn_;  // by pixel size: the picture is drawn anew, never scaled
};

}  // namespace switchboard
