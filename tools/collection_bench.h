// parchly-bench --collection DIR: the figures of the whole local collection.
#ifndef PARCHLY_TOOLS_COLLECTION_BENCH_H
#define PARCHLY_TOOLS_COLLECTION_BENCH_H

#include <string>

namespace parchly {

// Prints, one a line: the analysis throughput in one thread and in all, the
// time of a search of every file for `word`, of the first build of the
// cited-by graph and of filling the Cited by list from its cache. False when
// the folder holds no RFC.
bool benchCollection(const std::string& folder, const std::string& word);

} // namespace parchly

#endif
