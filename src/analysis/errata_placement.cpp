#include "analysis/errata_placement.h"

#include "analysis/ascii.h"
#include "analysis/erratum_section.h"
#include "analysis/erratum_text.h"
#include "analysis/section_anchors.h"

#include <algorithm>
#include <map>

namespace parchly {

namespace {

// Beyond this many places a text is too common to tell anything.
constexpr std::size_t kMostMatches = 32;
// How far (in characters without white space) a piece after a "[...]" may
// lie from the piece before it, and a line from the line before it when
// the text is looked for line by line.
constexpr std::size_t kElisionReach = 6000;
constexpr std::size_t kLineReach = 400;
// A shorter line says too little to be looked for on its own.
constexpr std::size_t kShortestLine = 12;

// The parts of a section number: "4.10.2" -> 4, 10, 2; an appendix letter
// sorts after every number.
std::vector<int> numberParts(const std::string& number)
{
    std::vector<int> parts;
    std::size_t at = 0;
    while (at < number.size()) {
        std::size_t end = number.find('.', at);
        if (end == std::string::npos)
            end = number.size();
        const std::string part = number.substr(at, end - at);
        int value = 0;
        if (!part.empty() && part[0] >= 'A' && part[0] <= 'Z')
            value = 100000 + part[0];
        else {
            for (const char c : part)
                value = c >= '0' && c <= '9' && value < 100000 ? value * 10 + (c - '0') : value;
        }
        parts.push_back(value);
        at = end + 1;
    }
    return parts;
}

// The number of a heading: its own, or for "Appendix A.  Examples", which
// the contents hold without one, "A".
std::string numberOf(const SectionAnchor& anchor)
{
    if (!anchor.number.empty() || !startsWithIgnoringAsciiCase(anchor.title, "appendix "))
        return anchor.number;
    std::size_t end = 9;
    while (end < anchor.title.size() && anchor.title[end] != ' ' && anchor.title[end] != ':')
        ++end;
    std::string number = anchor.title.substr(9, end - 9);
    while (!number.empty() && number.back() == '.')
        number.pop_back();
    return number;
}

// Whether a heading numbered `next` closes the section `number`: it is
// neither inside it nor before it (a numbered list item of the body that
// was taken for a heading, "1.  If the connection is...").
bool closesSection(const SectionAnchor& anchor, const std::string& number,
                   const std::map<std::string, int32_t>& contents)
{
    const std::string next = numberOf(anchor);
    if (next.empty() || next == number)
        return false;
    if (next.size() > number.size() && next.compare(0, number.size(), number) == 0
        && next[number.size()] == '.')
        return false;
    if (numberParts(next) <= numberParts(number))
        return false;
    // A line of a figure ("4.  ESTABLISHED --> <SEQ=101>") looks like the
    // heading of section 4: where the contents locate a section, only its
    // heading there is one, and a top-level number they lack is none.
    const auto listed = contents.find(next);
    if (listed != contents.end())
        return listed->second == anchor.line;
    return contents.empty() || next.find('.') != std::string::npos;
}

bool titleNames(const std::string& heading, const std::string& title)
{
    return startsWithIgnoringAsciiCase(heading, title)
        && (heading.size() == title.size() || heading[title.size()] == ' ');
}

} // namespace

ErrataPlacer::ErrataPlacer(const RfcText& text, const TextLines& lines)
    : m_text(text)
{
    for (const ContentEntry& entry : text.contents) {
        std::string number = entry.number;
        while (!number.empty() && number.back() == '.')
            number.pop_back();
        if (entry.matched && entry.headingLine > 0 && !number.empty())
            m_contentsHeadings.emplace(number, entry.headingLine);
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines.roles[i] != LineRole::Text)
            continue;
        m_plain.append(lines.line(i), static_cast<int32_t>(i));
        m_barless.append(lines.line(i), static_cast<int32_t>(i));
    }
}

