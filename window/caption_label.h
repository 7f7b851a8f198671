#pragma once
// A label of the window. It keeps its caption exactly as the game set it (CR LF included) and
// shows each line break as a new line. A label that fits its text resizes from its top-left
// corner at every change and never wraps; the others keep their rectangle and wrap at spaces.
// A label that stands on the gradient draws its text with a thin halo where the tint behind it
// would make the text hard to read; the text keeps its own colour.

#include <QColor>
#include <QLabel>
#include <QString>
#include <functional>

#include "layout/control_table.h"

namespace brivana::window {

class CaptionLabel final : public QLabel {
    Q_OBJECT
public:
    // The colour of the background behind a row of the label's parent.
    using BackgroundAt = std::function<layout::Rgb(int row)>;

    CaptionLabel(layout::Fit fit, QWidget* parent);

    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }
    // Draws the text with a halo against the background that backgroundAt gives.
    void setHalo(BackgroundAt backgroundAt) { backgroundAt_ = std::move(backgroundAt); }
    // The halo's colour where the label stands now; invalid where the text needs none.
    QColor haloColour() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    layout::Fit fit_;
    QString caption_;
    BackgroundAt backgroundAt_;
};

}  // namespace brivana::window
