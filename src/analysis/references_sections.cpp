#include "analysis/references_sections.h"

#include "analysis/page_layout.h"
#include "analysis/text_scan.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace parchly {

namespace {

// The longest label of a reference entry; a longer bracket at the start of
// a line is a note or a piece of syntax, not a label.
constexpr std::size_t kLongestLabel = 64;

// A heading line stands at the margin; some RFCs indent their headings by a
// blank or two, never by a paragraph's indentation.
constexpr std::size_t kHeadingIndent = 3;
// Where a centred chapter heading starts at the least.
constexpr std::size_t kCentredIndent = 8;
// How long an appendix's name may be ("B", "A.1.2", "IV.").
constexpr std::size_t kLongestAppendixName = 8;
// How many lines after a centred heading its first entry may stand.
constexpr int32_t kEntryReach = 12;

bool isRomanDigit(char c)
{
    return c == 'I' || c == 'V' || c == 'X';
}

// "References (Normative)", "REFERENCES (INFORMATIVE)": the title with the
// kind of its entries after it in brackets rather than before it.
bool namesReferencesOfKind(std::string_view text)
{
    if (text.empty() || text.back() != ')')
        return false;
    const std::size_t open = text.rfind('(');
    if (open == std::string_view::npos)
        return false;
    const std::string_view kind = text.substr(open + 1, text.size() - open - 2);
    std::string_view title = text.substr(0, open);
    while (!title.empty() && isBlankChar(title.back()))
        title.remove_suffix(1);
    if (!equalIgnoringAsciiCase(title, "references"))
        return false;
    return equalIgnoringAsciiCase(kind, "normative") || equalIgnoringAsciiCase(kind, "informative")
        || equalIgnoringAsciiCase(kind, "non-normative");
}

// The words that open references, with the qualifiers RFCs put before them.
bool namesReferences(std::string_view text)
{
    while (!text.empty() && (text.back() == ':' || text.back() == '.'))
        text.remove_suffix(1);
    // Some texts close with their thanks and their references under one
    // heading ("Acknowledgements and References"). Its reverse, which
    // ends in a word that the line ends are not screened for, is left.
    const char* const kTitles[] = {"references",
                                   "normative references",
                                   "informative references",
                                   "non-normative references",
                                   "informational references",
                                   "references and notes",
                                   "notes and references",
                                   "bibliography",
                                   "references cited",
                                   "references and bibliography",
                                   "bibliography and references",
                                   "normative and informative references",
                                   "footnotes and references",
                                   "references and footnotes",
                                   "works cited",
                                   "literature cited",
                                   "sources cited",
                                   "cited works",
                                   "acknowledgements and references",
                                   "acknowledgments and references"};
    for (const char* title : kTitles) {
        if (equalIgnoringAsciiCase(text, title))
            return true;
    }
    return namesReferencesOfKind(text);
}

// "Additional References", "Other References", "Selected Bibliography",
// "Annotated Bibliography": one word of letters before the word, which
// namesReferences() does not list. Some section titles of the body read so
// too ("Forward References"): such a heading opens references only where
// its entries follow it.
bool namesQualifiedReferences(std::string_view text)
{
    while (!text.empty() && (text.back() == ':' || text.back() == '.'))
        text.remove_suffix(1);
    const std::size_t gap = text.find(' ');
    if (gap == 0 || gap == std::string_view::npos)
        return false;
    for (std::size_t i = 0; i < gap; ++i) {
        if (!isLetter(text[i]) && text[i] != '-')
            return false;
    }
    const std::string_view word = text.substr(skipBlanks(text, gap));
    return equalIgnoringAsciiCase(word, "references") || equalIgnoringAsciiCase(word, "bibliography");
}

// "Citations", as a few texts of the 1980s head their references: a word
// that a section of the body may be titled too, so that it opens
// references only where an entry follows it.
bool namesCitations(std::string_view text)
{
    while (!text.empty() && (text.back() == ':' || text.back() == '.'))
        text.remove_suffix(1);
    return equalIgnoringAsciiCase(text, "citations");
}

// "Normative Reference", "Reference": the title of a list of one entry,
// in the singular. A section of the body may be titled so too ("4.2.
// Reference", of a message that names something): such a heading opens
// references only where an entry follows it.
bool namesSingleReference(std::string_view text)
{
    while (!text.empty() && (text.back() == ':' || text.back() == '.'))
        text.remove_suffix(1);
    static constexpr std::string_view kTitles[] = {"reference", "normative reference",
                                                   "informative reference", "informational reference",
                                                   "non-normative reference"};
    return std::any_of(std::begin(kTitles), std::end(kTitles),
                       [text](std::string_view title) { return equalIgnoringAsciiCase(text, title); });
}

// Whether a title may end in "reference": its last two letters, a colon
// or full stop after them passed over, are "ce" in either case. Most
// titles of the contents end otherwise, told by their last byte.
bool mayEndInReference(std::string_view title)
{
    std::size_t end = title.size();
    if (end < 9 || ((title[end - 1] | 0x20) != 'e' && title[end - 1] != ':' && title[end - 1] != '.'))
        return false;
    while (end > 0 && (title[end - 1] == ':' || title[end - 1] == '.'))
        --end;
    return end >= 9 && (title[end - 1] | 0x20) == 'e' && (title[end - 2] | 0x20) == 'c';
}

// The 0-based lines of the headings of the contents titled in the
// singular (namesSingleReference), in text order. The line ends that every
// line is asked for leave them out: "...ence" ends too many lines of text
// to be read on each.
std::vector<int32_t> singularTitleLines(const std::vector<ContentEntry>& contents)
{
    std::vector<int32_t> found;
    for (const ContentEntry& entry : contents) {
        if (entry.headingLine >= 1 && mayEndInReference(entry.title)
            && namesSingleReference(withoutSectionNumber(entry.title)))
            found.push_back(entry.headingLine - 1);
    }
    std::sort(found.begin(), found.end());
    return found;
}

// A short heading ending in "references" inside a references section:
// "INTRODUCTORY REFERENCES", "Secondary References:", "SECONDARY IP
// REFERENCES:" (RFC 1122).
bool namesReferencesGroup(std::string_view text)
{
    while (!text.empty() && text.back() == ':')
        text.remove_suffix(1);
    const std::string_view word = "references";
    if (text.size() > 48 || text.size() < word.size())
        return false;
    return equalIgnoringAsciiCase(text.substr(text.size() - word.size()), word);
}

} // namespace

