#include "analysis/text_lines.h"

#include "analysis/text_scan.h"

namespace parchly {

TextLines readTextLines(LineReader& file, const RfcText& text)
{
    // The reader has cut the text into its lines already: take them as
    // they are, without reading them one by one.
    const std::size_t total = file.lineTotal();
    TextLines lines;
    lines.text = file.wholeText().data();
    lines.starts = file.allStarts();
    lines.facts = file.allFacts();
    lines.total = total;
    // Made without a value: the loop below sets each role once, where a
    // vector would first set each to a value of its own, a byte at a time.
    lines.roles.reset(new LineRole[total]);
    // Through a plain pointer: a role stored is a byte, which may alias the
    // array's own pointer and make each store reload it.
    LineRole* const roles = lines.roles.get();
    for (std::size_t i = 0; i < total; ++i) {
        const LineFacts& facts = lines.facts[i];
        if (facts.has(LineFacts::kOnlyFeeds))
            roles[i] = LineRole::PageBreak;
        else
            roles[i] = facts.indent >= facts.textEnd ? LineRole::Blank : LineRole::Text;
    }
    // The few page headers and footers, by their 1-based line numbers.
    for (const PageMark& mark : text.pageMarks) {
        if (mark.line >= 1 && static_cast<std::size_t>(mark.line) <= total)
            lines.roles[static_cast<std::size_t>(mark.line) - 1] = LineRole::PageBreak;
    }
    file.rewind();
    return lines;
}

} // namespace parchly
