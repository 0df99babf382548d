#include "analysis/references.h"

#include "analysis/ascii.h"
#include "analysis/joined_text.h"
#include "analysis/reference_labels.h"
#include "analysis/references_sections.h"
#include "analysis/text_scan.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace parchly {

namespace {

// The titles of a references section, "Appendix B." or the like aside.
constexpr std::string_view kReferences = "references";
constexpr std::string_view kNormativeReferences = "normative references";
constexpr std::string_view kInformativeReferences = "informative references";
// Both as long: RFCs of 1998 to 2006 name their lists so too (RFC 3526).
constexpr std::string_view kInformationalReferences = "informational references";
constexpr std::string_view kNonNormativeReferences = "non-normative references";

// White space as a "%d" conversion skips it.
bool isWhiteSpace(char c)
{
    return isBlankChar(c) || isLineEnd(c) || c == kFormFeed || c == '\v';
}

// The decimal number after the first "RFC" at or after `from`, as a "%d"
// conversion reads it (leading white space allowed); 0 when there is no
// "RFC", no digits, or a value too large to be an RFC number.
int32_t rfcNumberAfter(std::string_view text, std::size_t from)
{
    std::size_t position = text.find("RFC", from);
    if (position == std::string_view::npos)
        return 0;
    position += 3;
    const std::size_t afterWord = position;
    while (position < text.size() && isWhiteSpace(text[position]))
        ++position;
    // "RFC-1123", as RFCs of the 1980s write the numbers they name, and
    // "RFC- 826" with a blank after the hyphen glued to the word (RFC 1051).
    if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
        const bool glued = position == afterWord;
        ++position;
        while (glued && position < text.size() && isBlankChar(text[position]))
            ++position;
    }
    int64_t value = 0;
    for (; position < text.size() && isDigit(text[position]); ++position) {
        value = value * 10 + (text[position] - '0');
        if (value > std::numeric_limits<int32_t>::max())
            return 0;
    }
    return static_cast<int32_t>(value);
}

// Appends one line's text, from `from` to the end of its text (its line end
// left out, as the line's facts tell), to an entry's, one space between;
// none after a word broken at its own hyphen ("Keyed-" over "Hashing" in
// the title of RFC 2104), which is one word again.
void appendTextOf(std::string_view line, std::size_t from, const LineFacts& facts, JoinedText& entryText)
{
    const std::string_view text =
        line.substr(from, facts.textEnd - std::min<std::size_t>(from, facts.textEnd));
    const std::size_t size = entryText.size();
    const auto wordByte = [](char c) { return isLetter(c) || isDigit(c); };
    const bool brokenAtHyphen = size >= 2 && entryText[size - 1] == '-' && wordByte(entryText[size - 2])
        && !text.empty() && wordByte(text.front());
    entryText.append(text, size > 0 && !brokenAtHyphen);
}

// Whether a full stop ending `title` belongs to its last word: an
// abbreviation ("et al.", "2nd ed.", "Inc."), an initial ("J.") or a word
// with dots of its own ("U.S.", "...").
bool endsInAbbreviation(std::string_view title)
{
    const std::string_view body = title.substr(0, title.size() - 1);
    const std::size_t blank = body.find_last_of(' ');
    const std::string_view word = blank == std::string_view::npos ? body : body.substr(blank + 1);
    if (word.size() <= 1 || word.find('.') != std::string_view::npos)
        return true;
    static constexpr std::string_view kAbbreviations[] = {"al", "ed",   "eds", "etc", "inc", "ltd",
                                                          "co", "corp", "jr",  "vol", "no",  "vs"};
    return std::any_of(std::begin(kAbbreviations), std::end(kAbbreviations),
                       [word](std::string_view a) { return equalIgnoringAsciiCase(word, a); });
}

// A title as quoted, without the comma or full stop that American style
// sets inside the closing quote ("The Title," reads "The Title"); a "?" or
// "!" of the title's own, and the full stop of an abbreviation, stay.
std::string_view withoutQuotedPunctuation(std::string_view title)
{
    if (title.empty())
        return title;
    const char last = title.back();
    if (last == ',' || (last == '.' && !endsInAbbreviation(title)))
        title.remove_suffix(1);
    return title;
}

// The title between the first pair of double quotes and the RFC number
// named after it. Returns false when the entry has no complete title.
// Inline in both readers of entries: called from two places, it was kept
// out of line, a call for each of the thousands of bracketed entries.
[[gnu::always_inline]] inline bool readTitleAndNumber(std::string_view entryText, ReferenceEntry& entry,
                                                      bool unpaginated)
{
    bool titled = false;
    std::size_t examined = 0;
    const std::size_t open = entryText.find('"');
    if (open != std::string_view::npos) {
        examined = open + 1;
        const std::size_t close = entryText.find('"', examined);
        if (close != std::string_view::npos) {
            entry.title = std::string(withoutQuotedPunctuation(entryText.substr(examined, close - examined)));
            examined = close + 1;
            titled = true;
        }
    }
    // The number after the first "RFC"; in an unpaginated RFC, after the
    // first "RFC" that has one, as errata references begin "RFC Errata,
    // Erratum ID 1912, RFC 2978" (RFC 9110).
    entry.rfc = 0;
    for (std::size_t at = entryText.find("RFC", examined); at != std::string_view::npos;
         at = entryText.find("RFC", at + 3)) {
        entry.rfc = rfcNumberAfter(entryText, at);
        if (entry.rfc != 0 || !unpaginated)
            break;
    }
    return titled;
}

