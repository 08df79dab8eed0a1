// Window and control positions are laid out in twips, 15 to a pixel.
#pragma once

#include <QRect>
#include <QWidget>

namespace roomkit {

constexpr int px(int twips) { return (twips * 2 + 15) / 30; }

inline void place(QWidget* widget, int left, int top, int width, int height) {
  widget->setGeometry(px(left), px(top), px(width), px(height));
}

}  // namespace roomkit
