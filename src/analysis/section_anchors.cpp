#include "analysis/section_anchors.h"

#include "analysis/references.h"
#include "analysis/section_number_map.h"
#include "analysis/text_scan.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
#include <numeric>
#include <string_view>
#include <vector>

namespace parchly {

namespace {

char at(std::string_view text, std::size_t i)
{
    return i < text.size() ? text[i] : '\0';
}

// "." followed by digits, as many times as they come.
std::size_t skipDottedDigits(std::string_view text, std::size_t i)
{
    while (at(text, i) == '.' && isDigit(at(text, i + 1))) {
        i += 2;
        while (isDigit(at(text, i)))
            ++i;
    }
    return i;
}

// "3.2." and "3.2)" are section 3.2.
std::string_view withoutTrailingDots(std::string_view number)
{
    while (!number.empty() && (number.back() == '.' || number.back() == ')'))
        number.remove_suffix(1);
    return number;
}

// A heading an anchor may be made of: views into the record and the lines,
// copied into an anchor only when it is kept.
struct Candidate {
    int32_t line = 0;
    std::string_view number;
    std::string_view title;
    int priority = 0; // contents, headings, the body scan
    bool repeated = false; // a body line whose number an earlier one has
};

// The candidates' indexes by line, and on one line by priority, the
// earlier first where both are equal: as a stable sort gives them. The
// contents, the headings and the body lines (from `firstHeading` and
// `firstBody` on) are each in line order nearly always, and then merged
// three ways straight into the order rather than sorted: a merge in place
// asked for a buffer of its own.
std::vector<std::size_t> inLineOrder(const std::vector<Candidate>& candidates, std::size_t firstHeading,
                                     std::size_t firstBody)
{
    const auto candidateBefore = [](const Candidate& first, const Candidate& second) {
        return first.line != second.line ? first.line < second.line : first.priority < second.priority;
    };
    const auto headings = candidates.begin() + static_cast<std::ptrdiff_t>(firstHeading);
    const auto body = candidates.begin() + static_cast<std::ptrdiff_t>(firstBody);
    std::vector<std::size_t> order;
    if (!std::is_sorted(candidates.begin(), headings, candidateBefore)
        || !std::is_sorted(headings, body, candidateBefore)
        || !std::is_sorted(body, candidates.end(), candidateBefore)) {
        order.resize(candidates.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return candidateBefore(candidates[a], candidates[b]);
        });
        return order;
    }
    // Each run's head as one number, line then priority, and past its end
    // one larger than any: the merge takes the least head, of equal ones
    // the earlier run's.
    const auto head = [&](std::size_t at, std::size_t end) {
        return at < end ? int64_t{candidates[at].line} * 4 + candidates[at].priority
                        : std::numeric_limits<int64_t>::max();
    };
    std::size_t contents = 0;
    std::size_t heading = firstHeading;
    std::size_t line = firstBody;
    int64_t contentsHead = head(contents, firstHeading);
    int64_t headingHead = head(heading, firstBody);
    int64_t lineHead = head(line, candidates.size());
    order.resize(candidates.size());
    for (std::size_t& taken : order) {
        if (contentsHead <= headingHead && contentsHead <= lineHead) {
            taken = contents++;
            contentsHead = head(contents, firstHeading);
        } else if (headingHead <= lineHead) {
            taken = heading++;
            headingHead = head(heading, firstBody);
        } else {
            taken = line++;
            lineHead = head(line, candidates.size());
        }
    }
    return order;
}

// What the first two bytes of a line's text tell of a section number
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

bool mayStartNumberWith(char first, char second)
{
    return (kNumberFirstByte[static_cast<unsigned char>(first)]
            & kNumberSecondByte[static_cast<unsigned char>(second)])
        != 0;
}

// Whether `line`, not empty, may start with a section number.
bool mayStartNumber(std::string_view line)
{
    return mayStartNumberWith(line[0], line.size() > 1 ? line[1] : '\0');
}

// Whether the text of `line`, indented by `indent`, may open a section
// number. Some early RFCs indent their headings and write them in capitals
// (RFC 822: "     3.1.  GENERAL DESCRIPTION"), by up to nine blanks; a
// blank line has its size for indentation. Inline in the loop that passes
// over the lines.
[[gnu::always_inline]] inline bool mayOpenNumber(std::string_view line, std::size_t indent)
{
    return indent < std::min<std::size_t>(line.size(), 10)
        && mayStartNumber(std::string_view(line.data() + indent, line.size() - indent));
}

// The first line from `from` on whose text may open a section number.
// Every line is looked at, and nearly all are passed over on the one or two
// bytes at their indentation, read straight from the arrays: the lines are
// views into one text, so that every line but the last two is followed by
// at least two bytes of it (its line end, the next line or the next piece
// of a long line), which a blank line has at its indentation. Those bytes
// may be read unchecked; a line end opens no number.
std::size_t nextNumberLine(const TextLines& lines, std::size_t from)
{
    const std::size_t count = lines.size();
    const LineFacts* const facts = lines.facts;
    const auto mayOpenAt = [&](std::size_t line) {
        const char* const text = lines.text + lines.starts[line] + facts[line].indent;
        return mayStartNumberWith(text[0], text[1]);
    };
    // Four lines a step, told by one test: a number opens once in tens of
    // lines.
    constexpr std::size_t kStep = 4;
    for (; from + kStep + 1 < count; from += kStep) {
        if (!(mayOpenAt(from) | mayOpenAt(from + 1) | mayOpenAt(from + 2) | mayOpenAt(from + 3)))
            continue;
        for (std::size_t line = from; line < from + kStep; ++line) {
            if (mayOpenAt(line) && mayOpenNumber(lines.line(line), facts[line].indent))
                return line;
        }
    }
    for (; from < count; ++from) {
        if (mayOpenNumber(lines.line(from), facts[from].indent))
            return from;
    }
    return from;
}

} // namespace

