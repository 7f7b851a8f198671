#pragma once
// The benchmark's one table: each figure of the game beside the baseline's, as the median
// (min-max) the library computed over the repetitions, with the ratio and the target.

#include <benchmark/benchmark.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace brivana::bench {

struct Row {
    std::string figure;
    std::string game;      // benchmark names
    std::string baseline;  // empty: an absolute target
    std::string counter;   // empty: the measured time in ms
    std::string unit;
    double target;  // greatest ratio, or greatest value when there is no baseline
};

// Prints the library's context (date, machine, load) and, at the end, the table.
class TableReporter final : public benchmark::ConsoleReporter {
public:
    explicit TableReporter(std::vector<Row> rows) : rows_(std::move(rows)) {}

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    struct Figures {
        std::optional<double> median, min, max;
        std::string error;
    };
    std::string cell(const std::string& name, const Row& row) const;

    std::vector<Row> rows_;
    std::map<std::string, std::map<std::string, Figures>> figures_;  // by benchmark, by counter
    int missed_ = 0;
};

}  // namespace brivana::bench
