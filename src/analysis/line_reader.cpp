#include "analysis/line_reader.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

namespace parchly {

std::string textModeBytes(const std::string& raw)
{
    std::string text;
    text.reserve(raw.size());
    std::size_t from = 0;
    for (std::size_t pair = raw.find("\r\n"); pair != std::string::npos; pair = raw.find("\r\n", from)) {
        text.append(raw, from, pair - from);
        from = pair + 1; // the LF of the pair stays
    }
    text.append(raw, from, std::string::npos);
    return text;
}

static bool readRawFile(const std::string& path, std::string& raw)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    raw = bytes.str();
    return !file.bad();
}

bool readTextModeFile(const std::string& path, std::string& text)
{
    std::string raw;
    if (!readRawFile(path, raw))
        return false;
    text = textModeBytes(raw);
    return true;
}

LineReader::LineReader(const std::string& rawBytes)
    : m_text(textModeBytes(rawBytes))
{
}

std::optional<LineReader> LineReader::open(const std::string& path)
{
    std::string raw;
    if (!readRawFile(path, raw))
        return std::nullopt;
    return LineReader(raw);
}

bool LineReader::readLine(std::string& line)
{
    std::string_view view;
    if (!readLine(view))
        return false;
    line.assign(view.data(), view.size());
    return true;
}

bool LineReader::readLine(std::string_view& line)
{
    if (m_position >= m_text.size()) {
        m_atEnd = true;
        return false;
    }
    const std::size_t limit = kLineBufferSize - 1;
    const std::size_t available = std::min(limit, m_text.size() - m_position);
    const char* begin = m_text.data() + m_position;
    const void* lineEnd = std::memchr(begin, '\n', available);
    std::size_t end = lineEnd ? static_cast<std::size_t>(static_cast<const char*>(lineEnd) - begin) + 1 : available;
    // Without a line end within reach the read either filled its buffer or
    // ran into the end of the text.
    if (!lineEnd && available < limit)
        m_atEnd = true;
    end += m_position;
    line = std::string_view(m_text).substr(m_position, end - m_position);
    m_position = end;
    return true;
}

void LineReader::rewind()
{
    m_position = 0;
    m_atEnd = false;
}

} // namespace parchly
