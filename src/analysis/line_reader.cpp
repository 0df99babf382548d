#include "analysis/line_reader.h"

#include "analysis/file_access.h"
#include "analysis/line_bytes.h"

#include <algorithm>

#include <cstdio>
#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace parchly {

std::size_t convertToTextMode(char* data, std::size_t size)
{
    const void* firstCr = std::memchr(data, '\r', size);
    if (firstCr == nullptr)
        return size;
    // Every stretch between two CRs moves down over the CRs dropped before
    // it, in the same buffer.
    std::size_t out = static_cast<std::size_t>(static_cast<const char*>(firstCr) - data);
    std::size_t in = out;
    while (in < size) {
        const void* cr = std::memchr(data + in, '\r', size - in);
        const std::size_t stretchEnd =
            cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - data) : size;
        std::memmove(data + out, data + in, stretchEnd - in);
        out += stretchEnd - in;
        in = stretchEnd;
        if (in == size)
            break;
        const bool pairedWithLf = in + 1 < size && data[in + 1] == '\n';
        if (!pairedWithLf)
            data[out++] = '\r';
        ++in;
    }
    return out;
}

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// A buffer that the file's bytes are read into and the reader then keeps,
// without a copy.
class ReadBuffer {
public:
    char* data() { return m_bytes.get(); }
    std::size_t size() const { return m_capacity; }
    void resize(std::size_t capacity)
    {
        std::unique_ptr<char[]> larger(new char[capacity]);
        if (m_capacity > 0)
            std::memcpy(larger.get(), m_bytes.get(), std::min(m_capacity, capacity));
        m_bytes = std::move(larger);
        m_capacity = capacity;
    }
    std::unique_ptr<char[]> take() { return std::move(m_bytes); }

private:
    std::unique_ptr<char[]> m_bytes;
    std::size_t m_capacity = 0;
};

// The file's bytes, if it is a regular file within the reader's limit: a
// device such as /dev/zero never ends and a FIFO blocks.
bool readRawFile(const std::string& path, std::unique_ptr<char[]>& bytes, std::size_t& size)
{
    ReadBuffer buffer;
    if (readRegularFile(path, kTextFileSizeLimit, buffer, size) != FileRefusal::None)
        return false;
    bytes = buffer.take();
    return true;
}

} // namespace

bool readTextModeFile(const std::string& path, std::string& text)
{
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
    if (!readRawFile(path, bytes, size))
        return false;
    text.assign(bytes.get(), convertToTextMode(bytes.get(), size));
    return true;
}

LineReader::LineReader(std::unique_ptr<char[]> text, std::size_t size)
    : m_owned(std::move(text))
    , m_bytes(m_owned.get())
    , m_size(size)
{
    cutLines();
}

LineReader::LineReader(const char* borrowed, std::size_t size)
    : m_bytes(borrowed)
    , m_size(size)
{
    cutLines();
}

LineReader::LineReader(std::string_view rawBytes)
    : m_owned(new char[rawBytes.size()])
    , m_bytes(m_owned.get())
    , m_size(rawBytes.size())
{
    if (m_size > 0)
        std::memcpy(m_owned.get(), rawBytes.data(), m_size);
    cutLines();
}

LineReader LineReader::borrowing(std::string_view rawBytes)
{
    return LineReader(rawBytes.data(), rawBytes.size());
}

std::optional<LineReader> LineReader::open(const std::string& path)
{
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
    if (!readRawFile(path, bytes, size))
        return std::nullopt;
    return LineReader(std::move(bytes), size);
}

