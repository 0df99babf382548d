#include "analysis/contents.h"

#include "analysis/ascii.h"
#include "analysis/page_layout.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace parchly {

namespace {

// "3.2." and "3.0" are the sections 3.2 and 3.
std::string_view trimmedNumber(std::string_view number)
{
    while (!number.empty() && number.back() == '.')
        number.remove_suffix(1);
    while (number.size() >= 2 && number[number.size() - 2] == '.' && number.back() == '0')
        number.remove_suffix(2);
    return number;
}

// Where a chapter number in upper-case Roman numerals of two letters or
// more ("II.", "XIV.") ends at `i`, before its full stop, as some memos
// of the 1970s and 1980s number their chapters; `i` when none stands
// there. One letter is read as any letter is ("I.", "V.").
inline std::size_t romanNumberEnd(std::string_view line, std::size_t i)
{
    constexpr std::size_t kLongest = 7; // "XXXVIII"
    const auto isRoman = [](char c) { return c == 'I' || c == 'V' || c == 'X'; };
    // Asked of every line that opens with a letter: two bytes tell nearly all.
    if (!isRoman(charAt(line, i)) || !isRoman(charAt(line, i + 1)))
        return i;
    std::size_t end = i + 2;
    while (end - i < kLongest && isRoman(charAt(line, end)))
        ++end;
    return end - i >= 2 && charAt(line, end) == '.' ? end : i;
}

bool startsSectionNumber(std::string_view line, std::size_t i)
{
    const char c = charAt(line, i);
    const char next = charAt(line, i + 1);
    return isDigit(c) || (isLetter(c) && (isBlankChar(next) || next == '.')) || romanNumberEnd(line, i) != i;
}

// Reads "3.2.", "A.1" or "3.0" at `i` into `number` without trailing dots
// and ".0" parts. False when the number is not followed by a blank, or by
// a word glued to its last dot ("A.4.4.Handshake finalization message" in
// RFC 4346): no part of a number after a dot is a word. Inlined into the
// contents loop, which reads it for nearly every entry line.
[[gnu::always_inline]] inline bool readSectionNumber(std::string_view line, std::size_t& i,
                                                     std::string& number)
{
    const std::size_t start = i;
    bool gluedWord = false;
    while (!gluedWord && (isDigit(charAt(line, i)) || isLetter(charAt(line, i)) || charAt(line, i) == '.')) {
        gluedWord = charAt(line, i) == '.' && isLetter(charAt(line, i + 1)) && isLetter(charAt(line, i + 2));
        ++i;
    }
    number.assign(trimmedNumber(line.substr(start, i - start)));
    return gluedWord || isBlankChar(charAt(line, i));
}

enum class EntryText { kComplete, kContinues, kUnreadable };

// Where the leader dots and blanks that end at `end` start, at `from` at
// the least. Nearly every contents line holds a run of them, read from its
// end more than once: eight bytes at a time.
std::size_t leadersStart(std::string_view line, std::size_t from, std::size_t end)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    constexpr uint64_t kHighBits = 0x8080808080808080ULL;
    while (end >= from + 8) {
        uint64_t eight = 0;
        std::memcpy(&eight, line.data() + end - 8, 8);
        const uint64_t leaders =
            bytesEqualTo(eight, '.') | bytesEqualTo(eight, ' ') | bytesEqualTo(eight, '\t');
        const uint64_t others = ~leaders & kHighBits;
        if (others != 0)
            return end - 8 + static_cast<std::size_t>(63 - __builtin_clzll(others)) / 8 + 1;
        end -= 8;
    }
#endif
    while (end > from && (line[end - 1] == '.' || isBlankChar(line[end - 1])))
        --end;
    return end;
}

// Where the chapter ends at the hyphen `hyphen` of a page number "3-12"
// starts: at its one or two digits after a blank or a full stop; the
// number's own digits, after the hyphen, where none stands there.
std::size_t chapterStart(std::string_view line, std::size_t from, std::size_t hyphen)
{
    constexpr std::size_t kLongestChapter = 2;
    std::size_t chapter = hyphen;
    while (chapter > from && hyphen - chapter < kLongestChapter && isDigit(line[chapter - 1]))
        --chapter;
    const bool opens = chapter == from || line[chapter - 1] == '.' || isBlankChar(line[chapter - 1]);
    return chapter < hyphen && opens ? chapter : hyphen + 1;
}

// Where the page number whose digits end at `end` starts, at `from` at
// the least: at its digits, or at its chapter where the memo numbers its
// pages by chapter ("3-12", the twelfth page of chapter 3, as some of the
// 1980s do); `end` when no digit ends there.
inline std::size_t pageNumberStart(std::string_view line, std::size_t from, std::size_t end)
{
    std::size_t start = end;
    while (start > from && isDigit(line[start - 1]))
        --start;
    if (start == end || start < from + 2 || line[start - 1] != '-')
        return start;
    return chapterStart(line, from, start - 1);
}