bool isMarked(const std::vector<uint8_t>& marks, int32_t line)
{
    return static_cast<std::size_t>(line) < marks.size() && marks[static_cast<std::size_t>(line)] != 0;
}

// The lines of the text as the pass reads them.
struct SectionLines {
    const LineReader& lines;
    const std::vector<uint8_t>& marks;
    int32_t end = 0;

    std::string_view at(int32_t index) const { return lines.lineAt(static_cast<std::size_t>(index)); }
    const LineFacts& factsOf(int32_t index) const { return lines.factsOf(static_cast<std::size_t>(index)); }

    // Lines that a reference entry passes over: page headers and footers,
    // and a form feed alone on its line between two pages.
    bool isPageLine(int32_t index) const
    {
        const LineFacts& facts = factsOf(index);
        return isMarked(marks, index)
            || (facts.has(LineFacts::kOpensWithFeed) && facts.has(LineFacts::kBlankAfterRest));
    }
    bool isBlank(int32_t index) const { return factsOf(index).has(LineFacts::kBlank); }
    bool isIndented(int32_t index) const { return factsOf(index).indent > 0; }

    // Whether the line opens a reference entry (opensReferenceEntry). Most
    // lines of a section are an entry's text: one whose first byte after
    // its indentation, as its facts tell, is neither a bracket nor a form
    // feed is told at once.
    bool opensEntry(int32_t index, std::size_t& open, std::size_t& close) const
    {
        const std::string_view line = at(index);
        const std::size_t indent = factsOf(index).indent;
        if (indent < line.size() && line[indent] != '[' && line[indent] != kFormFeed)
            return false;
        return opensReferenceEntry(line, open, close);
    }
};

// Whether a line sets words apart in columns, three blanks or a tab
// between them, as a page header or footer does.
bool holdsColumns(std::string_view line)
{
    return line.find("   ") != std::string_view::npos || line.find('\t') != std::string_view::npos;
}

// Whether the blank lines from `blank` on are only the bottom of a page: a
// page break follows them, and after it the entry's text goes on, indented
// and not a new label, as an entry does that runs across a page break; or,
// for an entry wrapped at the margin, at the margin where its last line
// `last` leaves it open (wrapsAcrossPage). `resume` is set to the line
// where it goes on.
bool continuesAfterPageBreak(const SectionLines& section, int32_t blank, int32_t last, bool atMargin,
                             int32_t& resume)
{
    bool pageBreak = false;
    int32_t next = blank;
    while (next < section.end) {
        if (section.isPageLine(next))
            pageBreak = true;
        else if (!section.isBlank(next))
            break;
        ++next;
    }
    std::size_t open = 0;
    std::size_t close = 0;
    if (!pageBreak || next >= section.end || section.opensEntry(next, open, close))
        return false;
    if (!section.isIndented(next)
        && !(atMargin && !holdsColumns(section.at(next))
             && wrapsAcrossPage(section.at(last), section.at(next))))
        return false;
    resume = next;
    return true;
}

// Whether the text of the entry opened at line `first` goes on after the
// blank line `blank`, indented deeper than the label and opening no entry.
// `resume` is set to the line where it goes on.
bool continuesIndentedUnder(const SectionLines& section, int32_t first, int32_t blank, int32_t& resume)
{
    const int32_t next = blank + 1;
    if (next >= section.end || section.isBlank(next) || section.isPageLine(next))
        return false;
    std::size_t open = 0;
    std::size_t close = 0;
    if (section.opensEntry(next, open, close)
        || section.factsOf(next).indent <= section.factsOf(first).indent)
        return false;
    resume = next;
    return true;
}

// Whether the entry opened at line `first` holds a name only, no words of
// an entry (no comma, no quote), and its text goes on under it after the
// blank line `blank`, as RFC 821 sets its references ("[3]  TCP", a blank
// line, then "Postel, J., ed., ...").
bool continuesUnderName(const SectionLines& section, int32_t first, int32_t blank, int32_t& resume)
{
    return continuesIndentedUnder(section, first, blank, resume)
        && section.at(first).find_first_of(",\"") == std::string_view::npos;
}

// Whether the text of an entry, `joined` so far, ends the opening
// paragraph of a reference group: xml2rfc lists the documents of a BCP or
// an STD cited whole under it, a paragraph each ("[BCP14]  Best Current
// Practice 14, <...>.  At the time of writing, this BCP comprises the
// following:").
bool opensGroupList(std::string_view joined)
{
    constexpr std::string_view kClosing = "comprises the following:";
    // The colon first: almost no entry ends in one.
    return !joined.empty() && joined.back() == ':' && joined.size() >= kClosing.size()
        && joined.substr(joined.size() - kClosing.size()) == kClosing;
}

