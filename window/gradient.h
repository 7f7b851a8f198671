#pragma once
// The background gradient painted at every question: 256 horizontal bands filling the client
// height, blue growing from 0 at the top to 255 at the bottom, red and green following the
// sizes of the two factors.

#include <QColor>
#include <QRect>
#include <cstdint>

class QPainter;

namespace brivana::window {

inline constexpr int kBands = 256;

// Colour of band i for the raw draws p (-11..0) and q (-20..0).
QColor BandColour(std::int16_t p, std::int16_t q, int band);
// First pixel row of band i in an area `height` rows high; band kBands gives the height.
int BandTop(int band, int height);
// Paints all the bands across the whole width of area.
void PaintGradient(QPainter& painter, const QRect& area, std::int16_t p, std::int16_t q);

}  // namespace brivana::window
