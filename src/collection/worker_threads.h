// Work shared by several threads, the calling one among them.
#ifndef PARCHLY_COLLECTION_WORKER_THREADS_H
#define PARCHLY_COLLECTION_WORKER_THREADS_H

#include <thread>
#include <vector>

namespace parchly {

// Runs `work` on `threads` threads (at least the calling one) and returns
// when every one has finished; the work takes its jobs from a counter of
// its own.
template <typename Work> void runOnThreads(int threads, Work work)
{
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t)
        workers.emplace_back(work);
    work();
    for (std::thread& worker : workers)
        worker.join();
}

} // namespace parchly

#endif
