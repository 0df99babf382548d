// What every pass over an RFC's text shares: the stream with one character
// of look-ahead, the record being filled, and the byte-level helpers the
// passes use to read lines the same way.
#ifndef PARCHLY_ANALYSIS_TEXT_SCAN_H
#define PARCHLY_ANALYSIS_TEXT_SCAN_H

#include "analysis/line_reader.h"
#include "analysis/rfc_text.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace parchly {

constexpr char kFormFeed = '\f';

// The byte at `i`, or NUL past the end, so that scans stop at the end of a
// line as they would at its terminator.
inline char charAt(const std::string& line, std::size_t i)
{
    return i < line.size() ? line[i] : '\0';
}

inline bool isBlankChar(char c) { return c == ' ' || c == '\t'; }
inline bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowerCopy(const std::string& text);

// Whether `text` holds the whole of `prefix` from position `at` on.
bool startsWithAt(const std::string& text, std::size_t at, const std::string& prefix);

// Position of the first byte at or after `i` that is not a space or tab.
std::size_t skipBlanks(const std::string& line, std::size_t i);

// Nothing but spaces and tabs from `i` up to the line end (or the end).
bool isBlankFrom(const std::string& line, std::size_t i);

// The value of the digits in [begin, end), held at INT32_MAX so that a
// hostile run of digits cannot overflow.
int32_t decimalValue(const std::string& text, std::size_t begin, std::size_t end);

// Removes trailing spaces and tabs.
void trimTrailingBlanks(std::string& text);

// A text-mode stream as the passes use it: lines through the reader, plus
// a peek at the next byte that leaves the stream where it was.
class LineSource {
public:
    explicit LineSource(LineReader& reader) : m_reader(reader) {}

    bool readLine(std::string& line);
    // The next byte of the stream, or -1 at the end of the file.
    int peekChar();
    void rewind();
    // The text not read yet, a peeked line included; the stream stays put.
    std::string textAhead() const;

private:
    LineReader& m_reader;
    std::string m_pending;
    bool m_hasPending = false;
};

// The reading state shared by the front matter, title, contents and
// heading passes: they continue where the previous one stopped, and a page
// header before the first form feed is judged differently from one after.
struct TextScan {
    RfcText& text;
    LineSource& source;
    bool pageBreakSeen = false;
    // The contents carry no page numbers, as in the unpaginated RFCs
    // published since RFC 8650; the body pass then reads "Appendix A." as
    // the section number A.
    bool contentsWithoutPages = false;
};

// Records a page break whose boundary value is `boundary`.
void notePageBreak(RfcText& text, int32_t boundary);

// Reads lines until one that is not blank, counting each and treating a
// form feed after leading blanks as a page break between pages. `rest` is
// set just after the leading blanks (and a form feed). False at the end of
// the file.
bool readNonBlankLine(TextScan& scan, std::string& line, std::size_t& rest);

// Offers a line to the page header and footer recogniser.
bool isPageMark(TextScan& scan, const std::string& line, std::size_t rest);

// Reads a paragraph that starts at `start` of `firstLine`: line ends become
// single spaces, continuation lines lose their leading blanks, and an empty
// or all-blank line (or the end of the file) ends it. A form feed as the
// first byte of a continuation line is a page break at that very line.
// Trailing blanks are removed.
std::string readParagraph(TextScan& scan, const std::string& firstLine, std::size_t start);

// A paragraph that reads like a sentence and so is never a heading.
bool isSentenceLike(const std::string& paragraph, const LimitsBlock& limits);

} // namespace parchly

#endif
