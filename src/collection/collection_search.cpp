#include "collection/collection_search.h"
#include "collection/worker_threads.h"

#include "analysis/analyse.h"
#include "analysis/line_reader.h"

#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace parchly {

namespace {

// A NUL byte among the first bytes marks a file that is not text.
constexpr std::size_t kBinaryProbe = 8192;

bool isWordByte(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Where a match lies in the file's bytes.
struct Match {
    std::size_t at;
    std::size_t length;
};

// What a worker keeps from file to file.
struct Scratch {
    std::string lowered; // the file in lower case, for a phrase of letters
    std::optional<QRegularExpression> expression; // compiled once per worker
};

} // namespace

bool isSingleWord(const std::string& text)
{
    if (text.empty() || !isWordByte(static_cast<unsigned char>(text.front()))
        || !isWordByte(static_cast<unsigned char>(text.back())))
        return false;
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return isWordByte(static_cast<unsigned char>(c)) || c == '-'; });
}

// The compiled query, shared read-only by the workers.
struct CollectionSearch::Matcher {
    SearchQuery query;
    std::string needle; // lower case unless the case must match
    std::optional<std::boyer_moore_horspool_searcher<std::string::const_iterator>> searcher;
    QString pattern;
    QRegularExpression::PatternOptions options;
    // A byte of the needle that has no case, when it has one: memchr finds
    // it at memory speed, and only its places are compared.
    std::ptrdiff_t anchor = -1;

    bool wholeAt(const char* text, std::size_t size, std::size_t at) const
    {
        if (!query.wholeWord)
            return true;
        const std::size_t after = at + needle.size();
        const bool wordStart = isWordByte(static_cast<unsigned char>(needle.front()));
        const bool wordEnd = isWordByte(static_cast<unsigned char>(needle.back()));
        return (!wordStart || at == 0 || !isWordByte(static_cast<unsigned char>(text[at - 1])))
            && (!wordEnd || after == size || !isWordByte(static_cast<unsigned char>(text[after])));
    }

    void findAnchored(const char* data, std::size_t size, std::vector<Match>& matches) const
    {
        if (size < needle.size())
            return;
        const char anchorByte = needle[static_cast<std::size_t>(anchor)];
        const char* next = data + anchor;
        const char* end = data + (size - needle.size()) + anchor + 1;
        while (next < end) {
            const char* found =
                static_cast<const char*>(std::memchr(next, anchorByte, std::size_t(end - next)));
            if (!found)
                break;
            const char* start = found - anchor;
            const bool equal = std::equal(needle.begin(), needle.end(), start,
                                          [](char wanted, char byte) { return wanted == asciiLower(byte); });
            const std::size_t at = static_cast<std::size_t>(start - data);
            if (equal && wholeAt(data, size, at)) {
                matches.push_back({at, needle.size()});
                next = start + needle.size() + anchor;
            } else {
                next = found + 1;
            }
        }
    }

    // Every match in `data`; false when a regular expression gave up
    // before the end (see findExpression), the matches being those before.
    bool find(const char* data, std::size_t size, Scratch& scratch, std::vector<Match>& matches) const
    {
        matches.clear();
        if (query.regularExpression)
            return findExpression(data, size, scratch, matches);
        const char* text = data;
        if (!query.matchCase && anchor >= 0) {
            findAnchored(data, size, matches);
            return true;
        }
        if (!query.matchCase) {
            // A lower-case copy lets the fast searcher of one byte table run
            // over it; the lines are taken from the file's own bytes.
            scratch.lowered.resize(size);
            std::transform(data, data + size, scratch.lowered.begin(), asciiLower);
            text = scratch.lowered.data();
        }
        const std::string_view haystack(text, size);
        auto from = haystack.begin();
        for (;;) {
            const auto [begin, end] = (*searcher)(from, haystack.end());
            if (begin == haystack.end())
                break;
            const std::size_t at = static_cast<std::size_t>(begin - haystack.begin());
            if (wholeAt(text, size, at)) {
                matches.push_back({at, needle.size()});
                from = end;
            } else {
                from = begin + 1;
            }
        }
        return true;
    }

    // A pattern such as "^(a|aa)*$" can take the matcher longer than its
    // limit on one line; it then stops, and the iterator ends as if
    // nothing more matched. It says so by no longer being valid.
    bool findExpression(const char* data, std::size_t size, Scratch& scratch,
                        std::vector<Match>& matches) const
    {
        // Latin-1 keeps one character per byte, so the offsets of a match
        // are those of the file's bytes. Each worker compiles its own copy.
        if (!scratch.expression)
            scratch.expression.emplace(pattern, options);
        const QString text = QString::fromLatin1(data, static_cast<qsizetype>(size));
        QRegularExpressionMatchIterator it = scratch.expression->globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            if (match.capturedLength() > 0)
                matches.push_back({static_cast<std::size_t>(match.capturedStart()),
                                   static_cast<std::size_t>(match.capturedLength())});
        }
        return it.isValid();
    }
};