// The line that ends the list of documents of a reference group opened
// at line `first`, from the blank line `blank` under its opening
// paragraph: each document is a paragraph indented deeper than the label;
// the list ends at a line that opens an entry or stands at the margin.
int32_t endOfGroupList(const SectionLines& section, int32_t first, int32_t blank)
{
    int32_t resume = 0;
    while (continuesIndentedUnder(section, first, blank, resume)) {
        blank = resume;
        while (blank < section.end && !section.isBlank(blank))
            ++blank;
        if (blank >= section.end)
            return section.end - 1;
    }
    return blank;
}

// The line that ends the notes an entry goes on with after its text, from
// the blank line `blank` under that text: paragraphs set at `column`, the
// column of the entry's text, deeper than its label, opening no entry. RFC
// 5321 notes under "[6]" that the code it names has newer versions; RFC
// 4949 lists a second part of a document under its label ("---, ...").
// What the entry is named by stays its own text. `blank` where no note
// follows.
int32_t endOfNotes(const SectionLines& section, int32_t first, std::size_t column, int32_t blank)
{
    if (column <= section.factsOf(first).indent)
        return blank;
    for (;;) {
        const int32_t next = blank + 1;
        std::size_t open = 0;
        std::size_t close = 0;
        if (next >= section.end || section.isBlank(next) || section.isPageLine(next)
            || section.factsOf(next).indent != column || section.opensEntry(next, open, close))
            return blank;
        blank = next;
        while (blank < section.end && !section.isBlank(blank))
            ++blank;
        if (blank >= section.end)
            return section.end - 1;
    }
}

// Whether the label-like bracket of `line`, from `open` to `close`, is a
// citation that ends the sentence of the entry opened at line `first`,
// wrapped onto a line of its own ("It updates\n              [RFC2119]."):
// set right of the entry's label, with nothing after its full stop.
bool endsWrappedSentence(const SectionLines& section, int32_t first, std::string_view line, std::size_t open,
                         std::size_t close)
{
    return open > section.factsOf(first).indent && charAt(line, close + 1) == '.'
        && isBlankFrom(line, close + 2);
}

// Whether the label-like bracket of `line`, from `open` to `close`, is a
// citation in running text: a comma, semicolon or closing parenthesis
// right after it, which follows no label ("[RFC2119], [RFC8174] and the
// documents below are normative", a note of the list), or, set right of
// the label of the entry opened at line `first` (-1: none), a full stop
// and a closing parenthesis, an aside wrapped onto a line of its own
// ("(Superseded by\n            [DoD9].)", RFC 4949).
bool citesInText(const SectionLines& section, int32_t first, std::string_view line, std::size_t open,
                 std::size_t close)
{
    const char after = charAt(line, close + 1);
    // A label is followed by a blank or its line's end: most lines asked
    // are told by that.
    if (after <= ' ')
        return false;
    if (after == ',' || after == ';' || after == ')')
        return true;
    return after == '.' && charAt(line, close + 2) == ')' && first >= 0
        && open > section.factsOf(first).indent;
}

// Whether the bracket from `open` to `close` of `line`, set at the column
// of an entry's text under it, is a note of the entry rather than the
// label of the next: words with blanks between them, nothing after the
// bracket but a full stop ("[Also available as a report.]", "[Obsoleted
// by RFC 2616]", as older texts annotate their entries).
bool isNoteLine(std::string_view line, std::size_t open, std::size_t close)
{
    const std::size_t after = charAt(line, close + 1) == '.' ? close + 2 : close + 1;
    return isBlankFrom(line, after) && line.substr(open, close - open).find(' ') != std::string_view::npos;
}

// Deeper than any label is printed: a bracket opening a line at the column
// of an entry's text, further in than this, is a citation wrapped there
// ("as updated by\n              [RFC8174] and others"), not a label.
constexpr std::size_t kDeepestLabel = 12;

