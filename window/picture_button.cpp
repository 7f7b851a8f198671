#include "window/picture_button.h"

#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

#include "layout/contrast.h"

namespace brivana::window {

namespace {

constexpr int kMargin = 4;

layout::Rgb Rgb(const QColor& colour) { return layout::Rgb{colour.red(), colour.green(), colour.blue()}; }
QColor Colour(const layout::Rgb& rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

// Black or white, whichever stands out more on the face.
QColor FocusFrameColour(const QColor& face)
{
    const layout::Rgb back = Rgb(face);
    return layout::ContrastRatio(back, layout::Rgb{0, 0, 0}) >= layout::ContrastRatio(back, layout::Rgb{255, 255, 255})
               ? Qt::black
               : Qt::white;
}

}  // namespace

PictureButton::PictureButton(const QColor& back, const QIcon& pictures, QWidget* parent)
    : QPushButton(parent), back_(back), pictures_(pictures)
{
}

QPixmap PictureButton::picture(QIcon::Mode mode) const
{
    return pictures_.pixmap(QSize(kPictureSize, kPictureSize), devicePixelRatio(), mode);
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool down = isDown();
    QRect area = rect();
    painter.fillRect(area, back_);
    QPalette bevel = palette();
    bevel.setColor(QPalette::Button, back_);
    qDrawWinButton(&painter, area, bevel, down, nullptr);

    area.adjust(kMargin, kMargin, -kMargin, -kMargin);
    if (down) area.translate(1, 1);
    const int textHeight = fontMetrics().height();
    const QRect textRect(area.left(), area.bottom() - textHeight + 1, area.width(), textHeight);
    const QRect pictureArea(area.left(), area.top(), area.width(), area.height() - textHeight);

    const QIcon::Mode mode = !isEnabled() ? QIcon::Disabled : down ? QIcon::Selected : QIcon::Normal;
    const QPixmap pixmap = picture(mode);
    if (!pixmap.isNull()) {
        const QSize size = pixmap.deviceIndependentSize().toSize();
        QRect target(QPoint(), size);
        target.moveCenter(pictureArea.center());
        painter.drawPixmap(target, pixmap);
    }

    // A disabled caption reads as faded, yet stays readable on the face.
    QPalette caption = palette();
    caption.setColor(QPalette::Disabled, QPalette::ButtonText, Colour(layout::DisabledCaptionColour(Rgb(back_))));
    painter.setFont(font());
    style()->drawItemText(&painter, textRect, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextShowMnemonic,
                          caption, isEnabled(), text(), QPalette::ButtonText);

    // The focus shows as a dotted frame only: the style's own focus frame would tint the face.
    if (hasFocus()) {
        painter.setPen(QPen(FocusFrameColour(back_), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(kMargin - 1, kMargin - 1, -kMargin, -kMargin));
    }
}

}  // namespace brivana::window
