// Reads text the way every pass over an RFC or the index reads it: line by
// line through a 1,024-byte buffer, as a text-mode stream delivers it.
#ifndef PARCHLY_ANALYSIS_LINE_READER_H
#define PARCHLY_ANALYSIS_LINE_READER_H

#include "analysis/line_cut.h"
#include "analysis/text_buffer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace parchly {

// Turns every CR LF pair of the `size` bytes at `bytes` into a single LF in
// place, as a text-mode read gives the text, and returns the new size;
// every other byte, a lone CR included, stays. Text without a CR is left
// untouched at the cost of one search.
std::size_t convertToTextMode(char* bytes, std::size_t size);

// Reads the whole file into `text` in text mode; false when it cannot be
// read or is no regular file within kTextFileSizeLimit (see file_access.h).
bool readTextModeFile(const std::string& path, std::string& text);

// Holds the whole text once, in text mode, cut into its lines once, and
// hands out those lines as views into it: no pass copies a line or looks
// for its end again to read it.
class LineReader {
public:
    // Reads from bytes already in memory, as they would be in the file.
    explicit LineReader(std::string_view rawBytes);

    // The same over bytes that the caller keeps, unchanged, as long as the
    // reader lives (a whole collection's files read once into memory): no
    // copy of them is made, unless they hold a CR LF pair and so must be
    // turned into text mode.
    static LineReader borrowing(std::string_view rawBytes);

    // Opens a file; empty when the file cannot be read or is no regular file
    // within kTextFileSizeLimit.
    static std::optional<LineReader> open(const std::string& path);

    // The next line, its line end kept, as a view that stays valid as long
    // as the reader; empty when nothing is left to read.
    std::optional<std::string_view> nextLine()
    {
        if (m_next == m_lineTotal) {
            m_atEnd = true;
            return std::nullopt;
        }
        const std::size_t start = lineStart(m_next);
        const std::size_t end = lineStart(++m_next);
        // A read that ran into the end of the text before a line end; a
        // piece that exactly fills the buffer has not looked past it.
        if (end == m_size && m_bytes[end - 1] != '\n' && end - start < kLineBufferSize - 1)
            m_atEnd = true;
        return std::string_view(m_bytes + start, end - start);
    }

    // Copies the next line into `line`, for callers that keep their lines.
    // False, with `line` left as it was, when nothing is left to read.
    bool readLine(std::string& line);
    // The same, as a view into the reader's own text, valid as long as the
    // reader lives: for a pass that keeps every line without copying it.
    bool readLine(std::string_view& line)
    {
        const std::optional<std::string_view> next = nextLine();
        if (next)
            line = *next;
        return next.has_value();
    }

    // The next byte to be read, or -1 at the end of the text; the reader
    // stays where it is.
    int peekByte() const
    {
        const std::size_t at = lineStart(m_next);
        return at < m_size ? static_cast<unsigned char>(m_bytes[at]) : -1;
    }

    // True once a read has reached the end of the text, as the end-of-file
    // state of a stream: after a last line without line end, or after a
    // read that found nothing.
    bool atEnd() const { return m_atEnd; }

    void rewind();

    // Reads past `count` lines as that many reads would, the end state
    // included; how many there were.
    std::size_t skipLines(std::size_t count)
    {
        // Only the last line can leave the end state: lines short of it
        // are passed without a read.
        if (m_next + count < m_lineTotal) {
            m_next += count;
            return count;
        }
        return skipLinesToEnd(count);
    }

    // The number of lines of the text, and line `index` (0-based), for a
    // pass that looks at lines out of order; the reader stays where it is.
    std::size_t lineTotal() const { return m_lineTotal; }
    std::string_view lineAt(std::size_t index) const
    {
        const std::size_t start = lineStart(index);
        return std::string_view(m_bytes + start, lineStart(index + 1) - start);
    }

