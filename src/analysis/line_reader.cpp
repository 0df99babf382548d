#include "analysis/line_reader.h"

#include "analysis/file_access.h"

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

bool LineReader::cutRawLines()
{
    // Each line ends after its LF, or after kLineBufferSize - 1 bytes when
    // it is longer, the rest being the next line, as the buffer would read
    // it. The LFs are met in order; every LF is met, so every CR LF pair is
    // seen too.
    constexpr std::size_t kLimit = kLineBufferSize - 1;
    const char* const text = m_text.get();
    const std::size_t size = m_size;
    std::vector<std::size_t> ends;
    ends.reserve(size / 32 + 1);
    std::size_t start = 0;
    bool crLf = false;
    auto lineFeedAt = [&](std::size_t lf) {
        while (lf - start >= kLimit) {
            start += kLimit;
            ends.push_back(start);
        }
        crLf |= lf > 0 && text[lf - 1] == '\r';
        start = lf + 1;
        ends.push_back(start);
    };
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: most lines are short, and a call to look for
    // the end of each would cost more than the looking.
    const __m128i lineFeeds = _mm_set1_epi8('\n');
    for (; i + 16 <= size; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lineFeeds)));
        for (; mask != 0; mask &= mask - 1)
            lineFeedAt(i + static_cast<std::size_t>(__builtin_ctz(mask)));
    }
#endif
    while (i < size) {
        const void* found = std::memchr(text + i, '\n', size - i);
        if (found == nullptr)
            break;
        i = static_cast<std::size_t>(static_cast<const char*>(found) - text);
        lineFeedAt(i++);
    }
    // The last line, when the text does not end in an LF.
    while (start < size) {
        start += size - start < kLimit ? size - start : kLimit;
        ends.push_back(start);
    }
    m_lineEnds = std::move(ends);
    return !crLf;
}

void LineReader::cutLines()
{
    // Text with a CR LF pair is turned into text mode and cut again; other
    // text, nearly all, is never searched for a CR.
    if (!cutRawLines()) {
        m_size = convertToTextMode(m_text.get(), m_size);
        cutRawLines();
    }
    findFormFeedLines();
}

void LineReader::findFormFeedLines()
{
    const char* const text = m_text.get();
    std::size_t line = 0;
    for (std::size_t i = 0; i < m_size;) {
        const void* found = std::memchr(text + i, '\f', m_size - i);
        if (found == nullptr)
            break;
        i = static_cast<std::size_t>(static_cast<const char*>(found) - text);
        // The feeds are met in order, so the line holding one is found by
        // walking on from the line of the one before.
        while (m_lineEnds[line] <= i)
            ++line;
        if (m_formFeedLines.empty() || m_formFeedLines.back() != line)
            m_formFeedLines.push_back(line);
        ++i;
    }
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
