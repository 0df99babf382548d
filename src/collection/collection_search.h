// Find in RFCs: every RFC file of the local folder searched for a phrase or
// a regular expression in worker threads over all cores. A file is read
// whole and scanned as one block of bytes; lines are found only around the
// hits, and only a file with hits is analysed, for the section of each hit.
//
// A phrase is matched in the file's bytes as they stand, so a phrase that a
// page break (footer, form feed, header) or a line end splits is not found:
// the reader finds it again in the RFC with Find, which has the same rule.
#ifndef PARCHLY_COLLECTION_COLLECTION_SEARCH_H
#define PARCHLY_COLLECTION_COLLECTION_SEARCH_H

#include "collection/collection_files.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace parchly {

struct SearchQuery {
    std::string text;
    bool matchCase = false;
    bool wholeWord = false;
    bool regularExpression = false;
};

// Whether `text` is one word (letters, digits, '_' and '-' inside), for
// which whole words are the default.
bool isSingleWord(const std::string& text);

struct SearchHit {
    int32_t line = 0; // 0-based file line, in the line units of the analysis
    int32_t column = 0; // bytes into the line
    int32_t length = 0; // bytes, within the line
    std::string lineText; // without its line end
    std::string sectionNumber; // empty before the first heading
    std::string sectionTitle;
};

struct FileHits {
    int32_t rfc = 0;
    std::string path;
    std::string title; // the analysed title
    int32_t hitCount = 0; // every hit of the file
    // The regular expression gave up in this file (too complex for a line
    // of it): hits after that point may be missing.
    bool incomplete = false;
    std::vector<SearchHit> hits; // the first kListedHitsPerFile of them
};

// A file with thousands of hits lists the first ones: the count says the rest.
constexpr std::size_t kListedHitsPerFile = 100;

struct SearchSummary {
    std::size_t filesSearched = 0;
    std::size_t filesWithHits = 0;
    std::size_t filesUnread = 0; // gone or unreadable when their turn came
    std::size_t filesBinary = 0; // a NUL byte near the start: not text, skipped
    std::size_t filesTooLarge = 0; // beyond the reader's size limit: skipped
    std::size_t filesIncomplete = 0; // searched only in part (see FileHits::incomplete)
    std::int64_t hits = 0;
    bool cancelled = false;
};

class CollectionSearch {
public:
    // An empty text or a regular expression that does not compile leaves
    // the search unusable, with error() saying why.
    explicit CollectionSearch(SearchQuery query);
    ~CollectionSearch();

    const std::string& error() const { return m_error; }
    const SearchQuery& query() const { return m_query; }

    // Searches `files` in `threads` workers (0: one per core) and returns
    // when every file is searched or the search was cancelled. `onHits`
    // gets each file with hits or searched only in part, from a worker
    // thread, never two at once.
    SearchSummary run(const std::vector<CollectionFile>& files, int threads,
                      const std::function<void(FileHits&&)>& onHits);

    // From any thread: no worker starts another file.
    void cancel() { m_cancelled = true; }
    // From any thread, for the progress bar.
    std::size_t filesSearched() const { return m_searched; }

private:
    struct Matcher;

    SearchQuery m_query;
    std::string m_error;
    std::unique_ptr<Matcher> m_matcher;
    std::atomic<bool> m_cancelled{false};
    std::atomic<std::size_t> m_searched{0};
};

} // namespace parchly

#endif
