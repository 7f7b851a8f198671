#include "driver/measure.h"

#include <sstream>
#include <stdexcept>
#include <thread>

#include "common/report.h"
#include "driver/child.h"
#include "driver/proc_stats.h"
#include "driver/temp_dir.h"

namespace brivana::bench {

namespace {

double SinceStartMs(Child& child, const std::string& key, double timeoutSeconds)
{
    const std::int64_t at = std::stoll(child.await(key, timeoutSeconds));
    return static_cast<double>(at - child.startNs()) / 1e6;
}

double BaselineStartup(const Programs& programs, const Settings& settings)
{
    Child baseline({programs.baseline});
    const double ms = SinceStartMs(baseline, "first-paint", settings.timeoutSeconds);
    baseline.awaitExit(settings.timeoutSeconds);
    return ms;
}

double GameStartup(const Programs& programs, const Settings& settings, const std::string& mode,
                   const std::string& key)
{
    const TempDir records;
    Child game({programs.game, "--mode", mode, "--record-dir", records.path()});
    const double ms = SinceStartMs(game, key, settings.timeoutSeconds);
    game.kill();
    return ms;
}

Summary ParseSummary(const std::string& text)
{
    std::istringstream numbers(text);
    Summary summary;
    numbers >> summary.median >> summary.min >> summary.max;
    if (!numbers) throw std::runtime_error("unexpected latency report: " + text);
    return summary;
}

}  // namespace

StartupSamples MeasureStartups(const Programs& programs, const Settings& settings)
{
    StartupSamples samples;
    // The first round only warms the caches; the kinds take turns so that they share the noise.
    for (int round = 0; round <= settings.startups; ++round) {
        const double baseline = BaselineStartup(programs, settings);
        const double window = GameStartup(programs, settings, "window", "first-window");
        const double play = GameStartup(programs, settings, "play", "first-question");
        if (round == 0) continue;
        samples.baselineFirstPaint.push_back(baseline);
        samples.gameFirstWindow.push_back(window);
        samples.gamePlay.push_back(play);
    }
    return samples;
}

IdleSamples MeasureIdleAndMemory(const Programs& programs, const Settings& settings)
{
    IdleSamples samples;
    const auto idle = std::chrono::duration<double>(settings.idleSeconds);
    for (int run = 0; run < settings.idleRuns; ++run) {
        {
            const TempDir records;
            Child game({programs.game, "--mode", "idle", "--record-dir", records.path(), "--rounds",
                        std::to_string(settings.rounds)});
            game.await("ready", settings.timeoutSeconds);
            const std::int64_t cpu = CpuTimeNs(game.pid());
            const std::int64_t scheduled = ScheduledTimeNs(game.pid());
            std::this_thread::sleep_for(idle);
            samples.cpuMs.push_back(static_cast<double>(CpuTimeNs(game.pid()) - cpu) / 1e6);
            samples.scheduledMs.push_back(static_cast<double>(ScheduledTimeNs(game.pid()) - scheduled) / 1e6);
            samples.gamePeakMiB.push_back(static_cast<double>(PeakResidentKiB(game.pid())) / 1024);
            game.kill();
        }
        Child baseline({programs.baseline, "--hold"});
        baseline.await("first-paint", settings.timeoutSeconds);
        samples.baselinePeakMiB.push_back(static_cast<double>(PeakResidentKiB(baseline.pid())) / 1024);
        baseline.kill();
    }
    return samples;
}

LatencySummaries MeasureLatency(const Programs& programs, const Settings& settings)
{
    Child latency({programs.latency, "--iterations", std::to_string(settings.iterations)});
    LatencySummaries summaries;
    summaries.question = ParseSummary(latency.await("question-ms", settings.timeoutSeconds));
    summaries.answer = ParseSummary(latency.await("answer-ms", settings.timeoutSeconds));
    summaries.answerRepaint = ParseSummary(latency.await("answer-repaint-ms", settings.timeoutSeconds));
    latency.awaitExit(settings.timeoutSeconds);
    return summaries;
}

}  // namespace brivana::bench