CollectionSearch::CollectionSearch(SearchQuery query)
    : m_query(std::move(query))
{
    if (m_query.text.empty()) {
        m_error = "Nothing to find.";
        return;
    }
    auto matcher = std::make_unique<Matcher>();
    matcher->query = m_query;
    if (m_query.regularExpression) {
        QString pattern = QString::fromUtf8(m_query.text.data(), static_cast<qsizetype>(m_query.text.size()));
        if (m_query.wholeWord)
            pattern = QStringLiteral("\\b(?:%1)\\b").arg(pattern);
        matcher->pattern = pattern;
        matcher->options = QRegularExpression::MultilineOption;
        if (!m_query.matchCase)
            matcher->options |= QRegularExpression::CaseInsensitiveOption;
        const QRegularExpression check(pattern, matcher->options);
        if (!check.isValid()) {
            m_error = "Not a valid regular expression: " + check.errorString().toStdString();
            return;
        }
    } else {
        matcher->needle = m_query.text;
        if (!m_query.matchCase)
            std::transform(matcher->needle.begin(), matcher->needle.end(), matcher->needle.begin(),
                           asciiLower);
        matcher->searcher.emplace(matcher->needle.cbegin(), matcher->needle.cend());
        // The least common byte without case, by a rough order of how often
        // such bytes occur in RFCs.
        const std::string_view common = " .,-()0123456789";
        std::size_t rank = 0;
        for (std::size_t i = 0; i < matcher->needle.size(); ++i) {
            const char c = matcher->needle[i];
            if ((c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0x80)
                continue;
            const std::size_t place = common.find(c);
            const std::size_t thisRank = place == std::string_view::npos ? common.size() + 1 : place + 1;
            if (thisRank > rank) {
                rank = thisRank;
                matcher->anchor = static_cast<std::ptrdiff_t>(i);
            }
        }
    }
    m_matcher = std::move(matcher);
}

CollectionSearch::~CollectionSearch() = default;

namespace {

// Turns the matches of a file into hits on its lines, counted as the
// analysis counts them: a line of more than kLineBufferSize - 1 bytes is
// several lines of that many bytes. `matches` are in file order.
void placeHits(const char* data, std::size_t size, const std::vector<Match>& matches, FileHits& file)
{
    constexpr std::size_t piece = kLineBufferSize - 1;
    std::size_t lineStart = 0; // of the line (up to a line end) that holds `lineNumber`'s piece
    int32_t lineNumber = 0; // of the first piece of that line
    for (const Match& match : matches) {
        if (file.hits.size() == kListedHitsPerFile)
            break;
        // Walk the line ends up to the match, counting pieces.
        for (;;) {
            const void* found = std::memchr(data + lineStart, '\n', match.at - lineStart);
            if (!found)
                break;
            const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(found) - data) + 1;
            lineNumber += static_cast<int32_t>((end - lineStart + piece - 1) / piece);
            lineStart = end;
        }
        const void* endFound = std::memchr(data + match.at, '\n', size - match.at);
        const std::size_t lineEnd =
            endFound ? static_cast<std::size_t>(static_cast<const char*>(endFound) - data) : size;
        const std::size_t pieceIndex = (match.at - lineStart) / piece;
        const std::size_t pieceStart = lineStart + pieceIndex * piece;
        const std::size_t pieceEnd = std::min(lineEnd, pieceStart + piece);
        SearchHit hit;
        hit.line = lineNumber + static_cast<int32_t>(pieceIndex);
        hit.column = static_cast<int32_t>(match.at - pieceStart);
        hit.length = static_cast<int32_t>(std::min(match.length, pieceEnd - match.at));
        hit.lineText.assign(data + pieceStart, pieceEnd - pieceStart);
        file.hits.push_back(std::move(hit));
    }
}

// A heading's paragraph ("3.2.  Streams") as its number and its title; no
// number when the first word is not one ("Abstract", "Appendix A.").
void splitHeading(const std::string& heading, std::string& number, std::string& title)
{
    const std::size_t space = heading.find_first_of(" \t");
    const bool numbered = space != std::string::npos && space > 0
        && std::all_of(heading.begin(), heading.begin() + static_cast<std::ptrdiff_t>(space),
                       [](char c) { return (c >= '0' && c <= '9') || c == '.'; })
        && heading[0] != '.';
    if (!numbered) {
        number.clear();
        title = heading;
        return;
    }
    number = heading.substr(0, space);
    if (number.back() == '.')
        number.pop_back();
    const std::size_t start = heading.find_first_not_of(" \t", space);
    title = start == std::string::npos ? std::string() : heading.substr(start);
}

// Where a section opens in the file, pointing into the analysis' record.
struct SectionStart {
    int32_t line;
    const std::string* number;
    const std::string* title;
};

// The headings in file order. A text without printed contents has its
// headings moved into the structure built from them, in file order; the
// paragraphs left beside it are text that structure passed over ("(a) is
// reliable," at the margin of a numbered section in RFC 1891).
std::vector<SectionStart> sectionStarts(const RfcText& text)
{
    std::vector<SectionStart> starts;
    if (text.structureFromText) {
        starts.reserve(text.contents.size());
        for (const ContentEntry& entry : text.contents)
            starts.push_back({entry.headingLine, &entry.number, &entry.title});
        return starts;
    }
    starts.reserve(text.headings.size());
    for (const SectionHeading& heading : text.headings)
        starts.push_back({heading.line, &heading.number, &heading.title});
    return starts;
}

// The title of the file and the section of each hit, from its analysis.
void addSections(const char* data, std::size_t size, FileHits& file)
{
    // The bytes outlive the analysis: they are read where they stand.
    LineReader reader = LineReader::borrowing(std::string_view(data, size));
    RfcText text;
    // The title and the headings are all a hit needs.
    AnalysisOptions options;
    options.disableReferenceAnalysis = true;
    options.links = LinkScope::None;
    options.requirements = false;
    options.pageStatistics = false;
    analyseText(text, &reader, LimitsBlock(), options);
    file.title = text.title;
    const std::vector<SectionStart> sections = sectionStarts(text);
    // Heading lines count from 1, hit lines from 0.
    auto section = sections.cbegin();
    for (SearchHit& hit : file.hits) {
        while (section != sections.cend() && section->line <= hit.line + 1)
            ++section;
        if (section == sections.cbegin())
            continue;
        const SectionStart& start = *(section - 1);
        if (start.number->empty()) {
            splitHeading(*start.title, hit.sectionNumber, hit.sectionTitle);
        } else {
            hit.sectionNumber = *start.number;
            hit.sectionTitle = *start.title;
        }
    }
}

} // namespace

