#include "analysis/indented_headings.h"

#include "analysis/ascii.h"
#include "analysis/contents.h"
#include "analysis/line_bytes.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace parchly {

namespace {

// A numbered line indented like the whole text and standing alone over
// text indented deeper.
struct IndentedHeading {
    int32_t line = 0;
    std::size_t indent = 0;
    std::string title;
    // Whether the text above it is indented deeper too: a list's first
    // item follows its paragraph's line at the item's own indentation.
    bool underDeeperText = false;
};

// The section number opening `text`, or an empty view.
std::string_view numberOpening(std::string_view text)
{
    std::size_t i = 0;
    bool dotted = false;
    return isDigit(charAt(text, 0)) ? leadingSectionNumber(text, i, dotted) : std::string_view();
}

// Whether the last line of text above line `index`, a few lines up at
// most, is indented deeper than `indent`.
bool underDeeperText(const LineReader& source, std::size_t index, std::size_t indent)
{
    constexpr std::size_t kLinesBack = 3;
    for (std::size_t k = index; k > 0 && k + kLinesBack > index; --k) {
        if (!source.factsOf(k - 1).has(LineFacts::kBlank))
            return source.factsOf(k - 1).indent > indent;
    }
    return false;
}

// Whether the indented numbered line `index` (its words from `rest` on)
// stands alone over text indented deeper and reads as a heading;
// `paragraph` is left holding its words.
bool standsOverDeeperText(const LineReader& source, std::size_t index, std::size_t rest,
                          const LimitsBlock& limits, std::string& paragraph)
{
    constexpr std::size_t kLinesAhead = 3;
    const std::size_t next = index + 1;
    if (next >= source.lineTotal() || !source.factsOf(next).has(LineFacts::kBlank))
        return false;
    std::size_t below = next + 1;
    while (below < source.lineTotal() && below < next + kLinesAhead
           && source.factsOf(below).has(LineFacts::kBlank))
        ++below;
    if (below >= source.lineTotal() || source.factsOf(below).has(LineFacts::kBlank)
        || source.factsOf(below).indent <= rest)
        return false;
    const LineFacts& facts = source.factsOf(index);
    const std::string_view text = trimmedBlanks(source.lineAt(index).substr(rest, facts.textEnd - rest));
    if (numberOpening(text).empty())
        return false;
    // Opened by a digit, it is no note in brackets: only a sentence is
    // told from a heading.
    paragraph.assign(text);
    return !isSentenceLike(paragraph, limits);
}

// The indented headings from line index `first` on that stand alone over
// deeper text, after a blank line, as the lines tell.
std::vector<IndentedHeading> findIndentedHeadings(const LineReader& source, const LimitsBlock& limits,
                                                  std::size_t first)
{
    constexpr std::size_t kDeepest = 12;
    std::vector<IndentedHeading> found;
    std::string paragraph;
    for (std::size_t index = std::max<std::size_t>(first, 1); index < source.lineTotal(); ++index) {
        const LineFacts& facts = source.factsOf(index);
        if (facts.rest == 0 || facts.rest > kDeepest || facts.has(LineFacts::kBlankAfterRest)
            || !source.factsOf(index - 1).has(LineFacts::kBlank)
            || !isDigit(source.lineAt(index)[facts.rest]))
            continue;
        if (standsOverDeeperText(source, index, facts.rest, limits, paragraph))
            found.push_back(IndentedHeading{static_cast<int32_t>(index) + 1, facts.rest, paragraph,
                                            underDeeperText(source, index, facts.rest)});
    }
    return found;
}

// Of the indented headings `indented`, those numbered 1, 2, 3, ... at the
// indentation of the first, numbered 1, and those numbered under the last
// of them; none unless two sections at least. A list's items, numbered
// again from 1 or indented otherwise, are passed over.
std::vector<const IndentedHeading*> sectionsOf(const std::vector<IndentedHeading>& indented)
{
    constexpr int kFewestSections = 2;
    std::vector<const IndentedHeading*> kept;
    std::size_t indent = 0;
    int sections = 0;
    std::string_view section;
    for (const IndentedHeading& heading : indented) {
        const std::string_view number = numberOpening(heading.title);
        if (number.find('.') == std::string_view::npos) {
            const int expected = sections + 1;
            if ((sections == 0 ? number != "1" || !heading.underDeeperText : heading.indent != indent)
                || number != std::to_string(expected))
                continue;
            indent = heading.indent;
            section = number;
            sections = expected;
            kept.push_back(&heading);
        } else if (sections > 0 && heading.indent >= indent && number.size() > section.size()
                   && number.substr(0, section.size()) == section && number[section.size()] == '.') {
            kept.push_back(&heading);
        }
    }
    if (sections < kFewestSections)
        kept.clear();
    return kept;
}

} // namespace

bool readIndentedHeadings(RfcText& text, const LineReader& source, const LimitsBlock& limits,
                          std::size_t firstLine)
{
    for (const SectionHeading& heading : text.headings) {
        if (!heading.number.empty() || isDigit(charAt(heading.title, 0)))
            return false;
    }
    const std::vector<IndentedHeading> indented = findIndentedHeadings(source, limits, firstLine);
    const std::vector<const IndentedHeading*> kept = sectionsOf(indented);
    for (const IndentedHeading* heading : kept) {
        const auto at = std::upper_bound(text.headings.begin(), text.headings.end(), heading->line,
                                         [](int32_t l, const SectionHeading& h) { return l < h.line; });
        text.headings.insert(at, SectionHeading{heading->line, std::string(), heading->title});
    }
    return !kept.empty();
}

} // namespace parchly
