#pragma once
// A graphical push button: its back colour and a picture centred above its caption, with
// its own pictures for the pressed and the disabled state when it has them.

#include <QColor>
#include <QIcon>
#include <QPushButton>

namespace brivana::window {

class PictureButton final : public QPushButton {
    Q_OBJECT
public:
    PictureButton(const QColor& back, const QIcon& pictures, QWidget* parent);

    // The picture's size on the face, in the window's pixels.
    static constexpr int kPictureSize = 32;

    // The picture of a state: QIcon::Normal, QIcon::Selected (pressed) or QIcon::Disabled.
    QPixmap picture(QIcon::Mode mode) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor back_;
    QIcon pictures_;
};

}  // namespace brivana::window
