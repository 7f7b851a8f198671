#pragma once
// The least a Qt Widgets program pays for the game's picture: a bare window of the game's
// client size that paints 256 horizontal bands and reports once its first frame is out.

#include <QWidget>

namespace brivana::bench {

class GradientWindow final : public QWidget {
    Q_OBJECT
public:
    // hold: stay open after the first frame (to be measured from outside), instead of quitting.
    explicit GradientWindow(bool hold);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void firstFrameOut();

    bool hold_;
    bool painted_ = false;
};

}  // namespace brivana::bench
