// The cited-by cache: whatever the file holds, a load either fails with an
// empty graph or gives a graph citedBy can answer from (citations in order,
// each RFC once, no negative line or count); such a graph saved and loaded
// again is the same graph, and saving it again gives the same bytes.
//
// Input: the cache file's bytes.
#include "collection/citation_graph.h"
#include "fuzz_check.h"
#include "scratch_folder.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using namespace parchly;

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool sameCitations(const CitingFile& a, const CitingFile& b)
{
    if (a.size != b.size || a.modified != b.modified || a.title != b.title
        || a.citations.size() != b.citations.size())
        return false;
    for (std::size_t i = 0; i < a.citations.size(); ++i) {
        const Citation& x = a.citations[i];
        const Citation& y = b.citations[i];
        if (x.cited != y.cited || x.referenceLine != y.referenceLine || x.count != y.count)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 65536)
        return 0;
    const std::string cache = (fuzz::scratchFolder() / "cited-by.cache").string();
    std::ofstream(cache, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    CitationGraph graph;
    if (!graph.loadCache(cache)) {
        PARCHLY_CHECK(graph.files().empty(), "a refused cache leaves an empty graph");
        return 0;
    }
    for (const auto& [rfc, file] : graph.files()) {
        PARCHLY_CHECK(rfc > 0, "a citing RFC has a number");
        PARCHLY_CHECK(file.title.find('\n') == std::string::npos, "a title stays on its line");
        for (std::size_t i = 0; i < file.citations.size(); ++i) {
            const Citation& citation = file.citations[i];
            PARCHLY_CHECK(citation.cited > 0 && citation.referenceLine >= 0 && citation.count >= 0,
                          "a citation names an RFC with a line and a count that can be");
            PARCHLY_CHECK(i == 0 || file.citations[i - 1].cited < citation.cited,
                          "citations are in order, each RFC once");
            // What citedBy finds by halving is what the file holds.
            bool found = false;
            for (const CitingRfc& citing : graph.citedBy(citation.cited))
                found = found || (citing.rfc == rfc && citing.count == citation.count);
            PARCHLY_CHECK(found || citation.cited == rfc, "citedBy finds every citation but of itself");
        }
    }

    PARCHLY_CHECK(graph.saveCache(cache), "a loaded graph is saved");
    const std::string saved = readAll(cache);
    CitationGraph reloaded;
    PARCHLY_CHECK(reloaded.loadCache(cache), "a saved graph loads");
    PARCHLY_CHECK(reloaded.files().size() == graph.files().size(), "the reloaded graph has every file");
    for (const auto& [rfc, file] : graph.files()) {
        const auto again = reloaded.files().find(rfc);
        PARCHLY_CHECK(again != reloaded.files().end() && sameCitations(file, again->second),
                      "the reloaded graph is the same graph");
    }
    PARCHLY_CHECK(reloaded.saveCache(cache) && readAll(cache) == saved, "saving again gives the same bytes");
    return 0;
}
