// Times, in process and through the real window, the two things a pupil does over and over:
//   question: the "Nuovo calcolo" button clicked (cmdNext_Click) and the new gradient
//             painted, forced at once with repaint();
//   answer:   Enter pressed in the answer box (txtAnswer_KeyPress evaluates the answer and
//             sets the verdict and tallies), and, shown apart, the same with the window then
//             brought up to date by handling its pending repaints.
// The answer's digits are typed before the clock starts; every other answer is right.
// Prints "question-ms", "answer-ms" and "answer-repaint-ms", each median, min and max.
#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/given_record_place.h"
#include "common/report.h"
#include "game/record_store.h"
#include "game/system_date_time.h"
#include "system/file_access.h"
#include "game/system_random.h"
#include "latency/instant_dialogs.h"
#include "window/surface.h"
#include "window/tavola.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

void Key(QWidget* widget, QEvent::Type type, int key, const QString& text)
{
    QKeyEvent event(type, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &event);
}

void Type(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        const int key = c == u'-' ? Qt::Key_Minus : Qt::Key_0 + (c.unicode() - u'0');
        Key(widget, QEvent::KeyPress, key, QString(c));
        Key(widget, QEvent::KeyRelease, key, QString(c));
    }
}

void WaitUntilExposed(QWidget& window)
{
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
        if (Clock::now() > deadline) qFatal("the window was never shown");
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    QApplication::processEvents();
}

int Iterations(int argc, char* argv[])
{
    if (argc == 3 && std::strcmp(argv[1], "--iterations") == 0 && std::atoi(argv[2]) > 0) return std::atoi(argv[2]);
    std::fprintf(stderr, "usage: brivana-bench-latency --iterations N\n");
    std::exit(2);
}

}  // namespace

int main(int argc, char* argv[])
{
    const int iterations = Iterations(argc, argv);
    QApplication app(argc, argv);
    QTemporaryDir records;
    if (!records.isValid()) qFatal("no temporary directory");

    brivana::SystemRandom random;
    brivana::SystemDateTime dateTime;
    brivana::bench::GivenRecordPlace place(records.path().toStdString() + "/");
    brivana::SystemFileAccess files;
    brivana::LocalRecordKeeper keeper(files);
    brivana::bench::InstantDialogs dialogs;
    brivana::Tavola tavola({random, dateTime, place, keeper}, dialogs);
    tavola.start();
    WaitUntilExposed(tavola);

    auto* box = tavola.findChild<QLineEdit*>(QStringLiteral("txtAnswer"));
    auto* next = tavola.findChild<QAbstractButton*>(QStringLiteral("cmdNext"));
    auto* surface = tavola.findChild<brivana::window::Surface*>();
    if (!box || !next || !surface) qFatal("the window lacks the answer box, cmdNext or its surface");

    std::vector<double> questions;
    std::vector<double> answers;
    std::vector<double> answersRepainted;
    for (int i = 0; i < iterations; ++i) {
        const int product = tavola.game().state().expectedProduct;
        Type(box, QString::number(i % 2 == 0 ? product : product + 1));

        const auto answerStart = Clock::now();
        Key(box, QEvent::KeyPress, Qt::Key_Return, QStringLiteral("\r"));
        const auto answerEnd = Clock::now();
        Key(box, QEvent::KeyRelease, Qt::Key_Return, QStringLiteral("\r"));
        const auto repaintStart = Clock::now();
        QCoreApplication::sendPostedEvents();
        const auto repaintEnd = Clock::now();
        answers.push_back(Ms(answerEnd - answerStart));
        answersRepainted.push_back(Ms(answerEnd - answerStart) + Ms(repaintEnd - repaintStart));
        if (!next->isEnabled()) qFatal("the answer was not evaluated");

        const auto questionStart = Clock::now();
        next->click();
        surface->repaint();
        questions.push_back(Ms(Clock::now() - questionStart));
        if (next->isEnabled()) qFatal("no question was posed");
        QApplication::processEvents();
    }
    const auto& state = tavola.game().state();
    if (state.correctCount + state.wrongCount != iterations) qFatal("answers went uncounted");

    brivana::bench::Report("question-ms", brivana::bench::Summarise(questions));
    brivana::bench::Report("answer-ms", brivana::bench::Summarise(answers));
    brivana::bench::Report("answer-repaint-ms", brivana::bench::Summarise(answersRepainted));
    return 0;
}
