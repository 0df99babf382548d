#include "analysis/references_sections.h"

#include "analysis/page_layout.h"
#include "analysis/text_scan.h"

#include <algorithm>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace parchly {

namespace {

// The longest label of a reference entry; a longer bracket at the start of
// a line is a note or a piece of syntax, not a label.
constexpr std::size_t kLongestLabel = 64;

// A heading line stands at the margin; some RFCs indent their headings by a
// blank or two, never by a paragraph's indentation.
constexpr std::size_t kHeadingIndent = 3;

bool isRomanDigit(char c)
{
    return c == 'I' || c == 'V' || c == 'X';
}

// The words that open references, with the qualifiers RFCs put before them.
bool namesReferences(std::string_view text)
{
    while (!text.empty() && (text.back() == ':' || text.back() == '.'))
        text.remove_suffix(1);
    const char* const kTitles[] = {"references",
                                   "normative references",
                                   "informative references",
                                   "non-normative references",
                                   "informational references",
                                   "references and notes",
                                   "notes and references",
                                   "bibliography",
                                   "references cited"};
    for (const char* title : kTitles) {
        if (equalIgnoringAsciiCase(text, title))
            return true;
    }
    return false;
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

// Whether the line's words end as a references heading does ("...
// references", "bibliography", "... notes", "references cited"), trailing
// colons and full stops aside: a few bytes at the end of the line, so most
// lines are passed by before any search.
bool endsAsReferencesTitle(std::string_view line)
{
    std::string_view text = lineWords(line);
    while (!text.empty() && (text.back() == ':' || text.back() == '.'))
        text.remove_suffix(1);
    // The last letter of each of the words below: most lines end in
    // another, and are passed by at it.
    const char last = text.empty() ? '\0' : lowerAscii(text.back());
    if (last != 's' && last != 'y' && last != 'd')
        return false;
    for (const std::string_view last : {"references", "bibliography", "notes", "cited"}) {
        if (text.size() >= last.size()
            && equalIgnoringAsciiCase(text.substr(text.size() - last.size()), last))
            return true;
    }
    return false;
}

// Whether the line holds one of the words a references heading ends in.
bool mayNameReferences(std::string_view line)
{
    for (const char* word : {"eferences", "EFERENCES", "ibliography", "IBLIOGRAPHY"}) {
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

// A page header or footer the recogniser did not know ("RFC1122  ...  October
// 1989", "Internet Engineering Task Force  [Page 112]"): no heading.
bool looksLikePageLine(std::string_view line)
{
    return looksLikePageHeader(line) || endsInPageWord(line);
}

// Whether the line may open or close a references section, told from its
// first and last bytes: a section closes only at a line at the margin, and
// opens only at one whose words end as a references heading does (last
// letter s, y or d, closing colons and full stops aside). Body text is
// indented and most of it ends otherwise, so most lines stop here.
bool mayOpenOrCloseSection(std::string_view line)
{
    if (line.empty())
        return false;
    if (!isBlankChar(line[0]) && !isLineEnd(line[0]))
        return true;
    std::size_t end = line.size();
    while (end > 0
           && (isLineEnd(line[end - 1]) || isBlankChar(line[end - 1]) || line[end - 1] == ':'
               || line[end - 1] == '.'))
        --end;
    const char last = end > 0 ? lowerAscii(line[end - 1]) : '\0';
    return last == 's' || last == 'y' || last == 'd';
}

// Where the next "eferences", "EFERENCES", "ibliography" or "IBLIOGRAPHY"
// of `text` at or after `from` ends, as mayNameReferences() looks for
// them; npos when there is none. The text is searched for the rare byte
// pairs inside them, "nc" and "ph", sixteen positions at a time, and only
// those are looked at: until a references section opens, no other line
// needs reading.
std::size_t findReferencesWord(std::string_view text, std::size_t from)
{
    // Each word with where its pair stands in it.
    struct Word {
        std::string_view text;
        std::size_t pair;
    };
    constexpr Word kWords[] = {{"eferences", 5}, {"EFERENCES", 5}, {"ibliography", 8}, {"IBLIOGRAPHY", 8}};
    auto wordAt = [&](std::size_t pair) {
        for (const Word& word : kWords) {
            if (pair >= word.pair && startsWithAt(text, pair - word.pair, word.text))
                return pair - word.pair + word.text.size();
        }
        return std::string_view::npos;
    };
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i n = _mm_set1_epi8('n');
    const __m128i c = _mm_set1_epi8('c');
    const __m128i p = _mm_set1_epi8('p');
    const __m128i h = _mm_set1_epi8('h');
    // Upper case differs from lower case in one bit.
    const __m128i caseBit = _mm_set1_epi8(0x20);
    for (; i + 17 <= text.size(); i += 16) {
        const __m128i first =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i)), caseBit);
        const __m128i second =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i + 1)), caseBit);
        const __m128i pairs =
            _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(first, n), _mm_cmpeq_epi8(second, c)),
                         _mm_and_si128(_mm_cmpeq_epi8(first, p), _mm_cmpeq_epi8(second, h)));
        for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(pairs)); mask != 0; mask &= mask - 1) {
            const std::size_t end = wordAt(i + static_cast<std::size_t>(__builtin_ctz(mask)));
            if (end != std::string_view::npos)
                return end;
        }
    }
