#pragma once
// The benchmark's one table: each figure of the game beside its baseline's, as the median
// (min-max) the library computed over the repetitions, with the ratio and the target.

#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

namespace brivana::bench {

struct Row {
    std::string figure;
    std::string game, baseline;  // benchmark names; no baseline: the target is a value
    std::string counter;         // empty: the time, in ms
    std::string unit;
    double target;  // the greatest ratio, or value; 0: shown for information
};

// Adds min and max to the statistics the library computes over repetitions; times in ms.
benchmark::internal::Benchmark* Summarised(benchmark::internal::Benchmark* benchmark);

// Prints the library's context (date, machine, load) and, once all has run, the table.
class TableReporter final : public benchmark::ConsoleReporter {
public:
    explicit TableReporter(std::vector<Row> rows) : rows_(std::move(rows)) {}
    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    std::string cell(const std::string& benchmark, const Row& row) const;

    std::vector<Row> rows_;
    std::map<std::string, double> figures_;      // "benchmark|counter|statistic"
    std::map<std::string, std::string> errors_;  // by benchmark
};

}  // namespace brivana::bench