SearchSummary CollectionSearch::run(const std::vector<CollectionFile>& files, int threads,
                                    const std::function<void(FileHits&&)>& onHits)
{
    SearchSummary summary;
    if (!m_matcher)
        return summary;
    if (threads <= 0)
        threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::atomic<std::size_t> next{0};
    std::mutex mutex; // guards `summary` and the calls of `onHits`
    const ReadAhead readAhead(files.size(),
                              [&](std::size_t job) -> const std::string& { return files[job].path; });
    auto work = [&] {
        std::vector<char> buffer;
        Scratch scratch;
        std::vector<Match> matches;
        SearchSummary mine;
        for (std::size_t job = next++; job < files.size() && !m_cancelled; job = next++) {
            readAhead.taken(job);
            const CollectionFile& file = files[job];
            std::size_t size = 0;
            const FileRefusal refusal = readWholeFile(file.path, buffer, size);
            if (refusal == FileRefusal::TooLarge) {
                ++mine.filesTooLarge;
            } else if (refusal != FileRefusal::None) {
                ++mine.filesUnread;
            } else if (std::memchr(buffer.data(), '\0', std::min(size, kBinaryProbe))) {
                ++mine.filesBinary;
            } else {
                bool complete = m_matcher->find(buffer.data(), size, scratch, matches);
                if (!matches.empty()) {
                    // Lines are counted in text mode, where CR LF is one line end.
                    if (std::memchr(buffer.data(), '\r', size)) {
                        size = convertToTextMode(buffer.data(), size);
                        complete = m_matcher->find(buffer.data(), size, scratch, matches);
                    }
                }
                if (!complete)
                    ++mine.filesIncomplete;
                // A file searched only in part is listed even without a hit,
                // so that the reader knows where to look again.
                if (!matches.empty() || !complete) {
                    FileHits hits;
                    hits.rfc = file.rfc;
                    hits.path = file.path;
                    hits.incomplete = !complete;
                    hits.hitCount = static_cast<int32_t>(matches.size());
                    placeHits(buffer.data(), size, matches, hits);
                    addSections(buffer.data(), size, hits);
                    mine.filesWithHits += matches.empty() ? 0 : 1;
                    mine.hits += hits.hitCount;
                    const std::lock_guard<std::mutex> lock(mutex);
                    if (onHits)
                        onHits(std::move(hits));
                }
            }
            ++mine.filesSearched;
            ++m_searched;
        }
        const std::lock_guard<std::mutex> lock(mutex);
        summary.filesSearched += mine.filesSearched;
        summary.filesWithHits += mine.filesWithHits;
        summary.filesUnread += mine.filesUnread;
        summary.filesBinary += mine.filesBinary;
        summary.filesTooLarge += mine.filesTooLarge;
        summary.filesIncomplete += mine.filesIncomplete;
        summary.hits += mine.hits;
    };
    runOnThreads(threads, work);
    summary.cancelled = m_cancelled;
    return summary;
}

} // namespace parchly
