#include "window/picture_button.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <qdrawutil.h>

namespace brivana::window {

namespace {

constexpr int kPictureSize = 32;
constexpr int kMargin = 4;

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

    painter.setFont(font());
    style()->drawItemText(&painter, textRect, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextShowMnemonic,
                          palette(), isEnabled(), text(), QPalette::ButtonText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(kMargin - 1, kMargin - 1, -(kMargin - 1), -(kMargin - 1));
        focus.backgroundColor = back_;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace brivana::window
