#include "analysis/line_mapping.h"

#include <algorithm>
#include <cstddef>

namespace parchly {

namespace {

// Per-page values that were never computed (the analysis stopped early)
// count as 0.
int64_t valueAt(const std::vector<int32_t>& values, std::size_t i)
{
    return i < values.size() ? std::max(values[i], 0) : 0;
}

// One run of hidden file lines, with the side where its page boundary (the
// form-feed line, which stays shown) lies.
struct HiddenRun {
    int64_t first = 0;
    int64_t end = 0;
    bool boundaryAfter = false;
};

// Calls `visit` with each run of lines that `cuts` hide, in file order,
// until it returns false. A page's header is cut from the line after its
// form feed, its footer up to the form feed that ends it; both stay inside
// their page and the footer begins after the header at the earliest, so a
// page shorter than its header and footer loses each line once.
template <typename Visit> void forEachHiddenRun(const RfcText& text, const LineCuts& cuts, Visit visit)
{
    if (text.isIndex || (!cuts.headers && !cuts.footers) || text.pageEnds.size() < 2)
        return;
    const int64_t lines = text.lineCount;
    int64_t previousEnd = 0;
    for (std::size_t k = 0; k + 1 < text.pageEnds.size(); ++k) {
        const int64_t first = std::max<int64_t>(int64_t(text.pageEnds[k]) + 1, previousEnd);
        const int64_t end = std::min<int64_t>(text.pageEnds[k + 1], lines);
        if (first >= end)
            continue;
        int64_t headerEnd = first;
        if (cuts.headers) {
            const int64_t count = valueAt(text.linesBeforeHeader, k)
                + (cuts.blankLines ? valueAt(text.blankAfterHeader, k) : 0);
            headerEnd = std::min(first + count, end);
            // The header shows as the form feed before it; the first page's
            // header, with no form feed before it, as the line after it.
            if (headerEnd > first && !visit(HiddenRun{first, headerEnd, first == 0 || first == previousEnd}))
                return;
        }
        if (cuts.footers) {
            const int64_t count =
                valueAt(text.linesFromFooter, k) + (cuts.blankLines ? valueAt(text.blankBeforeFooter, k) : 0);
            const int64_t footerStart = std::max(end - count, headerEnd);
            if (footerStart < end && !visit(HiddenRun{footerStart, end, true}))
                return;
        }
        previousEnd = end;
    }
}

} // namespace

ShownLine shownLineOf(const RfcText& text, const LineCuts& cuts, FileLine line)
{
    int64_t index = line.index();
    int64_t hidden = 0;
    forEachHiddenRun(text, cuts, [&](const HiddenRun& run) {
        if (run.first > index)
            return false;
        if (index < run.end) {
            if (!run.boundaryAfter) {
                index = run.first - 1;
                return false;
            }
            // The line after the run, which may begin the next run.
            index = run.end;
        }
        hidden += run.end - run.first;
        return true;
    });
    // A footer hidden up to the end of the text shows as the last line.
    const int64_t lastShown = std::max<int64_t>(int64_t(text.lineCount) - hidden - 1, 0);
    return ShownLine::atIndex(
        int32_t(index >= text.lineCount && index > line.index() ? lastShown : index - hidden));
}

FileLine fileLineOf(const RfcText& text, const LineCuts& cuts, ShownLine line)
{
    int64_t index = line.index();
    forEachHiddenRun(text, cuts, [&](const HiddenRun& run) {
        if (run.first > index)
            return false;
        index += run.end - run.first;
        return true;
    });
    return FileLine::atIndex(int32_t(index));
}

ShownLine firstShownLineFrom(const RfcText& text, const LineCuts& cuts, FileLine line)
{
    // A hidden header shows as the form feed before it, a hidden footer as
    // the form feed after it: only the first lies above the line.
    const ShownLine shown = shownLineOf(text, cuts, line);
    return fileLineOf(text, cuts, shown) < line ? shown.next() : shown;
}

std::vector<LineRange> hiddenLines(const RfcText& text, const LineCuts& cuts)
{
    std::vector<LineRange> runs;
    forEachHiddenRun(text, cuts, [&runs](const HiddenRun& run) {
        if (!runs.empty() && runs.back().end == run.first)
            runs.back().end = int32_t(run.end);
        else
            runs.push_back(LineRange{int32_t(run.first), int32_t(run.end)});
        return true;
    });
    return runs;
}

std::vector<int32_t> shownPageEnds(const RfcText& text, const LineCuts& cuts)
{
    std::vector<int32_t> ends = text.pageEnds;
    for (std::size_t k = 1; k < ends.size(); ++k)
        ends[k] = shownLineOf(text, cuts, FileLine::atIndex(text.pageEnds[k])).index();
    return ends;
}

} // namespace parchly