// Collects the text of the entry whose label ends at `position` of line
// `first`, through its continuation lines: indented lines up to a blank
// line, across page breaks. A label alone on its line takes its text from
// the lines below it. Returns the line that ends the entry: the blank line
// after it, the label itself when the next line opens another entry, or
// the last line of the section.
int32_t readEntryText(const SectionLines& section, int32_t first, std::size_t position, JoinedText& entryText)
{
    const std::string_view firstLine = section.at(first);
    const bool atMargin = !section.isIndented(first);
    position = skipBlanks(firstLine, position);
    if (!isBlankFrom(firstLine, position))
        appendTextOf(firstLine, position, section.factsOf(first), entryText);
    int32_t lastText = first;
    // The column of the entry's text: where it starts on the label's line,
    // or the indentation of its lines below.
    const auto textColumn = [&] { return lastText != first ? section.factsOf(lastText).indent : position; };
    for (int32_t k = first + 1; k < section.end; ++k) {
        if (section.isPageLine(k))
            continue;
        if (section.isBlank(k)) {
            // The text may go on after a page break, or begin after it under
            // a label alone at the bottom of a page (xml2rfc sets a long
            // label alone on its line, its text on the lines below), or
            // list the documents of a group.
            int32_t resume = 0;
            if (continuesAfterPageBreak(section, k, lastText, atMargin, resume)
                || (lastText == first && continuesUnderName(section, first, k, resume))) {
                k = resume - 1;
                continue;
            }
            // A group's documents are its lines, but what it is named by is
            // its opening paragraph.
            if (opensGroupList(entryText.view()))
                return endOfGroupList(section, first, k);
            // Most entries are followed by the next label, set no deeper than
            // their own: told by the indentation of the line after the blank.
            if (k + 1 >= section.end || section.factsOf(k + 1).indent <= section.factsOf(first).indent)
                return k;
            return endOfNotes(section, first, textColumn(), k);
        }
        const std::string_view line = section.at(k);
        std::size_t open = 0;
        std::size_t close = 0;
        if (section.opensEntry(k, open, close) && !endsWrappedSentence(section, first, line, open, close)
            && !citesInText(section, first, line, open, close)) {
            const bool atTextColumn =
                open > section.factsOf(first).indent && !entryText.empty() && open == textColumn();
            // A note names no document of the entry: its RFC number, if
            // any, is not the entry's.
            if (atTextColumn && isNoteLine(line, open, close))
                continue;
            if (!atTextColumn || open <= kDeepestLabel)
                return entryText.empty() ? first : k;
        }
        // Unindented lines that are no label are page lines the recogniser
        // did not know; an entry's text is indented, but where the label
        // stands at the margin its text may wrap there too ("[3] Crocker,
        // D., "Standard for the format of ARPA Internet text" /
        // "messages", RFC 822"), which a page line's columns never do.
        if (section.isIndented(k) || (atMargin && !holdsColumns(line))) {
            appendTextOf(line, section.factsOf(k).indent, section.factsOf(k), entryText);
            lastText = k;
        }
    }
    return section.end - 1;
}

// The located headings of the contents by line, looked up for each
// reference rather than the whole contents walked for each.
class ContentsHeadings {
public:
    explicit ContentsHeadings(const std::vector<ContentEntry>& contents)
        : m_contents(contents)
    {
        m_namesReferences.reserve(contents.size());
        m_located.reserve(contents.size());
        bool afterReferences = false;
        std::string_view referencesNumber;
        for (std::size_t i = 0; i < contents.size(); ++i) {
            // The URIs listed after the references are theirs ("10.3.
            // URIs" under "10. References"), and so is a group of them
            // named for its readers ("12.2.  Normative References for
            // GSS-API Implementors", RFC 5802) or titled on its own ("9.1.
            // Normative" under "9.  References").
            const std::string_view title = contents[i].title;
            const bool titled = isReferencesTitle(title);
            const bool names = titled
                || (afterReferences
                    && (namesUriList(title) || opensWithReferencesTitle(withoutSectionNumber(title))
                        || isSubsectionNumber(contents[i].number, referencesNumber)));
            // The section the run of references entries opens with numbers
            // its groups.
            if (titled && !afterReferences)
                referencesNumber = contents[i].number;
            afterReferences = names;
            m_namesReferences.push_back(names);
            if (names && m_firstNamingReferences < 0)
                m_firstNamingReferences = static_cast<int32_t>(i);
            if (contents[i].headingLine >= 1)
                m_located.push_back(Located{contents[i].headingLine - 1, static_cast<int32_t>(i), names});
        }
        const auto byLine = [](const Located& a, const Located& b) {
            return a.line != b.line ? a.line < b.line : a.entry < b.entry;
        };
        // The contents list their headings in text order nearly always.
        if (!std::is_sorted(m_located.begin(), m_located.end(), byLine))
            std::sort(m_located.begin(), m_located.end(), byLine);
    }

    // The contents entry of the references section that holds 0-based line
    // `line` of the section headed at `heading`: of the located headings
    // from `heading` to `line`, the last that names references ("11.2.
    // Informative References" under "11.  References"); else the last
    // located heading at or above the line; else the first entry that names
    // references. Of entries located at one line, the first counts.
    // Whether contents entry `entry` names references, read once.
    bool namesReferences(std::size_t entry) const { return m_namesReferences[entry] != 0; }

    // `unlocated` is the entry of the section's own heading where the
    // contents scan did not locate it (unlocatedTitled), or -1: it holds
    // the lines up to a located heading inside the section.
    int32_t sectionAt(int32_t line, int32_t heading, int32_t unlocated) const
    {
        auto above =
            std::upper_bound(m_located.begin(), m_located.end(), line,
                             [](int32_t value, const Located& located) { return value < located.line; });
        if (unlocated >= 0 && (above == m_located.begin() || (above - 1)->line < heading))
            return unlocated;
        if (above == m_located.begin())
            return std::max(m_firstNamingReferences, 0);
        int32_t named = -1;
        int32_t namedLine = -1;
        // Back over the headings of the section itself, the last first.
        for (auto at = above; at != m_located.begin() && (at - 1)->line >= heading; --at) {
            const Located& located = *(at - 1);
            if (located.namesReferences && (named < 0 || located.line == namedLine)) {
                named = located.entry;
                namedLine = located.line;
            }
        }
        if (named >= 0)
            return named;
        const int32_t lastLine = (above - 1)->line;
        while (above != m_located.begin() && (above - 1)->line == lastLine)
            --above;
        return above->entry;
    }

