#include "analysis/text_scan.h"

#include "analysis/page_lines.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace parchly {

int32_t decimalValue(std::string_view text, std::size_t begin, std::size_t end)
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
    // Cut once: a paragraph read ends in the blank of its last line end,
    // and each byte taken off alone is a call.
    std::size_t end = text.size();
    while (end > 0 && isBlankChar(text[end - 1]))
        --end;
    if (end < text.size())
        text.resize(end);
}

void notePageBreak(RfcText& text, int32_t boundary)
{
    text.pageEnds.push_back(boundary);
    ++text.pageCount;
}

void notePendingPageBreak(TextScan& scan)
{
    if (scan.pendingBreak < 0)
        return;
    notePageBreak(scan.text, scan.pendingBreak);
    scan.pageBreakSeen = true;
    scan.pendingBreak = -1;
}

TextScan::TextScan(RfcText& record, LineReader& lines)
    : text(record)
    , source(lines)
{
    for (const std::size_t index : source.formFeedLines()) {
        if (!source.factsOf(index).has(LineFacts::kOpensWithFeed))
            closingFeeds.push_back(index);
    }
}

void notePageBreakAfterText(TextScan& scan)
{
    const std::size_t index = scan.source.linesRead() - 1;
    while (scan.closingFeed < scan.closingFeeds.size() && scan.closingFeeds[scan.closingFeed] < index)
        ++scan.closingFeed;
    if (scan.closingFeed < scan.closingFeeds.size() && scan.closingFeeds[scan.closingFeed] == index) {
        scan.pendingBreak = scan.text.lineCount - 1;
        ++scan.closingFeed;
    }
}

bool judgePageMark(TextScan& scan, std::string_view line, std::size_t rest)
{
    return classifyPageLine(scan.text, scan.pages, line, rest, scan.pageBreakSeen);
}

namespace {

// The first CR or LF of `line` from `i` on, or its size: one search for a
// CR over the line's text, where a test of each byte cost most of reading a
// paragraph.
std::size_t lineEndFrom(std::string_view line, std::size_t i)
{
    std::size_t end = line.size();
    if (end > i && line[end - 1] == '\n')
        --end;
    if (const void* cr = std::memchr(line.data() + i, '\r', end - i))
        end = static_cast<std::size_t>(static_cast<const char*>(cr) - line.data());
    return end;
}

// Whether the words of `line`, whose text ends at `textEnd`, end in "]",
// as "[Page 3]" does: the one byte a footer at the margin is first told by.
// The text's last byte tells nearly every line.
bool endsInBracket(std::string_view line, std::size_t textEnd)
{
    std::size_t end = std::min<std::size_t>(textEnd, line.size());
    if (end == 0 || !isBlankChar(line[end - 1]))
        return end > 0 && line[end - 1] == ']';
    while (end > 0 && isBlankChar(line[end - 1]))
        --end;
    return end > 0 && line[end - 1] == ']';
}

} // namespace

std::string readParagraph(TextScan& scan, std::string_view firstLine, std::size_t start)
{
    std::string paragraph;
    readParagraph(scan, firstLine, start, paragraph);
    return paragraph;
}

void readParagraph(TextScan& scan, std::string_view firstLine, std::size_t start, std::string& paragraph)
{
    paragraph.clear();
    constexpr std::size_t kSearch = static_cast<std::size_t>(-1);
    std::string_view line = firstLine;
    std::size_t i = start;
    // Where the text of a line read here ends, from its facts, in a text
    // that holds no CR (nearly every one); else it is searched for. The
    // first line is nearly always the one just read, whole.
    std::size_t textEnd = kSearch;
    if (!scan.source.holdsCr() && scan.source.linesRead() > 0) {
        const std::size_t index = scan.source.linesRead() - 1;
        const std::string_view last = scan.source.lineAt(index);
        if (line.data() == last.data() && line.size() == last.size())
            textEnd = scan.source.factsOf(index).textEnd;
    }
    bool afterLineEnd = false;
    for (;;) {
        if (i >= line.size()) {
            // A form feed after the text ends the page, and the paragraph
            // with it: the next line is the next page's header.
            if (scan.pendingBreak >= 0)
                break;
            const std::optional<std::string_view> next = nextScanLine(scan);
            if (!next)
                break;
            line = *next;
            // The reader has looked at how the line starts and ends.
            const LineFacts& facts = scan.source.factsOf(scan.source.linesRead() - 1);
            textEnd = scan.source.holdsCr() ? kSearch : facts.textEnd;
            i = facts.indent;
            if (facts.has(LineFacts::kOpensWithFeed)) {
                // Inside a paragraph the form feed counts at its own line.
                notePageBreak(scan.text, scan.text.lineCount);
                i = facts.rest;
            } else {
                notePageBreakAfter(scan);
                // A footer right under the text, no blank line between:
                // flush right, as texts typed in the 1970s print it ("[Page
                // 2]" under a paragraph at the margin), or at the margin
                // under an "Expires November 1995" line a draft printed
                // above it. Noted, it ends the paragraph. A line that names
                // no page goes on with the text.
                if ((facts.rest > 0 || endsInBracket(line, facts.textEnd))
                    && scan.pages.namesPage(scan.source.linesRead() - 1)
                    && judgePageMark(scan, line, facts.rest))
                    break;
            }
            continue;
        }
        // A run of text joins the paragraph whole, up to a CR or the LF,
        // which can only be the line's last byte.
        const std::size_t end = textEnd == kSearch ? lineEndFrom(line, i) : std::max(i, textEnd);
        if (end > i) {
            paragraph.append(line, i, end - i);
            afterLineEnd = false;
            i = end;
            continue;
        }
        // A line end becomes a single space, the blanks that closed the
        // line before it dropped ("In The   " / "Front Matter"); a second
        // one with nothing between them ends the paragraph.
        if (afterLineEnd)
            break;
        afterLineEnd = true;
        if (!paragraph.empty() && isBlankChar(paragraph.back()))
            trimTrailingBlanks(paragraph);
        paragraph.push_back(' ');
        ++i;
    }
    trimTrailingBlanks(paragraph);
}

bool isSentenceLike(const std::string& paragraph, const LimitsBlock& limits)
{
    return !paragraph.empty() && paragraph.back() == '.'
        && paragraph.size() >= static_cast<std::size_t>(limits.sentenceLength);
}

} // namespace parchly
