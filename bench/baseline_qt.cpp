// The least a Qt Widgets program pays for the game's picture: a bare window of the game's
// client size painting the gradient's bands, taken from the game's own layout.
//   brivana-bench-baseline          stays until it is killed;
//   brivana-bench-baseline paint    ends once its first frame is out;
//   brivana-bench-baseline label    shows one label too, as the name prompt shows text.
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <unistd.h>

#include <cstring>

#include "layout/control_table.h"
#include "layout/gradient_bands.h"

namespace {

using namespace brivana::layout;

class GradientWindow final : public QWidget {
public:
    explicit GradientWindow(bool stay) : stay_(stay)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(kClientWidthTwips / kTwipsPerPixel, kClientHeightTwips / kTwipsPerPixel);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        for (int band = 0; band < kBands; ++band) {
            const int top = BandTop(band, height());
            const Rgb colour = BandColour(-6, -12, band);
            painter.fillRect(0, top, width(), BandTop(band + 1, height()) - top,
                             QColor(colour.red, colour.green, colour.blue));
        }
        // The frame is on screen once this paint has returned to the event loop.
        if (!stay_) QMetaObject::invokeMethod(this, [] { _exit(0); }, Qt::QueuedConnection);
    }

private:
    bool stay_;
};

}  // namespace

int main(int argc, char* argv[])
{
    const bool label = argc == 2 && std::strcmp(argv[1], "label") == 0;
    const bool paint = argc == 2 && std::strcmp(argv[1], "paint") == 0;
    QApplication app(argc, argv);
    GradientWindow window(!paint);
    window.setWindowTitle(QStringLiteral("Brivana baseline"));
    if (label) (new QLabel(QStringLiteral("Come ti chiami?"), &window))->move(20, 20);
    window.show();
    return QApplication::exec();
}