    // Where no located heading stands at 0-based line `line`, the first
    // entry naming references that the contents scan did not locate and
    // whose title, section numbers aside, is that line's, `heading`; or -1.
    // Such a heading is one the scan did not read as one: "Appendix B.
    // References" with its first entry right under it, no blank line
    // between.
    int32_t unlocatedTitled(int32_t line, std::string_view heading) const
    {
        const auto at =
            std::lower_bound(m_located.begin(), m_located.end(), line,
                             [](const Located& located, int32_t value) { return located.line < value; });
        if (m_located.size() == m_contents.size() || (at != m_located.end() && at->line == line))
            return -1;
        const std::string_view title = withoutSectionNumber(heading);
        for (std::size_t i = 0; i < m_contents.size(); ++i) {
            if (m_namesReferences[i] != 0 && m_contents[i].headingLine < 1
                && equalIgnoringAsciiCase(withoutSectionNumber(m_contents[i].title), title))
                return static_cast<int32_t>(i);
        }
        return -1;
    }

private:
    struct Located {
        int32_t line = 0;
        int32_t entry = 0;
        bool namesReferences = false;
    };
    const std::vector<ContentEntry>& m_contents;
    std::vector<Located> m_located;
    std::vector<uint8_t> m_namesReferences;
    int32_t m_firstNamingReferences = -1;
};

// A list of URIs whose labels the references already hold ("[1]
// https://..." under "10.3.  URIs" beside "[1]  Postel, J., ...") numbers
// the body's links apart from the references: a label of both could name
// only one entry, and a "[1]" of the body cites the reference. Such a list,
// from entry `listFirst` on, is dropped, and with it the untitled entries
// it alone made `withoutTitles`.
void dropUriListClashingWithReferences(RfcText& text, std::size_t listFirst, bool withoutTitlesBefore)
{
    const auto first = text.references.begin() + static_cast<std::ptrdiff_t>(listFirst);
    const bool clashes = std::any_of(first, text.references.end(), [&](const ReferenceEntry& uri) {
        return std::any_of(text.references.begin(), first,
                           [&uri](const ReferenceEntry& reference) { return reference.label == uri.label; });
    });
    if (!clashes)
        return;
    text.references.erase(first, text.references.end());
    text.referencesWithoutTitles = withoutTitlesBefore;
}

// Where a second label follows the one closed at `close` of an entry's
// first line, "[RFC1034] [RFC1035]  Mockapetris, P., ..." (one entry
// for two documents): the column of its "]", or 0 where none does. A
// label holds no blank here, which a bracketed note after a label would.
std::size_t secondLabelClose(std::string_view line, std::size_t close)
{
    constexpr std::size_t kLongestLabel = 64;
    // One blank between the two, as such entries print them: every entry
    // is asked, and most are told by one byte.
    const std::size_t open = close + 2;
    if (charAt(line, open) != '[' || !isBlankChar(line[close + 1]))
        return 0;
    const std::size_t end = line.find_first_of("[] \t", open + 1);
    if (end == std::string_view::npos || line[end] != ']' || end == open + 1 || end - open > kLongestLabel
        || !isBlankChar(charAt(line, end + 1)))
        return 0;
    return end;
}

// Adds the second label of the entry read last (secondLabelClose), `label`
// with the blanks before it, as an entry of its own with the same text.
// Out of line: few entries have one.
[[gnu::noinline]] void addSecondLabel(std::vector<ReferenceEntry>& references, std::string_view label)
{
    ReferenceEntry second = references.back();
    second.label = std::string(label.substr(skipBlanks(label, 0)));
    references.push_back(std::move(second));
}

