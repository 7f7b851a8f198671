#include "probe/mid_game.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace brivana::bench {

namespace {

constexpr int kStepMs = 20;

}  // namespace

MidGame::MidGame(QWidget& window, int questions, std::function<void()> done)
    : window_(window), stepsLeft_(2 * questions), done_(std::move(done))
{
    timer_.setInterval(kStepMs);
    connect(&timer_, &QTimer::timeout, this, &MidGame::step);
}

void MidGame::start()
{
    if (stepsLeft_ == 0) {
        done_();
        return;
    }
    timer_.start();
}

void MidGame::typeInto(QWidget* widget, int key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

void MidGame::step()
{
    if (answering_) {
        QWidget* box = window_.findChild<QWidget*>(QStringLiteral("txtAnswer"));
        if (!box) qFatal("no answer box");
        typeInto(box, Qt::Key_7, QStringLiteral("7"));
        typeInto(box, Qt::Key_Return, QStringLiteral("\r"));
    } else {
        auto* next = window_.findChild<QAbstractButton*>(QStringLiteral("cmdNext"));
        if (!next) qFatal("no cmdNext button");
        next->click();
    }
    answering_ = !answering_;
    if (--stepsLeft_ > 0) return;
    timer_.stop();
    done_();
}

}  // namespace brivana::bench