std::string_view headingNumber(std::string_view heading, std::size_t& titleStart)
{
    titleStart = 0;
    std::size_t i = 0;
    bool appendix = false;
    // Most headings open with a digit: the words are compared only after
    // an "A".
    if (heading.size() > 9 && heading[0] == 'A'
        && (heading.substr(0, 9) == "Appendix " || heading.substr(0, 9) == "APPENDIX ")) {
        appendix = true;
        while (isBlankChar(at(heading, i + 9)))
            ++i;
        i += 9;
    }
    const std::size_t start = i;
    if (isDigit(at(heading, i))) {
        while (i - start < 3 && isDigit(at(heading, i)))
            ++i;
        if (isDigit(at(heading, i)))
            return std::string_view();
    } else if (isUpper(at(heading, i)) && (appendix || at(heading, i + 1) == '.')) {
        ++i; // "A.  Title": a lone capital needs its dot to be a number
    } else {
        return std::string_view();
    }
    i = skipDottedDigits(heading, i);
    const std::size_t end = i;
    const char mark = at(heading, i);
    if (mark == '.' || mark == ')' || (appendix && (mark == ':' || mark == '-')))
        ++i;
    if (!isBlankChar(at(heading, i)))
        return std::string_view();
    while (isBlankChar(at(heading, i)))
        ++i;
    if (!isLetter(at(heading, i)))
        return std::string_view();
    titleStart = i;
    return heading.substr(start, end - start);
}

std::pair<int32_t, int32_t> contentsLineRange(const RfcText& text)
{
    int32_t first = 0;
    int32_t last = 0;
    for (const ContentEntry& entry : text.contents) {
        if (entry.firstLine > 0 && (first == 0 || entry.firstLine < first))
            first = entry.firstLine;
        last = std::max(last, entry.lastLine);
    }
    return {first, last};
}