// Reads the entries of one references section: every line that opens with
// a bracketed label starts one; other lines (notes, group headings such as
// "LINK LAYER REFERENCES", page lines) are passed over. `entryText` is the
// pass's buffer for an entry's text, reused from one entry to the next.
void readReferencesSection(RfcText& text, const SectionLines& section, int32_t heading, bool unpaginated,
                           const ContentsHeadings& headings, JoinedText& entryText)
{
    // The entry read last: the last line of a section ends it without a
    // blank line, and may be the citation that ends its sentence.
    int32_t previous = -1;
    const int32_t unlocated = headings.unlocatedTitled(heading, section.at(heading));
    // The first entry of a list of URIs the section holds or is, if any.
    constexpr std::size_t kNoUriList = std::numeric_limits<std::size_t>::max();
    std::size_t uriListFirst = namesUriList(section.at(heading)) ? text.references.size() : kNoUriList;
    bool withoutTitlesBefore = text.referencesWithoutTitles;
    // The line after the text of the entry read last, or after the heading.
    int32_t afterPrevious = heading + 1;
    for (int32_t i = heading + 1; i < section.end; ++i) {
        if (section.isPageLine(i))
            continue;
        const std::string_view line = section.at(i);
        std::size_t open = 0;
        std::size_t close = 0;
        if (!section.opensEntry(i, open, close)
            || (previous >= 0 && endsWrappedSentence(section, previous, line, open, close))
            || citesInText(section, previous, line, open, close))
            continue;
        // A list of URIs opens a blank line under its heading ("10.3.  URIs"),
        // which stands at the margin: most entries follow the one before
        // a blank line or none below its text.
        if (uriListFirst == kNoUriList && i > afterPrevious + 1 && !section.isIndented(i - 2)
            && !section.isBlank(i - 2) && namesUriList(section.at(i - 2))) {
            uriListFirst = text.references.size();
            withoutTitlesBefore = text.referencesWithoutTitles;
        }
        previous = i;
        ReferenceEntry& entry = text.references.emplace_back();
        // Made at its size: an assignment to the empty label takes a
        // slower path of the string than its construction.
        entry.label = std::string(line.substr(open, close + 1 - open));
        entry.firstLine = i;
        entryText.clear();
        const std::size_t secondClose = secondLabelClose(line, close);
        entry.lastLine = readEntryText(section, i, std::max(close, secondClose) + 1, entryText);
        if (!readTitleAndNumber(entryText.view(), entry, unpaginated))
            text.referencesWithoutTitles = true;
        entry.section = headings.sectionAt(i, heading, unlocated);
        afterPrevious = entry.lastLine;
        if (secondClose != 0)
            addSecondLabel(text.references, line.substr(close + 1, secondClose - close));
        if (entry.lastLine > i)
            i = entry.lastLine - 1;
    }
    if (uriListFirst != kNoUriList)
        dropUriListClashingWithReferences(text, uriListFirst, withoutTitlesBefore);
}

// The number that opens a numbered entry, "1.  Postel, J., ..." or "12)
// ...", indented by three blanks at the most, with `textStart` set where
// its text starts; 0 where the line opens otherwise.
int32_t numberOpening(std::string_view line, std::size_t& textStart)
{
    constexpr std::size_t kDeepestNumber = 3;
    constexpr std::size_t kLongestNumber = 3;
    std::size_t i = skipBlanks(line, 0);
    const std::size_t first = i;
    if (first > kDeepestNumber || !isDigit(charAt(line, first)))
        return 0;
    int32_t number = 0;
    for (; isDigit(charAt(line, i)) && i - first < kLongestNumber; ++i)
        number = number * 10 + (line[i] - '0');
    if ((charAt(line, i) != '.' && charAt(line, i) != ')') || !isBlankChar(charAt(line, i + 1)))
        return 0;
    textStart = skipBlanks(line, i + 1);
    return isBlankFrom(line, textStart) ? 0 : number;
}

// Whether a bracket before byte `end` of the text opens with a number from
// 1 to `count`, alone or first of a list ("[4]", "[2, 5]", "[3-5]"): the
// body citing numbered entries as a reader would follow them.
bool citesNumberBefore(const LineReader& file, std::size_t end, int32_t count)
{
    const std::string_view text = file.wholeText();
    for (const LineOffset at : file.bracketOffsets()) {
        if (at >= end)
            break;
        std::size_t i = at + 1;
        int32_t number = 0;
        for (; i < text.size() && isDigit(text[i]) && i - at <= 3; ++i)
            number = number * 10 + (text[i] - '0');
        const char after = i < text.size() ? text[i] : '\0';
        if (i > at + 1 && (after == ']' || after == ',' || after == '-') && number >= 1 && number <= count)
            return true;
    }
    return false;
}

// Reads the entries of a references section that numbers them without
// brackets, "1.  Postel, J., ..." under "REFERENCES" (RFC 635, RFC 1510),
// each under the label "[1]" the body cites it by. From the first line
// after the heading the numbers count up from 1; an entry's text runs on
// its indented lines, across page breaks, to the next number's line or to
// a blank line before anything else. A numbered list that may be notes is
// read only where it holds two entries or more and the body cites one.
void readNumberedEntries(RfcText& text, const SectionLines& section, int32_t heading, bool unpaginated,
                         const ContentsHeadings& headings, JoinedText& entryText)
{
    struct Numbered {
        int32_t first = 0;
        int32_t last = 0;
        std::size_t textStart = 0;
    };
    std::vector<Numbered> entries;
    bool afterBlank = false;
    bool afterPage = false;
    for (int32_t k = heading + 1; k < section.end; ++k) {
        if (section.isPageLine(k)) {
            afterPage = true;
            continue;
        }
        if (section.isBlank(k)) {
            afterBlank = true;
            continue;
        }
        std::size_t textStart = 0;
        if (numberOpening(section.at(k), textStart) == static_cast<int32_t>(entries.size()) + 1) {
            entries.push_back(Numbered{k, k, textStart});
        } else if (entries.empty() || (afterBlank && !afterPage) || !section.isIndented(k)) {
            break;
        } else {
            entries.back().last = k;
        }
        afterBlank = false;
        afterPage = false;
    }
    const auto count = static_cast<int32_t>(entries.size());
    if (count < 2
        || !citesNumberBefore(section.lines, section.lines.lineOffset(static_cast<std::size_t>(heading)),
                              count))
        return;
    const int32_t unlocated = headings.unlocatedTitled(heading, section.at(heading));
    for (int32_t n = 0; n < count; ++n) {
        const Numbered& numbered = entries[static_cast<std::size_t>(n)];
        // Moved in: the bracketed entries' emplace_back() stays the only
        // one, and inline in their loop.
        ReferenceEntry& entry = text.references.emplace_back(ReferenceEntry());
        entry.label = "[" + std::to_string(n + 1) + "]";
        entry.firstLine = numbered.first;
        entry.lastLine = numbered.last + 1;
        entryText.clear();
        appendTextOf(section.at(numbered.first), numbered.textStart, section.factsOf(numbered.first),
                     entryText);
        for (int32_t k = numbered.first + 1; k <= numbered.last; ++k) {
            if (!section.isPageLine(k) && !section.isBlank(k))
                appendTextOf(section.at(k), section.factsOf(k).indent, section.factsOf(k), entryText);
        }
        if (!readTitleAndNumber(entryText.view(), entry, unpaginated))
            text.referencesWithoutTitles = true;
        entry.section = headings.sectionAt(numbered.first, heading, unlocated);
    }
}

