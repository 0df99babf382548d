#include "analysis/line_reader.h"

#include "analysis/file_access.h"

#include <algorithm>

#include <cstring>

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

// A buffer that the file's bytes are read into and the reader then keeps,
// without a copy.
class ReadBuffer {
public:
    char* data() { return m_bytes.get(); }
    std::size_t size() const { return m_capacity; }
    void resize(std::size_t capacity)
    {
        TextBuffer larger = allocateTextBuffer(capacity);
        if (m_capacity > 0)
            std::memcpy(larger.get(), m_bytes.get(), std::min(m_capacity, capacity));
        m_bytes = std::move(larger);
        m_capacity = capacity;
    }
    TextBuffer take() { return std::move(m_bytes); }

private:
    TextBuffer m_bytes;
    std::size_t m_capacity = 0;
};

// The file's bytes, if it is a regular file within the reader's limit: a
// device such as /dev/zero never ends and a FIFO blocks.
bool readRawFile(const std::string& path, TextBuffer& bytes, std::size_t& size)
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
    TextBuffer bytes;
    std::size_t size = 0;
    if (!readRawFile(path, bytes, size))
        return false;
    text.assign(bytes.get(), convertToTextMode(bytes.get(), size));
    return true;
}

LineReader::LineReader(TextBuffer text, std::size_t size)
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
    : m_owned(allocateTextBuffer(rawBytes.size()))
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
    TextBuffer bytes;
    std::size_t size = 0;
    if (!readRawFile(path, bytes, size))
        return std::nullopt;
    return LineReader(std::move(bytes), size);
}

namespace {

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

} // namespace

bool LineReader::cutRawLines()
{
    LineCut cut = cutIntoLines(m_bytes, m_size, widestCutWidth());
    m_lineStarts = std::move(cut.starts);
    m_facts = std::move(cut.facts);
    m_lineTotal = cut.total;
    m_formFeedLines = std::move(cut.feedLines);
    m_holdsCr = cut.holdsCr;
    return !cut.holdsCr || !holdsCrLf(m_bytes, m_size);
}

void LineReader::cutLines()
{
    // No file the program reads comes near it; bytes handed in beyond it
    // are not read, as a line table of their offsets could not hold them.
    m_size = std::min(m_size, kLongestCutText);
    // Text with a CR LF pair is turned into text mode and cut again; other
    // text, nearly all, is never searched for a CR.
    if (!cutRawLines()) {
        // Borrowed bytes are the caller's: they are turned into text mode
        // in a copy.
        if (!m_owned) {
            m_owned = allocateTextBuffer(m_size);
            std::memcpy(m_owned.get(), m_bytes, m_size);
            m_bytes = m_owned.get();
        }
        m_size = convertToTextMode(m_owned.get(), m_size);
        cutRawLines();
    }
    countFormFeedsBefore();
}

namespace {

// Sets the counts from `at` up to `end` to `count`, four a step: a fill of
// one count a step cost more than the page checks it serves.
void fillCounts(uint32_t* at, uint32_t* end, uint32_t count)
{
    const uint64_t two = count | uint64_t{count} << 32;
    for (; end - at >= 4; at += 4) {
        std::memcpy(at, &two, sizeof two);
        std::memcpy(at + 2, &two, sizeof two);
    }
    for (; at != end; ++at)
        *at = count;
}

} // namespace

void LineReader::countFormFeedsBefore()
{
    if (m_formFeedLines.empty())
        return;
    // Each run of lines between two form-feed lines shares its count: one
    // fill per page rather than a test per line.
    m_feedsBefore.reset(new uint32_t[m_lineTotal + 1]);
    uint32_t* const counts = m_feedsBefore.get();
    std::size_t from = 0;
    uint32_t before = 0;
    for (const std::size_t feedLine : m_formFeedLines) {
        fillCounts(counts + from, counts + feedLine + 1, before);
        from = feedLine + 1;
        ++before;
    }
    fillCounts(counts + from, counts + m_lineTotal + 1, before);
}

bool LineReader::readLine(std::string& line)
{
    const std::optional<std::string_view> next = nextLine();
    if (!next)
        return false;
    line.assign(next->data(), next->size());
    return true;
}

std::size_t LineReader::skipLinesToEnd(std::size_t count)
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
