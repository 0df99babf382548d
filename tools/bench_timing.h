// The one clock of parchly-bench.
#ifndef PARCHLY_TOOLS_BENCH_TIMING_H
#define PARCHLY_TOOLS_BENCH_TIMING_H

#include <QElapsedTimer>

#include <algorithm>
#include <vector>

namespace parchly {

// The milliseconds that `step` takes.
template <typename Step> double millisecondsOf(Step step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed() / 1e6;
}

// The middle of several timings of one step (the upper middle for an even
// count), steadier than any single one on a shared machine.
inline double median(std::vector<double> times)
{
    if (times.empty())
        return 0;
    const auto middle = times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2);
    std::nth_element(times.begin(), middle, times.end());
    return *middle;
}

} // namespace parchly

#endif
