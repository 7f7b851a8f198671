// Runs every benchmark of the game and its baselines on Google Benchmark, in random
// interleaving so that all kinds share the machine's noise, and prints one table.
//   brivana-bench [--quick] [--win32 BASELINE.EXE GAME.EXE] [Google Benchmark flags]
// --quick: two repetitions of everything and a short idle period (the smoke test).
// --win32: also the Win32 game and a bare Win32 window under Wine (WINEPREFIX from the
//          environment); a missing GAME.EXE leaves its rows unmeasured.
// The start-ups are timed to the moment the X server ($DISPLAY) maps the first window.
#include <QApplication>
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

// One run of a program per repetition, timed by the run itself, its peak memory a counter.
benchmark::internal::Benchmark* Program(const std::string& name, std::function<Run()> run)
{
    return Summarised(benchmark::RegisterBenchmark(name.c_str(), [run](benchmark::State& state) {
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
    }))->UseManualTime()->Iterations(1);
}

// One step of a pupil's round timed, the rest untimed; a failing round ends the benchmark.
template <typename Round>
void InProcess(const char* name, double minSeconds, Round round)
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

int main(int argc, char* argv[])
{
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    std::string win32Baseline, win32Game;
    // Defaults first, so that the caller's flags override them.
    std::vector<char*> args{argv[0], const_cast<char*>("--benchmark_enable_random_interleaving=true"),
                            const_cast<char*>(quick ? "--benchmark_repetitions=2" : "--benchmark_repetitions=15")};
    for (int i = quick ? 2 : 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--win32") == 0 && i + 2 < argc) {
            win32Baseline = argv[++i];
            win32Game = argv[++i];
        } else {
            args.push_back(argv[i]);
        }
    }
    int count = static_cast<int>(args.size());
    QApplication app(count, args.data());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 2;

    const int memoryRuns = quick ? 2 : 3;
    const std::string idleSeconds = quick ? "0.2" : "10", rounds = quick ? "2" : "20";
    try {
        MapWatcher screen;
        const auto mapped = [&screen](std::vector<std::string> argv, double linger = 0) {
            return [&screen, argv, linger] { return screen.untilMapped(argv, linger); };
        };
        Program("qt/first window/game", mapped({BRIVANA_GAME}));
        Program("qt/first window/baseline", mapped({BRIVANA_BASELINE, "label"}));
        Program("qt/play/game", [] { return UntilExit({BRIVANA_PROBE, "play"}); });
        Program("qt/play/baseline", [] { return UntilExit({BRIVANA_BASELINE, "paint"}); });
        Program("qt/memory/baseline", mapped({BRIVANA_BASELINE}, 1))->Repetitions(memoryRuns);
        Program("qt/memory/baseline with a label", mapped({BRIVANA_BASELINE, "label"}, 1))->Repetitions(memoryRuns);
        // Its time is the CPU time the game spent in the idle period, as the probe measured it.
        Program("qt/idle/game", [&] {
            double cpuMs = 0, peakMiB = 0;
            if (std::sscanf(OutputOf({BRIVANA_PROBE, "idle", rounds, idleSeconds}).c_str(), "%lf %lf", &cpuMs,
                            &peakMiB) != 2)
                throw std::runtime_error("the probe reported no idle figures");
            return Run{cpuMs / 1e3, peakMiB};
        })->Repetitions(memoryRuns);
        // The Wine server is already running: no start-up pays for it.
        for (const auto& [kind, exe] : {std::pair{"baseline", win32Baseline}, std::pair{"game", win32Game}}) {
            if (exe.empty() || !std::filesystem::exists(exe)) continue;
            Program(std::string("win32/first window/") + kind, mapped({"wine", exe}));
            Program(std::string("win32/memory/") + kind, mapped({"wine", exe}, 1))->Repetitions(memoryRuns);
        }
        // The game's name prompt shown by the bare program: what showing that dialog first costs.
        if (std::filesystem::exists(win32Baseline))
            Program("win32/first window/prompt alone", mapped({"wine", win32Baseline, "prompt"}));
        Pupil pupil;
        InProcess("qt/question", quick ? 0.01 : 0.5, [&pupil](benchmark::State& state) {
            state.PauseTiming();
            pupil.type();
            pupil.enter();
            pupil.settle();
            state.ResumeTiming();
            pupil.nextQuestion();
        });
        InProcess("qt/answer", quick ? 0.01 : 0.5, [&pupil](benchmark::State& state) {
            state.PauseTiming();
            pupil.type();
            state.ResumeTiming();
            pupil.enter();
            state.PauseTiming();
            pupil.settle();
            pupil.nextQuestion();
            state.ResumeTiming();
        });

        TableReporter table({
            {"Qt: start-up to first window (name prompt)", "qt/first window/game", "qt/first window/baseline", "", "ms", 1.2},
            {"Qt: start-up to play (first question painted)", "qt/play/game", "qt/play/baseline", "", "ms", 2},
            {"Qt: one question (cmdNext_Click + repaint)", "qt/question", "", "", "ms", 2},
            {"Qt: one answer (Enter)", "qt/answer", "", "", "ms", 0.2},
            {"Qt: idle CPU in " + idleSeconds + " s", "qt/idle/game", "", "", "ms", 30},
            {"Qt: peak memory (VmHWM)", "qt/idle/game", "qt/memory/baseline", "peak_MiB", "MiB", 1.3},
            {"Qt: the same, baseline with one label", "qt/idle/game", "qt/memory/baseline with a label", "peak_MiB", "MiB", 0},
            {"Win32 (Wine): start-up to first window", "win32/first window/game", "win32/first window/baseline", "", "ms", 1.2},
            {"Win32 (Wine): the same, the prompt alone", "win32/first window/game", "win32/first window/prompt alone", "", "ms", 0},
            {"Win32 (Wine): peak working set", "win32/memory/game", "win32/memory/baseline", "peak_MiB", "MiB", 1.2},
        });
        benchmark::RunSpecifiedBenchmarks(&table);
        benchmark::Shutdown();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "brivana-bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
