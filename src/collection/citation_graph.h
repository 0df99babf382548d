// Which local RFCs cite which: for every file of the collection, the RFCs
// its references sections name, where, and how often its text cites them.
// The graph is kept in a cache file keyed by each file's size and
// modification time, so that a later run reads it at once and analyses
// again only the files that changed.
#ifndef PARCHLY_COLLECTION_CITATION_GRAPH_H
#define PARCHLY_COLLECTION_CITATION_GRAPH_H

#include "analysis/line_reader.h"
#include "collection/collection_files.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace parchly {

// One RFC named in the references of a citing file.
struct Citation {
    int32_t cited = 0;
    int32_t referenceLine = 0; // the reference entry's first line, as the analysis gives it
    int32_t count = 0; // citations of that reference in the text
};

struct CitingFile {
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    std::string title; // the analysed title
    std::vector<Citation> citations; // by cited number
};

// A local RFC that cites the one asked about.
struct CitingRfc {
    int32_t rfc = 0;
    std::string title;
    int32_t referenceLine = 0;
    int32_t count = 0;
};

struct RefreshSummary {
    std::size_t analysed = 0;
    std::size_t reused = 0;
    std::size_t removed = 0;
    std::size_t skipped = 0; // beyond the reader's size limit: not analysed
};

class CitationGraph {
public:
    // Replaces the graph by the cache file at `path`; false, with an empty
    // graph, when the file is missing, no regular file, or damaged: fields
    // that do not parse, citations out of order or repeated, negative lines
    // or counts, more than the file could hold.
    bool loadCache(const std::string& path);
    // Writes the cache through a temporary file (replaceFileContents), so
    // that a failed write leaves the old one whole.
    bool saveCache(const std::string& path) const;

    // Brings the graph up to date with `files`: an entry whose size and
    // time agree stays, the other files are analysed in `threads` workers
    // (0: one per core), entries of files gone are dropped. `progress`
    // (done, total) is called from the workers. A set `cancel` stops it,
    // keeping what was analysed.
    RefreshSummary refresh(const std::vector<CollectionFile>& files, int threads,
                           const std::function<void(std::size_t, std::size_t)>& progress = {},
                           const std::atomic<bool>* cancel = nullptr);

    // The local RFCs that cite RFC `rfc`, by number; an RFC citing itself
    // is left out.
    std::vector<CitingRfc> citedBy(int32_t rfc) const;

    const std::map<int32_t, CitingFile>& files() const { return m_files; }

private:
    std::map<int32_t, CitingFile> m_files; // by citing number
};

// The citations of one file's text (RFC `rfc`), given as its bytes or as
// a reader over them.
CitingFile analyseCitations(int32_t rfc, const char* data, std::size_t size);
CitingFile analyseCitations(int32_t rfc, LineReader& reader);

} // namespace parchly

#endif
