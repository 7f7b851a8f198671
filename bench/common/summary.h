#pragma once
// Median, least and greatest of a set of samples.

#include <vector>

namespace brivana::bench {

struct Summary {
    double median = 0;
    double min = 0;
    double max = 0;
};

// The median of an even count is the mean of the two middle samples. samples is not empty.
Summary Summarise(std::vector<double> samples);

}  // namespace brivana::bench
