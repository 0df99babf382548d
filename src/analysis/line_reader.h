// Reads text the way every pass over an RFC or the index reads it: line by
// line through a 1,024-byte buffer, as a text-mode stream delivers it.
#ifndef PARCHLY_ANALYSIS_LINE_READER_H
#define PARCHLY_ANALYSIS_LINE_READER_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace parchly {

// A line holds at most this many bytes with its terminator, so a longer
// line arrives in pieces of kLineBufferSize - 1 bytes, each read as a line.
constexpr std::size_t kLineBufferSize = 1024;

// Turns every CR LF pair of `bytes` into a single LF in place, as a
// text-mode read gives the text; every other byte, a lone CR included,
// stays. Text without a CR is left untouched at the cost of one search.
void convertToTextMode(std::string& bytes);

// The text of a file as a text-mode read gives it.
std::string textModeBytes(std::string raw);

// Reads the whole file into `text` in text mode; false when it cannot be read.
bool readTextModeFile(const std::string& path, std::string& text);

// Holds the whole text once, in text mode, and hands out its lines as views
// into it: no pass copies a line to read it.
class LineReader {
public:
    // Reads from bytes already in memory, as they would be in the file.
    explicit LineReader(std::string rawBytes);

    // Opens a file; empty when the file cannot be read.
    static std::optional<LineReader> open(const std::string& path);

    // The next line, its line end kept, as a view that stays valid as long
    // as the reader; empty when nothing is left to read.
    std::optional<std::string_view> nextLine();

    // Copies the next line into `line`, for callers that keep their lines.
    // False, with `line` left as it was, when nothing is left to read.
    bool readLine(std::string& line);

    // The next byte to be read, or -1 at the end of the text; the reader
    // stays where it is.
    int peekByte() const
    {
        return m_position < m_text.size() ? static_cast<unsigned char>(m_text[m_position]) : -1;
    }

    // True once a read has reached the end of the text, as the end-of-file
    // state of a stream: after a last line without line end, or after a
    // read that found nothing.
    bool atEnd() const { return m_atEnd; }

    void rewind();

    // What is left to read, for a pass that must look ahead before it reads.
    std::string_view remainingText() const { return std::string_view(m_text).substr(m_position); }

private:
    std::string m_text;
    std::size_t m_position = 0;
    bool m_atEnd = false;
};

} // namespace parchly

#endif