bool opensWithReferencesTitle(std::string_view title)
{
    for (const std::string_view words : {"normative references ", "informative references "}) {
        if (startsWithIgnoringAsciiCase(title, words))
            return true;
    }
    return false;
}

namespace {

// Whether the line's words end as a references heading does ("...
// references", "bibliography", "... notes", "references cited"), trailing
// colons and full stops aside, the last five letters already known to end
// one of those words.
bool endsInReferencesWord(std::string_view text)
{
    for (const std::string_view word :
         {"references", "bibliography", "notes", "cited", "works", "normative)", "informative)"}) {
        if (text.size() >= word.size()
            && equalIgnoringAsciiCase(text.substr(text.size() - word.size()), word))
            return true;
    }
    return false;
}

// The last five letters of the words above, in lower case, as one number
// each: a line's last five bytes are compared with them at once.
constexpr uint64_t kReferencesEnd = leadingEight("ences");
constexpr uint64_t kBibliographyEnd = leadingEight("raphy");
constexpr uint64_t kNotesEnd = leadingEight("notes");
constexpr uint64_t kCitedEnd = leadingEight("cited");
constexpr uint64_t kCitationsEnd = leadingEight("tions");
constexpr uint64_t kWorksEnd = leadingEight("works");
constexpr uint64_t kKindEnd = leadingEight("tive)");

// The last two letters of the words above and of "citations", in lower
// case: "references", "notes" ("es"), "cited" ("ed"), "bibliography"
// ("hy"), "citations" ("ns"), "works" ("ks"), and the bracket closing a
// kind ("(normative)", "e)"). Every test on a line's last bytes below is
// made from this list, so that a word added to the headings is let through
// by each of them.
constexpr std::array<std::array<char, 2>, 6> kTitleWordEnds{
    {{'e', 's'}, {'e', 'd'}, {'h', 'y'}, {'n', 's'}, {'k', 's'}, {'e', ')'}}};

constexpr char loweredLetter(char c)
{
    return static_cast<char>(c | 0x20);
}

// What the last byte of a line's text tells of it: it cannot end a
// references heading; it is the last byte of one of kTitleWordEnds
// ("references", "bibliography", "(normative)") in either case; or it is
// a blank, a colon or a full stop that such a word may come before.
enum class TitleEnd : uint8_t { None, Letter, Mark };

constexpr std::array<TitleEnd, 256> kTitleEnds = [] {
    std::array<TitleEnd, 256> table{};
    for (const auto& end : kTitleWordEnds) {
        table[static_cast<unsigned char>(end[1])] = TitleEnd::Letter;
        table[static_cast<unsigned char>(end[1] & ~0x20)] = TitleEnd::Letter;
    }
    for (const char c : {' ', '\t', '.', ':'})
        table[static_cast<unsigned char>(c)] = TitleEnd::Mark;
    return table;
}();

// What the last two bytes of a line's text tell of it, one look-up each: a
// bit of the last byte and the same bit of the byte before it, where the
// two may end a references heading. Each ending of kTitleWordEnds has a bit
// of its own; a mark or blank last has the highest, which the byte before
// it shares where it is a letter that may end a heading word, another mark
// or blank, or a line end (a lone CR). Most lines that end in one of those
// letters or marks end otherwise ("... messages", "... the protocol."), and
// are passed over on these two bytes without a branch, which their kind
// alone would take at random.
constexpr uint8_t kEndsInMark = 0x80;
static_assert(kTitleWordEnds.size() < 8, "one bit for each ending and one for a mark");

// The bits of byte `c` as the letter at `position` (0: the one before the
// last, 1: the last) of an ending of kTitleWordEnds.
constexpr uint8_t endingBits(int c, std::size_t position)
{
    uint8_t bits = 0;
    for (std::size_t k = 0; k < kTitleWordEnds.size(); ++k) {
        if (loweredLetter(static_cast<char>(c)) == kTitleWordEnds[k][position])
            bits |= static_cast<uint8_t>(1U << k);
    }
    return bits;
}

constexpr std::array<uint8_t, 256> kLastByteBits = [] {
    std::array<uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const bool mark = kTitleEnds[static_cast<std::size_t>(c)] == TitleEnd::Mark;
        table[static_cast<std::size_t>(c)] = endingBits(c, 1) | (mark ? kEndsInMark : 0);
    }
    return table;
}();

