#include "analysis/text_lines.h"

#include "analysis/text_scan.h"

namespace parchly {

TextLines readTextLines(LineReader& file, const RfcText& text)
{
    TextLines lines;
    lines.lines.reserve(file.lineTotal());
    lines.roles.reserve(file.lineTotal());
    file.rewind();
    std::string_view line;
    auto mark = text.pageMarks.begin();
    while (file.readLine(line)) {
        std::size_t end = line.size();
        while (end > 0 && isLineEnd(line[end - 1]))
            --end;
        line = line.substr(0, end);
        lines.lines.push_back(line);
        std::size_t first = 0;
        while (first < end && isBlankChar(line[first]))
            ++first;
        const bool formFeed = first < end && line[first] == kFormFeed;
        while (formFeed && first < end && (isBlankChar(line[first]) || line[first] == kFormFeed))
            ++first;
        // pageMarks hold 1-based line numbers in file order.
        const int32_t number = static_cast<int32_t>(lines.roles.size()) + 1;
        while (mark != text.pageMarks.end() && mark->line < number)
            ++mark;
        const bool pageMark = mark != text.pageMarks.end() && mark->line == number;
        if (pageMark || (formFeed && first >= end))
            lines.roles.push_back(LineRole::PageBreak);
        else
            lines.roles.push_back(first >= end ? LineRole::Blank : LineRole::Text);
    }
    file.rewind();
    return lines;
}

} // namespace parchly