void ErrataPlacer::Stream::append(std::string_view line, int32_t fileLine)
{
    if (!withoutBars) {
        appendSqueezed(characters, line);
    } else {
        std::string squeezed;
        appendSqueezed(squeezed, line);
        squeezed.erase(std::remove(squeezed.begin(), squeezed.end(), '|'), squeezed.end());
        characters += squeezed;
    }
    lineOf.resize(characters.size(), fileLine);
}

std::size_t ErrataPlacer::Stream::offsetOfLine(int32_t fileLine) const
{
    return static_cast<std::size_t>(std::lower_bound(lineOf.begin(), lineOf.end(), fileLine)
                                    - lineOf.begin());
}

std::pair<int32_t, int32_t> ErrataPlacer::namedSectionLines(const std::string& field) const
{
    const NamedSection named = readErratumSection(field);
    int32_t heading = 0; // 1-based, as the anchors count
    if (!named.number.empty()) {
        heading = sectionHeadingLine(m_text, named.number);
        for (auto anchor = m_text.sectionAnchors.begin();
             heading == 0 && anchor != m_text.sectionAnchors.end(); ++anchor) {
            if (numberOf(*anchor) == named.number)
                heading = anchor->line;
        }
    } else if (!named.title.empty()) {
        for (const SectionAnchor& anchor : m_text.sectionAnchors) {
            if (anchor.number.empty() && titleNames(anchor.title, named.title)) {
                heading = anchor.line;
                break;
            }
        }
    }
    if (heading <= 0)
        return {-1, -1};
    int32_t end = std::max(m_text.lineCount, heading) + 1;
    for (const SectionAnchor& anchor : m_text.sectionAnchors) {
        if (anchor.line <= heading)
            continue;
        if (named.number.empty() || closesSection(anchor, named.number, m_contentsHeadings)) {
            end = anchor.line;
            break;
        }
    }
    return {heading - 1, end - 1};
}

std::vector<ErrataPlacer::Match> ErrataPlacer::findPieces(const Stream& stream,
                                                          const std::vector<std::string>& pieces) const
{
    std::vector<Match> matches;
    if (pieces.empty())
        return matches;
    const std::string& all = stream.characters;
    for (std::size_t at = all.find(pieces.front()); at != std::string::npos && matches.size() < kMostMatches;
         at = all.find(pieces.front(), at + 1)) {
        Match match{&stream, at, at + pieces.front().size()};
        bool whole = true;
        for (std::size_t i = 1; i < pieces.size() && whole; ++i) {
            const std::size_t next = all.find(pieces[i], match.end);
            whole = next != std::string::npos && next - match.end <= kElisionReach;
            if (whole)
                match.end = next + pieces[i].size();
        }
        if (whole)
            matches.push_back(match);
    }
    return matches;
}

bool ErrataPlacer::inSection(const Match& match, std::pair<int32_t, int32_t> section) const
{
    const int32_t line = match.stream->lineOf[match.start];
    return line >= section.first && line < section.second;
}

// Where the longest start of `line` (at least kShortestLine characters)
// occurs in `range`: a line the submitter changed at its end, or that the
// RFC follows with a citation ("hand shake." for "hand shake [3].").
std::size_t ErrataPlacer::findLongestStart(std::string_view range, const std::string& line,
                                           std::size_t& length)
{
    std::size_t at = range.find(line);
    if (at != std::string_view::npos) {
        length = line.size();
        return at;
    }
    // Whether a start is found shrinks with its length: halve the gap.
    std::size_t found = kShortestLine - 1;
    std::size_t missing = line.size();
    while (missing - found > 1) {
        const std::size_t middle = found + (missing - found) / 2;
        if (range.find(std::string_view(line).substr(0, middle)) != std::string_view::npos)
            found = middle;
        else
            missing = middle;
    }
    if (found < kShortestLine)
        return std::string_view::npos;
    length = found;
    return range.find(std::string_view(line).substr(0, found));
}

