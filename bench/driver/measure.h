#pragma once
// The measurements, each run as separate processes of the benchmark programs.

#include <string>
#include <vector>

#include "common/summary.h"

namespace brivana::bench {

struct Programs {
    std::string baseline;  // the bare gradient window
    std::string game;      // the game with its start-up probe
    std::string latency;   // the in-process question and answer timings
};

struct Settings {
    int startups = 15;        // measured start-ups of each kind, after one unmeasured warm-up
    int iterations = 1000;    // questions and answers timed in process
    double idleSeconds = 10;  // length of one idle measurement
    int idleRuns = 3;         // idle and memory measurements
    int rounds = 20;          // questions played before the idle measurement
    double timeoutSeconds = 60;
};

// Milliseconds from process start.
struct StartupSamples {
    std::vector<double> baselineFirstPaint;
    std::vector<double> gameFirstWindow;  // the name prompt painted
    std::vector<double> gamePlay;         // the first question painted
};
StartupSamples MeasureStartups(const Programs& programs, const Settings& settings);

struct IdleSamples {
    std::vector<double> cpuMs;        // utime + stime while waiting for an answer
    std::vector<double> scheduledMs;  // the same from the scheduler, finer
    std::vector<double> gamePeakMiB;
    std::vector<double> baselinePeakMiB;
};
IdleSamples MeasureIdleAndMemory(const Programs& programs, const Settings& settings);

// In milliseconds, over the iterations of one run.
struct LatencySummaries {
    Summary question;        // cmdNext_Click with the gradient repainted
    Summary answer;          // Enter in the answer box, with the view's texts updated
    Summary answerRepaint;   // the same, then the window brought up to date on screen
};
LatencySummaries MeasureLatency(const Programs& programs, const Settings& settings);

}  // namespace brivana::bench
