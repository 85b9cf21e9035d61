// The fastest repetition as a statistic beside the mean and median: on a shared machine other
// work only ever slows a run down, so the minimum is the least disturbed figure.
#pragma once

#include <algorithm>
#include <vector>

namespace krello::bench {

inline double minOf(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

}  // namespace krello::bench
