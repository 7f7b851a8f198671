#include "window/caption_label.h"

namespace brivana::window {

CaptionLabel::CaptionLabel(layout::Fit fit, QWidget* parent) : QLabel(parent), fit_(fit)
{
    // A player's name is shown as typed, never read as markup.
    setTextFormat(Qt::PlainText);
    setWordWrap(fit_ == layout::Fit::keepsRect);
    setIndent(0);
    setMargin(0);
}

void CaptionLabel::setCaption(const QString& caption)
{
    caption_ = caption;
    QString shown = caption;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setText(shown);
    // A screen reader announces the label's name, then this: the number or text it shows.
    setAccessibleDescription(shown);
    if (fit_ == layout::Fit::fitsText) resize(sizeHint());
}

}  // namespace brivana::window
