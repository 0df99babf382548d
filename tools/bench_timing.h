// The one clock of parchly-bench.
#ifndef PARCHLY_TOOLS_BENCH_TIMING_H
#define PARCHLY_TOOLS_BENCH_TIMING_H

#include <QElapsedTimer>

namespace parchly {

// The milliseconds that `step` takes.
template <typename Step> double millisecondsOf(Step step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace parchly

#endif
