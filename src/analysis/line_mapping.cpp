#include "analysis/line_mapping.h"

#include <cstddef>
#include <vector>

namespace parchly {

namespace {

// Per-page values that were never computed (the analysis stopped early)
// count as 0.
int32_t valueAt(const std::vector<int32_t>& values, std::size_t i)
{
    return i < values.size() ? values[i] : 0;
}

bool mapsNothing(const RfcText& text)
{
    return text.isIndex || (!text.hideHeaders && !text.hideFooters) || text.pageEnds.size() < 2;
}

// The last page (up to the one before the last boundary) whose boundary in
// `table` stands before `line`: at or before it, or strictly before it.
std::size_t pageOf(const RfcText& text, const std::vector<int32_t>& table, int32_t line, bool strictly)
{
    std::size_t page = 0;
    for (std::size_t k = 0; k + 1 < text.pageEnds.size(); ++k) {
        const int32_t boundary = valueAt(table, k);
        if (strictly ? boundary < line : boundary <= line)
            page = k;
    }
    return page;
}

int32_t hiddenBlankLines(const RfcText& text, std::size_t page)
{
    return text.hideBlankLines ? valueAt(text.blankAfterHeader, page) : 0;
}

} // namespace

int32_t fileLineToDisplay(const RfcText& text, int32_t line)
{
    if (mapsNothing(text))
        return line;
    const std::size_t k = pageOf(text, text.pageEnds, line, false);
    if (text.hideHeaders) {
        int32_t d = line - valueAt(text.linesBeforeHeader, k) - text.pageEnds[k] - hiddenBlankLines(text, k);
        if (d < 1)
            d = 1;
        const std::vector<int32_t>& table =
            text.hideFooters ? text.pageEndsNoHeadersFooters : text.pageEndsNoHeaders;
        return valueAt(table, k) + d;
    }
    int32_t d = line - text.pageEnds[k];
    if (d < 1)
        d = 1;
    return valueAt(text.pageEndsNoFooters, k) + d;
}

int32_t displayLineToFile(const RfcText& text, int32_t line)
{
    if (mapsNothing(text))
        return line;
    const std::vector<int32_t>& table = text.hideHeaders
        ? (text.hideFooters ? text.pageEndsNoHeadersFooters : text.pageEndsNoHeaders)
        : text.pageEndsNoFooters;
    const std::size_t k = pageOf(text, table, line, true);
    if (!text.hideHeaders)
        return text.pageEnds[k] - valueAt(table, k) + line;
    return valueAt(text.linesBeforeHeader, k) - valueAt(table, k) + text.pageEnds[k]
        + hiddenBlankLines(text, k) + line;
}

} // namespace parchly
