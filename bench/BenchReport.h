#pragma once

// The one line format every benchmark prints on stdout, for scripts/run-benches to collect:
//   BENCH<TAB>figure<TAB>median<TAB>unit<TAB>budget
// The budget is in the figure's unit, or "-" when there is none. Anything else a benchmark prints
// is commentary for a human reader.
#include <algorithm>
#include <cstdio>
#include <vector>

namespace BenchReport {

inline double median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// `decimals` places after the point; a negative budget means "no budget".
inline void figure(const char* name, double value, int decimals, const char* unit, double budget = -1)
{
    if (budget < 0)
        std::printf("BENCH\t%s\t%.*f\t%s\t-\n", name, decimals, value, unit);
    else
        std::printf("BENCH\t%s\t%.*f\t%s\t%g\n", name, decimals, value, unit, budget);
    std::fflush(stdout);
}

} // namespace BenchReport
