#include "table.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace brivana::bench {

benchmark::internal::Benchmark* Summarised(benchmark::internal::Benchmark* benchmark)
{
    return benchmark
        ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
        ->ComputeStatistics("max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); })
        ->Unit(benchmark::kMillisecond);
}

void TableReporter::ReportRuns(const std::vector<Run>& runs)
{
    for (const Run& run : runs) {
        const std::string& name = run.run_name.function_name;
        if (run.error_occurred) errors_[name] = run.error_message;
        if (run.run_type != Run::RT_Aggregate) continue;
        figures_[name + "||" + run.aggregate_name] = run.GetAdjustedRealTime();
        for (const auto& [counter, value] : run.counters) figures_[name + "|" + counter + "|" + run.aggregate_name] = value;
    }
}

std::string TableReporter::cell(const std::string& benchmark, const Row& row) const
{
    if (errors_.count(benchmark)) return "failed: " + errors_.at(benchmark);
    const std::string key = benchmark + "|" + row.counter + "|";
    if (!figures_.count(key + "median")) return "not measured";
    char text[64];
    std::snprintf(text, sizeof text, "%.3g %s (%.3g-%.3g)", figures_.at(key + "median"), row.unit.c_str(),
                  figures_.at(key + "min"), figures_.at(key + "max"));
    return text;
}

void TableReporter::Finalize()
{
    const auto median = [this](const std::string& benchmark, const Row& row) -> std::optional<double> {
        const auto found = figures_.find(benchmark + "|" + row.counter + "|median");
        if (errors_.count(benchmark) || found == figures_.end()) return std::nullopt;
        return found->second;
    };
    const char* format = "%-46s %-28s %-28s %-6s %-13s %s\n";
    std::printf("\n");
    std::printf(format, "figure", "game: median (min-max)", "baseline: median (min-max)", "ratio", "target", "result");
    int missed = 0;
    for (const Row& row : rows_) {
        const bool ratio = !row.baseline.empty();
        const std::optional<double> game = median(row.game, row), baseline = ratio ? median(row.baseline, row) : 1.0;
        const std::optional<double> measure = game && baseline ? std::optional(*game / *baseline) : std::nullopt;
        char shown[16] = "-", target[32];
        if (ratio && measure) std::snprintf(shown, sizeof shown, "%.3f", *measure);
        std::snprintf(target, sizeof target, ratio ? "<= %.2f x" : "<= %.3g %s", row.target, row.unit.c_str());
        const bool met = measure && *measure <= row.target;
        missed += !met && row.target > 0;
        std::printf(format, row.figure.c_str(), cell(row.game, row).c_str(),
                    ratio ? cell(row.baseline, row).c_str() : "-", shown, row.target > 0 ? target : "(information)",
                    row.target <= 0 ? "-" : met ? "met" : measure ? "MISSED" : "not measured");
    }
    std::printf("\n%s\n", missed == 0 ? "All targets met." : (std::to_string(missed) + " target(s) not met.").c_str());
}

}  // namespace brivana::bench
