// Runs every measurement of the game and the baseline and prints them in one table.
// The programs it runs sit beside it; a display (Xvfb) or QT_QPA_PLATFORM comes from the
// environment.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

#include "driver/measure.h"
#include "driver/table.h"

namespace {

using namespace brivana::bench;

void Usage()
{
    std::fprintf(stderr,
                 "usage: brivana-bench [--startups N] [--iterations N] [--idle-seconds S] [--idle-runs N]"
                 " [--rounds N]\n");
    std::exit(2);
}

Settings ParseSettings(int argc, char* argv[])
{
    Settings settings;
    for (int i = 1; i < argc; ++i) {
        if (i + 1 >= argc) Usage();
        const std::string option = argv[i];
        const char* value = argv[++i];
        if (option == "--startups")
            settings.startups = std::atoi(value);
        else if (option == "--iterations")
            settings.iterations = std::atoi(value);
        else if (option == "--idle-seconds")
            settings.idleSeconds = std::atof(value);
        else if (option == "--idle-runs")
            settings.idleRuns = std::atoi(value);
        else if (option == "--rounds")
            settings.rounds = std::atoi(value);
        else
            Usage();
    }
    if (settings.startups < 1 || settings.iterations < 1 || settings.idleSeconds <= 0 || settings.idleRuns < 1 ||
        settings.rounds < 0)
        Usage();
    return settings;
}

Programs ProgramsBesideThis()
{
    const std::filesystem::path dir = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    return {(dir / "brivana-bench-baseline").string(), (dir / "brivana-bench-game").string(),
            (dir / "brivana-bench-latency").string()};
}

}  // namespace

int main(int argc, char* argv[])
{
    const Settings settings = ParseSettings(argc, argv);
    const Programs programs = ProgramsBesideThis();
    try {
        std::printf("Start-ups: %d of each kind; question and answer: %d each; idle: %d × %g s after %d questions\n\n",
                    settings.startups, settings.iterations, settings.idleRuns, settings.idleSeconds, settings.rounds);
        std::fflush(stdout);
        const StartupSamples startups = MeasureStartups(programs, settings);
        const LatencySummaries latency = MeasureLatency(programs, settings);
        const IdleSamples idle = MeasureIdleAndMemory(programs, settings);

        const Summary baselinePaint = Summarise(startups.baselineFirstPaint);
        const std::string idleFigure = "idle CPU in " + std::to_string(static_cast<int>(settings.idleSeconds)) + " s";
        const std::vector<Row> rows = {
            {"start-up to first window (name prompt)", "ms", Summarise(startups.gameFirstWindow), baselinePaint,
             TargetKind::ratio, 1.5},
            {"start-up to play (first question painted)", "ms", Summarise(startups.gamePlay), baselinePaint,
             TargetKind::ratio, 2},
            {"one question (cmdNext_Click + repaint)", "ms", latency.question, std::nullopt, TargetKind::absolute, 2},
            {"one answer (Enter + view updates)", "ms", latency.answer, std::nullopt, TargetKind::absolute, 0.2},
            {"one answer, then brought up to date on screen", "ms", latency.answerRepaint, std::nullopt,
             TargetKind::none, 0},
            {idleFigure + " (utime + stime)", "ms", Summarise(idle.cpuMs), std::nullopt, TargetKind::absolute, 30},
            {idleFigure + " (scheduler)", "ms", Summarise(idle.scheduledMs), std::nullopt, TargetKind::none, 0},
            {"peak memory (VmHWM)", "MiB", Summarise(idle.gamePeakMiB), Summarise(idle.baselinePeakMiB),
             TargetKind::ratio, 1.3},
        };
        const int missed = PrintTable(rows);
        std::printf("\n%s\n", missed == 0 ? "All targets met." : (std::to_string(missed) + " target(s) missed.").c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "brivana-bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