constexpr std::array<uint8_t, 256> kByteBeforeBits = [] {
    std::array<uint8_t, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const bool mark = kTitleEnds[static_cast<std::size_t>(c)] != TitleEnd::None || c == '\r' || c == '\n';
        table[static_cast<std::size_t>(c)] = endingBits(c, 0) | (mark ? kEndsInMark : 0);
    }
    return table;
}();

// Whether the last two letters of a text, in either case, may be those of
// a heading word: most lines that end in a letter, or in a full stop after
// one, end in another word, and are told so without reading five bytes.
inline bool lastTwoMayEndTitle(char before, char last)
{
    // Two look-ups: the bits the two bytes share are the endings both fit.
    return (kLastByteBits[static_cast<unsigned char>(last)]
            & kByteBeforeBits[static_cast<unsigned char>(before)] & ~kEndsInMark)
        != 0;
}

// The same, read from the line's end alone, without finding where its
// words start: `end` is where its text ends, line ends and trailing blanks,
// colons and full stops passed over. An upper-case letter differs from its
// lower case in one bit, which no other byte can set to make a letter.
[[gnu::always_inline]] inline bool endsInReferencesLetters(std::string_view line, std::size_t end)
{
    if (end < 5)
        return false;
    if (!lastTwoMayEndTitle(line[end - 2], line[end - 1]))
        return false;
    uint64_t last = 0;
    std::memcpy(&last, line.data() + end - 5, 5);
    last |= 0x2020202020ULL;
    // Many lines end in "...tions": of them only "citations" is read on.
    if (last == kCitationsEnd)
        return end >= 9 && equalIgnoringAsciiCase(line.substr(end - 9, 4), "cita");
    if (last != kReferencesEnd && last != kBibliographyEnd && last != kNotesEnd && last != kCitedEnd
        && last != kWorksEnd && last != kKindEnd)
        return false;
    return endsInReferencesWord(line.substr(0, end));
}

