#include "common/summary.h"

#include <algorithm>
#include <stdexcept>

namespace brivana::bench {

Summary Summarise(std::vector<double> samples)
{
    if (samples.empty()) throw std::invalid_argument("no samples");
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    const double median =
        samples.size() % 2 == 1 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
    return {median, samples.front(), samples.back()};
}

}  // namespace brivana::bench