bool isRomanPageDigit(char c)
{
    return c == 'i' || c == 'v' || c == 'x';
}

// Where a page number in lower-case Roman numerals ends a contents line
// after leader dots ("PREFACE ........ iii" in RFC 791) or a wide gap
// ("PREFACE          iii", contents without leaders); `end` when none.
// After one or two blanks a title may end in such a word; a tab is a wide
// gap, as contents typed with tabs print it ("PREFACE\t\tiii").
std::size_t romanPageStart(std::string_view line, std::size_t from, std::size_t end)
{
    constexpr std::size_t kWideGap = 3;
    std::size_t start = end;
    while (start > from && isRomanPageDigit(line[start - 1]))
        --start;
    std::size_t k = start;
    std::size_t gap = 0;
    while (k > from && isBlankChar(line[k - 1])) {
        --k;
        gap += line[k] == '\t' ? kWideGap : 1;
    }
    std::size_t dots = 0;
    while (k > from && line[k - 1] == '.') {
        --k;
        ++dots;
    }
    return start < end && (dots >= 2 || (gap >= kWideGap && k > from)) ? start : end;
}

// Adds the text of one contents line, from `i`, to the pending entry: the
// title before the leader dots and, when the line ends in one, the page.
// A line that holds only a page number ends a title wrapped onto the lines
// before it; with no title yet, it cannot be read.
EntryText readEntryText(std::string_view line, std::size_t i, ContentEntry& entry)
{
    i = skipBlanks(line, i);
    if (i >= line.size() || isLineEnd(line[i]))
        return EntryText::kUnreadable;
    std::size_t digitsEnd = line.size();
    while (digitsEnd > i && isLineEnd(line[digitsEnd - 1]))
        --digitsEnd;
    while (digitsEnd > i && isBlankChar(line[digitsEnd - 1]))
        --digitsEnd;
    std::size_t end = pageNumberStart(line, i, digitsEnd);
    // A page of a chapter ("3-12") gives no page of the whole text.
    const bool chapterPage = end + 3 <= digitsEnd && (line[end + 1] == '-' || line[end + 2] == '-');
    bool roman = false;
    if (end == digitsEnd) {
        const std::size_t start = romanPageStart(line, i, digitsEnd);
        roman = start != digitsEnd;
        end = start;
    }
    std::size_t digitsStart = end;
    end = leadersStart(line, i, end);
    // A comma slipped in among the leader dots ("Leap Seconds .....,... 15"
    // in RFC 3339) belongs to them, not to the title.
    if (end >= i + 2 && line[end - 1] == ',' && line[end - 2] == '.')
        end = leadersStart(line, i, end - 1);
    // A page number stands after leader dots or a wider gap; after one
    // blank the number ends the title ("Changes since RFC 2616").
    if (end > i && digitsStart == end + 1 && isBlankChar(line[end])) {
        end = digitsEnd;
        digitsStart = digitsEnd;
    }
    if (end == i) {
        if (entry.title.empty() || digitsStart == digitsEnd)
            return EntryText::kUnreadable;
    } else if (entry.title.empty()) {
        // Made at its size: an append to the empty title takes a slower
        // path of the string than its construction.
        entry.title = std::string(line.substr(i, end - i));
    } else {
        // A word broken at its hyphen ("Last-" / "modified Dates", RFC
        // 2068) is joined whole.
        const std::size_t size = entry.title.size();
        if (size < 2 || entry.title[size - 1] != '-' || !isLetter(entry.title[size - 2]) || line[i] < 'a'
            || line[i] > 'z')
            entry.title.push_back(' ');
        entry.title.append(line, i, end - i);
    }

    // The leader dots and blanks end exactly where the digits begin, so a
    // page number found here is the number at the end of the line.
    if (digitsStart == digitsEnd)
        return EntryText::kContinues;
    // Nearly every title starts with its first word, told by its first byte.
    const auto leading = [](char c) { return isBlankChar(c) || c == '-'; };
    if (!entry.title.empty() && leading(entry.title.front())) {
        const std::size_t lead = entry.title.find_first_not_of(" \t-");
        entry.title.erase(0, lead == std::string::npos ? entry.title.size() : lead);
    }
    entry.page = roman || chapterPage ? 0 : decimalValue(line, digitsStart, digitsEnd);
    return EntryText::kComplete;
}

// Whether a contents line ends in a page number after leader dots or at
// least two blanks, as every entry of a paginated RFC does. One blank is
// not enough: a title may end in a number ("Changes since RFC 2616").
bool endsInPageNumber(std::string_view line)
{
    std::size_t end = line.size();
    while (end > 0 && (isLineEnd(line[end - 1]) || isBlankChar(line[end - 1])))
        --end;
    const std::size_t digitsEnd = end;
    end = pageNumberStart(line, 0, digitsEnd);
    if (end == digitsEnd)
        return false;
    const std::size_t textEnd = leadersStart(line, 0, end);
    return end - textEnd >= 2 && textEnd > 0;
}

