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
#include <optional>

#include "layout/control_table.h"

namespace brivana::window {

class CaptionLabel final : public QLabel {
    Q_OBJECT
public:
    // The halo of a label rows high from top in its parent, with text of this colour.
    using HaloAt = std::function<std::optional<layout::Rgb>(layout::Rgb text, int top, int rows)>;

    CaptionLabel(layout::Fit fit, QWidget* parent);

    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }
    // Draws the text with the halo that haloAt gives.
    void setHalo(HaloAt haloAt) { haloAt_ = std::move(haloAt); }
    // The halo's colour where the label stands now; invalid where the text needs none.
    QColor haloColour() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    layout::Fit fit_;
    QString caption_;
    HaloAt haloAt_;
};

}  // namespace brivana::window
