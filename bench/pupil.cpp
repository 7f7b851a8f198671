#include "pupil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <stdexcept>

#include "window/surface.h"

namespace brivana::bench {

Pupil::Pupil() : tavola_(Services{random_, dateTime_, *this, keeper_}, dialogs_)
{
    qApp->installEventFilter(this);
    tavola_.start();
    while (!painted_) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    box_ = tavola_.findChild<QLineEdit*>(QStringLiteral("txtAnswer"));
    next_ = tavola_.findChild<QAbstractButton*>(QStringLiteral("cmdNext"));
    surface_ = tavola_.findChild<window::Surface*>();
    if (!box_ || !next_ || !surface_) throw std::runtime_error("the window lacks txtAnswer, cmdNext or its surface");
}

bool Pupil::eventFilter(QObject* watched, QEvent* event)
{
    // A dialog is answered once it is on screen: a name, or its default button.
    if (event->type() == QEvent::Show && (qobject_cast<QInputDialog*>(watched) || qobject_cast<QMessageBox*>(watched)))
        QMetaObject::invokeMethod(this, [dialog = QPointer(static_cast<QDialog*>(watched))] {
            if (auto* input = qobject_cast<QInputDialog*>(dialog.data())) input->setTextValue(QStringLiteral("Banco"));
            if (dialog) dialog->accept();
        }, Qt::QueuedConnection);
    // The first frame with a gradient is flushed by the time this paint has returned.
    const auto* surface = qobject_cast<window::Surface*>(watched);
    if (event->type() == QEvent::Paint && surface && surface->hasGradient()) painted_ = true;
    return false;
}

void Pupil::type()
{
    const int product = tavola_.game().state().expectedProduct;
    for (const QChar c : QString::number(answers_++ % 2 == 0 ? product : product + 1)) {
        const int code = c == u'-' ? Qt::Key_Minus : Qt::Key_0 + (c.unicode() - u'0');
        key(QEvent::KeyPress, code, c);
        key(QEvent::KeyRelease, code, c);
    }
}

void Pupil::enter() { key(QEvent::KeyPress, Qt::Key_Return, u'\r'); }

void Pupil::settle()
{
    key(QEvent::KeyRelease, Qt::Key_Return, u'\r');
    QApplication::processEvents();
    if (!next_->isEnabled()) throw std::runtime_error("the answer was not evaluated");
}

void Pupil::nextQuestion()
{
    next_->click();
    surface_->repaint();
    if (next_->isEnabled()) throw std::runtime_error("no question was posed");
}

void Pupil::key(QEvent::Type type, int key, QChar text)
{
    QKeyEvent event(type, key, Qt::NoModifier, QString(text));
    QApplication::sendEvent(box_, &event);
}

}  // namespace brivana::bench