// The references sections: those the text shows, and those of the contents
// whose located heading the text scan passed by.
std::vector<ReferencesSection> referencesSections(const RfcText& text, const LineReader& file,
                                                  const std::vector<uint8_t>& marks,
                                                  const ContentsHeadings& headings)
{
    std::vector<ReferencesSection> sections = findReferencesSections(text, file, marks);
    const int32_t total = static_cast<int32_t>(file.lineTotal());
    for (std::size_t i = 0; i < text.contents.size(); ++i) {
        const ContentEntry& entry = text.contents[i];
        if (entry.headingLine <= 0 || !headings.namesReferences(i))
            continue;
        // A section of the contents runs to the next entry's heading, or to
        // the end of the text when that heading was never located.
        const int32_t heading = entry.headingLine - 1;
        int32_t end = total;
        if (i + 1 < text.contents.size() && text.contents[i + 1].headingLine >= 1)
            end = std::max(heading + 1, text.contents[i + 1].headingLine - 1);
        const auto known =
            std::find_if(sections.begin(), sections.end(), [heading](const ReferencesSection& s) {
                return s.heading <= heading && heading < s.end;
            });
        // The text's own end stands for the last entry; one after it
        // whose heading was never located may be a heading the text scan
        // does not take for one.
        if (known == sections.end())
            sections.push_back(ReferencesSection{heading, end});
        else if (i + 1 < text.contents.size())
            known->end = std::max(known->end, end);
    }
    std::sort(sections.begin(), sections.end(),
              [](const ReferencesSection& a, const ReferencesSection& b) { return a.heading < b.heading; });
    return sections;
}

// The line that holds byte `offset` of the text, at or after line `from`:
// the brackets come in text order. The next bracket is mostly a line or
// two on: the lines after `from` are tried at growing distances, and the
// search halves only the stretch between the last two tried, not the text.
std::size_t lineHoldingFrom(const LineReader& file, std::size_t from, std::size_t offset)
{
    const std::size_t last = file.lineTotal() - 1;
    const auto endsAfterOffset = [&](std::size_t line) { return file.lineOffset(line + 1) > offset; };
    std::size_t below = from;
    std::size_t probe = from;
    for (std::size_t step = 1; probe < last && !endsAfterOffset(probe); step *= 2) {
        below = probe + 1;
        probe = std::min(last, probe + step);
    }
    // The line is in [below, probe]: those before `below` end at or before
    // `offset`, and `probe` ends after it or is the last.
    while (below < probe) {
        const std::size_t middle = below + (probe - below) / 2;
        if (endsAfterOffset(middle))
            probe = middle;
        else
            below = middle + 1;
    }
    return probe;
}

} // namespace

bool isReferencesTitle(std::string_view text)
{
    // Every heading of a text is asked: one of another length that no
    // "Appendix" opens is none, without a comparison.
    const std::size_t size = text.size();
    // Each title ends in "references", as hardly any other does: told by
    // its last eight bytes in either case (an upper-case letter differs
    // from its lower case in one bit, which no other byte can set to make
    // a letter), most titles by the last of them.
    if (size < kReferences.size() || (text.back() | 0x20) != 's')
        return false;
    constexpr uint64_t kLastEight = leadingEight(kReferences.substr(kReferences.size() - 8));
    uint64_t last = 0;
    std::memcpy(&last, text.data() + size - 8, 8);
    if ((last | 0x2020202020202020ULL) != kLastEight)
        return false;
    const bool mayOpenWithAppendix = text[0] == 'a' || text[0] == 'A';
    if (!mayOpenWithAppendix && size != kReferences.size() && size != kNormativeReferences.size()
        && size != kInformativeReferences.size() && size != kInformationalReferences.size())
        return false;
    const std::string_view kAppendix = "appendix ";
    std::size_t position = 0;
    if (startsWithIgnoringAsciiCase(text, kAppendix)) {
        position = skipBlanks(text, kAppendix.size());
        const char mark = charAt(text, position + 1);
        const bool letterMark =
            isLetter(charAt(text, position)) && (isBlankChar(mark) || mark == '.' || mark == ')');
        if (letterMark) {
            position += 2;
        } else {
            while (position < text.size() && isDigit(text[position]))
                ++position;
        }
        position = skipBlanks(text, position);
    }
    const std::string_view rest = text.substr(position);
    return equalIgnoringAsciiCase(rest, kReferences) || equalIgnoringAsciiCase(rest, kNormativeReferences)
        || equalIgnoringAsciiCase(rest, kInformativeReferences)
        || equalIgnoringAsciiCase(rest, kInformationalReferences)
        || equalIgnoringAsciiCase(rest, kNonNormativeReferences);
}