// Where the leader dots before the page number that ends `words` start
// ("Introduction ....... 4": at the first blank before the dots), or npos
// where the words end in no number after two dots or more.
std::size_t dottedLeadersStart(std::string_view words)
{
    const std::size_t end = pageNumberStart(words, 0, words.size());
    if (end == words.size())
        return std::string_view::npos;
    const std::size_t start = leadersStart(words, 0, end);
    const auto dots = std::count(words.begin() + static_cast<std::ptrdiff_t>(start),
                                 words.begin() + static_cast<std::ptrdiff_t>(end), '.');
    return dots >= 2 ? start : std::string_view::npos;
}

// Whether the line ends in leader dots and a page number, which no heading
// does.
bool endsInDotsAndPage(std::string_view line)
{
    return dottedLeadersStart(lineWords(line)) != std::string_view::npos;
}

// Whether the line ends in leader dots and a page in lower-case Roman
// numerals: "PREFACE.......... iii" at the margin in RFC 733.
bool endsInDottedRomanPage(std::string_view line)
{
    const std::size_t end = textEndOf(line);
    const std::size_t start = romanPageStart(line, 0, end);
    if (start == end)
        return false;
    const std::size_t leaders = leadersStart(line, 0, start);
    return leaders > 0
        && std::count(line.begin() + static_cast<std::ptrdiff_t>(leaders),
                      line.begin() + static_cast<std::ptrdiff_t>(start), '.')
        >= 2;
}

// An unindented line that still belongs to the contents: an entry printed
// at the margin, as RFC 791 and RFC 5389 print them, ending in its page;
// or the first line of such an entry whose title wraps onto the next,
// indented, line that ends in the page.
bool isMarginEntry(std::string_view line, const LineReader& source)
{
    if (endsInPageNumber(line) || endsInDottedRomanPage(line))
        return true;
    std::size_t i = 0;
    bool dotted = false;
    if (leadingSectionNumber(line, i, dotted).empty())
        return false;
    const std::string_view next = source.peekLine();
    return isBlankChar(charAt(next, 0)) && !isBlankFrom(next, 0) && endsInPageNumber(next);
}

// Whether `line` is an indented numbered entry that ends in its page.
bool opensIndentedEntry(std::string_view line)
{
    std::size_t i = skipBlanks(line, 0);
    bool dotted = false;
    return i > 0 && !leadingSectionNumber(line, i, dotted).empty() && endsInPageNumber(line);
}

// A word at the margin naming the kind of the numbered entries indented
// under it, as RFC 733 prints "Section" over its chapters "I." to "V." and
// "Appendix" over "A." and "B.": no entry, and no end of the contents.
// With `anyWords`, any line is taken so that stands right above such an
// entry: a group's title at the margin ("PART I: BASICS") over the
// entries of its chapters.
bool labelsEntriesBelow(std::string_view line, const LineReader& source, bool anyWords)
{
    static constexpr std::array<std::string_view, 5> kLabels = {"Section", "Sections", "Chapter", "Appendix",
                                                                "Appendices"};
    const std::string_view words = lineWords(line);
    if (!anyWords && std::none_of(kLabels.begin(), kLabels.end(), [&](std::string_view label) {
            return equalIgnoringAsciiCase(words, label);
        }))
        return false;
    return opensIndentedEntry(source.peekLine());
}

// A line of leader dots and a page number alone ("        ........ 12"):
// the end of an entry whose title filled the line above, as xml2rfc sets
// one when the leaders and the page no longer fit beside the title.
bool holdsLeadersAndPage(std::string_view line)
{
    // Asked of lines that end in no page number after words: nearly every
    // one is told by its first byte.
    return charAt(line, skipBlanks(line, 0)) == '.' && dottedLeadersStart(lineWords(line)) == 0;
}

bool endsInAnyPageNumber(std::string_view line)
{
    std::size_t end = line.size();
    while (end > 0 && (isLineEnd(line[end - 1]) || isBlankChar(line[end - 1])))
        --end;
    return endsInPageNumber(line) || romanPageStart(line, 0, end) != end || holdsLeadersAndPage(line);
}

// Whether one of the next few lines of text (page lines aside) ends in a
// page number: the contents go on. RFC 822 indents its whole text, so its
// contents end where the page numbers do, not at a line at the margin.
bool contentsGoOn(const LineReader& source)
{
    constexpr int kLinesAhead = 3;
    const std::string_view ahead = source.remainingText();
    int seen = 0;
    std::size_t start = 0;
    std::string_view line;
    while (seen < kLinesAhead && takeLine(ahead, start, line)) {
        if (isBlankFrom(line, 0) || line.find(kFormFeed) != std::string_view::npos
            || line.find("[Page ") != std::string_view::npos || looksLikePageHeader(line))
            continue;
        if (endsInAnyPageNumber(line))
            return true;
        ++seen;
    }
    return false;
}