// The same, from the line's very end: its line end and trailing blanks
// passed over before the colons and full stops.
bool endsAsReferencesTitleFromEnd(std::string_view line)
{
    std::size_t end = line.size();
    while (end > 0 && (isLineEnd(line[end - 1]) || isBlankChar(line[end - 1])))
        --end;
    while (end > 0 && (line[end - 1] == ':' || line[end - 1] == '.'))
        --end;
    return endsInReferencesLetters(line, end);
}

// Every line outside a references section is asked, and most are passed by
// at the last bytes of their text (`textEnd`, the line's facts): a heading's
// closing colon or full stop is passed over here, and only a line with
// trailing blanks, which are rare, is read from its end again.
[[gnu::always_inline]] inline bool endsAsReferencesTitle(std::string_view line, std::size_t textEnd)
{
    std::size_t end = textEnd;
    while (end > 0 && (line[end - 1] == ':' || line[end - 1] == '.'))
        --end;
    if (end > 0 && isBlankChar(line[end - 1]))
        return endsAsReferencesTitleFromEnd(line);
    return endsInReferencesLetters(line, end);
}

// The first line from `from` on, before `to`, that ends as a references
// heading may: outside a references section no other line is looked at,
// and this walk, which reads no more than each line's facts and the last
// bytes of its text, is most of the pass. Nearly every line is passed over
// on its last two bytes; a line ending in a letter is then told by its
// last bytes alone. Out of line: inside the pass, its loop kept less in
// registers.
[[gnu::noinline]] int32_t nextPossibleTitle(const LineReader& lines, int32_t from, int32_t to)
{
    // Through plain pointers, which the loop need not load again.
    const char* const text = lines.wholeText().data();
    const LineOffset* const starts = lines.allStarts();
    const LineFacts* const facts = lines.allFacts();
    // Whether line `index` (not one of the first two) may end as a
    // heading, by its last two bytes. A text of fewer than two bytes reads
    // the end of the line before it too: its line end shares no bit as the
    // last byte, and a line of one byte is no heading.
    // Both take the pointers by value: the second is called out of line,
    // and pointers it took by reference would live in memory, loaded again
    // for every line.
    const auto mayEndAt = [text, starts, facts](std::size_t index) {
        const char* const end = text + starts[index] + facts[index].textEnd;
        return (kLastByteBits[static_cast<unsigned char>(end[-1])]
                & kByteBeforeBits[static_cast<unsigned char>(end[-2])])
            != 0;
    };
    const auto endsAsTitleAt = [text, starts, facts, &lines](std::size_t index) {
        const std::size_t textEnd = facts[index].textEnd;
        if (textEnd < 5)
            return false;
        const std::string_view line(text + starts[index], textEnd);
        switch (kTitleEnds[static_cast<unsigned char>(line[textEnd - 1])]) {
        case TitleEnd::Letter:
            return endsInReferencesLetters(line, textEnd);
        case TitleEnd::Mark:
            return endsAsReferencesTitle(lines.lineAt(index), textEnd);
        case TitleEnd::None:
            break;
        }
        return false;
    };
    auto index = static_cast<std::size_t>(from);
    const auto end = static_cast<std::size_t>(to);
    // The first two lines may have fewer than two bytes before the end of
    // their text: they are read in full.
    for (; index < std::min<std::size_t>(end, 2); ++index) {
        if (endsAsTitleAt(index))
            return static_cast<int32_t>(index);
    }
    for (; index < end; ++index) {
        if (mayEndAt(index) && endsAsTitleAt(index))
            return static_cast<int32_t>(index);
    }
    return to;
}

// The first line from `from` on, before `to`, that stands at the margin
// or opens with an "a" after its indentation (opensIndentedAppendix()
// reads it on): inside a references section no other line ends it, and
// nearly every line is indented text or blank, passed over here on its
// facts and the byte at its indentation.
int32_t nextMarginOrAppendix(const LineReader& lines, int32_t from, int32_t to)
{
    const char* const text = lines.wholeText().data();
    const LineOffset* const starts = lines.allStarts();
    const LineFacts* const facts = lines.allFacts();
    for (auto index = static_cast<std::size_t>(from); index < static_cast<std::size_t>(to); ++index) {
        const LineFacts& line = facts[index];
        if (line.indent == 0
                ? !line.has(LineFacts::kBlank)
                : line.indent < line.textEnd && (text[starts[index] + line.indent] | 0x20) == 'a')
            return static_cast<int32_t>(index);
    }
    return to;
}