bool ErrataPlacer::findByLines(const std::vector<std::string>& lines, std::pair<int32_t, int32_t> section,
                               Match& match) const
{
    const bool sectionKnown = section.first >= 0;
    const std::string& all = m_plain.characters;
    std::size_t from = 0;
    std::size_t to = all.size();
    if (sectionKnown) {
        from = m_plain.offsetOfLine(section.first);
        to = m_plain.offsetOfLine(section.second);
    }
    const std::string_view range = std::string_view(all).substr(from, to - from);
    std::size_t line = 0;
    bool found = false;
    for (; line < lines.size() && !found; ++line) {
        if (lines[line].size() < kShortestLine)
            continue;
        std::size_t length = 0;
        const std::size_t at = findLongestStart(range, lines[line], length);
        if (at == std::string_view::npos)
            continue;
        // Outside a known section only a line that occurs once says where.
        if (!sectionKnown
            && range.find(std::string_view(lines[line]).substr(0, length), at + 1) != std::string_view::npos)
            continue;
        match = {&m_plain, from + at, from + at + length};
        found = true;
    }
    for (; found && line < lines.size(); ++line) {
        if (lines[line].size() < kShortestLine)
            continue;
        std::size_t length = 0;
        const std::size_t next =
            findLongestStart(std::string_view(all).substr(match.end, kLineReach), lines[line], length);
        if (next != std::string_view::npos)
            match.end += next + length;
    }
    return found;
}

ErratumPlacement ErrataPlacer::placedAt(const Match& match) const
{
    return {match.stream->lineOf[match.start], match.stream->lineOf[match.end - 1], PlacedBy::Text};
}

ErratumPlacement ErrataPlacer::place(const Erratum& erratum) const
{
    const std::pair<int32_t, int32_t> section = namedSectionLines(erratum.section);
    const bool sectionKnown = section.first >= 0;
    const std::pair<int32_t, int32_t> contents = contentsLineRange(m_text);
    const auto inContents = [&](const Match& match) {
        const int32_t line = match.stream->lineOf[match.start] + 1;
        return line >= contents.first && line <= contents.second;
    };

    bool ambiguous = false;
    // As given; without the change bars; and, for a table whose rows were
    // copied without their "|" edges, with no "|" on either side.
    const bool changeBars = hasChangeBars(erratum.originalText);
    const std::vector<std::string> asGiven = originalTextPieces(erratum.originalText, false);
    const std::vector<std::string> withoutBars = originalTextPieces(erratum.originalText, true);
    std::vector<std::string> barless = withoutBars;
    for (std::string& piece : barless)
        piece.erase(std::remove(piece.begin(), piece.end(), '|'), piece.end());
    const std::pair<const Stream*, const std::vector<std::string>*> variants[] = {
        {&m_plain, &asGiven}, {changeBars ? &m_plain : nullptr, &withoutBars}, {&m_barless, &barless}};
    for (const auto& [stream, pieces] : variants) {
        if (!stream)
            continue;
        const std::vector<Match> matches = findPieces(*stream, *pieces);
        if (matches.empty())
            continue;
        for (const Match& match : matches) {
            if (sectionKnown && inSection(match, section))
                return placedAt(match);
        }
        // A text found in several places, none in the section it names, is
        // told by that section; a unique one is where it is, whatever the
        // section field says.
        if (matches.size() == 1)
            return placedAt(matches.front());
        if (!sectionKnown) {
            for (const Match& match : matches) {
                if (!inContents(match))
                    return placedAt(match);
            }
            return placedAt(matches.front());
        }
        ambiguous = true;
        break;
    }
    Match match;
    if (!ambiguous && findByLines(originalTextLines(erratum.originalText), section, match))
        return placedAt(match);
    if (sectionKnown)
        return {section.first, section.first, PlacedBy::Section};
    return {0, 0, PlacedBy::Top};
}

std::vector<ErratumPlacement> placeErrata(const RfcText& text, LineReader& file,
                                          const std::vector<Erratum>& errata)
{
    const TextLines lines = readTextLines(file, text);
    const ErrataPlacer placer(text, lines);
    std::vector<ErratumPlacement> placements;
    placements.reserve(errata.size());
    for (const Erratum& erratum : errata)
        placements.push_back(placer.place(erratum));
    return placements;
}

} // namespace parchly
