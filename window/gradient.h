#pragma once
// Paints the background gradient of the design's bands with Qt.

#include <QRect>
#include <cstdint>

class QPainter;

namespace brivana::window {

// Paints all the bands across the whole width of area.
void PaintGradient(QPainter& painter, const QRect& area, std::int16_t p, std::int16_t q);

}  // namespace brivana::window