// Whether the line holds one of the words a references heading ends in.
bool mayNameReferences(std::string_view line)
{
    for (const char* word : {"eferences", "EFERENCES", "ibliography", "IBLIOGRAPHY", " Cited", " CITED",
                             "itations", "ITATIONS", "ited Works", "ITED WORKS"}) {
        if (line.find(word) != std::string_view::npos)
            return true;
    }
    return false;
}

// The blanks before a line's text, a form feed among them counted as one.
std::size_t indentOf(std::string_view line)
{
    std::size_t i = skipBlanks(line, 0);
    if (charAt(line, i) == kFormFeed)
        i = skipBlanks(line, i + 1) - 1;
    return i;
}

// Blank, or a form feed alone; `indent` is the line's indentOf().
bool isBlankLine(std::string_view line, std::size_t indent)
{
    const std::size_t rest = skipBlanks(line, charAt(line, indent) == kFormFeed ? indent + 1 : indent);
    return rest >= line.size() || isLineEnd(line[rest]);
}

// Whether line `index` of `lines` is blank or a form feed alone
// (isBlankLine): a line without a form feed, nearly every one, is told by
// its facts, without reading it again.
bool isBlankLineAt(const LineReader& lines, std::size_t index)
{
    const LineFacts& facts = lines.factsOf(index);
    if (!facts.has(LineFacts::kHoldsFeed))
        return facts.has(LineFacts::kBlank);
    const std::string_view line = lines.lineAt(index);
    return isBlankLine(line, indentOf(line));
}

// A page header or footer the recogniser did not know ("RFC1122  ...  October
// 1989", "Internet Engineering Task Force  [Page 112]"): no heading.
bool looksLikePageLine(std::string_view line)
{
    return looksLikePageHeader(line) || endsInPageWord(line);
}

// Whether the line stands at the margin: inside a references section only
// such a line may close it (and then open the next), entries and their
// text being indented.
bool standsAtMargin(std::string_view line)
{
    return !line.empty() && !isBlankChar(line[0]) && !isLineEnd(line[0]);
}

// Whether the line is a rule, one run of dashes, equals signs or
// underscores ("==========" above "REFERENCES"), which sets a heading
// apart from the text above it as a blank line does. The rule under a
// table's column names is broken between its columns.
bool isRule(std::string_view line)
{
    constexpr std::size_t kShortestRule = 3;
    const std::size_t first = skipBlanks(line, 0);
    const char mark = charAt(line, first);
    if (mark != '-' && mark != '=' && mark != '_')
        return false;
    std::size_t end = first;
    while (charAt(line, end) == mark)
        ++end;
    return end - first >= kShortestRule && isBlankFrom(line, end);
}

// Whether an indented line opens an appendix, "   Appendix A -- Formats"
// or a centred "APPENDIX A", which ends the references before it as a
// heading at the margin does: an entry's text never starts so after a
// blank line. `indent` is the line's indentation.
bool opensIndentedAppendix(std::string_view line, std::size_t indent)
{
    if ((charAt(line, indent) | 0x20) != 'a')
        return false;
    const std::string_view appendix = "appendix ";
    if (!startsWithIgnoringAsciiCase(line.substr(indent), appendix))
        return false;
    const std::size_t name = skipBlanks(line, indent + appendix.size());
    std::size_t end = name;
    while (isLetter(charAt(line, end)) || isDigit(charAt(line, end)))
        ++end;
    return end > name && end - name <= kLongestAppendixName;
}

// Whether an entry label or a references subsection heading opens one of
// the lines [from, to) before any text at the margin that is no page line.
template <typename IsMark>
bool entryFollows(const LineReader& lines, int32_t from, int32_t to, const IsMark& isMark)
{
    std::size_t open = 0;
    std::size_t close = 0;
    for (int32_t k = from; k < to; ++k) {
        if (isBlankLineAt(lines, static_cast<std::size_t>(k)) || isMark(k))
            continue;
        const std::string_view line = lines.lineAt(static_cast<std::size_t>(k));
        const std::size_t indent = indentOf(line);
        if (opensReferenceEntry(line, open, close) || opensReferences(line))
            return true;
        if (indent == 0)
            return false;
    }
    return false;
}