namespace {

// The facts of a line holding a form feed, beyond those of every line: a
// form feed opening the line is passed over to where its words start.
void describeFormFeedLine(std::string_view line, LineFacts& facts)
{
    facts.flags |= LineFacts::kHoldsFeed;
    const std::size_t indent = facts.indent;
    if (charAt(line, indent) != kFormFeed)
        return;
    facts.flags |= LineFacts::kOpensWithFeed;
    const std::size_t rest = skipBlanks(line, indent + 1);
    facts.rest = static_cast<uint16_t>(rest);
    if (rest >= line.size() || isLineEnd(line[rest]))
        facts.flags |= LineFacts::kBlankAfterRest;
    std::size_t words = indent;
    while (words < facts.textEnd && (isBlankChar(line[words]) || line[words] == kFormFeed))
        ++words;
    if (words >= facts.textEnd)
        facts.flags |= LineFacts::kOnlyFeeds;
}

// What a line is, read from its first bytes and its last: the indentation
// and a form feed after it, and the line end. `holdsFeed` is known from the
// cutting, which meets every form feed.
LineFacts describeLine(std::string_view line, bool holdsFeed)
{
    LineFacts facts{};
    const std::size_t indent = skipBlanks(line, 0);
    // One LF ends a line, after any CR a text-mode read leaves before it.
    std::size_t textEnd = line.size();
    if (textEnd > 0 && line[textEnd - 1] == '\n')
        --textEnd;
    while (textEnd > 0 && line[textEnd - 1] == '\r')
        --textEnd;
    facts.indent = static_cast<uint16_t>(indent);
    facts.rest = facts.indent;
    facts.textEnd = static_cast<uint16_t>(textEnd);
    const bool blank = indent >= line.size() || isLineEnd(line[indent]);
    facts.flags = blank ? LineFacts::kBlank | LineFacts::kBlankAfterRest : 0;
    if (holdsFeed)
        describeFormFeedLine(line, facts);
    return facts;
}

// describeLine() of the common line, `size` bytes and then its LF, with no
// form feed: told by its first bytes and its last. Asked of nearly every
// line of every text opened.
inline void describePlainLine(const char* bytes, std::size_t size, LineFacts& facts)
{
    // Most lines open with their text, or with spaces; the LF stops the
    // blanks.
    const std::size_t indent = isBlankChar(bytes[0]) ? skipBlanks(std::string_view(bytes, size), 0) : 0;
    std::size_t textEnd = size;
    while (textEnd > 0 && bytes[textEnd - 1] == '\r')
        --textEnd;
    facts.indent = static_cast<uint16_t>(indent);
    facts.rest = static_cast<uint16_t>(indent);
    facts.textEnd = static_cast<uint16_t>(textEnd);
    facts.flags = isLineEnd(bytes[indent]) ? LineFacts::kBlank | LineFacts::kBlankAfterRest : 0;
}

// Whether a CR LF pair stands anywhere in the text: one search for a CR
// tells nearly every text, which holds none.
bool holdsCrLf(const char* text, std::size_t size)
{
    for (const char* cr = static_cast<const char*>(std::memchr(text, '\r', size)); cr != nullptr;
         cr = static_cast<const char*>(
             std::memchr(cr + 1, '\r', static_cast<std::size_t>(text + size - cr - 1)))) {
        if (cr + 1 < text + size && cr[1] == '\n')
            return true;
    }
    return false;
}

// Where the lines of a text end, written through a plain pointer into
// room made ahead of them and grown when they outnumber it: a push_back
// would reload its vector at each line.
class LineEnds {
public:
    explicit LineEnds(std::size_t room)
        : m_ends(new std::size_t[room])
        , m_room(room)
    {
    }

    void push(std::size_t end)
    {
        if (m_count == m_room)
            grow();
        m_ends[m_count++] = end;
    }
    std::size_t count() const { return m_count; }
    std::unique_ptr<std::size_t[]> take() { return std::move(m_ends); }

private:
    [[gnu::noinline]] void grow()
    {
        std::unique_ptr<std::size_t[]> more(new std::size_t[m_room * 2]);
        std::copy(m_ends.get(), m_ends.get() + m_count, more.get());
        m_ends = std::move(more);
        m_room *= 2;
    }

    std::unique_ptr<std::size_t[]> m_ends;
    std::size_t m_room;
    std::size_t m_count = 0;
};

// Cuts a text into lines as a 1,024-byte buffer reads it: each line ends
// after its LF, or after kLineBufferSize - 1 bytes when it is longer, the
// rest being the next line. The form feeds are met on the way, and the
// lines holding one noted.
class LineCutter {
public:
    LineCutter(const char* text, std::size_t size)
        : m_text(text)
        , m_size(size)
        // Lines run 40 bytes or so: room for shorter ones, grown if needed.
        , m_ends(size / 24 + 16)
    {
    }

    void meet(std::size_t at)
    {
        // A long line's pieces before a line end or a form feed are lines
        // of their own.
        while (at - m_start >= kLimit)
            endLine(m_start + kLimit);
        if (m_text[at] == '\n') {
            endLine(at + 1);
        } else if (m_feedLines.empty() || m_feedLines.back() != m_ends.count()) {
            m_feedLines.push_back(m_ends.count());
        }
    }

    // The last line, when the text does not end in an LF.
    void finish()
    {
        while (m_start < m_size)
            endLine(m_start + std::min(m_size - m_start, kLimit));
    }

    LineEnds& ends() { return m_ends; }
    std::vector<std::size_t>& feedLines() { return m_feedLines; }

private:
    static constexpr std::size_t kLimit = kLineBufferSize - 1;

    void endLine(std::size_t end)
    {
        m_ends.push(end);
        m_start = end;
    }

    const char* m_text;
    std::size_t m_size;
    std::size_t m_start = 0;
    LineEnds m_ends;
    std::vector<std::size_t> m_feedLines;
};

#if defined(__SSE2__)
// The cut of cutRawLines() over thirty-two bytes at a time, where the
// processor can: half the blocks to look at, most holding no line end.
// Where the blocks of thirty-two stop.
__attribute__((target("avx2"))) std::size_t cutBlocksOf32(const char* text, std::size_t size,
                                                          LineCutter& cutter)
{
    const __m256i lineFeeds = _mm256_set1_epi8('\n');
    const __m256i formFeeds = _mm256_set1_epi8(kFormFeed);
    std::size_t i = 0;
    for (; i + 32 <= size; i += 32) {
        const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + i));
        const __m256i either =
            _mm256_or_si256(_mm256_cmpeq_epi8(block, lineFeeds), _mm256_cmpeq_epi8(block, formFeeds));
        for (auto mask = static_cast<uint32_t>(_mm256_movemask_epi8(either)); mask != 0; mask &= mask - 1)
            cutter.meet(i + static_cast<std::size_t>(__builtin_ctz(mask)));
    }
    return i;
}
#endif

} // namespace