// Stray characters left before an entry's number by an editing slip
// ("ed            7.1.1. Origination Date ......65" in RFC 7231) are
// passed over: the position of the number after them, else `i`.
std::size_t afterStrayWord(std::string_view line, std::size_t i)
{
    std::size_t k = i;
    while (k < line.size() && !isBlankChar(line[k]) && !isLineEnd(line[k]))
        ++k;
    if (k == i || k - i > 3 || !isBlankChar(charAt(line, k)) || !isBlankChar(charAt(line, k + 1)))
        return i;
    const std::size_t at = skipBlanks(line, k);
    std::size_t probe = at;
    bool dotted = false;
    return !leadingSectionNumber(line, probe, dotted).empty() && dotted ? at : i;
}

// The word "SECTION" before an entry's number, as RFC 1043 prints its
// entries ("SECTION 1   COMMAND NAME AND OPTION CODE"): where the number
// after it starts, else `i`. In capitals only, as the headings matched to
// such entries are (matchHeading): "Section 1.  Introduction" stays a
// title, which a heading printed the same way matches whole.
[[gnu::noinline]] std::size_t afterSectionWordAt(std::string_view line, std::size_t i)
{
    constexpr std::string_view kWord = "SECTION ";
    if (line.compare(i, kWord.size(), kWord) != 0)
        return i;
    const std::size_t at = skipBlanks(line, i + kWord.size());
    return isDigit(charAt(line, at)) ? at : i;
}

// Reads the number a colon closes after the word "SECTION" ("SECTION
// 1:  INTRODUCTION") at `i` into `number`, `i` set past the colon; false
// when no digits and colon followed by a blank stand there. Out of line:
// asked only of an entry whose number was not read after the word.
[[gnu::noinline]] bool readColonClosedNumber(std::string_view line, std::size_t& i, std::string& number)
{
    std::size_t end = i;
    while (isDigit(charAt(line, end)) || (charAt(line, end) == '.' && isDigit(charAt(line, end + 1))))
        ++end;
    if (end == i || charAt(line, end) != ':' || !isBlankChar(charAt(line, end + 1)))
        return false;
    number.assign(line.substr(i, end - i));
    i = end + 1;
    return true;
}

// Asked of every entry line: the first byte tells nearly all, and the
// rest is read out of the line.
inline std::size_t afterSectionWord(std::string_view line, std::size_t i)
{
    return charAt(line, i) == 'S' ? afterSectionWordAt(line, i) : i;
}

// A numbered line at the indentation of an open entry, or left of it,
// starts the next entry: the open one had no page number. A wrapped title
// goes on further right.
// So does a line further right opened by a number under the open entry's
// and a title not in small letters ("1.1  Scope ..... 2" under "1.
// Introduction"), as contents that give their chapters no page print
// them: a wrapped title seldom goes on with its own entry's number, and
// then with words ("2.  Changes for Version" / "2.1 of the Format").
bool startsNextEntry(std::string_view line, std::size_t rest, std::size_t openIndent,
                     std::string_view openNumber)
{
    std::size_t i = rest;
    bool dotted = false;
    const std::string_view number = leadingSectionNumber(line, i, dotted);
    if (number.empty())
        return false;
    return rest <= openIndent
        || (!openNumber.empty() && number.size() > openNumber.size() + 1
            && number.compare(0, openNumber.size(), openNumber) == 0 && number[openNumber.size()] == '.'
            && !isLower(charAt(line, skipBlanks(line, i))));
}

// The first run of three spaces at or after `from`, npos when none: the
// third byte of a run is looked at first, and a byte that is no space
// rules out every run that would hold it. Asked of every contents line,
// whose many single spaces a search for the first one met one by one.
std::size_t findColumnGap(std::string_view line, std::size_t from)
{
    std::size_t at = from;
    while (at + 3 <= line.size()) {
        if (line[at + 2] != ' ')
            at += 3;
        else if (line[at + 1] != ' ')
            at += 2;
        else if (line[at] != ' ')
            at += 1;
        else
            return at;
    }
    return std::string_view::npos;
}

// Two entries printed side by side, as some contents of the 1980s and
// 1990s are ("1. Introduction ...... 1     4. Security ...... 6"): where
// the right-hand entry starts, after a gap of three blanks or more that
// follows a page number and precedes a section number, or an unnumbered
// entry where both are set with leader dots; npos when the line holds one
// entry.
std::size_t rightColumnAt(std::string_view line, std::size_t from)
{
    for (std::size_t gap = findColumnGap(line, from); gap != std::string_view::npos;) {
        const std::size_t next = skipBlanks(line, gap);
        if (isBlankFrom(line, next))
            return std::string_view::npos;
        std::size_t i = next;
        bool dotted = false;
        if (isDigit(line[gap - 1]) && endsInPageNumber(line.substr(0, gap))) {
            if (!leadingSectionNumber(line, i, dotted).empty() && endsInPageNumber(line.substr(i)))
                return next;
            // An unnumbered entry on the right ("References ..... 9") is
            // told by the leader dots both halves print.
            if (endsInDotsAndPage(line.substr(0, gap)) && endsInDotsAndPage(line.substr(next)))
                return next;
        }
        gap = findColumnGap(line, next);
    }
    return std::string_view::npos;
}

