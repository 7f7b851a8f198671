#include "pupil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWindow>
#include <stdexcept>

#include "window/surface.h"
#include "window/tavola.h"

namespace brivana::bench {

namespace {

class GivenRecordPlace final : public RecordPlace {
public:
    explicit GivenRecordPlace(std::string dir) : dir_(std::move(dir)) {}
    RecordLocation locate() override { return {dir_, {}}; }

private:
    std::string dir_;
};

void Key(QWidget* widget, QEvent::Type type, int key, const QString& text)
{
    QKeyEvent event(type, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &event);
}

}  // namespace

class Pupil::InstantDialogs final : public window::Dialogs {
public:
    MsgAnswer messageBox(QWidget*, const QString&, int style, const QString&) override
    {
        return style == MsgStyle::yesNoQuestionDefaultNo ? MsgAnswer::no : MsgAnswer::ok;
    }
    QString inputBox(QWidget*, const QString&, const QString&) override { return QStringLiteral("Banco"); }
};

Pupil::Pupil()
    : dialogs_(std::make_unique<InstantDialogs>()),
      place_(std::make_unique<GivenRecordPlace>(records_.path().toStdString() + "/"))
{
    if (!records_.isValid()) throw std::runtime_error("no temporary directory");
    tavola_ = std::make_unique<Tavola>(Services{random_, dateTime_, *place_, files_}, *dialogs_);
    tavola_->start();
    while (!tavola_->windowHandle() || !tavola_->windowHandle()->isExposed())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    box_ = tavola_->findChild<QLineEdit*>(QStringLiteral("txtAnswer"));
    next_ = tavola_->findChild<QAbstractButton*>(QStringLiteral("cmdNext"));
    surface_ = tavola_->findChild<window::Surface*>();
    if (!box_ || !next_ || !surface_) throw std::runtime_error("the window lacks txtAnswer, cmdNext or its surface");
}

Pupil::~Pupil() = default;

void Pupil::type()
{
    const int product = tavola_->game().state().expectedProduct;
    for (const QChar c : QString::number(answers_++ % 2 == 0 ? product : product + 1)) {
        const int key = c == u'-' ? Qt::Key_Minus : Qt::Key_0 + (c.unicode() - u'0');
        Key(box_, QEvent::KeyPress, key, QString(c));
        Key(box_, QEvent::KeyRelease, key, QString(c));
    }
}

void Pupil::enter()
{
    Key(box_, QEvent::KeyPress, Qt::Key_Return, QStringLiteral("\r"));
    if (!next_->isEnabled()) throw std::runtime_error("the answer was not evaluated");
}

void Pupil::settle()
{
    Key(box_, QEvent::KeyRelease, Qt::Key_Return, QStringLiteral("\r"));
    QApplication::processEvents();
}

void Pupil::nextQuestion()
{
    next_->click();
    surface_->repaint();
    if (next_->isEnabled()) throw std::runtime_error("no question was posed");
}

}  // namespace brivana::bench