#endif
    for (; i + 1 < text.size(); ++i) {
        const char first = lowerAscii(text[i]);
        const char second = lowerAscii(text[i + 1]);
        if ((first == 'n' && second == 'c') || (first == 'p' && second == 'h')) {
            const std::size_t end = wordAt(i);
            if (end != std::string_view::npos)
                return end;
        }
    }
    return std::string_view::npos;
}

} // namespace

std::string_view withoutSectionNumber(std::string_view heading)
{
    std::string_view text = lineWords(heading);
    std::size_t i = 0;
    const std::string_view appendix = "appendix ";
    if (startsWithIgnoringAsciiCase(text, appendix)) {
        i = skipBlanks(text, appendix.size());
        while (isLetter(charAt(text, i)) || isDigit(charAt(text, i)) || charAt(text, i) == '.')
            ++i;
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
    return namesReferences(withoutSectionNumber(heading));
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

std::vector<ReferencesSection> findReferencesSections(const RfcText& text, const LineReader& lines,
                                                      const std::vector<bool>& marks)
{
    std::vector<ReferencesSection> sections;
    const int32_t total = static_cast<int32_t>(lines.lineTotal());
    // Contents lines may read like headings when the contents stand at the
    // margin (RFC 791); the body starts after the last of them.
    int32_t from = text.titleLine;
    for (const ContentEntry& entry : text.contents)
        from = std::max(from, entry.lastLine);
    auto isMark = [&marks](int32_t line) {
        return static_cast<std::size_t>(line) < marks.size() && marks[static_cast<std::size_t>(line)];
    };

    // A blank line, a form feed alone on its line, or a page line: what a
    // heading or the line closing a section follows.
    auto isBreak = [&](int32_t i) {
        const std::string_view line = lines.lineAt(static_cast<std::size_t>(i));
        return isBlankLine(line, indentOf(line)) || isMark(i);
    };
    ReferencesSection* open = nullptr;
    const std::string_view whole = lines.wholeText();
    for (int32_t i = from; i < total; ++i) {
        if (open == nullptr) {
            // Only a line naming references opens a section.
            const std::size_t word = findReferencesWord(whole, lines.lineOffset(static_cast<std::size_t>(i)));
            if (word == std::string_view::npos)
                break;
            i = std::max(i, static_cast<int32_t>(lines.lineHolding(word - 1)));
        }
        const std::string_view line = lines.lineAt(static_cast<std::size_t>(i));
        // Any other line leaves the sections as they are.
        if (!mayOpenOrCloseSection(line))
            continue;
        const std::size_t indent = indentOf(line);
        if (isBlankLine(line, indent) || isMark(i))
            continue;
        // A form feed alone on its line (isBlankLine took it) is a page
        // break; one before text opens the page with that text.
        const bool wasAfterBlank = i == from || isBreak(i - 1);
        std::size_t labelOpen = 0;
        std::size_t labelClose = 0;
        if (open != nullptr) {
            if (indent > 0 || opensReferenceEntry(line, labelOpen, labelClose) || !wasAfterBlank)
                continue;
            if (namesReferencesGroup(lineWords(line)) || opensReferences(line) || looksLikePageLine(line))
                continue;
            open->end = i;
            open = nullptr;
        }
        // A numbered heading stands at the margin; "REFERENCES" alone on its
        // line may be centred (RFC 791).
        if (!wasAfterBlank || !endsAsReferencesTitle(line) || !mayNameReferences(line))
            continue;
        const bool heading =
            indent <= kHeadingIndent ? opensReferences(line) : namesReferences(lineWords(line));
        if (heading) {
            sections.push_back(ReferencesSection{i, total});
            open = &sections.back();
        }
    }
    return sections;
}

} // namespace parchly
