#include "baseline/gradient_window.h"

#include <QCoreApplication>
#include <QPainter>

#include "common/report.h"

namespace brivana::bench {

namespace {

constexpr int kBands = 256;
// The game's client area, in pixels.
constexpr int kWidth = 792;
constexpr int kHeight = 554;

int BandTop(int band, int height) { return static_cast<int>((2LL * band * height + 256) / 512); }

}  // namespace

GradientWindow::GradientWindow(bool hold) : hold_(hold)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(QStringLiteral("Brivana baseline"));
    setFixedSize(kWidth, kHeight);
}

void GradientWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int band = 0; band < kBands; ++band) {
        const int top = BandTop(band, height());
        const int bottom = BandTop(band + 1, height());
        painter.fillRect(QRect(0, top, width(), bottom - top), QColor(100, 160, band));
    }
    if (painted_) return;
    painted_ = true;
    // Queued: the frame reaches the screen when this paint event has returned.
    QMetaObject::invokeMethod(this, &GradientWindow::firstFrameOut, Qt::QueuedConnection);
}

void GradientWindow::firstFrameOut()
{
    Report("first-paint", MonotonicNs());
    if (!hold_) QCoreApplication::quit();
}

}  // namespace brivana::bench
