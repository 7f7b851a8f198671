// The game as its program starts it, with a probe that reports the moments the benchmark
// measures. Only the record directory differs: the benchmark gives one of its own.
//   --mode window: report when the first window (the name prompt) is on screen;
//   --mode play:   answer the start-up dialogs at once, report when the first question is;
//   --mode idle:   as play, then play --rounds questions and report "ready" while waiting
//                  for an answer with the clock running.
// The driver kills the program once it has what it measures.
#include <QApplication>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/given_record_place.h"
#include "common/report.h"
#include "probe/mid_game.h"
#include "probe/startup_probe.h"
#include "game/record_store.h"
#include "game/system_date_time.h"
#include "system/file_access.h"
#include "game/system_random.h"
#include "window/application_setup.h"
#include "window/qt_dialogs.h"
#include "window/tavola.h"

namespace {

struct Options {
    std::string mode;
    std::string recordDir;
    int rounds = 0;
};

Options ParseOptions(int argc, char* argv[])
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--mode") == 0)
            options.mode = argv[i + 1];
        else if (std::strcmp(argv[i], "--record-dir") == 0)
            options.recordDir = argv[i + 1];
        else if (std::strcmp(argv[i], "--rounds") == 0)
            options.rounds = std::atoi(argv[i + 1]);
    }
    if ((options.mode != "window" && options.mode != "play" && options.mode != "idle") ||
        options.recordDir.empty() || options.recordDir.back() != '/' || options.rounds < 0) {
        std::fprintf(stderr,
                     "usage: brivana-bench-game --mode window|play|idle --record-dir DIR/ [--rounds N]\n");
        std::exit(2);
    }
    return options;
}

}  // namespace

int main(int argc, char* argv[])
{
    const Options options = ParseOptions(argc, argv);

    QApplication app(argc, argv);
    QTranslator translator;
    brivana::window::SetUpApplication(app, translator);

    brivana::SystemRandom random;
    brivana::SystemDateTime dateTime;
    brivana::bench::GivenRecordPlace recordPlace(options.recordDir);
    brivana::SystemFileAccess files;
    brivana::LocalRecordKeeper records(files);
    brivana::window::QtDialogs dialogs;
    brivana::Tavola tavola({random, dateTime, recordPlace, records}, dialogs);
    QObject::connect(&tavola, &brivana::Tavola::ended, &app, [] { QCoreApplication::exit(0); });

    brivana::bench::MidGame midGame(tavola, options.rounds,
                                    [] { brivana::bench::Report("ready", brivana::bench::MonotonicNs()); });
    brivana::bench::StartupProbe probe(options.mode != "window", [&] {
        if (options.mode == "idle") midGame.start();
    });
    app.installEventFilter(&probe);

    QMetaObject::invokeMethod(&tavola, &brivana::Tavola::start, Qt::QueuedConnection);
    return QApplication::exec();
}