// Whether the first line from `from` on that is neither blank nor a page
// line opens an entry: a label that no comma or stop follows, as one would
// a citation opening a paragraph ("[FG17], and [BBK17]." in RFC 8446).
template <typename IsMark>
bool entryOpensNextLine(const LineReader& lines, int32_t from, const IsMark& isMark)
{
    for (auto k = static_cast<std::size_t>(from); k < lines.lineTotal(); ++k) {
        if (isBlankLineAt(lines, k) || isMark(static_cast<int32_t>(k)))
            continue;
        const std::string_view line = lines.lineAt(k);
        std::size_t open = 0;
        std::size_t close = 0;
        if (!opensReferenceEntry(line, open, close))
            return false;
        const char after = charAt(line, close + 1);
        return after != ',' && after != '.' && after != ';' && after != ')';
    }
    return false;
}

// Whether line `first`, at the margin, opens a paragraph that introduces
// the entries of the section headed at `heading`: the first text under
// the heading, it is set at the margin as the heading is, and an entry
// opens the first line of text after it ("References" / "The documents
// below are cited in the text." / "   [ONE]  ...", as texts of the 1980s
// and 1990s print an unnumbered section). It ends the section otherwise.
template <typename IsBreak, typename IsMark>
bool introducesEntries(const LineReader& lines, int32_t heading, int32_t first, const IsBreak& isBreak,
                       const IsMark& isMark)
{
    constexpr int32_t kLongestIntroduction = 8;
    for (int32_t k = heading + 1; k < first; ++k) {
        if (!isBreak(k))
            return false;
    }
    const int32_t total = static_cast<int32_t>(lines.lineTotal());
    const int32_t reach = std::min(total, first + kLongestIntroduction);
    for (int32_t k = first + 1; k < reach; ++k) {
        if (isBreak(k))
            return entryOpensNextLine(lines, k, isMark);
    }
    return false;
}

// The section number opening a heading, its closing full stop aside:
// "9" of "9.  References", "A.2" of "A.2.  References", empty where no
// number opens it.
std::string_view sectionNumberOf(std::string_view heading)
{
    const std::string_view text = lineWords(heading);
    std::size_t i = isUpper(charAt(text, 0)) && charAt(text, 1) == '.' ? 2 : 0;
    while (isDigit(charAt(text, i)) || charAt(text, i) == '.')
        ++i;
    if (i == 0 || !isBlankChar(charAt(text, i)))
        return {};
    std::string_view number = text.substr(0, i);
    while (!number.empty() && number.back() == '.')
        number.remove_suffix(1);
    return number;
}

} // namespace

bool isSubsectionNumber(std::string_view number, std::string_view parent)
{
    return !parent.empty() && number.size() > parent.size() + 1
        && number.compare(0, parent.size(), parent) == 0 && number[parent.size()] == '.';
}

std::string_view withoutSectionNumber(std::string_view heading)
{
    std::string_view text = lineWords(heading);
    std::size_t i = 0;
    const std::string_view appendix = "appendix ";
    if (startsWithIgnoringAsciiCase(text, appendix)) {
        const std::size_t name = skipBlanks(text, appendix.size());
        i = name;
        while (isLetter(charAt(text, i)) || isDigit(charAt(text, i)) || charAt(text, i) == '.')
            ++i;
        // "Appendix B.2." is named; "Appendix References" (no name, the
        // word after it a title) is not.
        if (i - name > kLongestAppendixName)
            return text.substr(name);
        while (charAt(text, i) == ':' || charAt(text, i) == '-' || charAt(text, i) == ')'
               || isBlankChar(charAt(text, i)))
            ++i;
        return text.substr(i);
    }
    if (isDigit(charAt(text, 0))) {
        while (isDigit(charAt(text, i)) || charAt(text, i) == '.')
            ++i;
    } else if (isLetter(charAt(text, 0)) && charAt(text, 1) == '.') {
        i = 2;
        while (isDigit(charAt(text, i)) || charAt(text, i) == '.')
            ++i;
    } else if (isLetter(charAt(text, 0)) && isDigit(charAt(text, 1))) {
        // "A1  References"
        i = 1;
        while (isDigit(charAt(text, i)) || charAt(text, i) == '.')
            ++i;
    } else if (isRomanDigit(charAt(text, 0))) {
        while (isRomanDigit(charAt(text, i)))
            ++i;
        if (charAt(text, i) != '.')
            return text;
        ++i;
    }
    if (i == 0)
        return text;
    if (charAt(text, i) == ')')
        ++i;
    if (!isBlankChar(charAt(text, i)))
        return text;
    return text.substr(skipBlanks(text, i));
}

