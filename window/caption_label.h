#pragma once
// A label of the window. It keeps its caption exactly as the game set it (CR LF included) and
// shows each line break as a new line. A label that fits its text resizes from its top-left
// corner at every change and never wraps, nor passes the window's right edge: a longer text is
// cut there with an ellipsis and shown whole in its tooltip. The others keep their rectangle
// and wrap at spaces.
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

    // The tooltip the design gives it, shown while its text is whole.
    void setDesignTooltip(const QString& tooltip) { designTooltip_ = tooltip; }
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
    QString designTooltip_;
    HaloAt haloAt_;
};

}  // namespace brivana::window
