// The byte classes every pass reads a line with: blanks, line ends, digits
// and letters, and where a line's words start.
#ifndef PARCHLY_ANALYSIS_LINE_BYTES_H
#define PARCHLY_ANALYSIS_LINE_BYTES_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace parchly {

constexpr char kFormFeed = '\f';

// The byte at `i`, or NUL past the end, so that scans stop at the end of a
// line as they would at its terminator.
inline char charAt(std::string_view line, std::size_t i)
{
    return i < line.size() ? line[i] : '\0';
}

inline bool isBlankChar(char c)
{
    return c == ' ' || c == '\t';
}
inline bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}
inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
inline bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline bool isUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}
inline bool isLower(char c)
{
    return c >= 'a' && c <= 'z';
}

// Whether `text` holds the whole of `prefix` from position `at` on.
inline bool startsWithAt(std::string_view text, std::size_t at, std::string_view prefix)
{
    return at <= text.size() && text.size() - at >= prefix.size()
        && text.compare(at, prefix.size(), prefix) == 0;
}

// Position of the first byte at or after `i` that is not a space or tab.
// Asked of nearly every line by several passes, and indentation is spaces:
// they are passed eight at a time.
inline std::size_t skipBlanks(std::string_view line, std::size_t i)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    while (i + 8 <= line.size()) {
        uint64_t bytes = 0;
        std::memcpy(&bytes, line.data() + i, 8);
        const uint64_t notSpaces = bytes ^ 0x2020202020202020ULL;
        if (notSpaces != 0) {
            i += static_cast<std::size_t>(__builtin_ctzll(notSpaces)) / 8;
            break;
        }
        i += 8;
    }
#endif
    while (i < line.size() && isBlankChar(line[i]))
        ++i;
    return i;
}

// `text` without the spaces and tabs at its ends.
inline std::string_view trimmedBlanks(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlankChar(text[begin]))
        ++begin;
    while (end > begin && isBlankChar(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// The line of `text` that starts at `start`, its line end kept, and
// `start` moved past it; false at the end of `text`. The passes that look a
// few lines ahead of the reader walk the rest of the text so.
inline bool takeLine(std::string_view text, std::size_t& start, std::string_view& line)
{
    if (start >= text.size())
        return false;
    std::size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    line = text.substr(start, end - start);
    start = end;
    return true;
}

// Where the text of `line` ends: before its line end and the blanks
// before that.
inline std::size_t textEndOf(std::string_view line)
{
    std::size_t end = line.size();
    while (end > 0 && (isLineEnd(line[end - 1]) || isBlankChar(line[end - 1])))
        --end;
    return end;
}

// Where the run of digits that ends at `end` of `line` starts; `end` where
// no digit stands before it.
inline std::size_t digitsBefore(std::string_view line, std::size_t end)
{
    while (end > 0 && isDigit(line[end - 1]))
        --end;
    return end;
}

// The run of words of `line`, from `start` to `end`, when it is one run
// centred on the page of 72 columns, give or take `slack` columns twice:
// a title page's lines, a centred chapter heading.
inline bool centredRun(std::string_view line, std::size_t slack, std::size_t& start, std::size_t& end)
{
    constexpr std::size_t kCentreTwice = 72;
    start = skipBlanks(line, 0);
    end = textEndOf(line);
    if (end <= start)
        return false;
    // The margins first: most lines asked are not centred, and are told so
    // without reading their words.
    const std::size_t twice = start + end;
    if (twice + slack < kCentreTwice || twice > kCentreTwice + slack)
        return false;
    const std::string_view words = line.substr(start, end - start);
    return words.find('\t') == std::string_view::npos && words.find("  ") == std::string_view::npos;
}

// Nothing but spaces and tabs from `i` up to the line end (or the end).
inline bool isBlankFrom(std::string_view line, std::size_t i)
{
    i = skipBlanks(line, i);
    return i >= line.size() || isLineEnd(line[i]);
}

} // namespace parchly

#endif