bool opensReferences(std::string_view heading)
{
    // Every title ends in one of the words the line ends are looked for:
    // most lines are told by their last bytes.
    return endsAsReferencesTitleFromEnd(heading) && namesReferences(withoutSectionNumber(heading));
}

bool namesUriList(std::string_view heading)
{
    // Most headings asked end otherwise, told by their last two bytes.
    std::size_t end = heading.size();
    while (end > 0 && (isBlankChar(heading[end - 1]) || isLineEnd(heading[end - 1])))
        --end;
    if (end < 4 || (heading[end - 1] | 0x20) != 's'
        || ((heading[end - 2] | 0x20) != 'i' && heading[end - 2] != '\''))
        return false;
    const std::string_view title = withoutSectionNumber(heading);
    return equalIgnoringAsciiCase(title, "uris") || equalIgnoringAsciiCase(title, "uri's");
}

bool opensReferenceEntry(std::string_view line, std::size_t& open, std::size_t& close)
{
    open = skipBlanks(line, 0);
    if (charAt(line, open) == kFormFeed)
        open = skipBlanks(line, open + 1);
    if (charAt(line, open) != '[' || isBlankChar(charAt(line, open + 1)) || charAt(line, open + 1) == ']')
        return false;
    close = line.find(']', open);
    if (close == std::string_view::npos || close - open > kLongestLabel)
        return false;
    const std::string_view label = line.substr(open, close + 1 - open);
    if (label.find('[', 1) != std::string_view::npos)
        return false;
    // A footer's "[Page 12]" at the margin of a text without a name in it.
    return !startsWithIgnoringAsciiCase(label, "[page ");
}

bool wrapsAcrossPage(std::string_view before, std::string_view after)
{
    std::size_t end = before.size();
    while (end > 0 && (isBlankChar(before[end - 1]) || isLineEnd(before[end - 1])))
        --end;
    return end > 0 && before[end - 1] != '.' && after.find(',') != std::string_view::npos;
}

