#include "collection_bench.h"

#include "analysis_bench.h"
#include "bench_timing.h"
#include "collection/citation_graph.h"
#include "collection/collection_search.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <unistd.h>

namespace parchly {

namespace {

void benchAnalysisAndSearch(const std::vector<CollectionFile>& files,
                            const std::vector<std::filesystem::path>& paths, const std::string& word)
{
    std::printf("analysis, one thread: %.0f MB/s\n", analysisMegabytesPerSecond(paths, 1));
    std::printf("analysis, one thread, processor time: %.0f MB/s\n",
                analysisMegabytesPerSecond(paths, 1, true));
    std::printf("analysis, all threads: %.0f MB/s\n", analysisMegabytesPerSecond(paths, 0));
    std::fflush(stdout);

    // The best of three: the first warms the page cache, the machine is shared.
    SearchQuery query;
    query.text = word;
    query.wholeWord = isSingleWord(word);
    double search = 0;
    for (int round = 0; round < 3; ++round) {
        CollectionSearch finder(query);
        const double time = millisecondsOf([&] { finder.run(files, 0, [](FileHits&&) {}); });
        search = round == 0 ? time : std::min(search, time);
    }
    std::printf("search \"%s\": %.0f ms\n", word.c_str(), search);
    std::fflush(stdout);
}

} // namespace

bool benchCollection(const std::string& folder, const CollectionBenchOptions& options)
{
    const std::vector<CollectionFile> files = listCollection(folder);
    if (files.empty()) {
        std::fprintf(stderr, "%s: no RFC files\n", folder.c_str());
        return false;
    }
    if (!options.citedByOnly)
        benchAnalysisAndSearch(files, collectionFiles(folder), options.word);

    const std::string cache = !options.keptCache.empty()
        ? options.keptCache
        : (std::filesystem::temp_directory_path()
           / ("parchly-bench-" + std::to_string(::getpid()) + ".cache"))
              .string();
    CitationGraph built;
    const double processorBefore = processorSeconds();
    const double build = millisecondsOf([&] {
        built.refresh(files, 0);
        built.saveCache(cache);
    });
    std::printf("cited-by build: %.0f ms (%.0f ms of processor time)\n", build,
                (processorSeconds() - processorBefore) * 1e3);
    // What the Cited by tab waits for: the cache read and the list of the
    // most cited local RFC; the index's titles follow.
    int32_t mostCited = 0;
    std::size_t most = 0;
    std::map<int32_t, std::size_t> counts;
    for (const auto& [rfc, file] : built.files())
        for (const Citation& citation : file.citations)
            if (++counts[citation.cited] > most) {
                most = counts[citation.cited];
                mostCited = citation.cited;
            }
    std::size_t listed = 0;
    const double load = millisecondsOf([&] {
        CitationGraph loaded;
        loaded.loadCache(cache);
        listed = loaded.citedBy(mostCited).size();
    });
    std::printf("cited-by cache load: %.1f ms\n", load);
    std::fprintf(stderr, "%zu files; RFC %d cited by %zu\n", files.size(), mostCited, listed);
    if (options.keptCache.empty())
        std::filesystem::remove(cache);
    return true;
}

} // namespace parchly
