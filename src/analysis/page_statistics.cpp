#include "analysis/page_statistics.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace parchly {

namespace {

int32_t valueAt(const std::vector<int32_t>& values, std::size_t i)
{
    return i < values.size() ? values[i] : 0;
}

// For each page before the last boundary, the distance of its header (or
// footer) from the page's boundaries, walking the marks once.
void measureMarks(RfcText& text, bool headers)
{
    std::vector<int32_t>& out = headers ? text.linesBeforeHeader : text.linesFromFooter;
    const std::size_t pages = text.pageEnds.size() - 1;
    std::size_t m = 0;
    for (std::size_t p = 0; p < pages; ++p) {
        while (m < text.pageMarks.size()
               && (text.pageMarks[m].isHeader != headers || text.pageMarks[m].page < static_cast<int32_t>(p)))
            ++m;
        if (m == text.pageMarks.size()) {
            out.push_back(0);
            continue;
        }
        // A header of several lines (the date, the title and the chapter in
        // RFC 791) is measured to its last line, so that hiding it hides all.
        std::size_t last = m;
        while (headers && last + 1 < text.pageMarks.size() && text.pageMarks[last + 1].isHeader
               && text.pageMarks[last + 1].page == text.pageMarks[m].page
               && text.pageMarks[last + 1].line == text.pageMarks[last].line + 1)
            ++last;
        const PageMark& mark = text.pageMarks[last];
        const bool onThisPage = mark.page == static_cast<int32_t>(p);
        if (headers)
            out.push_back(onThisPage ? mark.line - (text.pageEnds[p] + 1) : 0);
        else
            out.push_back(onThisPage ? text.pageEnds[p + 1] + 1 - mark.line : 1);
    }
}

// Blank here means made of spaces, tabs and line ends only; a form-feed
// line is not blank.
bool isEmptyLine(std::string_view line)
{
    for (char c : line) {
        if (!isBlankChar(c) && !isLineEnd(c))
            return false;
    }
    return true;
}

// isEmptyLine() of line `index`. Where the text holds no CR a line's
// blanks can only end at its LF, and the reader knows whether they do; a
// lone CR may stand before more text, and such a line is read.
bool isEmptyLineAt(const LineReader& source, std::size_t index)
{
    if (!source.holdsCr())
        return source.factsOf(index).has(LineFacts::kBlank);
    return isEmptyLine(source.lineAt(index));
}

// Counts the blank lines after each page's header and before its footer.
// `counter` is the number of lines passed, as a reading from the start
// would count them; only the lines next to a header or footer are looked at.
void countBlankLines(RfcText& text, const LineReader& source)
{
    const std::size_t pages = text.pageEnds.size() - 1;
    const int32_t total = static_cast<int32_t>(source.lineTotal());
    int32_t counter = 0;
    for (std::size_t p = 0; p < pages; ++p) {
        const int32_t top = text.pageEnds[p] + text.linesBeforeHeader[p] + 1;
        const int32_t bottom = text.pageEnds[p + 1] - text.linesFromFooter[p];
        int32_t blanks = 0;
        bool atEnd = false;
        counter = std::max(counter, std::min({top, bottom, total}));
        while (counter < bottom) {
            if (counter == total) {
                atEnd = true;
                break;
            }
            ++counter;
            if (counter <= top)
                continue;
            if (!isEmptyLineAt(source, static_cast<std::size_t>(counter - 1)))
                break;
            ++blanks;
        }
        text.blankAfterHeader.push_back(blanks);
        if (atEnd) {
            text.blankBeforeFooter.push_back(0);
            return;
        }
        if (counter == text.pageEnds[p + 1]) {
            text.blankBeforeFooter.push_back(0);
            continue;
        }
        // The last line with text before the footer, looked for upwards.
        const int32_t end = std::min(bottom, total);
        int32_t lastText = counter;
        for (int32_t n = end; n > counter; --n) {
            if (!isEmptyLineAt(source, static_cast<std::size_t>(n - 1))) {
                lastText = n;
                break;
            }
        }
        counter = std::max(counter, end);
        text.blankBeforeFooter.push_back(bottom - lastText);
    }
}

// Where each boundary lands once the hidden lines of all earlier pages are
// taken away.
void computeHiddenBoundaries(RfcText& text, bool withBlankLines)
{
    if (text.linesBeforeHeader.empty())
        return;
    auto headerLines = [&](std::size_t p) {
        return valueAt(text.linesBeforeHeader, p) + (withBlankLines ? valueAt(text.blankAfterHeader, p) : 0);
    };
    auto footerLines = [&](std::size_t p) {
        return valueAt(text.linesFromFooter, p) + (withBlankLines ? valueAt(text.blankBeforeFooter, p) : 0);
    };
    text.pageEndsNoHeaders.push_back(-1);
    text.pageEndsNoFooters.push_back(-1);
    text.pageEndsNoHeadersFooters.push_back(-1);
    int32_t headersHidden = headerLines(0);
    int32_t footersHidden = footerLines(0);
    const std::size_t n = text.pageEnds.size() - 1;
    for (std::size_t p = 1; p <= n; ++p) {
        text.pageEndsNoHeaders.push_back(text.pageEnds[p] - headersHidden);
        text.pageEndsNoFooters.push_back(text.pageEnds[p] - footersHidden);
        text.pageEndsNoHeadersFooters.push_back(text.pageEnds[p] - headersHidden - footersHidden);
        if (p < n) {
            headersHidden += headerLines(p);
            footersHidden += footerLines(p);
        }
    }
}

} // namespace

void computePageStatistics(RfcText& text, const LineReader& source, bool withBlankLines)
{
    if (text.pageEnds.empty())
        return;
    // A value a page, or a page end: each list is sized once.
    for (std::vector<int32_t>* list :
         {&text.linesBeforeHeader, &text.linesFromFooter, &text.blankAfterHeader, &text.blankBeforeFooter,
          &text.pageEndsNoHeaders, &text.pageEndsNoFooters, &text.pageEndsNoHeadersFooters})
        list->reserve(text.pageEnds.size());
    measureMarks(text, true);
    measureMarks(text, false);
    countBlankLines(text, source);
    computeHiddenBoundaries(text, withBlankLines);
}

} // namespace parchly