// The titles of the table's columns over its first entry ("Section
// ...  Page", some contents of the 1980s and 1990s), or the rule of
// dashes under them, printed again over the entries a page break
// continues: no entry. The last word is "Page", or "Page No." as RFC 1043
// heads its column of pages, flush right of any word before it, and no
// word holds a digit.
bool printsColumnTitles(std::string_view line)
{
    std::string_view words = lineWords(line);
    if (!words.empty() && words.find_first_not_of("- \t") == std::string_view::npos)
        return true;
    constexpr std::string_view kNumberWord = " No.";
    if (words.size() > kNumberWord.size() && words.substr(words.size() - kNumberWord.size()) == kNumberWord)
        words.remove_suffix(kNumberWord.size());
    constexpr std::string_view kPage = "page";
    if (words.size() < kPage.size()
        || !equalIgnoringAsciiCase(words.substr(words.size() - kPage.size()), kPage)
        || std::any_of(words.begin(), words.end(), [](char c) { return isDigit(c); }))
        return false;
    const std::string_view before = words.substr(0, words.size() - kPage.size());
    constexpr std::string_view kGap = "   ";
    return before.empty() || before.back() == '\t'
        || (before.size() >= kGap.size() && before.substr(before.size() - kGap.size()) == kGap);
}

// "List of Figures" or "List of Tables" at the margin right under the
// contents, its entries below it ending in their pages, as RFC 2131 prints
// them, or a blank line above entries set with leader dots, or centred a
// blank line above them, as RFC 1191 does, or "FIGURES"
// alone, centred a blank line above them (RFC 1005): the contents go on.
// Their numbers are the figures', not sections, so each is kept in its
// entry's title.
bool opensFigureList(std::string_view line, std::size_t rest, const LineReader& source)
{
    // Asked of every contents line: the first letter tells nearly all.
    const char first = lowerAscii(charAt(line, rest));
    if (first != 'l' && first != 'f' && first != 't')
        return false;
    const std::string_view words = lineWords(line);
    if (equalIgnoringAsciiCase(words, "List of Figures") || equalIgnoringAsciiCase(words, "List of Tables")) {
        std::size_t next = source.linesRead();
        const bool blankUnder = next < source.lineTotal() && isBlankFrom(source.lineAt(next), 0);
        if (blankUnder)
            ++next;
        if (next >= source.lineTotal())
            return false;
        // At the margin a blank line under it, its entries set with leader
        // dots below: the heading, not the end of the contents.
        const std::string_view entry = source.lineAt(next);
        return rest == 0 && blankUnder ? endsInDotsAndPage(entry) : endsInPageNumber(entry);
    }
    return (equalIgnoringAsciiCase(words, "Figures") || equalIgnoringAsciiCase(words, "Tables"))
        && contentsGoOn(source);
}

// The parts at the end of an RFC that some paginated contents list
// without a page number after the numbered entries ("Authors' Addresses",
// "Full Copyright Statement", "Index"): the line holds the title alone.
bool namesBackMatter(std::string_view line)
{
    static constexpr std::array<std::string_view, 11> kTitles = {"Acknowledgements",
                                                                 "Acknowledgments",
                                                                 "Author's Address",
                                                                 "Authors' Addresses",
                                                                 "Authors' Address",
                                                                 "Editor's Address",
                                                                 "Editors' Addresses",
                                                                 "Full Copyright Statement",
                                                                 "Intellectual Property",
                                                                 "Intellectual Property Statement",
                                                                 "Index"};
    const std::string_view words = lineWords(line);
    return std::any_of(kTitles.begin(), kTitles.end(),
                       [&](std::string_view title) { return equalIgnoringAsciiCase(words, title); });
}

// Whether the last byte of the line's text is a digit.
bool endsInDigit(std::string_view line)
{
    std::size_t end = line.size();
    while (end > 0 && (isLineEnd(line[end - 1]) || isBlankChar(line[end - 1])))
        --end;
    return end > 0 && isDigit(line[end - 1]);
}

