#pragma once
// How the benchmark programs tell the driver what they measured: one line per figure,
// "<key> <value>", flushed at once so that the driver sees it while the program runs on.

#include <cstdint>
#include <string_view>

#include "common/summary.h"

namespace brivana::bench {

// The system-wide monotonic clock, in nanoseconds; the same clock in every process, so the
// driver can subtract the moment it started a program from the moment the program reports.
std::int64_t MonotonicNs();

void Report(std::string_view key, std::int64_t value);
void Report(std::string_view key, double value);
// "<key> <median> <min> <max>"
void Report(std::string_view key, const Summary& summary);

}  // namespace brivana::bench
