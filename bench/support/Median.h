#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

// The middle of the values: one slow round (a page fault, another process)
// does not move it.
inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median of the seconds that rounds calls of work took, each timed alone.
template <typename Work>
double MedianSeconds(int rounds, Work work) {
    std::vector<double> seconds;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        work();
        seconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return Median(std::move(seconds));
}

} // namespace bench
