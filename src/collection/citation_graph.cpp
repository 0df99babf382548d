#include "collection/citation_graph.h"
#include "collection/worker_threads.h"

#include "analysis/analyse.h"
#include "analysis/file_access.h"
#include "analysis/line_reader.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>

namespace parchly {

namespace {

// The first line of the cache file; a file of another version is rebuilt.
// Version 1 counted at most one citation a line.
constexpr std::string_view kCacheHeader = "parchly cited-by 2\n";
// The bytes of the shortest citation line.
constexpr std::size_t kShortestCitation = 6;
// Far beyond the cache of the whole collection (about 5 MB for 9,800 RFCs):
// a larger file is no cache of ours and is rebuilt rather than read.
constexpr std::uint64_t kCacheSizeLimit = std::uint64_t(64) * 1024 * 1024;

// Reads the cache file's fields one by one; any surprise marks it damaged.
class CacheParser {
public:
    explicit CacheParser(std::string_view text)
        : m_text(text)
    {
    }

    template <typename Number> bool number(Number& value)
    {
        skipSpaces();
        const char* begin = m_text.data() + m_at;
        const auto [end, error] = std::from_chars(begin, m_text.data() + m_text.size(), value);
        if (error != std::errc() || end == begin)
            return false;
        m_at += static_cast<std::size_t>(end - begin);
        return true;
    }
    // The rest of the line, its line end passed.
    bool restOfLine(std::string& value)
    {
        if (m_at < m_text.size() && m_text[m_at] == ' ')
            ++m_at;
        const std::size_t end = m_text.find('\n', m_at);
        if (end == std::string_view::npos)
            return false;
        value.assign(m_text.substr(m_at, end - m_at));
        m_at = end + 1;
        return true;
    }
    bool lineEnd()
    {
        skipSpaces();
        if (m_at >= m_text.size() || m_text[m_at] != '\n')
            return false;
        ++m_at;
        return true;
    }
    bool literal(std::string_view word)
    {
        if (m_text.substr(m_at, word.size()) != word)
            return false;
        m_at += word.size();
        return true;
    }
    bool atEnd() const { return m_at == m_text.size(); }
    std::size_t remaining() const { return m_text.size() - m_at; }

private:
    void skipSpaces()
    {
        while (m_at < m_text.size() && m_text[m_at] == ' ')
            ++m_at;
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

// Appends `value` in decimal, then `after`.
template <typename Number> void appendNumber(std::string& text, Number value, char after)
{
    char digits[24];
    const char* const end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, static_cast<std::size_t>(end - digits));
    text += after;
}

bool parseCache(std::string_view text, std::map<int32_t, CitingFile>& files)
{
    CacheParser parser(text);
    std::size_t count = 0;
    if (!parser.literal(kCacheHeader) || !parser.number(count) || !parser.lineEnd())
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        int32_t rfc = 0;
        std::size_t citations = 0;
        CitingFile file;
        if (!parser.literal("F") || !parser.number(rfc) || !parser.number(file.size)
            || !parser.number(file.modified) || !parser.number(citations) || !parser.restOfLine(file.title))
            return false;
        // A count beyond what the rest of the file could hold ("1 0 0\n" at
        // the least for each) is damage, not a reason to allocate.
        if (rfc <= 0 || citations > parser.remaining() / kShortestCitation)
            return false;
        file.citations.resize(citations);
        for (Citation& citation : file.citations)
            if (!parser.number(citation.cited) || !parser.number(citation.referenceLine)
                || !parser.number(citation.count) || !parser.lineEnd())
                return false;
        // citedBy looks citations up by halving: they must be in order, each
        // RFC once, with lines and counts that can be.
        for (std::size_t c = 0; c < file.citations.size(); ++c) {
            const Citation& citation = file.citations[c];
            if (citation.cited <= 0 || citation.referenceLine < 0 || citation.count < 0
                || (c > 0 && file.citations[c - 1].cited >= citation.cited))
                return false;
        }
        if (!files.emplace(rfc, std::move(file)).second)
            return false;
    }
    return parser.literal("end\n") && parser.atEnd();
}

} // namespace

CitingFile analyseCitations(int32_t rfc, const char* data, std::size_t size)
{
    // The bytes outlive the analysis: they are read where they stand.
    LineReader reader = LineReader::borrowing(std::string_view(data, size));
    return analyseCitations(rfc, reader);
}

CitingFile analyseCitations(int32_t rfc, LineReader& reader)
{
    CitingFile file;
    RfcText text;
    AnalysisOptions options;
    options.links = LinkScope::None;
    options.requirements = false;
    options.pageStatistics = false;
    options.citationMarks = false;
    analyseText(text, &reader, LimitsBlock(), options);
    // The citations are those the reading view links, every one of a line
    // and each label of a list ("[2, 3]"); no other link is looked for, and
    // none at all when no reference names another RFC, as in most RFCs of
    // the 1970s and 1980s: nothing would be counted.
    if (std::any_of(text.references.begin(), text.references.end(), [rfc](const ReferenceEntry& reference) {
            return reference.rfc > 0 && reference.rfc != rfc;
        }))
        findLinksAndRequirements(text, reader, LinkScope::Citations, false);
    file.title = text.title;
    // The title goes on one line of the cache.
    std::replace_if(
        file.title.begin(), file.title.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    std::vector<int32_t> citationsOfReference(text.references.size(), 0);
    for (const LinkMark& link : text.links)
        if (link.kind == LinkKind::Citation && link.targetReference >= 0
            && static_cast<std::size_t>(link.targetReference) < citationsOfReference.size())
            ++citationsOfReference[static_cast<std::size_t>(link.targetReference)];
    std::vector<Citation>& cited = file.citations;
    cited.reserve(text.references.size());
    for (std::size_t i = 0; i < text.references.size(); ++i) {
        const ReferenceEntry& reference = text.references[i];
        if (reference.rfc > 0 && reference.rfc != rfc)
            cited.push_back(Citation{reference.rfc, reference.firstLine, citationsOfReference[i]});
    }
    // By cited number, each once. Normative and informative lists may both
    // name an RFC: the first entry (kept first by the stable sort) is where
    // it opens, the citations of both count.
    std::stable_sort(cited.begin(), cited.end(),
                     [](const Citation& a, const Citation& b) { return a.cited < b.cited; });
    std::size_t kept = 0;
    for (std::size_t i = 0; i < cited.size(); ++i) {
        if (kept > 0 && cited[kept - 1].cited == cited[i].cited)
            cited[kept - 1].count += cited[i].count;
        else
            cited[kept++] = cited[i];
    }
    cited.resize(kept);
    return file;
}

bool CitationGraph::loadCache(const std::string& path)
{
    m_files.clear();
    std::vector<char> buffer;
    std::size_t size = 0;
    if (readWholeFile(path, buffer, size, kCacheSizeLimit) != FileRefusal::None)
        return false;
    if (!parseCache(std::string_view(buffer.data(), size), m_files)) {
        m_files.clear();
        return false;
    }
    return true;
}

bool CitationGraph::saveCache(const std::string& path) const
{
    std::string text(kCacheHeader);
    // About 20 bytes a citation: the text is written once, without a string
    // made for each of its numbers.
    std::size_t citations = 0;
    for (const auto& [rfc, file] : m_files)
        citations += file.citations.size();
    text.reserve(text.size() + m_files.size() * 128 + citations * 20);
    appendNumber(text, m_files.size(), '\n');
    for (const auto& [rfc, file] : m_files) {
        text += "F ";
        appendNumber(text, rfc, ' ');
        appendNumber(text, file.size, ' ');
        appendNumber(text, file.modified, ' ');
        appendNumber(text, file.citations.size(), ' ');
        text += file.title;
        text += '\n';
        for (const Citation& citation : file.citations) {
            appendNumber(text, citation.cited, ' ');
            appendNumber(text, citation.referenceLine, ' ');
            appendNumber(text, citation.count, '\n');
        }
    }
    text += "end\n";
    // What a killed program left beside the cache goes first.
    removeStaleTemporaries(path);
    return replaceFileContents(path, text).empty();
}

RefreshSummary CitationGraph::refresh(const std::vector<CollectionFile>& files, int threads,
                                      const std::function<void(std::size_t, std::size_t)>& progress,
                                      const std::atomic<bool>* cancel)
{
    RefreshSummary summary;
    std::map<int32_t, CitingFile> kept;
    std::vector<const CollectionFile*> changed;
    for (const CollectionFile& file : files) {
        auto known = m_files.find(file.rfc);
        if (known != m_files.end() && known->second.size == file.size
            && known->second.modified == file.modified) {
            kept.insert(m_files.extract(known));
            ++summary.reused;
        } else {
            changed.push_back(&file);
        }
    }
    // What is left of the old graph is either analysed again or gone.
    std::size_t stillThere = 0;
    for (const CollectionFile* file : changed)
        stillThere += m_files.count(file->rfc);
    summary.removed = m_files.size() - std::min(stillThere, m_files.size());
    m_files = std::move(kept);

    // The largest files first: a large one taken last would leave the other
    // workers idle while it is analysed.
    std::stable_sort(changed.begin(), changed.end(),
                     [](const CollectionFile* a, const CollectionFile* b) { return a->size > b->size; });
    if (threads <= 0)
        threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::mutex mutex; // guards m_files and summary
    const ReadAhead readAhead(changed.size(),
                              [&](std::size_t job) -> const std::string& { return changed[job]->path; });
    auto work = [&] {
        for (std::size_t job = next++; job < changed.size() && !(cancel && *cancel); job = next++) {
            readAhead.taken(job);
            const CollectionFile& file = *changed[job];
            // Read straight into the reader, which holds the text the
            // analysis reads: no copy of a whole file per file.
            std::optional<LineReader> reader = LineReader::open(file.path);
            if (reader) {
                CitingFile citing = analyseCitations(file.rfc, *reader);
                citing.size = file.size;
                citing.modified = file.modified;
                const std::lock_guard<std::mutex> lock(mutex);
                m_files[file.rfc] = std::move(citing);
                ++summary.analysed;
            } else if (fileRefusal(file.path) == FileRefusal::TooLarge) {
                // A file that cannot be read now is analysed again next
                // time; one beyond the reader's limits is no RFC and is
                // left out.
                const std::lock_guard<std::mutex> lock(mutex);
                ++summary.skipped;
            }
            const std::size_t finished = ++done;
            if (progress)
                progress(finished, changed.size());
        }
    };
    runOnThreads(threads, work);
    return summary;
}

std::vector<CitingRfc> CitationGraph::citedBy(int32_t rfc) const
{
    std::vector<CitingRfc> citing;
    for (const auto& [number, file] : m_files) {
        if (number == rfc)
            continue;
        const auto found = std::lower_bound(file.citations.begin(), file.citations.end(), rfc,
                                            [](const Citation& c, int32_t value) { return c.cited < value; });
        if (found != file.citations.end() && found->cited == rfc)
            citing.push_back({number, file.title, found->referenceLine, found->count});
    }
    return citing;
}

} // namespace parchly
