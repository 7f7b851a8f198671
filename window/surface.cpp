#include "window/surface.h"

#include <QPainter>
#include <algorithm>

#include "layout/gradient_bands.h"
#include "window/gradient.h"

namespace brivana::window {

Surface::Surface(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Surface::setGradient(std::int16_t p, std::int16_t q)
{
    draws_.emplace(p, q);
    update();
}

layout::Rgb Surface::colourAtRow(int row) const
{
    if (!draws_) return layout::Rgb{0, 0, 0};
    const int band = layout::BandAtRow(std::clamp(row, 0, height() - 1), height());
    return layout::BandColour(draws_->first, draws_->second, band);
}

void Surface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (draws_)
        PaintGradient(painter, rect(), draws_->first, draws_->second);
    else
        painter.fillRect(rect(), Qt::black);
}

}  // namespace brivana::window
