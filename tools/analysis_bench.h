// The analysis throughput over a collection of RFC files, for the benches.
#ifndef PARCHLY_TOOLS_ANALYSIS_BENCH_H
#define PARCHLY_TOOLS_ANALYSIS_BENCH_H

#include <filesystem>
#include <vector>

namespace parchly {

// Megabytes (10^6 bytes) of RFC files read and analysed per second: each
// file opened, read and analysed as the program opens a document, the whole
// list several times over in `threads` threads (0: one per core). The best
// of several rounds, since the machine is shared.
double analysisMegabytesPerSecond(const std::vector<std::filesystem::path>& files, int threads);

// The RFC files of a collection folder: rfcN.txt, the index left out.
std::vector<std::filesystem::path> collectionFiles(const std::filesystem::path& folder);

} // namespace parchly

#endif
