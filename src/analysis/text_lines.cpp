#include "analysis/text_lines.h"

#include "analysis/text_scan.h"

#include <array>

namespace parchly {

namespace {

// What the first two bytes of a line's words tell of a section number
// there, one look-up each: the first byte says what the second must be (a
// digit takes any, the "B" of "B." a dot, the "A" of "A." and of "Appendix"
// or "APPENDIX" a dot or a "p"), and the second what it is. A number may
// open where the two share a bit; most lines start with a word and share
// none.
constexpr uint8_t kAnySecond = 1;
constexpr uint8_t kDotSecond = 2;
constexpr uint8_t kPSecond = 4;

constexpr std::array<uint8_t, 256> kNumberFirstByte = [] {
    std::array<uint8_t, 256> table{};
    for (int c = '0'; c <= '9'; ++c)
        table[static_cast<std::size_t>(c)] = kAnySecond;
    for (int c = 'B'; c <= 'Z'; ++c)
        table[static_cast<std::size_t>(c)] = kDotSecond;
    table['A'] = kDotSecond | kPSecond;
    return table;
}();

constexpr std::array<uint8_t, 256> kNumberSecondByte = [] {
    std::array<uint8_t, 256> table{};
    for (uint8_t& bits : table)
        bits = kAnySecond;
    table['.'] |= kDotSecond;
    table['p'] |= kPSecond;
    table['P'] |= kPSecond;
    return table;
}();

// Whether the words of a text line, indented by `indent`, may open a
// section number. Some early RFCs indent their headings and write them in
// capitals (RFC 822: "     3.1.  GENERAL DESCRIPTION"), by up to nine
// blanks. Most lines are told by their first byte.
bool mayOpenNumber(std::string_view line, std::size_t indent)
{
    if (indent >= 10)
        return false;
    const uint8_t first = kNumberFirstByte[static_cast<unsigned char>(line[indent])];
    if (first == 0)
        return false;
    const char second = indent + 1 < line.size() ? line[indent + 1] : '\0';
    return (first & kNumberSecondByte[static_cast<unsigned char>(second)]) != 0;
}

} // namespace

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
    // Through plain pointers: a role stored is a byte, which may alias the
    // pointers held in `lines` and make each store reload them.
    LineRole* const roles = lines.roles.get();
    const char* const bytes = lines.text;
    const LineOffset* const starts = lines.starts;
    const LineFacts* const allFacts = lines.facts;
    // A section number opens a line in tens; about one line in twenty
    // may open one.
    std::vector<uint32_t> numberLines;
    numberLines.reserve(total / 16 + 4);
    for (std::size_t i = 0; i < total; ++i) {
        const LineFacts facts = allFacts[i];
        if (facts.has(LineFacts::kOnlyFeeds)) {
            roles[i] = LineRole::PageBreak;
        } else if (facts.indent >= facts.textEnd) {
            roles[i] = LineRole::Blank;
        } else {
            roles[i] = LineRole::Text;
            if (mayOpenNumber(std::string_view(bytes + starts[i], facts.textEnd), facts.indent))
                numberLines.push_back(static_cast<uint32_t>(i));
        }
    }
    lines.numberLines = std::move(numberLines);
    // The few page headers and footers, by their 1-based line numbers.
    for (const PageMark& mark : text.pageMarks) {
        if (mark.line >= 1 && static_cast<std::size_t>(mark.line) <= total)
            lines.roles[static_cast<std::size_t>(mark.line) - 1] = LineRole::PageBreak;
    }
    file.rewind();
    return lines;
}

} // namespace parchly
