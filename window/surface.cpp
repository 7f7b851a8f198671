#include "window/surface.h"

#include <QPainter>

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

std::optional<layout::Rgb> Surface::haloColour(layout::Rgb text, int top, int rows) const
{
    return layout::LabelHaloColour(text, draws_, top, rows, height());
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
