#include "common/report.h"

#include <cstdio>
#include <ctime>

namespace brivana::bench {

std::int64_t MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

void Report(std::string_view key, std::int64_t value)
{
    std::printf("%.*s %lld\n", static_cast<int>(key.size()), key.data(), static_cast<long long>(value));
    std::fflush(stdout);
}

void Report(std::string_view key, double value)
{
    std::printf("%.*s %.6f\n", static_cast<int>(key.size()), key.data(), value);
    std::fflush(stdout);
}

void Report(std::string_view key, const Summary& summary)
{
    std::printf("%.*s %.6f %.6f %.6f\n", static_cast<int>(key.size()), key.data(), summary.median, summary.min,
                summary.max);
    std::fflush(stdout);
}

}  // namespace brivana::bench
