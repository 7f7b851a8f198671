// The game as its program starts it, with a probe that ends it at the moment measured. The
// record lives in a temporary directory, and the start-up dialogs (Qt's real ones) are
// answered in process as soon as they are shown.
//   brivana-bench-probe play        ends once the first question's gradient is on screen;
//   brivana-bench-probe idle R S    then plays R questions through the window, waits S seconds
//                                   for an answer with the clock running, prints the CPU ms
//                                   of those seconds (getrusage) and the peak MiB (VmHWM).
#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>

#include "peak_memory.h"
#include "game/system_date_time.h"
#include "game/record_store.h"
#include "system/file_access.h"
#include "game/system_random.h"
#include "window/application_setup.h"
#include "window/qt_dialogs.h"
#include "window/surface.h"
#include "window/tavola.h"

namespace {

class TemporaryRecordPlace final : public brivana::RecordPlace {
public:
    explicit TemporaryRecordPlace(const QTemporaryDir& dir) : dir_(dir.path().toStdString() + "/") {}
    brivana::RecordLocation locate() override { return {dir_, {}}; }

private:
    std::string dir_;
};

double CpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

void Type(QWidget* widget, int key, const QString& text)
{
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, Qt::NoModifier, text);
        QApplication::sendEvent(widget, &event);
    }
}

// Answers each dialog once it is shown (a name, or OK), and calls firstQuestion once the first
// question's gradient has been painted and flushed (when control is back in the event loop).
class Probe final : public QObject {
public:
    explicit Probe(std::function<void()> firstQuestion) : firstQuestion_(std::move(firstQuestion)) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && (qobject_cast<QInputDialog*>(watched) || qobject_cast<QMessageBox*>(watched)))
            QMetaObject::invokeMethod(this, [dialog = QPointer(static_cast<QDialog*>(watched))] {
                if (auto* input = qobject_cast<QInputDialog*>(dialog.data())) input->setTextValue(QStringLiteral("Banco"));
                if (dialog) dialog->accept();
            }, Qt::QueuedConnection);
        const auto* surface = qobject_cast<brivana::window::Surface*>(watched);
        if (event->type() == QEvent::Paint && surface && surface->hasGradient() && firstQuestion_)
            QMetaObject::invokeMethod(this, std::exchange(firstQuestion_, nullptr), Qt::QueuedConnection);
        return false;
    }

private:
    std::function<void()> firstQuestion_;
};

}  // namespace

int main(int argc, char* argv[])
{
    const bool idle = argc == 4 && std::strcmp(argv[1], "idle") == 0;
    if (!idle && !(argc == 2 && std::strcmp(argv[1], "play") == 0)) {
        std::fprintf(stderr, "usage: brivana-bench-probe play | idle ROUNDS SECONDS\n");
        return 2;
    }
    QApplication app(argc, argv);
    QTranslator translator;
    brivana::window::SetUpApplication(app, translator);

    QTemporaryDir records;
    brivana::SystemRandom random;
    brivana::SystemDateTime dateTime;
    TemporaryRecordPlace recordPlace(records);
    brivana::SystemFileAccess files;
    brivana::LocalRecordKeeper keeper(files);
    brivana::window::QtDialogs dialogs;
    brivana::Tavola tavola({random, dateTime, recordPlace, keeper}, dialogs);
    // Ends at once: the measured moment is past, and only the record directory needs cleaning.
    const auto end = [&records] {
        records.remove();
        std::fflush(stdout);
        _exit(0);
    };
    double idleFromMs = 0;
    const auto waitIdle = [&] {
        idleFromMs = CpuMs();
        QTimer::singleShot(static_cast<int>(std::atof(argv[3]) * 1000), [&] {
            std::printf("%.3f %.3f\n", CpuMs() - idleFromMs, brivana::bench::PeakMiB());
            end();
        });
    };
    // An answer typed and entered, then the "Nuovo calcolo" button: a step every 20 ms, so
    // that every frame is painted.
    int steps = idle ? 2 * std::atoi(argv[2]) : 0;
    QTimer player;
    QObject::connect(&player, &QTimer::timeout, [&] {
        if (steps-- % 2 == 0) {
            auto* box = tavola.findChild<QWidget*>(QStringLiteral("txtAnswer"));
            Type(box, Qt::Key_7, QStringLiteral("7"));
            Type(box, Qt::Key_Return, QStringLiteral("\r"));
        } else {
            tavola.findChild<QAbstractButton*>(QStringLiteral("cmdNext"))->click();
        }
        if (steps > 0) return;
        player.stop();
        waitIdle();
    });
    Probe probe([&] { !idle ? end() : steps > 0 ? player.start(20) : waitIdle(); });
    QTimer::singleShot(60'000, [] {
        std::fprintf(stderr, "brivana-bench-probe: the moment to measure did not come in a minute\n");
        _exit(3);
    });
    app.installEventFilter(&probe);

    tavola.start();
    return tavola.hasEnded() ? 0 : QApplication::exec();
}
