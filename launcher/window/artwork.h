// The bar's pictures, drawn in code so the program carries them inside: one tile per module
// and the backdrop shown behind a magnified button. Every picture is key-safe: each pixel is
// either fully see-through or fully opaque in a colour other than the key green, so stretching
// never blends the key into an edge.
#pragma once

#include <QImage>
#include <QSize>

namespace switchboard {

// Button `index` (0 About Box ... 7 Schedules) drawn at this size.
QImage buttonPicture(int index, QSize size);
QImage backdropPicture(QSize size);

// A drawing with soft edges made key-safe: pixels at least half covered become opaque in their
// own colour, the rest see-through; the key green itself is nudged off the key.
QImage keySafe(const QImage& drawn);

}  // namespace switchboard
