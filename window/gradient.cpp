#include "window/gradient.h"

#include <QColor>
#include <QPainter>

#include "layout/gradient_bands.h"

namespace brivana::window {

void PaintGradient(QPainter& painter, const QRect& area, std::int16_t p, std::int16_t q)
{
    for (int band = 0; band < layout::kBands; ++band) {
        const int top = layout::BandTop(band, area.height());
        const int bottom = layout::BandTop(band + 1, area.height());
        const layout::Rgb colour = layout::BandColour(p, q, band);
        painter.fillRect(QRect(area.left(), area.top() + top, area.width(), bottom - top),
                         QColor(colour.red, colour.green, colour.blue));
    }
}

}  // namespace brivana::window
