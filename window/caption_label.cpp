#include "window/caption_label.h"

#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QToolTip>
#include <climits>

#include "layout/dialog_width.h"
#include "layout/label_geometry.h"
#include "layout/line_breaks.h"

namespace brivana::window {

CaptionLabel::CaptionLabel(layout::Fit fit, QWidget* parent) : QLabel(parent), fit_(fit)
{
    // A player's name is shown as typed, never read as markup.
    setTextFormat(Qt::PlainText);
    setWordWrap(layout::WrapsAtSpaces(fit_));
    setIndent(0);
    setMargin(0);
}

void CaptionLabel::setCaption(const QString& caption)
{
    caption_ = caption;
    const QString shown = QString::fromStdString(layout::ShownLines(caption.toStdString()));
    if (fit_ != layout::Fit::fitsText) {
        setText(shown);
        return;
    }
    setText(QString::fromStdString(std::string(layout::MeasuredText(shown.toStdString()))));
    const QSize measured = sizeHint();
    const QRect now = geometry();
    const int rightEdge = parentWidget() ? parentWidget()->width() : INT_MAX;
    const layout::Rect fitted = layout::FittedRect(layout::Rect{now.x(), now.y(), now.width(), now.height()},
                                                   measured.width(), measured.height(), rightEdge);
    setGeometry(fitted.left, fitted.top, fitted.width, fitted.height);
    const bool cut = fitted.width < measured.width();
    const int room = contentsRect().width();
    setText(cut ? fontMetrics().elidedText(shown, Qt::ElideRight, room) : shown);
    const std::string whole = shown.toStdString(), design = designTooltip_.toStdString();
    QString tooltip = QString::fromStdString(std::string(layout::LabelTooltip(design, whole, cut)));
    if (cut) {
        // The whole text, in lines no wider than a message box's: a long name has no space.
        const QFontMetrics metrics(QToolTip::font());
        const QScreen* shownOn = screen();
        const int work = shownOn ? shownOn->availableGeometry().width() : 1024;
        tooltip = QString::fromStdU32String(layout::BrokenLines(
            tooltip.toStdU32String(), layout::WidestMessageText(work, logicalDpiX() / 96.0),
            [&](std::u32string_view piece) {
                return metrics.horizontalAdvance(QString::fromUcs4(piece.data(), static_cast<qsizetype>(piece.size())));
            }));
    }
    setToolTip(tooltip);
}

QColor CaptionLabel::haloColour() const
{
    if (!haloAt_) return {};
    const QColor text = palette().color(QPalette::WindowText);
    const std::optional<layout::Rgb> halo =
        haloAt_(layout::Rgb{text.red(), text.green(), text.blue()}, geometry().top(), geometry().height());
    return halo ? QColor(halo->red, halo->green, halo->blue) : QColor();
}

void CaptionLabel::paintEvent(QPaintEvent* event)
{
    const QColor haloColour = this->haloColour();
    if (!haloColour.isValid() || text().isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    // As QLabel paints plain text, with the halo first: the text drawn a pixel off in every
    // direction in the halo's colour, then the text itself on top.
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect();
    const int flags = int(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
    QPalette halo = palette();
    halo.setColor(QPalette::WindowText, haloColour);
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx != 0 || dy != 0)
                style()->drawItemText(&painter, area.translated(dx, dy), flags, halo, true, text(),
                                      QPalette::WindowText);
    style()->drawItemText(&painter, area, flags, palette(), isEnabled(), text(), QPalette::WindowText);
}

}  // namespace brivana::window
