// parchly-bench --collection DIR: the figures of the whole local collection.
#ifndef PARCHLY_TOOLS_COLLECTION_BENCH_H
#define PARCHLY_TOOLS_COLLECTION_BENCH_H

#include <string>

namespace parchly {

struct CollectionBenchOptions {
    std::string word = "0-RTT";
    // Only the cited-by build and its cache load: the figure worked on
    // most, without the minute the analysis figures take.
    bool citedByOnly = false;
    // Where the built cache is kept, to compare two builds' caches byte
    // for byte; empty: a temporary file, removed.
    std::string keptCache;
};

// Prints, one a line: the analysis throughput in one thread and in all, the
// time of a search of every file for the word, of the first build of the
// cited-by graph and of filling the Cited by list from its cache. False when
// the folder holds no RFC.
bool benchCollection(const std::string& folder, const CollectionBenchOptions& options);

} // namespace parchly

#endif
