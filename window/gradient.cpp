#include "window/gradient.h"

#include <QPainter>
#include <algorithm>

namespace brivana::window {

namespace {

int Component(int value) { return std::clamp(value, 0, 255); }

}  // namespace

QColor BandColour(std::int16_t p, std::int16_t q, int band)
{
    return QColor(Component(-20 * p), Component(-20 * q), Component(band));
}

int BandTop(int band, int height)
{
    // The design's 512 units for the client height, two units a band, rounded to pixels.
    return static_cast<int>((2LL * band * height + 256) / 512);
}

void PaintGradient(QPainter& painter, const QRect& area, std::int16_t p, std::int16_t q)
{
    for (int band = 0; band < kBands; ++band) {
        const int top = BandTop(band, area.height());
        const int bottom = BandTop(band + 1, area.height());
        painter.fillRect(QRect(area.left(), area.top() + top, area.width(), bottom - top),
                         BandColour(p, q, band));
    }
}

}  // namespace brivana::window