bool holdsReferences(const RfcText& text, int64_t entry)
{
    // The references stand in file order, their sections with them.
    const auto first = std::lower_bound(
        text.references.begin(), text.references.end(), entry,
        [](const ReferenceEntry& reference, int64_t section) { return reference.section < section; });
    return first != text.references.end() && first->section == entry;
}

bool analyseReferences(RfcText& text, LineReader* file, const AnalysisOptions& options)
{
    if (!file || text.isIndex || options.disableReferenceAnalysis)
        return false;

    text.references.clear();
    text.referencesWithoutTitles = false;
    // A byte a line rather than a bit: each line of a references section
    // is asked, and a byte is read without the arithmetic of a bit's place.
    std::vector<uint8_t> marks(file->lineTotal(), 0);
    for (const PageMark& mark : text.pageMarks) {
        if (mark.line >= 1 && static_cast<std::size_t>(mark.line) <= marks.size())
            marks[static_cast<std::size_t>(mark.line - 1)] = 1;
    }

    // An unpaginated RFC has no form feed and no page number in its
    // contents, or contents built from its headings when it prints none.
    const bool unpaginated = text.pageCount == 0
        && std::all_of(text.contents.begin(), text.contents.end(),
                       [](const ContentEntry& entry) { return entry.page == 0; });
    const ContentsHeadings headings(text.contents);
    JoinedText entryText;
    int32_t readTo = -1;
    const std::vector<ReferencesSection> sections = referencesSections(text, *file, marks, headings);
    const auto total = static_cast<int32_t>(file->lineTotal());
    // References come by the dozen: room for that many at once spares the
    // list's growth moving every entry and its strings again and again.
    constexpr std::size_t kUsualReferences = 64;
    if (!sections.empty())
        text.references.reserve(kUsualReferences);
    for (const ReferencesSection& found : sections) {
        // A section within one already read (a references heading of the
        // contents inside a section the text shows) is not read twice.
        if (found.heading < readTo)
            continue;
        const std::size_t before = text.references.size();
        readReferencesSection(text, SectionLines{*file, marks, found.end}, found.heading, unpaginated,
                              headings, entryText);
        // No label opens a line of the section: its entries may be
        // numbered without brackets, and may run past the section's end,
        // which their numbers at the margin made.
        if (text.references.size() == before)
            readNumberedEntries(text, SectionLines{*file, marks, total}, found.heading, unpaginated, headings,
                                entryText);
        readTo = found.end;
    }
    return !text.references.empty();
}

bool findCitations(RfcText& text, LineReader* file)
{
    return findCitations(text, file, ReferenceLabels(text.references));
}

bool findCitations(RfcText& text, LineReader* file, const ReferenceLabels& labels)
{
    if (!file || text.references.empty())
        return false;

    file->rewind();
    text.citations.clear();
    // Nearly every reference is cited, most of them more than once.
    text.citations.reserve(text.references.size());
    // Only the text before the first reference cites. Its brackets, which
    // the cut noted, are looked at rather than every line: most lines hold
    // none.
    const auto firstReferenceLine = static_cast<std::size_t>(text.references.front().firstLine);
    const std::size_t end = firstReferenceLine < file->lineTotal() ? file->lineOffset(firstReferenceLine)
                                                                   : file->wholeText().size();
    const std::vector<LineOffset>& brackets = file->bracketOffsets();
    auto bracket = brackets.begin();
    const auto moveTo = [&](std::size_t offset) {
        while (bracket != brackets.end() && *bracket < offset)
            ++bracket;
    };
    std::size_t index = 0;
    // Every bracket pair of a line: "see [RFC2119] and [RFC8174]" and "[1],
    // [2]" cite two references each. The next bracket is taken from the
    // end of a pair, on its line or past it.
    while (bracket != brackets.end() && *bracket < end) {
        index = lineHoldingFrom(*file, index, *bracket);
        const std::size_t lineStart = file->lineOffset(index);
        const std::string_view line = file->lineAt(index);
        const std::size_t close = line.find(']', *bracket - lineStart);
        if (close == std::string_view::npos) {
            moveTo(lineStart + line.size());
            continue;
        }
        // "[[RFC1]" cites from its inner bracket.
        const std::size_t inner = line.rfind('[', close);
        const int32_t reference = labels.find(std::string_view(line.data() + inner + 1, close - inner - 1));
        if (reference >= 0) {
            text.citations.push_back(CitationMark{static_cast<int32_t>(index), static_cast<int32_t>(inner),
                                                  static_cast<int32_t>(close + 1), reference});
        }
        moveTo(lineStart + close + 1);
    }
    return true;
}

} // namespace parchly
