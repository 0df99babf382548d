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
        const LineFacts& facts = file.factsOf(i);
        lines.lines[i] = file.lineAt(i).substr(0, facts.textEnd);
        lines.indents[i] = facts.indent;
        // pageMarks hold 1-based line numbers in file order.
        const int32_t number = static_cast<int32_t>(i) + 1;
        while (mark != text.pageMarks.end() && mark->line < number)
            ++mark;
        const bool pageMark = mark != text.pageMarks.end() && mark->line == number;
        if (pageMark || facts.has(LineFacts::kOnlyFeeds))
            lines.roles[i] = LineRole::PageBreak;
        else
            lines.roles[i] = facts.indent >= facts.textEnd ? LineRole::Blank : LineRole::Text;
    }
    file.rewind();
    return lines;
}

} // namespace parchly
