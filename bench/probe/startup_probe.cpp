#include "probe/startup_probe.h"

#include <QAbstractButton>
#include <QEvent>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>

#include "common/report.h"
#include "window/surface.h"

namespace brivana::bench {

StartupProbe::StartupProbe(bool answerDialogs, std::function<void()> firstQuestion)
    : answerDialogs_(answerDialogs), firstQuestion_(std::move(firstQuestion))
{
}

bool StartupProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::Show && answerDialogs_ &&
        (qobject_cast<QInputDialog*>(widget) || qobject_cast<QMessageBox*>(widget)))
        answer(widget);
    if (event->type() != QEvent::Paint) return false;
    // A frame is on screen once the paint pass that began with this event has been flushed,
    // that is when control is back in the event loop: the report is queued till then.
    if (!windowSeen_ && widget->isWindow()) {
        windowSeen_ = true;
        QMetaObject::invokeMethod(this, [] { Report("first-window", MonotonicNs()); }, Qt::QueuedConnection);
    }
    const auto* surface = qobject_cast<window::Surface*>(widget);
    if (!questionSeen_ && surface && surface->hasGradient()) {
        questionSeen_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                Report("first-question", MonotonicNs());
                if (firstQuestion_) firstQuestion_();
            },
            Qt::QueuedConnection);
    }
    return false;
}

void StartupProbe::answer(QWidget* dialog)
{
    // Queued: the dialog's own loop is running by then, as when a player answers it.
    QPointer<QWidget> open(dialog);
    QMetaObject::invokeMethod(
        this,
        [open] {
            if (!open) return;
            if (auto* input = qobject_cast<QInputDialog*>(open.data())) {
                input->setTextValue(QStringLiteral("Banco"));
                input->accept();
            } else if (auto* box = qobject_cast<QMessageBox*>(open.data())) {
                if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                    ok->click();
                else
                    box->accept();
            }
        },
        Qt::QueuedConnection);
}

}  // namespace brivana::bench
