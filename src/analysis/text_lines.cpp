#include "analysis/text_lines.h"

#include "analysis/text_scan.h"

namespace parchly {

TextLines readTextLines(LineReader& file, const RfcText& text)
{
    // The reader has cut the text into its lines already: take them as
    // they are, without reading them one by one.
    const std::size_t total = file.lineTotal();
    TextLines lines;
    lines.lines.resize(total);
    lines.roles.resize(total);
    lines.indents.resize(total);
    auto mark = text.pageMarks.begin();
    for (std::size_t i = 0; i < total; ++i) {
        std::string_view line = file.lineAt(i);
        std::size_t end = line.size();
        while (end > 0 && isLineEnd(line[end - 1]))
            --end;
        line = line.substr(0, end);
        lines.lines[i] = line;
        std::size_t first = skipBlanks(line, 0);
        lines.indents[i] = static_cast<uint16_t>(first);
        const bool formFeed = first < end && line[first] == kFormFeed;
        while (formFeed && first < end && (isBlankChar(line[first]) || line[first] == kFormFeed))
            ++first;
        // pageMarks hold 1-based line numbers in file order.
        const int32_t number = static_cast<int32_t>(i) + 1;
        while (mark != text.pageMarks.end() && mark->line < number)
            ++mark;
        const bool pageMark = mark != text.pageMarks.end() && mark->line == number;
        if (pageMark || (formFeed && first >= end))
            lines.roles[i] = LineRole::PageBreak;
        else
            lines.roles[i] = first >= end ? LineRole::Blank : LineRole::Text;
    }
    file.rewind();
    return lines;
}

} // namespace parchly