void collectSectionAnchors(RfcText& text, const TextLines& lines)
{
    std::vector<Candidate> candidates;
    candidates.reserve(text.contents.size() + text.headings.size() + 16);
    // The numbers the contents and the headings name.
    SectionNumberMap<bool> known;
    known.reserve(text.contents.size() + text.headings.size());
    const auto [contentsFirst, contentsLast] = contentsLineRange(text);
    for (const ContentEntry& entry : text.contents) {
        if (!entry.matched || entry.headingLine <= 0)
            continue;
        const std::string_view number = withoutTrailingDots(entry.number);
        candidates.push_back({entry.headingLine, number, entry.title, 0});
        known.add(number, true);
    }
    const std::size_t firstHeading = candidates.size();
    // Beside a structure built from the headings, the list holds only the
    // paragraphs that structure passed over as text ("(a) is reliable," at
    // the margin of a numbered section in RFC 1891).
    const std::size_t headings = text.structureFromText ? 0 : text.headings.size();
    for (std::size_t h = 0; h < headings; ++h) {
        const SectionHeading& heading = text.headings[h];
        std::size_t titleStart = 0;
        const std::string_view number = heading.number.empty() ? headingNumber(heading.title, titleStart)
                                                               : withoutTrailingDots(heading.number);
        candidates.push_back({heading.line, number, std::string_view(heading.title).substr(titleStart), 1});
        known.add(number, true);
    }
    // The body's own numbered headings, for the sections a contents leaves
    // out or a contents that could not be read; a number already known is a
    // numbered list item at the margin, not a heading. Of body lines with
    // the same number the first is the heading.
    const std::size_t firstBody = candidates.size();
    // The lines before the title are no heading.
    const std::size_t bodyStart = static_cast<std::size_t>(std::max(text.titleLine, 0));
    for (std::size_t i = nextNumberLine(lines, bodyStart); i < lines.size();
         i = nextNumberLine(lines, i + 1)) {
        const int32_t number = static_cast<int32_t>(i) + 1;
        if (lines.roles[i] != LineRole::Text || (number >= contentsFirst && number <= contentsLast))
            continue;
        const std::size_t indent = lines.indent(i);
        const std::string_view line = lines.line(i).substr(indent);
        std::size_t titleStart = 0;
        const std::string_view sectionNumber = headingNumber(line, titleStart);
        if (sectionNumber.empty() || known.find(sectionNumber) != nullptr)
            continue;
        const std::string_view title = trimmedBlanks(line.substr(titleStart));
        const bool capitals = std::none_of(title.begin(), title.end(), isLower);
        if ((indent > 0 && !capitals) || title.find("...") != std::string_view::npos)
            continue; // a list item, or a contents line at the margin
        candidates.push_back({number, sectionNumber, title, 2});
    }
    // Of body lines with one number the first is the heading, the others
    // repeated; counted first, the numbers are held without a rehash.
    SectionNumberMap<bool> bodyNumbers;
    bodyNumbers.reserve(candidates.size() - firstBody);
    for (std::size_t c = firstBody; c < candidates.size(); ++c)
        candidates[c].repeated = !bodyNumbers.add(candidates[c].number, true);
    const std::vector<std::size_t> order = inLineOrder(candidates, firstHeading, firstBody);
    text.sectionAnchors.clear();
    text.sectionAnchors.reserve(candidates.size());
    for (const std::size_t index : order) {
        const Candidate& candidate = candidates[index];
        if (candidate.line <= 0 || candidate.repeated
            || (!text.sectionAnchors.empty() && text.sectionAnchors.back().line == candidate.line))
            continue;
        text.sectionAnchors.push_back(
            {candidate.line, std::string(candidate.number), std::string(candidate.title)});
    }
}

int32_t sectionHeadingLine(const RfcText& text, const std::string& number)
{
    if (number.empty())
        return 0;
    for (const ContentEntry& entry : text.contents) {
        if (entry.matched && entry.headingLine > 0 && withoutTrailingDots(entry.number) == number)
            return entry.headingLine;
    }
    for (const SectionAnchor& anchor : text.sectionAnchors) {
        if (anchor.number == number)
            return anchor.line;
    }
    return 0;
}

int32_t sectionAtLine(const RfcText& text, int32_t line)
{
    const auto after = std::upper_bound(text.sectionAnchors.begin(), text.sectionAnchors.end(), line,
                                        [](int32_t l, const SectionAnchor& a) { return l < a.line; });
    return static_cast<int32_t>(after - text.sectionAnchors.begin()) - 1;
}

std::vector<std::pair<int32_t, int32_t>> referencesRanges(const RfcText& text)
{
    std::vector<std::pair<int32_t, int32_t>> ranges;
    bool open = false;
    for (const SectionAnchor& anchor : text.sectionAnchors) {
        const bool references = isReferencesTitle(anchor.title);
        if (references && !open) {
            ranges.emplace_back(anchor.line, std::numeric_limits<int32_t>::max());
            open = true;
        } else if (!references && open) {
            ranges.back().second = anchor.line;
            open = false;
        }
    }
    return ranges;
}

} // namespace parchly
