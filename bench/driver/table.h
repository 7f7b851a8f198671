#pragma once
// The one table the benchmark prints: each figure of the game beside the baseline's, with
// the ratio and whether the target is met.

#include <optional>
#include <string>
#include <vector>

#include "common/summary.h"

namespace brivana::bench {

enum class TargetKind {
    none,      // shown for information
    ratio,     // game median ≤ limit × baseline median
    absolute,  // game median ≤ limit, in the row's unit
};

struct Row {
    std::string figure;
    std::string unit;
    Summary game;
    std::optional<Summary> baseline;
    TargetKind target = TargetKind::none;
    double limit = 0;
};

// Whether the row's target is met; a row without a target counts as met.
bool Met(const Row& row);
// Prints the table and returns how many targets were missed.
int PrintTable(const std::vector<Row>& rows);

}  // namespace brivana::bench