// The heading of the contents printed again over the entries a page
// break continues: "TABLE OF CONTENTS (continued)", "Contents (cont.)",
// "Table of Contents, continued", or the heading alone.
bool repeatsContentsHeading(std::string_view line)
{
    std::string_view words = lineWords(line);
    constexpr std::string_view kTable = "table of ";
    if (startsWithIgnoringAsciiCase(words, kTable))
        words.remove_prefix(kTable.size());
    constexpr std::string_view kContents = "contents";
    if (!startsWithIgnoringAsciiCase(words, kContents))
        return false;
    std::string_view after = lineWords(words.substr(kContents.size()));
    if (after.empty())
        return true;
    // "continued", "cont." or "cont'd" after a bracket, a comma or a dash:
    // no title such as "Contents Control".
    const bool opensWord = after[0] == '(' || after[0] == ',' || after[0] == '-';
    after = lineWords(after.substr(opensWord ? 1 : 0));
    constexpr std::string_view kCont = "cont";
    if (!startsWithIgnoringAsciiCase(after, kCont))
        return false;
    const char next = lowerAscii(charAt(after, kCont.size()));
    return startsWithIgnoringAsciiCase(after, "continued") || next == 'd' || !isLetter(next);
}

// The page number that ends a line, after anything; 0 when none does.
int32_t trailingPage(std::string_view line)
{
    constexpr std::size_t kLongestPage = 4;
    const std::size_t end = textEndOf(line);
    const std::size_t start = digitsBefore(line, end);
    return start < end && end - start <= kLongestPage ? decimalValue(line, start, end) : 0;
}

// RFC 2068 prints an entry too long for its leaders with its page after
// one blank ("14.9.3 Modifications of the Basic Expiration Mechanism
// 104"), which reads as the end of the title. The number ending a one-line
// entry left without a page is its page where it lies between the pages of
// the entries before and after it; a title that ends in a number ("Changes
// since RFC 2616") seldom does.
void takeTitleEndAsPage(ContentEntry& entry, int32_t before, int32_t after)
{
    const std::size_t blank = entry.title.rfind(' ');
    if (entry.page != 0 || entry.firstLine != entry.lastLine || before <= 0 || blank == std::string::npos)
        return;
    const std::string_view last = std::string_view(entry.title).substr(blank + 1);
    const int32_t page =
        std::all_of(last.begin(), last.end(), [](char c) { return isDigit(c); }) ? trailingPage(last) : 0;
    if (page < before || page > after)
        return;
    entry.page = page;
    entry.title.erase(blank);
}

// Whether a margin line that ends in a page number after a gap, without
// leaders, names a page before the last entry's: no entry, whose pages
// only go on, but the header of the first page after contents set with
// leaders, in a text kept without its form feeds ("Standard for the Format
// of Text Messages      1" under RFC 733's contents, ending on page 37).
// Asked of every margin entry: the page tells nearly all, and the leaders
// are looked for out of the loop's way.
[[gnu::noinline]] bool turnsBackAPage(std::string_view line, const std::vector<ContentEntry>& contents)
{
    if (contents.empty())
        return false;
    const int32_t page = trailingPage(line);
    return page > 0 && page < contents.back().page && !endsInDotsAndPage(line);
}

// Contents printed without page numbers in a paginated RFC leave their
// last entry open: a numbered one of a line or two is kept; a longer one is
// text that never was an entry. So is an unnumbered line after entries
// none of which has a page ("References" under "3.  Security").
void closeOpenEntry(RfcText& text, const ContentEntry& pending, bool continuing, bool paged)
{
    constexpr int32_t kLongestWrappedTitle = 3;
    const bool lineAfterEntries = !paged && !text.contents.empty() && pending.lastLine == pending.firstLine;
    if (continuing && (!pending.number.empty() || lineAfterEntries)
        && pending.lastLine - pending.firstLine < kLongestWrappedTitle)
        text.contents.push_back(pending);
}

