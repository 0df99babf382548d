// The analysis throughput over a collection of RFC files, for the benches.
#ifndef PARCHLY_TOOLS_ANALYSIS_BENCH_H
#define PARCHLY_TOOLS_ANALYSIS_BENCH_H

#include <filesystem>
#include <vector>

namespace parchly {

// Megabytes (10^6 bytes) of RFC files analysed per second: every file read
// into memory first, then each text analysed as a document analyses the
// file it has read, the whole list several times over in `threads` threads
// (0: one per core). The best of several rounds, since the machine is
// shared. `byProcessorTime` divides by the processor time the rounds took
// instead of the time that passed: the figure of one thread that a busy
// machine leaves nearly alone.
double analysisMegabytesPerSecond(const std::vector<std::filesystem::path>& files, int threads,
                                  bool byProcessorTime = false);

// The processor time the process has used so far, in seconds, all its
// threads together: what a step costs however many other programs share
// the machine.
double processorSeconds();

// The RFC files of a collection folder: rfcN.txt, the index left out.
std::vector<std::filesystem::path> collectionFiles(const std::filesystem::path& folder);

} // namespace parchly

#endif