bool LineReader::cutRawLines()
{
    const char* const text = m_bytes;
    const std::size_t size = m_size;
    // The cut first, then the lines described one after the other: two
    // simple loops, each keeping its state in registers.
    LineCutter cutter(text, size);
    std::size_t i = 0;
#if defined(__SSE2__)
    if (__builtin_cpu_supports("avx2"))
        i = cutBlocksOf32(text, size, cutter);
    // Sixteen bytes at a time, looking for line ends and form feeds at
    // once: most lines are short, and a call to look for the end of each
    // would cost more than the looking.
    const __m128i lineFeeds = _mm_set1_epi8('\n');
    const __m128i formFeeds = _mm_set1_epi8(kFormFeed);
    for (; i + 16 <= size; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        const __m128i either =
            _mm_or_si128(_mm_cmpeq_epi8(block, lineFeeds), _mm_cmpeq_epi8(block, formFeeds));
        for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(either)); mask != 0; mask &= mask - 1)
            cutter.meet(i + static_cast<std::size_t>(__builtin_ctz(mask)));
    }
#endif
    for (; i < size; ++i) {
        if (text[i] == '\n' || text[i] == kFormFeed)
            cutter.meet(i);
    }
    cutter.finish();
    m_lineTotal = cutter.ends().count();
    m_lineEnds = cutter.ends().take();
    m_formFeedLines = std::move(cutter.feedLines());
    describeLines();
    return !holdsCrLf(text, size);
}

void LineReader::describeLines()
{
    m_facts.reset(new LineFacts[m_lineTotal]);
    // Locals, not members: each fact stored is a byte that may alias them.
    const char* const bytes = m_bytes;
    const std::size_t* const ends = m_lineEnds.get();
    LineFacts* const facts = m_facts.get();
    const std::size_t total = m_lineTotal;
    auto feed = m_formFeedLines.cbegin();
    const auto lastFeed = m_formFeedLines.cend();
    std::size_t start = 0;
    for (std::size_t line = 0; line < total; ++line) {
        const std::size_t end = ends[line];
        if (feed != lastFeed && *feed == line) {
            facts[line] = describeLine(std::string_view(bytes + start, end - start), true);
            ++feed;
        } else if (bytes[end - 1] == '\n') {
            describePlainLine(bytes + start, end - 1 - start, facts[line]);
        } else {
            facts[line] = describeLine(std::string_view(bytes + start, end - start), false);
        }
        start = end;
    }
}

void LineReader::cutLines()
{
    // Text with a CR LF pair is turned into text mode and cut again; other
    // text, nearly all, is never searched for a CR.
    if (!cutRawLines()) {
        // Borrowed bytes are the caller's: they are turned into text mode
        // in a copy.
        if (!m_owned) {
            m_owned.reset(new char[m_size]);
            std::memcpy(m_owned.get(), m_bytes, m_size);
            m_bytes = m_owned.get();
        }
        m_size = convertToTextMode(m_owned.get(), m_size);
        cutRawLines();
    }
    countFormFeedsBefore();
}

void LineReader::countFormFeedsBefore()
{
    if (m_formFeedLines.empty())
        return;
    // Each run of lines between two form-feed lines shares its count: one
    // fill per page rather than a test per line.
    m_feedsBefore.resize(m_lineTotal + 1);
    const auto counts = m_feedsBefore.begin();
    std::size_t from = 0;
    uint32_t before = 0;
    for (const std::size_t feedLine : m_formFeedLines) {
        std::fill(counts + static_cast<std::ptrdiff_t>(from),
                  counts + static_cast<std::ptrdiff_t>(feedLine + 1), before);
        from = feedLine + 1;
        ++before;
    }
    std::fill(counts + static_cast<std::ptrdiff_t>(from), m_feedsBefore.end(), before);
}

bool LineReader::readLine(std::string& line)
{
    const std::optional<std::string_view> next = nextLine();
    if (!next)
        return false;
    line.assign(next->data(), next->size());
    return true;
}

std::size_t LineReader::skipLines(std::size_t count)
{
    const std::size_t left = m_lineTotal - m_next;
    if (count > left) {
        m_next = m_lineTotal;
        m_atEnd = true;
        return left;
    }
    if (count > 0) {
        // The last one is read, for the end state it leaves.
        m_next += count - 1;
        nextLine();
    }
    return count;
}

void LineReader::rewind()
{
    m_next = 0;
    m_atEnd = false;
}

} // namespace parchly
