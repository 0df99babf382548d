// What every pass over an RFC's text shares: the reader, the record being
// filled, and the byte-level helpers the passes use to read lines the same
// way. Lines are views into the reader's text.
#ifndef PARCHLY_ANALYSIS_TEXT_SCAN_H
#define PARCHLY_ANALYSIS_TEXT_SCAN_H

#include "analysis/ascii.h"
#include "analysis/line_bytes.h"
#include "analysis/line_reader.h"
#include "analysis/page_layout.h"
#include "analysis/rfc_text.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace parchly {

// The value of the digits in [begin, end), held at INT32_MAX so that a
// hostile run of digits cannot overflow.
int32_t decimalValue(std::string_view text, std::size_t begin, std::size_t end);

// Removes trailing spaces and tabs.
void trimTrailingBlanks(std::string& text);

// How many bytes `a` and `b` share at their start, `n` at most: eight at a
// time, for texts that agree in nearly all of theirs (the running lines of
// two pages, a heading and its contents entry).
inline std::size_t sharedPrefix(const char* a, const char* b, std::size_t n)
{
    std::size_t i = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    for (; i + 8 <= n; i += 8) {
        uint64_t x = 0;
        uint64_t y = 0;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x != y)
            return i + static_cast<std::size_t>(__builtin_ctzll(x ^ y)) / 8;
    }
#endif
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

// The high bit of each of the eight bytes of `bytes` that equals `c`, the
// other bits clear: for a scan that looks at eight bytes of a line a step.
inline uint64_t bytesEqualTo(uint64_t bytes, char c)
{
    constexpr uint64_t kHighBits = 0x8080808080808080ULL;
    const uint64_t other = bytes ^ (0x0101010101010101ULL * static_cast<unsigned char>(c));
    // A byte of `other` is zero where `bytes` holds `c`: its low seven bits
    // added to 0x7f carry into its high bit unless they are all clear, and
    // no sum carries into the next byte.
    return ~(((other & ~kHighBits) + ~kHighBits) | other) & kHighBits;
}

// The reading state shared by the front matter, title, contents and
// heading passes: they continue where the previous one stopped, and a page
// header before the first form feed is judged differently from one after.
struct TextScan {
    // Finds the lines closed by a form feed (closingFeeds) at once.
    TextScan(RfcText& record, LineReader& lines);

    RfcText& text;
    LineReader& source;
    bool pageBreakSeen = false;
    // The contents carry no page numbers, as in the unpaginated RFCs
    // published since RFC 8650; the body pass then reads "Appendix A." as
    // the section number A.
    bool contentsWithoutPages = false;
    // The first contents entry of a list of figures or tables under the
    // contents: no heading matches it or one after it.
    std::size_t figureListsAt = SIZE_MAX;
    // The running lines of the pages, kept as the page checks find them.
    PageLayout pages{source};
    // The lines holding a form feed after their text, not opened by one,
    // and the first of them not yet read. Nearly every text has none, and
    // then no line read is looked at for one.
    std::vector<std::size_t> closingFeeds;
    std::size_t closingFeed = 0;
    // The boundary of a page break that such a line leaves to be counted
    // before the next line; -1 when none.
    int32_t pendingBreak = -1;
    // The paragraph read last by a pass that reads paragraph after
    // paragraph: its room, made once, serves every pass of the text.
    std::string paragraph;
};

// Records a page break whose boundary value is `boundary`.
void notePageBreak(RfcText& text, int32_t boundary);

// Counts a page break still pending when the passes stop reading.
void notePendingPageBreak(TextScan& scan);

// Reads the next line for a pass, counting it in `lineCount`; a page break
// left pending by the line before is counted first.
inline std::optional<std::string_view> nextScanLine(TextScan& scan)
{
    if (scan.pendingBreak >= 0)
        notePendingPageBreak(scan);
    const std::optional<std::string_view> next = scan.source.nextLine();
    if (next)
        ++scan.text.lineCount;
    return next;
}

// notePageBreakAfter() while lines closed by a form feed lie ahead.
void notePageBreakAfterText(TextScan& scan);

// A form feed after the text of the line just read ("Writer      [Page
// 1]\f", the form feed closing the footer line), on a line that no form
// feed opens: the page ends with that line. The break is counted once the
// line has been judged, so that a footer there stays on its page. A line
// is one page break, however many form feeds it holds.
inline void notePageBreakAfter(TextScan& scan)
{
    if (scan.closingFeed < scan.closingFeeds.size())
        notePageBreakAfterText(scan);
}

// Counts and passes the blank lines ahead that hold no form feed: such a
// line notes nothing (it neither is nor closes a page break), and the runs
// of them between paragraphs and around page breaks are a quarter of a
// text. A page break left pending is counted by a read first.
inline void passPlainBlankLines(TextScan& scan)
{
    if (scan.pendingBreak >= 0)
        return;
    constexpr uint8_t kPlainBlank = LineFacts::kBlank | LineFacts::kBlankAfterRest;
    LineReader& source = scan.source;
    const std::size_t first = source.linesRead();
    std::size_t end = first;
    while (end < source.lineTotal() && source.factsOf(end).flags == kPlainBlank)
        ++end;
    source.skipLines(end - first);
    scan.text.lineCount += static_cast<int32_t>(end - first);
}

// Reads lines until one that is not blank, counting each and treating a
// form feed after leading blanks as a page break between pages. `rest` is
// set just after the leading blanks (and a form feed). False at the end of
// the file. Always inline: every pass reads its text with it, once a
// paragraph, and a call kept `line` and `rest` in memory and cost a frame
// as dear as the read itself.
[[gnu::always_inline]] inline bool readNonBlankLine(TextScan& scan, std::string_view& line, std::size_t& rest)
{
    for (;;) {
        passPlainBlankLines(scan);
        const std::optional<std::string_view> next = nextScanLine(scan);
        if (!next)
            return false;
        line = *next;
        // The reader has looked at how the line starts already.
        const LineFacts& facts = scan.source.factsOf(scan.source.linesRead() - 1);
        rest = facts.rest;
        if (facts.has(LineFacts::kOpensWithFeed)) {
            // Met between paragraphs: the usual form-feed line between two
            // pages, whose boundary is the line before it.
            notePageBreak(scan.text, scan.text.lineCount - 1);
            scan.pageBreakSeen = true;
        } else {
            notePageBreakAfter(scan);
        }
        if (!facts.has(LineFacts::kBlankAfterRest))
            return true;
    }
}

// Offers a line to the page header and footer recogniser.
bool judgePageMark(TextScan& scan, std::string_view line, std::size_t rest);

// judgePageMark(), with the common body line passed without a call.
inline bool isPageMark(TextScan& scan, std::string_view line, std::size_t rest)
{
    return !scan.pages.indentedInsidePage(line, rest) && judgePageMark(scan, line, rest);
}

// Reads a paragraph that starts at `start` of `firstLine`: line ends become
// single spaces, continuation lines lose their leading blanks, and an empty
// or all-blank line (or the end of the file) ends it, as does a form feed
// after the text of a line. A form feed opening a continuation line, after
// blanks or not, is a page break at that very line.
// Trailing blanks are removed.
std::string readParagraph(TextScan& scan, std::string_view firstLine, std::size_t start);
// The same into `paragraph`, whose memory a pass that reads paragraph after
// paragraph keeps for the next.
void readParagraph(TextScan& scan, std::string_view firstLine, std::size_t start, std::string& paragraph);

// A paragraph that reads like a sentence and so is never a heading.
bool isSentenceLike(const std::string& paragraph, const LimitsBlock& limits);

} // namespace parchly

#endif
