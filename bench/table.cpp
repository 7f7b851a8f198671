#include "table.h"

#include <cstdio>

namespace brivana::bench {

void TableReporter::ReportRuns(const std::vector<Run>& runs)
{
    for (const Run& run : runs) {
        auto& byCounter = figures_[run.run_name.function_name];
        if (run.error_occurred) byCounter[""].error = run.error_message;
        if (run.run_type != Run::RT_Aggregate) continue;
        std::map<std::string, double> values{{"", run.GetAdjustedRealTime()}};
        for (const auto& [name, counter] : run.counters) values[name] = counter.value;
        for (const auto& [name, value] : values) {
            Figures& figures = byCounter[name];
            if (run.aggregate_name == "median") figures.median = value;
            if (run.aggregate_name == "min") figures.min = value;
            if (run.aggregate_name == "max") figures.max = value;
        }
    }
}

std::string TableReporter::cell(const std::string& name, const Row& row) const
{
    const auto benchmark = figures_.find(name);
    if (benchmark == figures_.end()) return "not measured";
    if (const auto timing = benchmark->second.find(""); timing != benchmark->second.end() && !timing->second.error.empty())
        return "failed: " + timing->second.error;
    const auto found = benchmark->second.find(row.counter);
    if (found == benchmark->second.end() || !found->second.median) return "not measured";
    char text[64];
    std::snprintf(text, sizeof text, "%.3g %s (%.3g-%.3g)", *found->second.median, row.unit.c_str(),
                  *found->second.min, *found->second.max);
    return text;
}

void TableReporter::Finalize()
{
    const auto median = [this](const std::string& name, const std::string& counter) -> std::optional<double> {
        const auto benchmark = figures_.find(name);
        if (benchmark == figures_.end()) return {};
        const auto found = benchmark->second.find(counter);
        return found == benchmark->second.end() || !found->second.error.empty() ? std::nullopt : found->second.median;
    };
    std::printf("\n%-46s %-28s %-28s %-6s %-16s %s\n", "figure", "game: median (min-max)",
                "baseline: median (min-max)", "ratio", "target", "result");
    for (const Row& row : rows_) {
        const std::optional<double> game = median(row.game, row.counter);
        const std::optional<double> baseline = row.baseline.empty() ? std::nullopt : median(row.baseline, row.counter);
        const std::optional<double> measure =
            row.baseline.empty() ? game : game && baseline ? std::optional(*game / *baseline) : std::nullopt;
        char ratio[16] = "-", target[32];
        if (!row.baseline.empty() && measure) std::snprintf(ratio, sizeof ratio, "%.3f", *measure);
        std::snprintf(target, sizeof target, row.baseline.empty() ? "<= %.3g %s" : "<= %.2f x", row.target,
                      row.unit.c_str());
        const bool met = measure && *measure <= row.target;
        if (!met) ++missed_;
        std::printf("%-46s %-28s %-28s %-6s %-16s %s\n", row.figure.c_str(), cell(row.game, row).c_str(),
                    row.baseline.empty() ? "-" : cell(row.baseline, row).c_str(), ratio, target,
                    met ? "met" : measure ? "MISSED" : "not measured");
    }
    std::printf("\n%s\n", missed_ == 0 ? "All targets met." : (std::to_string(missed_) + " target(s) not met.").c_str());
}

}  // namespace brivana::bench
