#include "analysis/text_lines.h"

#include "analysis/text_scan.h"

#include <algorithm>

namespace parchly {

std::vector<bool> linesHolding(const TextLines& lines, std::initializer_list<std::string_view> words)
{
    std::vector<bool> holding(lines.size(), false);
    if (lines.size() == 0)
        return holding;
    // The lines are views into one text, in order: search that text whole.
    const char* begin = lines.lines.front().data();
    const std::string_view whole(
        begin, static_cast<std::size_t>(lines.lines.back().data() - begin) + lines.lines.back().size());
    for (const std::string_view word : words) {
        for (std::size_t at = whole.find(word); at != std::string_view::npos; at = whole.find(word, at)) {
            const auto after =
                std::upper_bound(lines.lines.begin(), lines.lines.end(), begin + at,
                                 [](const char* p, std::string_view l) { return p < l.data(); });
            const std::string_view line = *(after - 1);
            holding[static_cast<std::size_t>(after - lines.lines.begin()) - 1] = true;
            at = static_cast<std::size_t>(line.data() + line.size() - begin) + 1; // on to the next line
        }
    }
    return holding;
}

TextLines readTextLines(LineReader& file, const RfcText& text)
{
    TextLines lines;
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