std::vector<ReferencesSection> findReferencesSections(const RfcText& text, const LineReader& lines,
                                                      const std::vector<uint8_t>& marks)
{
    std::vector<ReferencesSection> sections;
    const int32_t total = static_cast<int32_t>(lines.lineTotal());
    // Contents lines may read like headings when the contents stand at the
    // margin (RFC 791); the body starts after the last of them.
    int32_t from = text.titleLine;
    for (const ContentEntry& entry : text.contents)
        from = std::max(from, entry.lastLine);
    auto isMark = [&marks](int32_t line) {
        return static_cast<std::size_t>(line) < marks.size() && marks[static_cast<std::size_t>(line)] != 0;
    };

    // A blank line, a form feed alone on its line, or a page line: what a
    // heading or the line closing a section follows.
    auto isBreak = [&](int32_t i) { return isBlankLineAt(lines, static_cast<std::size_t>(i)) || isMark(i); };
    ReferencesSection* open = nullptr;
    // Whether line `i` at the margin goes on with the entry before the
    // page break above it (wrapsAcrossPage) in the open section.
    auto wrappedAcrossPage = [&](int32_t i) {
        bool pageBreak = false;
        int32_t before = i - 1;
        for (; before > open->heading && isBreak(before); --before)
            pageBreak = pageBreak || isMark(before);
        return pageBreak && before > open->heading
            && wrapsAcrossPage(lines.lineAt(static_cast<std::size_t>(before)),
                               lines.lineAt(static_cast<std::size_t>(i)));
    };
    const std::vector<int32_t> singularLines = singularTitleLines(text.contents);
    // The first heading titled in the singular at or after line `i`, or
    // `total`.
    auto singularFrom = [&](int32_t i) {
        const auto next = std::lower_bound(singularLines.begin(), singularLines.end(), i);
        return next != singularLines.end() ? *next : total;
    };
    for (int32_t i = from; i < total; ++i) {
        // Any other line leaves the sections as they are: outside a section
        // only a line that ends as a references heading may open one, or a
        // heading titled in the singular.
        if (open == nullptr && (i = nextPossibleTitle(lines, i, singularFrom(i))) == total)
            break;
        if (open != nullptr && (i = nextMarginOrAppendix(lines, i, total)) == total)
            break;
        const std::string_view line = lines.lineAt(static_cast<std::size_t>(i));
        const std::size_t textEnd = lines.factsOf(static_cast<std::size_t>(i)).textEnd;
        // Inside a section, most lines are indented text, told by their
        // first byte to open no appendix (nextMarginOrAppendix() passed
        // over the rest of them).
        if (open != nullptr && !standsAtMargin(line)
            && !opensIndentedAppendix(line, lines.factsOf(static_cast<std::size_t>(i)).indent))
            continue;
        if (isBlankLineAt(lines, static_cast<std::size_t>(i)) || isMark(i))
            continue;
        const std::size_t indent = indentOf(line);
        // A form feed alone on its line (isBlankLine took it) is a page
        // break; one before text opens the page with that text.
        const bool wasAfterBlank = i == from || isBreak(i - 1);
        std::size_t labelOpen = 0;
        std::size_t labelClose = 0;
        if (open != nullptr) {
            if ((indent > 0 && standsAtMargin(line)) || opensReferenceEntry(line, labelOpen, labelClose)
                || !wasAfterBlank)
                continue;
            if (namesReferencesGroup(lineWords(line)) || opensReferences(line) || looksLikePageLine(line)
                || wrappedAcrossPage(i) || namesUriList(line)
                || opensWithReferencesTitle(withoutSectionNumber(line)))
                continue;
            // A subsection of a numbered references section groups its
            // entries under a title of its own ("9.1  Normative", "9.2
            // Standards of Other Bodies").
            if (isDigit(charAt(line, 0))
                && isSubsectionNumber(sectionNumberOf(line),
                                      sectionNumberOf(lines.lineAt(static_cast<std::size_t>(open->heading))))
                && entryOpensNextLine(lines, i + 1, isMark))
                continue;
            if (introducesEntries(lines, open->heading, i, isBreak, isMark))
                continue;
            open->end = i;
            open = nullptr;
        }
        if (!singularLines.empty() && singularFrom(i) == i) {
            if (wasAfterBlank && entryOpensNextLine(lines, i + 1, isMark)) {
                sections.push_back(ReferencesSection{i, total});
                open = &sections.back();
            }
            continue;
        }
        // A numbered heading stands at the margin; "REFERENCES" alone on its
        // line may be indented or centred (RFC 791), and so may a numbered
        // one in texts that indent their headings by four blanks or more
        // or centre their chapters, where its entries, or a subsection's,
        // follow it within a paragraph or two.
        // A rule above the heading sets it apart as a blank line does; a
        // rule above a table's row may too, which no entry follows.
        const bool afterRule = !wasAfterBlank && isRule(lines.lineAt(static_cast<std::size_t>(i - 1)));
        if ((!wasAfterBlank && !afterRule) || !endsAsReferencesTitle(line, textEnd)
            || !mayNameReferences(line))
            continue;
        bool heading = indent <= kHeadingIndent ? opensReferences(line) : namesReferences(lineWords(line));
        if (!heading && indent > kHeadingIndent && opensReferences(line))
            heading = entryFollows(lines, i + 1, std::min(total, i + 1 + kEntryReach), isMark);
        // Where an entry follows it: "Appendix B.  Additional References"
        // after the references of the body too, and a group of a section
        // that a line at the margin closed ("TCP REFERENCES:", RFC 1122).
        if (!heading && (indent <= kHeadingIndent || indent >= kCentredIndent)) {
            const std::string_view title = withoutSectionNumber(line);
            if (namesQualifiedReferences(title) || namesCitations(title))
                heading = entryOpensNextLine(lines, i + 1, isMark);
        }
        // Its entries follow it, past the rule under it if there is one.
        if (heading && afterRule) {
            const int32_t below =
                i + 1 < total && isRule(lines.lineAt(static_cast<std::size_t>(i + 1))) ? i + 2 : i + 1;
            heading = (indent <= kHeadingIndent || indent >= kCentredIndent)
                && entryFollows(lines, below, std::min(total, below + kEntryReach), isMark);
        }
        if (heading) {
            sections.push_back(ReferencesSection{i, total});
            open = &sections.back();
        }
    }
    return sections;
}

} // namespace parchly