// Parses the entries of paginated contents. A line that cannot be read as
// an entry is passed over, not the end of the contents: one damaged line
// must not lose the rest of the table, and with it the references.
ContentsEnd parsePagedContents(TextScan& scan, std::string_view& headingLine)
{
    RfcText& text = scan.text;
    ContentEntry pending;
    bool continuing = false;
    std::size_t openIndent = 0;
    // The right-hand column of a two-column table follows the left-hand
    // one in section order.
    std::vector<ContentEntry> rightColumn;
    // Whether an entry read has a page number: once one has, a line that
    // ends in none may end the contents.
    bool paged = std::any_of(text.contents.begin(), text.contents.end(),
                             [](const ContentEntry& entry) { return entry.page > 0; });
    // The pending entry is read anew after it is kept.
    const auto keepPending = [&] {
        paged = paged || pending.page > 0;
        text.contents.push_back(std::move(pending));
    };
    const auto finish = [&] {
        closeOpenEntry(text, pending, continuing, paged);
        text.contents.insert(text.contents.end(), rightColumn.begin(), rightColumn.end());
    };
    // Whether the entries read are those of a list of figures or tables.
    bool listing = false;
    std::string_view line;
    std::size_t rest = 0;
    while (readNonBlankLine(scan, line, rest)) {
        if (isPageMark(scan, line, rest))
            continue;
        // Nearly every line here opens with a section number or ends in a
        // page number, as no title line does.
        if (!isDigit(line[rest]) && !endsInDigit(line)
            && (printsColumnTitles(line) || (!text.contents.empty() && repeatsContentsHeading(line))))
            continue;
        // "Appendices" indented over the lettered entries under it, as
        // at the margin (labelsEntriesBelow()): no entry of its own.
        if (rest > 0 && !isDigit(line[rest]) && !endsInDigit(line)
            && labelsEntriesBelow(line, scan.source, false)) {
            closeOpenEntry(text, pending, continuing, paged);
            continuing = false;
            continue;
        }
        if (opensFigureList(line, rest, scan.source)) {
            closeOpenEntry(text, pending, continuing, paged);
            continuing = false;
            listing = true;
            scan.figureListsAt = std::min(scan.figureListsAt, text.contents.size());
            continue;
        }
        if (rest == 0 && !looksLikePageHeader(line)
            && (!isMarginEntry(line, scan.source) || turnsBackAPage(line, text.contents))) {
            if (labelsEntriesBelow(line, scan.source, true)) {
                closeOpenEntry(text, pending, continuing, paged);
                continuing = false;
                continue;
            }
            finish();
            headingLine = line;
            return ContentsEnd::kAtHeading;
        }
        if (rest == 0 && looksLikePageHeader(line))
            continue;
        if (paged && !endsInAnyPageNumber(line) && !contentsGoOn(scan.source)) {
            // Right under the entry before: a blank line above it ends
            // the contents, and the line is the first heading after them.
            if (rest > 0 && !continuing && !text.contents.empty()
                && text.contents.back().lastLine + 1 == text.lineCount && namesBackMatter(line)) {
                pending = ContentEntry();
                pending.firstLine = pending.lastLine = text.lineCount;
                pending.title = lineWords(line);
                keepPending();
                continue;
            }
            finish();
            headingLine = line;
            return ContentsEnd::kAtHeading;
        }
        if (const std::size_t right = rightColumnAt(line, rest); right != std::string_view::npos) {
            ContentEntry entry;
            entry.firstLine = entry.lastLine = text.lineCount;
            std::size_t after = right;
            bool dotted = false;
            entry.number = readLeadingSectionNumber(line, after, dotted);
            if (readEntryText(line, after, entry) == EntryText::kComplete)
                rightColumn.push_back(std::move(entry));
            line = line.substr(0, right);
        }
        // Where no entry has a page, a line at the open entry's indentation
        // or left of it that ends in none is the next entry, numbered or
        // not ("Appendix A: Grammar" under "3. Security"): a wrapped title
        // goes on under the title.
        const bool pagelessEntry = !paged && continuing && rest <= openIndent && !endsInAnyPageNumber(line);
        if (continuing && (pagelessEntry || startsNextEntry(line, rest, openIndent, pending.number))) {
            takeTitleEndAsPage(pending, text.contents.empty() ? 1 : text.contents.back().page,
                               trailingPage(line));
            keepPending();
            continuing = false;
        }
        std::size_t i = rest;
        if (!continuing) {
            pending = ContentEntry();
            pending.firstLine = text.lineCount;
            openIndent = rest;
            const std::size_t opening = afterStrayWord(line, i);
            i = afterSectionWord(line, opening);
            std::size_t after = i;
            if (!listing && startsSectionNumber(line, i) && readSectionNumber(line, after, pending.number))
                i = after;
            else if (i == opening || !readColonClosedNumber(line, i, pending.number))
                pending.number.clear();
        }
        switch (readEntryText(line, i, pending)) {
        case EntryText::kUnreadable:
            break;
        case EntryText::kContinues:
            pending.lastLine = text.lineCount;
            continuing = true;
            break;
        case EntryText::kComplete:
            pending.lastLine = text.lineCount;
            keepPending();
            continuing = false;
            break;
        }
    }
    finish();
    return ContentsEnd::kOther;
}

// --- Contents without page numbers -------------------------------------

// RFCs published since RFC 8650 (December 2019) are not paginated: the file
// has no form feed and no contents line ends in a page number. Any form
// feed, or any page number in the contents, keeps the paged parse.
// Whether the margin line `line`, the first of the contents, is a
// numbered entry ending in its page after blanks, no leaders ("1.
// INTRODUCTION          2"), and the next line of text ends in a page
// too: the contents of a text kept without its form feeds, which no
// heading after contents without pages looks like.
[[gnu::noinline]] bool opensMarginEntriesWithPages(std::string_view line, std::string_view ahead,
                                                   std::size_t start)
{
    std::size_t i = 0;
    bool dotted = false;
    if (!endsInPageNumber(line) || leadingSectionNumber(line, i, dotted).empty())
        return false;
    std::string_view next;
    while (takeLine(ahead, start, next)) {
        if (!isBlankFrom(next, 0))
            return endsInAnyPageNumber(next);
    }
    return false;
}

