#include "analysis/line_reader.h"

#include <cstdio>
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
        const std::size_t stretchEnd = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - data) : size;
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

// The file's bytes: one read of its size, then whatever it grew by.
bool readRawFile(const std::string& path, std::unique_ptr<char[]>& bytes, std::size_t& size)
{
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    std::size_t capacity = 0;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
        const long end = std::ftell(file.get());
        capacity = end > 0 ? static_cast<std::size_t>(end) : 0;
        std::rewind(file.get());
    }
    // One byte more than the size, to see the end of the file in the
    // first read.
    capacity += 1;
    bytes.reset(new char[capacity]);
    size = 0;
    for (;;) {
        size += std::fread(bytes.get() + size, 1, capacity - size, file.get());
        if (size < capacity)
            break;
        std::unique_ptr<char[]> larger(new char[capacity * 2]);
        std::memcpy(larger.get(), bytes.get(), size);
        bytes = std::move(larger);
        capacity *= 2;
    }
    return !std::ferror(file.get());
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
    : m_text(std::move(text)), m_size(size)
{
    cutLines();
}

LineReader::LineReader(std::string_view rawBytes)
    : m_text(new char[rawBytes.size() + 1]), m_size(rawBytes.size())
{
    std::memcpy(m_text.get(), rawBytes.data(), rawBytes.size());
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
    // it is longer: the rest is the next line, as the buffer would read it.
    const std::size_t limit = kLineBufferSize - 1;
    const char* const text = m_text.get();
    m_lineEnds.clear();
    m_lineEnds.reserve(m_size / 32 + 1);
    bool crLf = false;
    for (std::size_t start = 0; start < m_size;) {
        const std::size_t left = m_size - start;
        const void* found = std::memchr(text + start, '\n', left < limit ? left : limit);
        if (found == nullptr) {
            start += left < limit ? left : limit;
        } else {
            const std::size_t lf = static_cast<std::size_t>(static_cast<const char*>(found) - text);
            // Every LF is met here, so every CR LF pair is seen here too.
            crLf = crLf || (lf > 0 && text[lf - 1] == '\r');
            start = lf + 1;
        }
        m_lineEnds.push_back(start);
    }
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
}

bool LineReader::readLine(std::string& line)
{
    const std::optional<std::string_view> next = nextLine();
    if (!next)
        return false;
    line.assign(next->data(), next->size());
    return true;
}

void LineReader::rewind()
{
    m_next = 0;
    m_atEnd = false;
}

} // namespace parchly
