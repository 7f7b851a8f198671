#pragma once
// A label of the window. It keeps its caption exactly as the game set it (CR LF included) and
// shows each line break as a new line. A label that fits its text resizes from its top-left
// corner at every change and never wraps; the others keep their rectangle and wrap at spaces.

#include <QLabel>
#include <QString>

#include "layout/control_table.h"

namespace brivana::window {

class CaptionLabel final : public QLabel {
    Q_OBJECT
public:
    CaptionLabel(layout::Fit fit, QWidget* parent);

    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }

private:
    layout::Fit fit_;
    QString caption_;
};

}  // namespace brivana::window