    // Where line `index` starts in wholeText(), and the line that holds
    // byte `offset` of it: for a pass that searches the whole text and
    // then reads the lines it found.
    std::size_t lineOffset(std::size_t index) const { return lineStart(index); }
    std::size_t lineHolding(std::size_t offset) const
    {
        const LineOffset* ends = m_lineStarts.get() + 1;
        return static_cast<std::size_t>(std::upper_bound(ends, ends + m_lineTotal, offset) - ends);
    }

    // The whole text in text mode, wherever the reader stands: the one read
    // of a file serves the analysis and the text shown alike.
    std::string_view wholeText() const { return std::string_view(m_bytes, m_size); }

    // The 0-based indices of the lines that hold a form feed, in order:
    // found once, for the passes that look for page breaks around a line.
    const std::vector<std::size_t>& formFeedLines() const { return m_formFeedLines; }

    // How many of formFeedLines() stand before line `index` (0 to
    // lineTotal()): the page checks ask it of nearly every line, and a
    // search of the list each time costs more than the rest of the check.
    std::size_t formFeedsBefore(std::size_t index) const
    {
        return m_feedsBefore ? m_feedsBefore[std::min(index, m_lineTotal)] : 0;
    }

    // Whether a CR stands anywhere in the text (in text mode, a lone CR
    // or one before a CR LF pair): where none does, a line's facts tell
    // where its text ends without a search.
    bool holdsCr() const { return m_holdsCr; }

    // What line `index` (0-based) is, found when the text was cut.
    const LineFacts& factsOf(std::size_t index) const { return m_facts[index]; }
    // Every line's facts in order, for a pass that walks them all.
    const LineFacts* allFacts() const { return m_facts.get(); }
    // Every line's start in wholeText(), then where the last line ends:
    // lineTotal() + 1 offsets.
    const LineOffset* allStarts() const { return m_lineStarts.get(); }

    // How many lines have been read: the 0-based index of the next one.
    std::size_t linesRead() const { return m_next; }

    // The next line without reading it; empty at the end of the text.
    std::string_view peekLine() const { return m_next < m_lineTotal ? lineAt(m_next) : std::string_view(); }

    // What is left to read, for a pass that must look ahead before it reads.
    std::string_view remainingText() const
    {
        const std::size_t at = lineStart(m_next);
        return std::string_view(m_bytes + at, m_size - at);
    }

private:
    LineReader(TextBuffer text, std::size_t size);
    LineReader(const char* borrowed, std::size_t size);
    // Cuts the text into lines as it stands; false when it holds a CR LF
    // pair and so is not yet in text mode.
    bool cutRawLines();
    void cutLines();
    void countFormFeedsBefore();
    std::size_t skipLinesToEnd(std::size_t count);
    std::size_t lineStart(std::size_t line) const { return m_lineStarts[line]; }

    // A buffer of its own rather than a std::string, which would clear the
    // bytes before the file is read over them; empty when the reader reads
    // bytes its caller keeps.
    TextBuffer m_owned;
    // The text read: m_owned's, or the caller's.
    const char* m_bytes = nullptr;
    std::size_t m_size = 0;
    // Where each line starts, then where the last ends: line i runs up to
    // the start of line i + 1, its line end included. An array filled as
    // the text is cut, with room for more lines than m_lineTotal; its first
    // slot, 0, spares every read of a line a test for the first line.
    std::unique_ptr<LineOffset[]> m_lineStarts;
    // One for each line, in step with m_lineStarts.
    std::unique_ptr<LineFacts[]> m_facts;
    std::size_t m_lineTotal = 0;
    bool m_holdsCr = false;
    std::vector<std::size_t> m_formFeedLines;
    // None in a text without a form feed; else lineTotal() + 1 counts,
    // each written once (a vector would clear them first). A text is at
    // most a few million lines.
    std::unique_ptr<uint32_t[]> m_feedsBefore;
    std::size_t m_next = 0;
    bool m_atEnd = false;
};

} // namespace parchly

#endif
