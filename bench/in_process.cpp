#include "in_process.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <stdexcept>

#include "table.h"
#include "game/system_date_time.h"
#include "game/record_store.h"
#include "system/file_access.h"
#include "game/system_random.h"
#include "window/surface.h"
#include "window/tavola.h"

namespace brivana::bench {

namespace {

class Pupil final : public window::Dialogs, public RecordPlace {
public:
    Pupil() : tavola_(Services{random_, dateTime_, *this, keeper_}, *this)
    {
        tavola_.start();
        while (!tavola_.windowHandle() || !tavola_.windowHandle()->isExposed())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QApplication::processEvents();
        box_ = tavola_.findChild<QLineEdit*>(QStringLiteral("txtAnswer"));
        next_ = tavola_.findChild<QAbstractButton*>(QStringLiteral("cmdNext"));
        surface_ = tavola_.findChild<window::Surface*>();
        if (!box_ || !next_ || !surface_) throw std::runtime_error("the window lacks txtAnswer, cmdNext or its surface");
    }

    // The answer typed (right and wrong in turn), not entered.
    void type()
    {
        const int product = tavola_.game().state().expectedProduct;
        for (const QChar c : QString::number(answers_++ % 2 == 0 ? product : product + 1)) {
            const int code = c == u'-' ? Qt::Key_Minus : Qt::Key_0 + (c.unicode() - u'0');
            key(QEvent::KeyPress, code, c);
            key(QEvent::KeyRelease, code, c);
        }
    }
    // Enter pressed: the check, the verdict and the tallies.
    void enter() { key(QEvent::KeyPress, Qt::Key_Return, u'\r'); }
    // Enter released and the window brought up to date.
    void settle()
    {
        key(QEvent::KeyRelease, Qt::Key_Return, u'\r');
        QApplication::processEvents();
        if (!next_->isEnabled()) throw std::runtime_error("the answer was not evaluated");
    }
    // "Nuovo calcolo" clicked (cmdNext_Click) and the new gradient painted at once.
    void nextQuestion()
    {
        next_->click();
        surface_->repaint();
        if (next_->isEnabled()) throw std::runtime_error("no question was posed");
    }

private:
    MsgAnswer messageBox(QWidget*, const QString&, int style, const QString&) override
    {
        return style == MsgStyle::yesNoQuestionDefaultNo ? MsgAnswer::no : MsgAnswer::ok;
    }
    QString inputBox(QWidget*, const QString&, const QString&) override { return QStringLiteral("Banco"); }
    RecordLocation locate() override { return {records_.path().toStdString() + "/", {}}; }

    void key(QEvent::Type type, int key, QChar text)
    {
        QKeyEvent event(type, key, Qt::NoModifier, QString(text));
        QApplication::sendEvent(box_, &event);
    }

    QTemporaryDir records_;
    SystemRandom random_;
    SystemDateTime dateTime_;
    SystemFileAccess files_;
    LocalRecordKeeper keeper_{files_};
    Tavola tavola_;
    QLineEdit* box_ = nullptr;
    QAbstractButton* next_ = nullptr;
    window::Surface* surface_ = nullptr;
    int answers_ = 0;
};

// A step timed with the rest of the round untimed; a failing round ends the benchmark.
template <typename Round>
void Register(const char* name, double minSeconds, Round round)
{
    Summarised(benchmark::RegisterBenchmark(name, [round](benchmark::State& state) {
        try {
            for (auto _ : state) round(state);
        } catch (const std::exception& error) {
            state.SkipWithError(error.what());
        }
    }))->UseRealTime()->MinTime(minSeconds);
}

}  // namespace

std::shared_ptr<void> RegisterInProcess(double minSeconds)
{
    auto pupil = std::make_shared<Pupil>();
    Register("qt/question", minSeconds, [&pupil = *pupil](benchmark::State& state) {
        state.PauseTiming();
        pupil.type();
        pupil.enter();
        pupil.settle();
        state.ResumeTiming();
        pupil.nextQuestion();
    });
    Register("qt/answer", minSeconds, [&pupil = *pupil](benchmark::State& state) {
        state.PauseTiming();
        pupil.type();
        state.ResumeTiming();
        pupil.enter();
        state.PauseTiming();
        pupil.settle();
        pupil.nextQuestion();
        state.ResumeTiming();
    });
    return pupil;
}

}  // namespace brivana::bench
