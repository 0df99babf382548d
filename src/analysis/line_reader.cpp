#include "analysis/line_reader.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace parchly {

void convertToTextMode(std::string& bytes)
{
    char* const data = bytes.data();
    const std::size_t size = bytes.size();
    const void* firstCr = std::memchr(data, '\r', size);
    if (firstCr == nullptr)
        return;
    // Every stretch between two CRs moves down over the CRs dropped before
    // it, in the same buffer.
    std::size_t out = static_cast<const char*>(firstCr) - data;
    std::size_t in = out;
    while (in < size) {
        const void* cr = std::memchr(data + in, '\r', size - in);
        const std::size_t stretchEnd = cr ? static_cast<const char*>(cr) - data : size;
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
    bytes.resize(out);
}

std::string textModeBytes(std::string raw)
{
    convertToTextMode(raw);
    return raw;
}

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The file's bytes in one read of its size, then whatever it grew by.
bool readRawFile(const std::string& path, std::string& raw)
{
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    raw.clear();
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
        const long size = std::ftell(file.get());
        if (size > 0)
            raw.resize(static_cast<std::size_t>(size));
        std::rewind(file.get());
    }
    std::size_t filled = std::fread(raw.data(), 1, raw.size(), file.get());
    raw.resize(filled);
    char chunk[65536];
    while (!std::ferror(file.get()) && !std::feof(file.get())) {
        filled = std::fread(chunk, 1, sizeof chunk, file.get());
        raw.append(chunk, filled);
    }
    return !std::ferror(file.get());
}

} // namespace

bool readTextModeFile(const std::string& path, std::string& text)
{
    std::string raw;
    if (!readRawFile(path, raw))
        return false;
    convertToTextMode(raw);
    text = std::move(raw);
    return true;
}

LineReader::LineReader(std::string rawBytes)
    : m_text(std::move(rawBytes))
{
    convertToTextMode(m_text);
}

std::optional<LineReader> LineReader::open(const std::string& path)
{
    std::string raw;
    if (!readRawFile(path, raw))
        return std::nullopt;
    return LineReader(std::move(raw));
}

std::optional<std::string_view> LineReader::nextLine()
{
    const std::size_t left = m_text.size() - m_position;
    if (left == 0) {
        m_atEnd = true;
        return std::nullopt;
    }
    const std::size_t limit = kLineBufferSize - 1;
    const char* const start = m_text.data() + m_position;
    std::size_t length;
    if (const void* lf = std::memchr(start, '\n', left < limit ? left : limit)) {
        length = static_cast<std::size_t>(static_cast<const char*>(lf) - start) + 1;
    } else {
        length = left < limit ? left : limit;
        // A read that ran into the end of the text before a line end; a
        // piece that exactly fills the buffer has not looked past it.
        if (left < limit)
            m_atEnd = true;
    }
    m_position += length;
    return std::string_view(start, length);
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
    m_position = 0;
    m_atEnd = false;
}

} // namespace parchly