bool contentsHavePages(const TextScan& scan)
{
    if (scan.text.pageCount > 0)
        return true;
    const std::string_view ahead = scan.source.remainingText();
    if (ahead.find(kFormFeed) != std::string_view::npos)
        return true;
    std::size_t start = 0;
    std::string_view line;
    while (takeLine(ahead, start, line)) {
        if (isBlankFrom(line, 0))
            continue;
        // Entries set at the margin, as RFC 5389 prints them, tell their
        // pages by leader dots: any other line there is the first heading
        // after the contents.
        if (!isBlankChar(line[0])) {
            // A group's title right above its entries (labelsEntriesBelow()).
            std::size_t after = start;
            std::string_view next;
            if (takeLine(ahead, after, next) && opensIndentedEntry(next))
                return true;
            return endsInDotsAndPage(line) || endsInDottedRomanPage(line)
                || opensMarginEntriesWithPages(line, ahead, start);
        }
        if (endsInAnyPageNumber(line))
            return true;
    }
    return false;
}

std::string_view lineText(std::string_view line, std::size_t i)
{
    std::size_t end = line.size();
    while (end > i && (isLineEnd(line[end - 1]) || isBlankChar(line[end - 1])))
        --end;
    return line.substr(i, end - i);
}

// An entry line starts at the entries' base indentation or deeper with a
// section number, or at the base without one; a deeper line without one
// continues the open entry's title, as long titles wrap ("4.3.  Updates to
// RFC 8138: Indicating the Way to Decompress with" / "the New RPI Option
// Type" in RFC 9008). The wrapped part is indented about to the title, not
// always exactly (RFC 9110, "8.8.3.3."), and may begin with a number, so
// only a number that ends in a dot starts an entry there.
ContentsEnd parseContentsWithoutPages(TextScan& scan, std::string_view& headingLine)
{
    RfcText& text = scan.text;
    ContentEntry pending;
    bool open = false;
    std::size_t base = 0;
    std::string_view line;
    std::size_t rest = 0;
    ContentsEnd end = ContentsEnd::kOther;
    while (readNonBlankLine(scan, line, rest)) {
        if (isPageMark(scan, line, rest))
            continue;
        if (rest == 0) {
            headingLine = line;
            end = ContentsEnd::kAtHeading;
            break;
        }
        if (!open)
            base = rest;
        std::size_t i = rest;
        bool dotted = false;
        const std::string_view number = leadingSectionNumber(line, i, dotted);
        if (open && rest > base && !dotted) {
            pending.title.push_back(' ');
            pending.title.append(lineText(line, rest));
            pending.lastLine = text.lineCount;
            continue;
        }
        // The entry kept is moved, not copied: its strings are the record's.
        if (open)
            text.contents.push_back(std::move(pending));
        pending = ContentEntry();
        pending.firstLine = pending.lastLine = text.lineCount;
        pending.number = std::string(number);
        pending.title = std::string(lineText(line, skipBlanks(line, i)));
        open = true;
    }
    if (open)
        text.contents.push_back(std::move(pending));
    return end;
}

} // namespace

std::string readLeadingSectionNumber(std::string_view line, std::size_t& i, bool& dotted)
{
    return std::string(leadingSectionNumber(line, i, dotted));
}

std::string_view leadingSectionNumber(std::string_view line, std::size_t& i, bool& dotted)
{
    const std::string_view appendix = "appendix ";
    std::size_t at = i;
    const bool isAppendix = startsWithIgnoringAsciiCase(line.substr(i), appendix);
    if (isAppendix)
        at = skipBlanks(line, i + appendix.size());
    std::size_t end = at;
    if (isDigit(charAt(line, end))) {
        while (isDigit(charAt(line, end)))
            ++end;
    } else if (isLetter(charAt(line, end)) && (isAppendix || charAt(line, end + 1) == '.')) {
        ++end;
    } else if (const std::size_t roman = romanNumberEnd(line, end); roman != end) {
        end = roman;
    } else {
        return std::string_view();
    }
    while (charAt(line, end) == '.' && isDigit(charAt(line, end + 1))) {
        ++end;
        while (isDigit(charAt(line, end)))
            ++end;
    }
    dotted = isAppendix || charAt(line, end) == '.';
    if (charAt(line, end) == '.')
        ++end;
    if (!isBlankChar(charAt(line, end)) || isBlankFrom(line, end)) {
        dotted = false;
        return std::string_view();
    }
    i = end;
    return trimmedNumber(line.substr(at, end - at));
}

ContentsEnd parseContents(TextScan& scan, std::string_view& headingLine)
{
    // Contents hold a few dozen entries: room for them at once spares the
    // list's growth moving every entry and its strings again and again.
    constexpr std::size_t kUsualEntries = 64;
    scan.text.contents.reserve(kUsualEntries);
    if (!contentsHavePages(scan)) {
        scan.contentsWithoutPages = true;
        return parseContentsWithoutPages(scan, headingLine);
    }
    return parsePagedContents(scan, headingLine);
}

} // namespace parchly
