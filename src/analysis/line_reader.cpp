#include "analysis/line_reader.h"

#include <fstream>
#include <iterator>

namespace parchly {

std::string textModeBytes(const std::string& raw)
{
    std::string text;
    text.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')
            continue;
        text.push_back(raw[i]);
    }
    return text;
}

static bool readRawFile(const std::string& path, std::string& raw)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    raw.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
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
    if (m_position >= m_text.size()) {
        m_atEnd = true;
        return false;
    }
    const std::size_t limit = kLineBufferSize - 1;
    std::size_t end = m_position;
    bool lineEnded = false;
    while (!lineEnded && end - m_position < limit) {
        if (end == m_text.size()) {
            // The read ran into the end of the text before a line end.
            m_atEnd = true;
            break;
        }
        lineEnded = m_text[end++] == '\n';
    }
    line.assign(m_text, m_position, end - m_position);
    m_position = end;
    return true;
}

void LineReader::rewind()
{
    m_position = 0;
    m_atEnd = false;
}

} // namespace parchly
