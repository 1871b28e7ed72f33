#pragma once

// The figure a benchmark reports of its runs: the median, which one slow
// run (a disk flush, another process) does not move.

#include <algorithm>
#include <vector>

namespace quillary::bench {

inline double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace quillary::bench
