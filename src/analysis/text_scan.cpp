#include "analysis/text_scan.h"

#include "analysis/page_lines.h"

#include <limits>

namespace parchly {

std::string lowerCopy(const std::string& text)
{
    std::string lower(text);
    for (char& c : lower)
        c = lowerAscii(c);
    return lower;
}

bool startsWithAt(const std::string& text, std::size_t at, const std::string& prefix)
{
    return at <= text.size() && text.size() - at >= prefix.size()
        && text.compare(at, prefix.size(), prefix) == 0;
}

std::size_t skipBlanks(const std::string& line, std::size_t i)
{
    while (i < line.size() && isBlankChar(line[i]))
        ++i;
    return i;
}

bool isBlankFrom(const std::string& line, std::size_t i)
{
    i = skipBlanks(line, i);
    return i >= line.size() || isLineEnd(line[i]);
}

int32_t decimalValue(const std::string& text, std::size_t begin, std::size_t end)
{
    const int64_t cap = std::numeric_limits<int32_t>::max();
    int64_t value = 0;
    for (std::size_t i = begin; i < end && i < text.size(); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > cap)
            return static_cast<int32_t>(cap);
    }
    return static_cast<int32_t>(value);
}

void trimTrailingBlanks(std::string& text)
{
    while (!text.empty() && isBlankChar(text.back()))
        text.pop_back();
}

bool LineSource::readLine(std::string& line)
{
    if (m_hasPending) {
        m_hasPending = false;
        line.swap(m_pending);
        return true;
    }
    return m_reader.readLine(line);
}

int LineSource::peekChar()
{
    if (!m_hasPending)
        m_hasPending = m_reader.readLine(m_pending);
    if (!m_hasPending || m_pending.empty())
        return -1;
    return static_cast<unsigned char>(m_pending[0]);
}

std::string LineSource::textAhead() const
{
    return (m_hasPending ? m_pending : std::string()) + m_reader.remainingText();
}

void LineSource::rewind()
{
    m_hasPending = false;
    m_pending.clear();
    m_reader.rewind();
}

void notePageBreak(RfcText& text, int32_t boundary)
{
    text.pageEnds.push_back(boundary);
    ++text.pageCount;
}

bool readNonBlankLine(TextScan& scan, std::string& line, std::size_t& rest)
{
    while (scan.source.readLine(line)) {
        ++scan.text.lineCount;
        rest = skipBlanks(line, 0);
        if (charAt(line, rest) == kFormFeed) {
            // Met between paragraphs: the usual form-feed line between two
            // pages, whose boundary is the line before it.
            notePageBreak(scan.text, scan.text.lineCount - 1);
            scan.pageBreakSeen = true;
            rest = skipBlanks(line, rest + 1);
        }
        if (!isBlankFrom(line, rest))
            return true;
    }
    return false;
}

bool isPageMark(TextScan& scan, const std::string& line, std::size_t rest)
{
    return classifyPageLine(scan.text, scan.source, line, rest, scan.pageBreakSeen);
}

std::string readParagraph(TextScan& scan, const std::string& firstLine, std::size_t start)
{
    std::string paragraph;
    std::string line = firstLine;
    std::size_t i = start;
    bool afterLineEnd = false;
    for (;;) {
        if (i >= line.size()) {
            if (!scan.source.readLine(line))
                break;
            ++scan.text.lineCount;
            i = 0;
            if (charAt(line, 0) == kFormFeed) {
                // Inside a paragraph the form feed counts at its own line.
                notePageBreak(scan.text, scan.text.lineCount);
                i = 1;
            }
            i = skipBlanks(line, i);
            continue;
        }
        const char c = line[i++];
        if (isLineEnd(c)) {
            if (afterLineEnd)
                break;
            afterLineEnd = true;
            paragraph.push_back(' ');
        } else {
            afterLineEnd = false;
            paragraph.push_back(c);
        }
    }
    trimTrailingBlanks(paragraph);
    return paragraph;
}

bool isSentenceLike(const std::string& paragraph, const LimitsBlock& limits)
{
    return !paragraph.empty() && paragraph.back() == '.'
        && paragraph.size() >= static_cast<std::size_t>(limits.sentenceLength);
}

} // namespace parchly
