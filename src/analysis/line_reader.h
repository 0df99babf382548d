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

// The text of a file as a text-mode read gives it: every CR LF pair becomes
// a single LF; every other byte, a lone CR included, stays as it is.
std::string textModeBytes(const std::string& raw);

// Reads the whole file into `text` in text mode; false when it cannot be read.
bool readTextModeFile(const std::string& path, std::string& text);

class LineReader {
public:
    // Reads from bytes already in memory, as they would be in the file.
    explicit LineReader(const std::string& rawBytes);

    // Opens a file; empty when the file cannot be read.
    static std::optional<LineReader> open(const std::string& path);

    // Reads the next line, its line end kept, into `line`. False, with
    // `line` left as it was, when nothing is left to read.
    bool readLine(std::string& line);
    // The same, as a view into the reader's own text, valid as long as the
    // reader lives: for a pass that keeps every line without copying it.
    bool readLine(std::string_view& line);

    // True once a read has reached the end of the text, as the end-of-file
    // state of a stream: after a last line without line end, or after a
    // read that found nothing.
    bool atEnd() const { return m_atEnd; }

    void rewind();

    // What is left to read, for a pass that must look ahead before it reads.
    std::string remainingText() const { return m_text.substr(m_position); }

private:
    std::string m_text;
    std::size_t m_position = 0;
    bool m_atEnd = false;
};

} // namespace parchly

#endif
