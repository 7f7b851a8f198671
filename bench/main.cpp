// Runs every benchmark of the game and its baselines on Google Benchmark, the kinds in random
// interleaving so that they share the machine's noise, and prints one table.
//   brivana-bench [--quick] [--win32 BASELINE.EXE GAME.EXE] [benchmark flags]
// --quick: two repetitions of everything and a short idle period (the smoke test).
// --win32: also the Win32 window and a bare Win32 window, under Wine (WINEPREFIX from the
//          environment); a missing GAME.EXE leaves its rows unmeasured.
// The X display (Xvfb) comes from the environment: the start-ups are timed to the moment the
// X server maps a window, which this program watches itself.
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include "processes.h"
#include "pupil.h"
#include "table.h"

namespace {

using namespace brivana::bench;

struct Options {
    bool quick = false;
    std::string win32Baseline, win32Game;
};

// Each repetition is one sample; the library gives median, min and max over them.
benchmark::internal::Benchmark* Repeated(benchmark::internal::Benchmark* benchmark, int repetitions)
{
    const auto min = [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); };
    const auto max = [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); };
    return benchmark->Repetitions(repetitions)->ComputeStatistics("min", min)->ComputeStatistics("max", max)
        ->Unit(benchmark::kMillisecond);
}

// One run of a program per iteration, timed by the run itself.
void RegisterProgram(const std::string& name, int repetitions, std::function<Run()> run)
{
    Repeated(benchmark::RegisterBenchmark(name.c_str(), [run](benchmark::State& state) {
        for (auto _ : state) {
            try {
                const Run done = run();
                state.SetIterationTime(done.seconds);
                state.counters["peak_MiB"] = done.peakMiB;
            } catch (const std::exception& error) {
                state.SkipWithError(error.what());
                break;
            }
        }
    }), repetitions)->UseManualTime()->Iterations(1);
}

}  // namespace

int main(int argc, char* argv[])
{
    Options options;
    std::vector<char*> args{argv[0], const_cast<char*>("--benchmark_enable_random_interleaving=true")};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0)
            options.quick = true;
        else if (std::strcmp(argv[i], "--win32") == 0 && i + 2 < argc)
            options.win32Baseline = argv[++i], options.win32Game = argv[++i];
        else
            args.push_back(argv[i]);
    }
    int count = static_cast<int>(args.size());
    QApplication app(count, args.data());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 2;

    const int startups = options.quick ? 2 : 15;
    const int idleRuns = options.quick ? 2 : 3;
    const std::string idleSeconds = options.quick ? "0.2" : "10";
    const std::string rounds = options.quick ? "2" : "20";
    try {
        MapWatcher watcher;
        RegisterProgram("qt/first window/game", startups, [&] { return watcher.untilMapped({BRIVANA_GAME}); });
        RegisterProgram("qt/first window/baseline", startups,
                        [&] { return watcher.untilMapped({BRIVANA_BASELINE, "label"}); });
        RegisterProgram("qt/play/game", startups, [] { return UntilExit({BRIVANA_PROBE, "play"}); });
        RegisterProgram("qt/play/baseline", startups, [] { return UntilExit({BRIVANA_BASELINE, "paint"}); });
        RegisterProgram("qt/memory/baseline", idleRuns, [&] { return watcher.untilMapped({BRIVANA_BASELINE}, 1); });
        // Its time is the CPU time the game spent in the idle period, as the probe measured it.
        RegisterProgram("qt/idle/game", idleRuns, [&] {
            double cpuMs = 0, peakMiB = 0;
            if (std::sscanf(OutputOf({BRIVANA_PROBE, "idle", rounds, idleSeconds}).c_str(), "%lf %lf", &cpuMs, &peakMiB) != 2)
                throw std::runtime_error("the probe reported no idle figures");
            return Run{cpuMs / 1e3, peakMiB};
        });
        if (!options.win32Baseline.empty()) {
            // Wine is started once, outside the timings: every program then finds it running.
            const std::string baseline = options.win32Baseline, game = options.win32Game;
            RegisterProgram("win32/first window/baseline", startups, [&, baseline] { return watcher.untilMapped({"wine", baseline}); });
            RegisterProgram("win32/memory/baseline", idleRuns, [&, baseline] { return watcher.untilMapped({"wine", baseline}, 1); });
            if (std::filesystem::exists(game)) {
                RegisterProgram("win32/first window/game", startups, [&, game] { return watcher.untilMapped({"wine", game}); });
                RegisterProgram("win32/memory/game", idleRuns, [&, game] { return watcher.untilMapped({"wine", game}, 1); });
            }
        }

        Pupil pupil;
        const double minTime = options.quick ? 0.01 : 0.5;
        Repeated(benchmark::RegisterBenchmark("qt/question", [&pupil](benchmark::State& state) {
            for (auto _ : state) {
                state.PauseTiming();
                pupil.type();
                pupil.enter();
                pupil.settle();
                state.ResumeTiming();
                pupil.nextQuestion();
            }
        }), startups)->UseRealTime()->MinTime(minTime);
        Repeated(benchmark::RegisterBenchmark("qt/answer", [&pupil](benchmark::State& state) {
            for (auto _ : state) {
                state.PauseTiming();
                pupil.type();
                state.ResumeTiming();
                pupil.enter();
                state.PauseTiming();
                pupil.settle();
                pupil.nextQuestion();
                state.ResumeTiming();
            }
        }), startups)->UseRealTime()->MinTime(minTime);

        TableReporter table({
            {"Qt: start-up to first window (name prompt)", "qt/first window/game", "qt/first window/baseline", "", "ms", 1.2},
            {"Qt: start-up to play (first question painted)", "qt/play/game", "qt/play/baseline", "", "ms", 2},
            {"Qt: one question (cmdNext_Click + repaint)", "qt/question", "", "", "ms", 2},
            {"Qt: one answer (Enter)", "qt/answer", "", "", "ms", 0.2},
            {"Qt: idle CPU in " + idleSeconds + " s", "qt/idle/game", "", "", "ms", 30},
            {"Qt: peak memory", "qt/idle/game", "qt/memory/baseline", "peak_MiB", "MiB", 1.3},
            {"Win32 (Wine): start-up to first window", "win32/first window/game", "win32/first window/baseline", "", "ms", 1.2},
            {"Win32 (Wine): peak working set", "win32/memory/game", "win32/memory/baseline", "peak_MiB", "MiB", 1.2},
        });
        benchmark::RunSpecifiedBenchmarks(&table);
        benchmark::Shutdown();
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "brivana-bench: %s\n", error.what());
        return 2;
    }
}
