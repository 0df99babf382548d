#include "analysis/line_reader.h"

#include "analysis/file_access.h"
#include "analysis/line_bytes.h"

#include <algorithm>

#include <cstdio>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
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

std::string textModeBytes(std::string raw)
{
    raw.resize(convertToTextMode(raw.data(), raw.size()));
    return raw;
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
    : m_text(std::move(text))
    , m_size(size)
{
    cutLines();
}

LineReader::LineReader(std::string_view rawBytes)
    : m_text(new char[rawBytes.size()])
    , m_size(rawBytes.size())
{
    if (m_size > 0)
        std::memcpy(m_text.get(), rawBytes.data(), m_size);
    cutLines();
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
// cutting, which meets every form feed. Asked of every line of every text
// opened: the common line, without a form feed, is told by its first bytes.
LineFacts describeLine(std::string_view line, bool holdsFeed)
{
    LineFacts facts;
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

// The lines of a text as they were cut.
struct CutText {
    std::vector<std::size_t> ends;
    std::vector<LineFacts> facts;
    std::vector<std::size_t> feedLines;
    bool crLf = false;
};

// Cuts a text into lines as a 1,024-byte buffer reads it: each line ends
// after its LF, or after kLineBufferSize - 1 bytes when it is longer, the
// rest being the next line. The line ends and form feeds are met in order,
// so each line is described as it ends and the lines holding a form feed
// are known on the way.
class LineCutter {
public:
    LineCutter(const char* text, std::size_t size)
        : m_text(text)
        , m_size(size)
    {
        m_cut.ends.reserve(size / 32 + 1);
        m_cut.facts.reserve(size / 32 + 1);
    }

    void lineFeedAt(std::size_t lf)
    {
        cutPiecesBefore(lf);
        m_cut.crLf |= lf > 0 && m_text[lf - 1] == '\r';
        endLine(lf + 1);
    }

    void formFeedAt(std::size_t at)
    {
        // A long line's pieces before the feed are lines of their own.
        cutPiecesBefore(at);
        m_feedInLine = true;
    }

    // The lines, once the last one (when the text does not end in an LF)
    // is cut too.
    CutText finish()
    {
        while (m_start < m_size)
            endLine(m_start + std::min(m_size - m_start, kLimit));
        return std::move(m_cut);
    }

private:
    static constexpr std::size_t kLimit = kLineBufferSize - 1;

    void cutPiecesBefore(std::size_t at)
    {
        while (at - m_start >= kLimit)
            endLine(m_start + kLimit);
    }

    void endLine(std::size_t end)
    {
        if (m_feedInLine)
            m_cut.feedLines.push_back(m_cut.ends.size());
        m_cut.facts.push_back(describeLine(std::string_view(m_text + m_start, end - m_start), m_feedInLine));
        m_cut.ends.push_back(end);
        m_start = end;
        m_feedInLine = false;
    }

    const char* m_text;
    std::size_t m_size;
    std::size_t m_start = 0;
    bool m_feedInLine = false;
    CutText m_cut;
};

} // namespace

bool LineReader::cutRawLines()
{
    const char* const text = m_text.get();
    const std::size_t size = m_size;
    LineCutter cutter(text, size);
    const auto meet = [&](std::size_t at) {
        if (text[at] == '\n')
            cutter.lineFeedAt(at);
        else
            cutter.formFeedAt(at);
    };
    std::size_t i = 0;
#if defined(__SSE2__)
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
            meet(i + static_cast<std::size_t>(__builtin_ctz(mask)));
    }
#endif
    for (; i < size; ++i) {
        if (text[i] == '\n' || text[i] == kFormFeed)
            meet(i);
    }
    CutText cut = cutter.finish();
    m_lineEnds = std::move(cut.ends);
    m_facts = std::move(cut.facts);
    m_formFeedLines = std::move(cut.feedLines);
    return !cut.crLf;
}

void LineReader::cutLines()
{
    // Text with a CR LF pair is turned into text mode and cut again; other
    // text, nearly all, is never searched for a CR.
    if (!cutRawLines()) {
        m_size = convertToTextMode(m_text.get(), m_size);
        cutRawLines();
    }
    countFormFeedsBefore();
}

void LineReader::countFormFeedsBefore()
{
    if (m_formFeedLines.empty())
        return;
    m_feedsBefore.assign(m_lineEnds.size() + 1, 0);
    uint32_t before = 0;
    auto feed = m_formFeedLines.begin();
    for (std::size_t index = 0; index < m_feedsBefore.size(); ++index) {
        m_feedsBefore[index] = before;
        if (feed != m_formFeedLines.end() && *feed == index) {
            ++before;
            ++feed;
        }
    }
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
    const std::size_t left = m_lineEnds.size() - m_next;
    if (count > left) {
        m_next = m_lineEnds.size();
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
