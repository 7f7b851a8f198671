// The game as its program starts it, ended at the moment measured (see bench/pupil.h).
//   brivana-bench-probe play        ends once the first question's gradient is on screen;
//   brivana-bench-probe idle R S    then plays R questions, a step every 20 ms so that every
//                                   frame is painted, waits S seconds for an answer with the
//                                   clock running, and prints the CPU ms of those seconds
//                                   (getrusage) and the peak MiB (VmHWM).
#include <QApplication>
#include <QTimer>
#include <QTranslator>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "peak_memory.h"
#include "pupil.h"
#include "window/application_setup.h"

namespace {

double CpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

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
    QTimer::singleShot(60'000, [] {
        std::fprintf(stderr, "brivana-bench-probe: the moment to measure did not come in a minute\n");
        _exit(3);
    });

    std::optional<brivana::bench::Pupil> pupil;
    try {
        pupil.emplace();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "brivana-bench-probe: %s\n", error.what());
        return 1;
    }
    // Ends at once: the measured moment is past, and only the record directory needs cleaning.
    const auto end = [&pupil] {
        pupil->records().remove();
        std::fflush(stdout);
        _exit(0);
    };
    if (!idle) end();

    int steps = 2 * std::atoi(argv[2]);
    double idleFromMs = 0;
    QTimer player;
    QObject::connect(&player, &QTimer::timeout, [&] {
        if (steps-- > 0) {
            try {
                if (steps % 2 == 1) {
                    pupil->type();
                    pupil->enter();
                    pupil->settle();
                } else {
                    pupil->nextQuestion();
                }
            } catch (const std::exception& error) {
                std::fprintf(stderr, "brivana-bench-probe: %s\n", error.what());
                _exit(1);
            }
            return;
        }
        player.stop();
        idleFromMs = CpuMs();
        QTimer::singleShot(static_cast<int>(std::atof(argv[3]) * 1000), [&] {
            std::printf("%.3f %.3f\n", CpuMs() - idleFromMs, brivana::bench::PeakMiB());
            end();
        });
    });
    player.start(20);
    return QApplication::exec();
}
