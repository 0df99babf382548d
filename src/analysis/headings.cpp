#include "analysis/headings.h"

#include "analysis/contents.h"
#include "analysis/entries_by_number.h"
#include "analysis/references_sections.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace parchly {

namespace {

constexpr std::string_view kContentsHeading = "Table of Contents";

// Whether the next line of text after the blank ones ends in a page number
// after leader dots or a gap of two blanks or more, as an entry does.
bool entryFollows(const LineReader& source)
{
    std::size_t next = source.linesRead();
    while (next < source.lineTotal() && source.factsOf(next).has(LineFacts::kBlank))
        ++next;
    if (next == source.lineTotal())
        return false;
    const std::string_view line = source.lineAt(next);
    const std::size_t end = textEndOf(line);
    const std::size_t start = digitsBefore(line, end);
    if (start == end || start < 2)
        return false;
    return line[start - 1] == '.' || (isBlankChar(line[start - 1]) && isBlankChar(line[start - 2]));
}

// A line that is the heading of a table of contents and nothing else, as
// RFCs of every decade print it: "Table of Contents" at the margin or
// centred, "TABLE OF CONTENTS" (RFC 791), "Contents", "Contents of this
// Memo". A centred word
// "Contents" is a heading; indented like a paragraph, it is text unless an
// entry follows it, as in RFC 1144, which indents its whole text.
bool isContentsHeading(std::string_view line, std::size_t rest, const LineReader& source)
{
    // Asked of every line before the contents, and of every line of a text
    // that has none: the first two letters tell nearly all.
    const char first = lowerAscii(charAt(line, rest));
    if ((first != 't' && first != 'c') || lowerAscii(charAt(line, rest + 1)) != (first == 't' ? 'a' : 'o'))
        return false;
    std::size_t end = line.size();
    while (end > rest && (isLineEnd(line[end - 1]) || isBlankChar(line[end - 1]) || line[end - 1] == ':'))
        --end;
    const std::string_view words = line.substr(rest, end - rest);
    if (equalIgnoringAsciiCase(words, kContentsHeading)
        || equalIgnoringAsciiCase(words, "contents of this memo"))
        return true;
    return equalIgnoringAsciiCase(words, "contents") && (rest == 0 || rest >= 10 || entryFollows(source));
}

// Whether the paragraph is a sentence that leads into the text below it,
// ending in a colon after a verb or a word no title ends in: "Common
// types of defaults are:" at the top of a page of RFC 180, "The fields
// are as follows:". Out of line: asked only of a paragraph that ends in a
// colon.
[[gnu::noinline]] bool leadsIntoText(std::string_view paragraph)
{
    static constexpr std::array<std::string_view, 9> kLeadWords = {
        "are", "is", "were", "was", "follows", "following", "include", "includes", "below"};
    std::size_t end = paragraph.size() - 1;
    while (end > 0 && isBlankChar(paragraph[end - 1]))
        --end;
    std::size_t start = end;
    while (start > 0 && isLetter(paragraph[start - 1]))
        --start;
    if (start == 0 || !isBlankChar(paragraph[start - 1]))
        return false;
    const std::string_view word = paragraph.substr(start, end - start);
    return std::find(kLeadWords.begin(), kLeadWords.end(), word) != kLeadWords.end();
}

bool isHeadingText(const std::string& paragraph, const LimitsBlock& limits)
{
    // A note wholly in brackets is no heading: "[Categories:  A.5; RFC's
    // obsoleted:  none; RFC's updated:  107]" under the title of RFC 111.
    return !paragraph.empty() && !isSentenceLike(paragraph, limits)
        && !(paragraph.front() == '[' && paragraph.back() == ']')
        && !(paragraph.back() == ':' && leadsIntoText(paragraph));
}

// Whether `a` and `b` are the same text once their blanks are taken out,
// without regard to case.
bool sameWithoutBlanksFolded(std::string_view a, std::string_view b)
{
    // A heading nearly always repeats its entry's title byte for byte, once
    // the blanks between its number and title are passed: the bytes the
    // two share are passed at once, eight at a time, and after a run of
    // blanks that differs the rest is taken so again. Only where the case
    // differs are the bytes read one by one.
    std::size_t i = 0;
    std::size_t k = 0;
    for (;;) {
        const std::size_t shared =
            sharedPrefix(a.data() + i, b.data() + k, std::min(a.size() - i, b.size() - k));
        i += shared;
        k += shared;
        for (;;) {
            const std::size_t blankFrom = i + k;
            while (i < a.size() && isBlankChar(a[i]))
                ++i;
            while (k < b.size() && isBlankChar(b[k]))
                ++k;
            if (i == a.size() || k == b.size())
                return i == a.size() && k == b.size();
            if (lowerAscii(a[i++]) != lowerAscii(b[k++]))
                return false;
            if (i + k != blankFrom + 2)
                break;
        }
    }
}

// Length of the leading run of letters, digits and dots: the heading's
// section number when it has one.
std::size_t leadingRun(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (isDigit(text[i]) || isLetter(text[i]) || text[i] == '.'))
        ++i;
    return i;
}

// The heading's number is the entry's number followed only by digits and
// dots (3.0 or 3.1 after 3).
bool numberExtends(std::string_view heading, std::size_t lead, const std::string& number)
{
    if (lead == 0)
        return false;
    for (std::size_t i = number.size(); i < lead; ++i) {
        if (!isDigit(heading[i]) && heading[i] != '.')
            return false;
    }
    return true;
}

// Whether `lower`, a text in lower case, holds `part` at `at`, without
// regard to the case of `part`: eight bytes at a time.
bool holdsInLowerCaseAt(std::string_view lower, std::size_t at, std::string_view part)
{
    if (at > lower.size() || lower.size() - at < part.size())
        return false;
    const char* const text = lower.data() + at;
    std::size_t i = 0;
    for (; i + 8 <= part.size(); i += 8) {
        uint64_t want = 0;
        uint64_t have = 0;
        std::memcpy(&want, part.data() + i, 8);
        std::memcpy(&have, text + i, 8);
        if (lowerAsciiEight(want) != have)
            return false;
    }
    for (; i < part.size(); ++i) {
        if (lowerAscii(part[i]) != text[i])
            return false;
    }
    return true;
}

// Whether `part` occurs in `lower`, a text in lower case, without regard
// to the case of `part`. Every heading is tried against many entries, so
// the search runs on the lowered heading and looks for the first byte.
bool containsInLowerCase(std::string_view lower, std::string_view part)
{
    if (part.empty())
        return true;
    const char first = lowerAscii(part[0]);
    for (std::size_t at = lower.find(first); at != std::string_view::npos && lower.size() - at >= part.size();
         at = lower.find(first, at + 1)) {
        if (holdsInLowerCaseAt(lower, at, part))
            return true;
    }
    return false;
}

// An appendix's number ("a", "a.1") and title, its word "appendix" and
// the marks between number and title passed over: "Appendix A.1  RTP Data
// Header Validity Checks" as RFC 3550's contents print it, "Appendix A -
// Algorithms" and "A.1 RTP Data Header Validity Checks" as its headings
// do. Empty when `text` opens with no appendix number.
struct AppendixParts {
    std::string_view number;
    std::string_view title;
};

AppendixParts appendixParts(std::string_view text, bool wordRequired)
{
    constexpr std::string_view kWord = "appendix ";
    std::size_t i = 0;
    if (startsWithIgnoringAsciiCase(text, kWord))
        i = skipBlanks(text, kWord.size());
    else if (wordRequired)
        return {};
    const std::size_t start = i;
    if (!isLetter(charAt(text, i)) || isLetter(charAt(text, i + 1)))
        return {};
    ++i;
    while (charAt(text, i) == '.' && isDigit(charAt(text, i + 1))) {
        i += 2;
        while (isDigit(charAt(text, i)))
            ++i;
    }
    const std::size_t end = i;
    while (i < text.size() && (isBlankChar(text[i]) || text[i] == '.' || text[i] == '-' || text[i] == ':'))
        ++i;
    if (i == end || i == text.size())
        return {};
    return {text.substr(start, end - start), text.substr(i)};
}

// An unnumbered entry printed with its appendix number ("Appendix A.1
// ...") and a heading of the same number and title, however each sets
// the marks between them.
bool sameAppendix(std::string_view heading, const ContentEntry& entry)
{
    // Nearly every unnumbered entry opens with another word.
    if (lowerAscii(charAt(entry.title, 0)) != 'a')
        return false;
    const AppendixParts printed = appendixParts(entry.title, true);
    if (printed.number.empty())
        return false;
    const AppendixParts found = appendixParts(heading, false);
    return equalIgnoringAsciiCase(printed.number, found.number)
        && sameWithoutBlanksFolded(printed.title, found.title);
}

// Whether the references entry `entry` is printed with the number the
// body gives a heading that names no references: a section added before
// the references and left out of the contents. The entry takes no such
// title.
bool renumbered(const ContentEntry& entry, std::string_view heading)
{
    if (!opensReferences(entry.title))
        return false;
    for (std::size_t i = 0; i < heading.size(); ++i) {
        if (startsWithIgnoringAsciiCase(heading.substr(i), "reference"))
            return false;
    }
    return true;
}

// The next word of `text` from `i` as a title's spellings vary between
// its contents entry and its heading: letters in lower case, apostrophes
// dropped, a plural's "s" or "es" cut and "acknowledgement" spelt
// "acknowledgment".
// "Author's Address" is listed over "Authors' Addresses" once authors
// join, "Acknowledgements" over "Acknowledgments". Empty at the end.
std::string nextTitleWord(std::string_view text, std::size_t& i)
{
    while (i < text.size() && !isLetter(text[i]))
        ++i;
    std::string word;
    for (; i < text.size() && (isLetter(text[i]) || text[i] == '\''); ++i) {
        const char c = lowerAscii(text[i]);
        const std::size_t size = word.size();
        // "dgement" is "dgment": the "e" is left out when "m" follows it.
        if (c == 'm' && size >= 2 && word[size - 1] == 'e' && word[size - 2] == 'g')
            word.back() = 'm';
        else if (c != '\'')
            word.push_back(c);
    }
    // "addresses" is "address", and "address" stays so.
    const auto endsWith = [&word](std::string_view end) {
        return word.size() > end.size() + 2 && word.compare(word.size() - end.size(), end.size(), end) == 0;
    };
    if (endsWith("sses"))
        word.resize(word.size() - 2);
    else if (endsWith("s") && !endsWith("ss"))
        word.pop_back();
    return word;
}

// Whether the unnumbered heading `heading` prints the title of an
// unnumbered entry in another spelling (nextTitleWord()), word for word,
// or its first two words or more, as "Intellectual Property" heads the
// statement that contents of about 2005 list as "Intellectual Property
// Statement". Out of line: asked only of the expected entry no other rule
// matched.
[[gnu::noinline]] bool spellsTitleOtherwise(std::string_view heading, std::string_view title)
{
    constexpr int kFewestWords = 2;
    std::size_t i = 0;
    std::size_t k = 0;
    for (int words = 0;; ++words) {
        const std::string a = nextTitleWord(heading, i);
        const std::string b = nextTitleWord(title, k);
        if (a.empty())
            return b.empty() || words >= kFewestWords;
        if (a != b)
            return false;
    }
}

// Whether `heading` (in lower case) is the first of the statements the
// entry "Intellectual Property and Copyright Statements" lists as one, as
// xml2rfc sets the contents of the RFCs of about 2004 to 2008, their
// headings "Full Copyright Statement", "Intellectual Property" and
// "Acknowledgement" on the page the entry names (the drafts of those years
// open with "Intellectual Property Statement"). Out of line: asked only
// of the expected entry no other rule matched.
[[gnu::noinline]] bool headsListedStatements(std::string_view heading, std::string_view title)
{
    if (!equalIgnoringAsciiCase(title, "Intellectual Property and Copyright Statements"))
        return false;
    static constexpr std::array<std::string_view, 5> kStatements = {
        "full copyright statement", "copyright statement", "intellectual property",
        "intellectual property statement", "intellectual property rights"};
    return std::find(kStatements.begin(), kStatements.end(), heading) != kStatements.end();
}

// `heading` is in lower case; the entry's number and title are compared
// without regard to case.
bool matchesEntry(std::string_view heading, std::size_t lead, const ContentEntry& entry, bool isExpected)
{
    const std::string& number = entry.number;
    if (entry.matched || !startsWithIgnoringAsciiCase(heading, number) || number.size() > lead)
        return false;
    // The title nearly always follows the number and the blanks after it:
    // looked for there first, then anywhere.
    if (holdsInLowerCaseAt(heading, skipBlanks(heading, lead), entry.title)
        || containsInLowerCase(heading, entry.title))
        return true;
    if (number.empty() && sameAppendix(heading, entry))
        return true;
    if (!isExpected)
        return false;
    // A letter alone is a word ("A message has ...", RFC 733), not the
    // number "A." of a lettered entry.
    if (lead == 1 && isLetter(heading[0]))
        return false;
    if (numberExtends(heading, lead, number))
        return !renumbered(entry, heading);
    if (heading.size() < 7)
        return false;
    return entry.title.empty() || sameWithoutBlanksFolded(heading, entry.title)
        || (number.empty() && lead > 0 && !isDigit(heading[0])
            && (spellsTitleOtherwise(heading, entry.title) || headsListedStatements(heading, entry.title)));
}

// Whether the heading `lower` (in lower case) is the numbered entry's title
// printed without its number, as RFC 1459 prints "Security Considerations"
// under the entry "11. Security Considerations". Asked of the expected
// entry only, which the lookup by number does not offer such a heading.
bool printsTitleWithoutNumber(std::string_view lower, const ContentEntry& entry)
{
    return !entry.matched && !entry.number.empty() && !isDigit(charAt(lower, 0))
        && sameWithoutBlanksFolded(lower, entry.title);
}

// Whether the heading `lower` (in lower case) is the expected numbered
// entry's title printed without its number and cut short before an "and":
// "Acknowledgements" under the entry "4. Acknowledgements and
// Contributors". Only where no entry after it holds the heading's own
// title, which the heading would rather be. Out of line: asked only of the
// expected entry no other rule matched.
[[gnu::noinline]] bool printsTitleShortened(std::string_view lower, const std::vector<ContentEntry>& contents,
                                            std::size_t expected)
{
    const ContentEntry& entry = contents[expected];
    constexpr std::string_view kAnd = " and ";
    if (entry.matched || entry.number.empty() || !isLetter(charAt(lower, 0))
        || lower.size() >= entry.title.size() || !startsWithIgnoringAsciiCase(entry.title, lower)
        || !startsWithIgnoringAsciiCase(std::string_view(entry.title).substr(lower.size()), kAnd))
        return false;
    return std::none_of(
        contents.begin() + static_cast<std::ptrdiff_t>(expected) + 1, contents.end(),
        [&](const ContentEntry& later) { return sameWithoutBlanksFolded(lower, later.title); });
}

// Whether the heading `lower` (in lower case, its number `lead` bytes
// long) is the expected references entry under another number: the body
// numbers on past a section the contents leave out, "3.  References" for
// the entry "2.  References" (see renumbered()).
bool renumberedReferences(std::string_view lower, std::size_t lead, const ContentEntry& entry)
{
    return lead > 0 && isDigit(lower[0]) && !entry.matched && !entry.number.empty()
        && sameWithoutBlanksFolded(lower.substr(skipBlanks(lower, lead)), entry.title)
        && opensReferences(entry.title);
}

// Marks the contents entry `found`, if any, matched by the heading at
// file line `line`; returns `found`.
int32_t markMatched(RfcText& text, int32_t found, int32_t line)
{
    if (found >= 0) {
        ContentEntry& entry = text.contents[static_cast<std::size_t>(found)];
        entry.matched = true;
        entry.headingLine = line;
    }
    return found;
}

// Unpaginated RFCs print their headings exactly as their contents: the
// same number and, blanks aside, the same title. Only that matches, at any
// later entry, so that a heading deeper than the contents list ("3.8.6.3.
// Delayed Acknowledgments" in RFC 9293) cannot take the entry
// "Acknowledgments" and leave every entry before it unmatched. The expected
// entry also takes its number with another title.
int32_t matchHeadingWithoutPages(RfcText& text, EntriesByNumber& entries, const std::string& heading,
                                 int32_t line, int32_t expected)
{
    std::size_t i = 0;
    bool dotted = false;
    const std::string_view number = leadingSectionNumber(heading, i, dotted);
    const std::string_view title = std::string_view(heading).substr(i);
    const std::size_t first = expected < 0 ? 0 : static_cast<std::size_t>(expected);
    const int32_t found = entries.findNumber(number, first, text.contents.size(), [&](std::size_t k) {
        const ContentEntry& entry = text.contents[k];
        if (entry.matched || !equalIgnoringAsciiCase(entry.number, number))
            return false;
        return sameWithoutBlanksFolded(entry.title, title)
            || (!number.empty() && k == static_cast<std::size_t>(expected) && !renumbered(entry, heading));
    });
    return markMatched(text, found, line);
}

// matchHeading over a heading already in lower case.
int32_t matchLowered(RfcText& text, EntriesByNumber& entries, std::string_view lower, int32_t line,
                     int32_t expected)
{
    const std::size_t lead = leadingRun(lower);
    const std::size_t first = expected < 0 ? 0 : static_cast<std::size_t>(expected);
    // The expected entry takes a heading of another title. Unnumbered, it
    // takes a numbered heading only where no later entry holds the
    // heading's own title: "PREFACE ... iii" of RFC 791's contents is not
    // the "1.  INTRODUCTION" after it where the preface is not found.
    const bool deferred = expected >= 0 && first < text.contents.size() && lead > 0 && isDigit(lower[0])
        && text.contents[first].number.empty();
    int32_t found = entries.find(lower, first, [&](std::size_t i) {
        return matchesEntry(lower, lead, text.contents[i],
                            !deferred && i == static_cast<std::size_t>(expected));
    });
    if (deferred && found < 0 && matchesEntry(lower, lead, text.contents[first], true))
        found = expected;
    if (found < 0 && expected >= 0 && first < text.contents.size()
        && (printsTitleWithoutNumber(lower, text.contents[first])
            || renumberedReferences(lower, lead, text.contents[first])
            || printsTitleShortened(lower, text.contents, first)))
        found = expected;
    return markMatched(text, found, line);
}

// The index of the contents entry, from `expected` on, that the heading
// paragraph `heading` at file line `line` belongs to, or -1. A match marks
// the entry matched at that line. `lower` is the memory for the heading in
// lower case, which a pass matching heading after heading keeps.
int32_t matchHeading(RfcText& text, EntriesByNumber& entries, std::string_view heading, std::string& lower,
                     int32_t line, int32_t expected)
{
    if (heading.empty())
        return -1;
    lower.assign(heading);
    lowerAsciiInPlace(lower.data(), lower.size());
    const int32_t found = matchLowered(text, entries, lower, line, expected);
    // "Appendix B.  Parsing a URI Reference" is the entry "B.  Parsing a URI
    // Reference" of contents that leave the word out (RFC 3986); "SECTION
    // 1   COMMAND NAME" the entry numbered 1 of contents that print the
    // word before it (RFC 1043). The word in capitals only: "section 15.1.3
    // for security considerations." is a sentence's line.
    if (found >= 0)
        return found;
    constexpr std::string_view kAppendix = "appendix ";
    constexpr std::string_view kSection = "SECTION ";
    std::size_t word = 0;
    if (lower.compare(0, kAppendix.size(), kAppendix) == 0)
        word = kAppendix.size();
    else if (heading[0] == 'S' && heading.compare(0, kSection.size(), kSection) == 0)
        word = kSection.size();
    if (word == 0)
        return found;
    word = skipBlanks(lower, word);
    // "SECTION 1:  INTRODUCTION" under the entry numbered 1 of contents
    // that print it alike: the colon closes the number.
    std::size_t digits = word;
    while (isDigit(charAt(lower, digits)))
        ++digits;
    if (digits > word && charAt(lower, digits) == ':')
        lower[digits] = ' ';
    return matchLowered(text, entries, std::string_view(lower).substr(word), line, expected);
}

// A heading found at line `line`, its title made once in the list.
void addHeading(RfcText& text, int32_t line, std::string_view title)
{
    SectionHeading& heading = text.headings.emplace_back();
    heading.line = line;
    // Made at its size: an assignment to the empty title takes a slower
    // path of the string than its construction.
    heading.title = std::string(title);
}

// The words of a line from `rest` on, without the blanks and line end
// after them.
std::string_view lineText(std::string_view line, std::size_t rest)
{
    std::size_t end = line.size();
    while (end > rest && (isLineEnd(line[end - 1]) || isBlankChar(line[end - 1])))
        --end;
    return line.substr(rest, end - rest);
}

// A heading that prints its entry's title and, after a colon, where the
// section's rules come from: "Version Number: RFC-791 Section 3.1" under
// the entry "Version Number" (RFC 1122).
bool extendsTitle(std::string_view heading, std::string_view title)
{
    return heading.size() > title.size() && heading[title.size()] == ':'
        && sameWithoutBlanksFolded(heading.substr(0, title.size()), title);
}

// An unnumbered entry that names a command ("QUIT Command") and the
// indented line that opens its description in the body, the command and
// its arguments ("QUIT", "LIST [msg]"), as RFC 1939 lists its commands.
bool namesCommandOf(std::string_view title, std::string_view line)
{
    constexpr std::string_view kCommand = " Command";
    // Asked of many indented lines: the first and last bytes tell nearly
    // all.
    if (title.size() <= kCommand.size() || line.empty() || title.front() != line.front()
        || title.back() != 'd' || title.substr(title.size() - kCommand.size()) != kCommand)
        return false;
    const std::string_view name = title.substr(0, title.size() - kCommand.size());
    return name.find(' ') == std::string_view::npos && startsWithAt(line, 0, name)
        && (line.size() == name.size() || isBlankChar(line[name.size()]));
}

// The expected entry `entry` (index `expected`) where the centred heading
// of number `number` and title `title` ends in the entry's title, its last
// words, the same number before it; else -1. A centred references heading
// names its kind where the contents do not ("A.  NORMATIVE REFERENCES"
// under the entry "A.  References"), as a heading at the margin may
// (matchesEntry). Out of line: asked only of a centred heading no entry
// took.
[[gnu::noinline]] int32_t endsInExpectedTitle(const ContentEntry& entry, std::string_view number,
                                              std::string_view title, std::size_t expected)
{
    const std::string_view entryTitle = entry.title;
    if (entry.matched || entry.number != number || entryTitle.empty() || title.size() <= entryTitle.size())
        return -1;
    const std::size_t tail = title.size() - entryTitle.size();
    const bool ends = isBlankChar(title[tail - 1]) && equalIgnoringAsciiCase(title.substr(tail), entryTitle);
    return ends ? static_cast<int32_t>(expected) : -1;
}

// An indented heading standing alone between blank lines: centred, as RFC
// 791 and RFC 793 print their chapters ("                            1.
// INTRODUCTION"), or at the indentation of the whole text (RFC 822). It is
// taken only when it is, blanks and case aside, the number and title of a
// contents entry from `expected` on (one of the next few, when indented
// like a paragraph): indented text is body text otherwise.
int32_t matchIndentedHeading(TextScan& scan, EntriesByNumber& entries, std::string_view line,
                             std::size_t rest, int32_t firstLine, int32_t expected)
{
    constexpr std::size_t kCentred = 8;
    constexpr std::size_t kParagraphReach = 8;
    // The line after it is blank (or there is none), as its facts tell.
    const std::size_t next = scan.source.linesRead();
    if (next < scan.source.lineTotal() && !scan.source.factsOf(next).has(LineFacts::kBlank))
        return -1;
    const std::string_view heading = lineText(line, rest);
    std::size_t i = 0;
    bool dotted = false;
    const std::string_view number = leadingSectionNumber(heading, i, dotted);
    const std::string_view title = heading.substr(skipBlanks(heading, i));
    const std::size_t first = expected < 0 ? 0 : static_cast<std::size_t>(expected);
    const std::size_t last = rest >= kCentred ? scan.text.contents.size()
                                              : std::min(scan.text.contents.size(), first + kParagraphReach);
    const int32_t found = entries.findNumber(number, first, last, [&](std::size_t k) {
        const ContentEntry& entry = scan.text.contents[k];
        return !entry.matched && entry.number == number && !entry.title.empty()
            && (sameWithoutBlanksFolded(entry.title, title) || extendsTitle(title, entry.title)
                || (number.empty() && entry.title.back() == 'd' && namesCommandOf(entry.title, title)));
    });
    if (found < 0 && rest >= kCentred && !number.empty() && expected >= 0 && first < last)
        return markMatched(scan.text, endsInExpectedTitle(scan.text.contents[first], number, title, first),
                           firstLine);
    return markMatched(scan.text, found, firstLine);
}

// Whether line `index` is indented and opened by a digit after a blank
// line: the first line of a numbered heading that stands apart in the body,
// wrapped onto the next line or run in with its first sentence.
bool opensIndentedNumber(const LineReader& source, std::size_t index)
{
    if (index == 0 || !source.factsOf(index - 1).has(LineFacts::kBlank))
        return false;
    const LineFacts& facts = source.factsOf(index);
    if (facts.indent == 0 || facts.has(LineFacts::kBlank) || facts.has(LineFacts::kHoldsFeed))
        return false;
    return isDigit(source.lineAt(index)[facts.indent]);
}

// Whether the numbered line `index` (opensIndentedNumber) is the first of a
// heading wrapped onto one line more indented, standing alone between
// blank lines: the line under it deeper and a blank line (or the end of
// the text) after that.
bool wrapsOntoNextLine(const LineReader& source, std::size_t index)
{
    const std::size_t total = source.lineTotal();
    if (index + 1 >= total)
        return false;
    const LineFacts& next = source.factsOf(index + 1);
    if (next.indent <= source.factsOf(index).indent || next.has(LineFacts::kBlank)
        || next.has(LineFacts::kHoldsFeed))
        return false;
    return index + 2 == total || source.factsOf(index + 2).has(LineFacts::kBlank);
}

// The numbered heading that opens `text` with its section's first sentence
// after a gap of two blanks, as RFC 2965 sets its subsections ("3.2.1
// General  The origin server initiates a session, if it so"): the number
// and title, a title opened by a capital before a sentence opened by one;
// empty when the line holds no such heading.
std::string_view runInHeading(std::string_view text)
{
    constexpr std::size_t kLongestTitle = 60;
    std::size_t i = 0;
    bool dotted = false;
    leadingSectionNumber(text, i, dotted);
    const std::size_t title = skipBlanks(text, i);
    if (!isUpper(charAt(text, title)))
        return std::string_view();
    const std::size_t gap = text.find("  ", title);
    // A table's row ("1.5  Mbps  T1  Yes") holds more gaps: the sentence
    // runs on in single blanks.
    if (gap == std::string_view::npos || gap - title > kLongestTitle || !isUpper(charAt(text, gap + 2))
        || text.find("  ", gap + 2) != std::string_view::npos)
        return std::string_view();
    return text.substr(0, gap);
}

// The index of the entry from `first` to `last` (exclusive) whose number
// and title `heading` prints, or -1.
int32_t entryPrinted(const RfcText& text, std::string_view heading, std::size_t first, std::size_t last)
{
    std::size_t i = 0;
    bool dotted = false;
    const std::string_view number = leadingSectionNumber(heading, i, dotted);
    const std::string_view title = heading.substr(skipBlanks(heading, i));
    for (std::size_t k = first; k < last; ++k) {
        const ContentEntry& entry = text.contents[k];
        if (entry.number == number && !entry.title.empty()
            && (sameWithoutBlanksFolded(entry.title, title) || extendsTitle(title, entry.title)))
            return static_cast<int32_t>(k);
    }
    return -1;
}

// Matches the unmatched entries `first` to `last` (exclusive) to numbered
// headings wrapped onto a second line between file lines `from` and `to`
// (exclusive): RFC 1122 prints "4.2.2.8  TCP Connection State Diagram:
// RFC-793 Section 3.2," / "page 23" under the entry "4.2.2.8  TCP
// Connection State Diagram", and numbered headings run in with their
// first sentence (runInHeading), or set alone with their section's text
// right under them. The body pass offers an indented line to
// the contents only where it stands alone; these few are looked for here,
// in the stretch between the matched headings around their entries.
void matchWrappedHeadings(RfcText& text, const LineReader& source, std::size_t first, std::size_t last,
                          int32_t from, int32_t to)
{
    std::string joined;
    const auto end = static_cast<std::size_t>(std::min<int64_t>(to - 1, source.lineTotal()));
    for (std::size_t index = static_cast<std::size_t>(from); index < end && first < last; ++index) {
        if (!opensIndentedNumber(source, index))
            continue;
        const std::string_view alone = lineText(source.lineAt(index), source.factsOf(index).indent);
        joined.assign(alone);
        if (wrapsOntoNextLine(source, index)) {
            joined += ' ';
            joined += lineText(source.lineAt(index + 1), source.factsOf(index + 1).indent);
        } else if (const std::size_t runIn = runInHeading(joined).size(); runIn > 0) {
            // RFC 2965 prints "   3.2.1  General  The origin server
            // initiates a session, if it so" under the entry "3.2.1
            // General".
            joined.resize(runIn);
        }
        int32_t found = entryPrinted(text, joined, first, last);
        // Else the line alone may be the heading, its section's text right
        // under it ("   2.1  Widget Parts" / "      The parts are").
        if (found < 0 && joined.size() != alone.size()) {
            joined.assign(alone);
            found = entryPrinted(text, joined, first, last);
        }
        if (found < 0)
            continue;
        const auto line = static_cast<int32_t>(index + 1);
        markMatched(text, found, line);
        const auto at = std::upper_bound(text.headings.begin(), text.headings.end(), line,
                                         [](int32_t l, const SectionHeading& h) { return l < h.line; });
        text.headings.insert(at, SectionHeading{line, std::string(), joined});
        first = static_cast<std::size_t>(found) + 1;
    }
}

// Whether an entry's title opens with the word "Appendix".
bool opensWithAppendix(std::string_view title)
{
    return lowerAscii(charAt(title, 0)) == 'a' && startsWithIgnoringAsciiCase(title, "appendix ");
}

// Matches the unmatched unnumbered entry `k` to an indented heading
// standing alone between blank lines whose words are, blanks and case
// aside, the entry's whole title, after file line `from` and before the
// heading of the next matched entry: paginated contents keep an appendix's
// word and letter in its title ("APPENDIX A.  EXAMPLES ..... 2"), where
// the centred heading's number reads as "A", which no entry holds. Out of
// line: asked only of such an entry left unmatched. True when matched.
[[gnu::noinline]] bool matchCentredAppendix(RfcText& text, const LineReader& source, std::size_t k,
                                            int32_t from)
{
    const std::vector<ContentEntry>& contents = text.contents;
    std::size_t next = k + 1;
    while (next < contents.size() && !contents[next].matched)
        ++next;
    const int32_t to = next < contents.size() ? contents[next].headingLine : text.lineCount + 1;
    const auto end = static_cast<std::size_t>(std::min<int64_t>(to - 1, source.lineTotal()));
    for (auto index = static_cast<std::size_t>(std::max(from, 1)); index + 1 < end; ++index) {
        const LineFacts& facts = source.factsOf(index);
        if (facts.indent == 0 || facts.has(LineFacts::kBlank)
            || !source.factsOf(index - 1).has(LineFacts::kBlank)
            || !source.factsOf(index + 1).has(LineFacts::kBlank))
            continue;
        const std::string_view heading = lineText(source.lineAt(index), facts.rest);
        if (!sameWithoutBlanksFolded(contents[k].title, heading))
            continue;
        const auto line = static_cast<int32_t>(index + 1);
        markMatched(text, static_cast<int32_t>(k), line);
        const auto at = std::upper_bound(text.headings.begin(), text.headings.end(), line,
                                         [](int32_t l, const SectionHeading& h) { return l < h.line; });
        text.headings.insert(at, SectionHeading{line, std::string(), std::string(heading)});
        return true;
    }
    return false;
}

// matchWrappedHeadings() for each run of unmatched numbered entries, in
// the stretch between the headings of the matched entries around it (from
// the end of the contents, to the end of the text, where there is none);
// matchCentredAppendix() for an unmatched appendix entry without number.
void matchWrappedHeadings(RfcText& text, const LineReader& source)
{
    const std::vector<ContentEntry>& contents = text.contents;
    int32_t from = contents.empty() ? 0 : contents.back().lastLine;
    for (std::size_t k = 0; k < contents.size();) {
        if (contents[k].matched) {
            from = contents[k].headingLine;
            ++k;
            continue;
        }
        if (contents[k].number.empty()) {
            if (opensWithAppendix(contents[k].title) && matchCentredAppendix(text, source, k, from))
                from = contents[k].headingLine;
            ++k;
            continue;
        }
        std::size_t last = k;
        while (last < contents.size() && !contents[last].matched)
            ++last;
        const int32_t to = last < contents.size() ? contents[last].headingLine : text.lineCount + 1;
        matchWrappedHeadings(text, source, k, last, from, to);
        k = last;
    }
}

// A numbered heading at the margin with its section's first words after a
// wide gap on the same line, as RFC 1035 sets some: "6.4.1. The contents
// of inverse queries and responses          Inverse". Where the words
// before the gap are, blanks and case aside, the number and title of an
// unmatched entry from `expected` on, that entry's index, with `heading`
// set to them; -1 otherwise, and a body line opened by a number is never
// one.
int32_t matchRunInHeading(RfcText& text, EntriesByNumber& entries, std::string_view line, int32_t expected,
                          std::string_view& heading)
{
    if (!isDigit(charAt(line, 0)))
        return -1;
    std::size_t i = 0;
    bool dotted = false;
    const std::string_view number = leadingSectionNumber(line, i, dotted);
    const std::size_t titleStart = skipBlanks(line, i);
    std::size_t gap = line.find("   ", titleStart);
    // Without a gap, the line alone may be the heading, its section's text
    // right under it ("2.1  Widget Parts" / "   The parts are").
    if (gap == std::string_view::npos || isBlankFrom(line, gap))
        gap = textEndOf(line);
    if (number.empty() || gap <= titleStart)
        return -1;
    const std::string_view title = line.substr(titleStart, gap - titleStart);
    const std::size_t first = expected < 0 ? 0 : static_cast<std::size_t>(expected);
    const int32_t found = entries.findNumber(number, first, text.contents.size(), [&](std::size_t k) {
        const ContentEntry& entry = text.contents[k];
        return !entry.matched && entry.number == number && !entry.title.empty()
            && sameWithoutBlanksFolded(entry.title, title);
    });
    if (found >= 0)
        heading = line.substr(0, gap);
    return found;
}

// Reads on past the lines of the body that cannot hold a heading: blank
// lines holding no form feed, and indented lines standing at no edge of a
// page and holding no form feed, unless such a line stands alone between
// blank lines (an indented heading, see matchIndentedHeading) where the
// contents are to be matched. Most of a body is such lines, each told here
// by its facts alone; the loop below reads the others. `lastRead` is the
// last line of text passed, as the loop below keeps it: a line after a gap
// opens a paragraph.
void passBodyText(TextScan& scan, int32_t& lastRead, bool keepEvery)
{
    // A page break left pending is counted by the next read.
    if (scan.pendingBreak >= 0)
        return;
    LineReader& source = scan.source;
    constexpr uint8_t kPlainBlank = LineFacts::kBlank | LineFacts::kBlankAfterRest;
    constexpr uint8_t kStop = LineFacts::kBlankAfterRest | LineFacts::kHoldsFeed;
    const LineFacts* const facts = source.allFacts();
    const uint8_t* const edges = scan.pages.edges();
    const std::size_t total = source.lineTotal();
    const std::size_t first = source.linesRead();
    // The 1-based number of the line at index i is i + 1 - offset.
    const int64_t offset = static_cast<int64_t>(first) - scan.text.lineCount;
    int64_t last = lastRead;
    std::size_t i = first;
    while (i < total) {
        if (facts[i].flags == kPlainBlank) {
            ++i;
            continue;
        }
        if (facts[i].indent == 0 || (facts[i].flags & kStop) != 0 || edges[i] != 0)
            break;
        // A paragraph's first line followed by a blank line, or none, may
        // be a heading.
        if (!keepEvery && static_cast<int64_t>(i) + 1 - offset > last + 1
            && (i + 1 == total || facts[i + 1].has(LineFacts::kBlank)))
            break;
        // The line and the indented lines that go on from it.
        ++i;
        while (i < total && facts[i].indent != 0 && (facts[i].flags & kStop) == 0 && edges[i] == 0)
            ++i;
        last = static_cast<int64_t>(i) - offset;
    }
    if (i == first)
        return;
    // Passed in one step: none of them holds a form feed, so none leaves a
    // page break to count.
    source.skipLines(i - first);
    scan.text.lineCount += static_cast<int32_t>(i - first);
    lastRead = static_cast<int32_t>(last);
}

// Whether `firstLine`, the first of a paragraph that is no heading, is a
// references heading with its first entry right under it, no blank line
// between: then `paragraph` is made that line alone. Out of the common
// path, which nearly every paragraph leaves at once.
[[gnu::noinline]] bool headsReferencesAlone(std::string& paragraph, std::string_view firstLine,
                                            const LimitsBlock& limits)
{
    if (!opensReferences(firstLine))
        return false;
    paragraph.assign(lineText(firstLine, 0));
    return isHeadingText(paragraph, limits);
}

// Whether the paragraph read from `firstLine` is a heading, or its first
// line is (headsReferencesAlone).
inline bool readsAsHeading(std::string& paragraph, std::string_view firstLine, const LimitsBlock& limits)
{
    return isHeadingText(paragraph, limits) || headsReferencesAlone(paragraph, firstLine, limits);
}

// RFC 1034 and RFC 1035 print their first section, "1. STATUS OF THIS
// MEMO", above the contents that list it first; RFC 1191 lists its
// unnumbered "Status of this Memo" so. A heading read before the contents
// matches the first entries in order where it prints the same number, or
// none, and title. Returns the entry the body's headings are expected at.
int32_t matchHeadingsAboveContents(RfcText& text)
{
    std::size_t next = 0;
    for (const SectionHeading& heading : text.headings) {
        if (next == text.contents.size())
            break;
        ContentEntry& entry = text.contents[next];
        std::size_t i = 0;
        bool dotted = false;
        const std::string_view number = leadingSectionNumber(heading.title, i, dotted);
        if (number != entry.number || entry.title.empty()
            || !sameWithoutBlanksFolded(std::string_view(heading.title).substr(i), entry.title))
            continue;
        markMatched(text, static_cast<int32_t>(next), heading.line);
        ++next;
    }
    return static_cast<int32_t>(next);
}

// RFC 733 centres "PREFACE" above the contents that list it first
// ("PREFACE......iii"), as it centres its chapters. Title-page lines are
// centred too: only a centred line above the contents that is, blanks and
// case aside, the title of an unnumbered first entry takes it, and only
// where no heading at the margin did (matchHeadingsAboveContents()). A
// numbered first entry ("1. Introduction") is read after the contents, as
// nearly every RFC prints it, and costs no look. Returns the entry the
// body's headings are expected at.
[[gnu::noinline]] int32_t matchCentredHeadingAboveContents(TextScan& scan)
{
    constexpr std::size_t kCentred = 8;
    constexpr std::size_t kSlack = 8;
    ContentEntry& entry = scan.text.contents.front();
    if (!entry.number.empty() || entry.title.empty() || entry.firstLine <= 1)
        return 0;
    const char opening = lowerAscii(entry.title[0]);
    const std::size_t end = std::min(static_cast<std::size_t>(entry.firstLine - 1), scan.source.lineTotal());
    for (std::size_t k = 0; k < end; ++k) {
        const LineFacts& facts = scan.source.factsOf(k);
        std::size_t start = 0;
        std::size_t stop = 0;
        if (facts.rest < kCentred || facts.has(LineFacts::kBlankAfterRest)
            || lowerAscii(scan.source.lineAt(k)[facts.rest]) != opening
            || !centredRun(scan.source.lineAt(k), kSlack, start, stop))
            continue;
        const std::string_view line = scan.source.lineAt(k).substr(start, stop - start);
        if (!sameWithoutBlanksFolded(line, entry.title))
            continue;
        const int32_t headingLine = static_cast<int32_t>(k) + 1;
        std::vector<SectionHeading>& headings = scan.text.headings;
        const auto at = std::find_if(headings.begin(), headings.end(),
                                     [&](const SectionHeading& h) { return h.line > headingLine; });
        headings.insert(at, SectionHeading{headingLine, std::string(), std::string(trimmedBlanks(line))});
        markMatched(scan.text, 0, headingLine);
        return 1;
    }
    return 0;
}

// The section number opening `text`, or an empty view.
std::string_view numberOpening(std::string_view text)
{
    std::size_t i = 0;
    bool dotted = false;
    return isDigit(charAt(text, 0)) ? leadingSectionNumber(text, i, dotted) : std::string_view();
}

// Whether the digits at `rest` are followed by a dot and another part, as
// every number of two levels or more is ("4.2", "4.a"); a list's "1." or a
// year is told at once.
bool opensTwoLevels(std::string_view line, std::size_t rest)
{
    while (isDigit(charAt(line, rest)))
        ++rest;
    return charAt(line, rest) == '.' && (isDigit(charAt(line, rest + 1)) || isLetter(charAt(line, rest + 1)));
}

// Whether the indented line `line` (its words from `rest` on, a digit
// first), after a blank line, is a subsection's heading of a text without
// contents: alone above a blank line, or run in with its first sentence
// (runInHeading), opened by a number of two levels or more whose
// parent is `lastNumber`, the last numbered heading read, or one of its
// parents. RFC 1009 and RFC 1068 indent their subsections ("   1.1.  The
// DARPA Internet Architecture" under "1.  Introduction"); a list's items
// number in one level.
bool isIndentedSubheading(const LineReader& source, std::string_view line, std::size_t rest,
                          std::string_view lastNumber, const LimitsBlock& limits, std::string& paragraph)
{
    const std::size_t next = source.linesRead();
    std::string_view text = lineText(line, rest);
    const std::string_view number = numberOpening(text);
    const std::size_t parentEnd = number.rfind('.');
    if (parentEnd == std::string_view::npos || parentEnd == 0 || number.size() == text.size())
        return false;
    const std::string_view parent = number.substr(0, parentEnd);
    if (lastNumber != parent
        && !(lastNumber.size() > parent.size() && lastNumber.substr(0, parent.size()) == parent
             && lastNumber[parent.size()] == '.'))
        return false;
    if (next < source.lineTotal() && !source.factsOf(next).has(LineFacts::kBlank)) {
        text = runInHeading(text);
        if (text.empty())
            return false;
    }
    paragraph.assign(text);
    return isHeadingText(paragraph, limits);
}

// Whether the line `line` stands right under a page header, no blank line
// between: the header goes on there, as RFC 733 names the chapter and
// section of each page under its title and page number ("III. Syntax" /
// "  B. Lexical Analysis"), and RFC 772 its title under the date and
// number, which are no headings of their own.
bool continuesPageHeader(const RfcText& text, int32_t line)
{
    return !text.pageMarks.empty() && text.pageMarks.back().line == line - 1
        && text.pageMarks.back().isHeader;
}

// Room for a paragraph of some lines, under a kilobyte: the heap serves
// that from its lists of small blocks.
constexpr std::size_t kParagraphRoom = 960;
// Room for a heading of a line or two, most of those matched.
constexpr std::size_t kHeadingRoom = 120;

} // namespace

bool readPreContentsHeadings(TextScan& scan, const LimitsBlock& limits)
{
    std::string_view line;
    std::size_t rest = 0;
    // The room of the heading passes' paragraphs, made once rather than
    // grown through the sizes below it.
    std::string& paragraph = scan.paragraph;
    paragraph.reserve(kParagraphRoom);
    // Room for the headings an RFC has before its contents ("Abstract",
    // "Status of This Memo", "Copyright Notice", "Table of Contents") or a
    // short one has at all, made once rather than grown a heading at a time.
    scan.text.headings.reserve(8);
    // The last indented line read: a line at the margin right under it
    // goes on with its paragraph, as RFC 783 indents only a paragraph's
    // first line, unless a section number opens it ("2.  Informative
    // References" right under the last entry of the section before).
    int32_t lastIndented = -1;
    // The last line of text read, for a subsection's heading indented
    // under the last numbered heading, whose number is looked for only
    // then: few lines ask.
    int32_t lastRead = 0;
    const std::size_t firstOwn = scan.text.headings.size();
    const auto lastNumber = [&headings = scan.text.headings, firstOwn]() {
        for (std::size_t h = headings.size(); h > firstOwn; --h) {
            if (const std::string_view number = numberOpening(headings[h - 1].title); !number.empty())
                return number;
        }
        return std::string_view();
    };
    while (readNonBlankLine(scan, line, rest)) {
        if (isPageMark(scan, line, rest))
            continue;
        const int32_t firstLine = scan.text.lineCount;
        if (isContentsHeading(line, rest, scan.source)) {
            addHeading(scan.text, firstLine, kContentsHeading);
            return true;
        }
        const bool afterBlank = firstLine > lastRead + 1;
        lastRead = firstLine;
        if (rest != 0) {
            lastIndented = firstLine;
            constexpr std::size_t kDeepest = 12;
            if (afterBlank && rest <= kDeepest && isDigit(line[rest]) && opensTwoLevels(line, rest)) {
                const std::string_view number = lastNumber();
                if (!number.empty()
                    && isIndentedSubheading(scan.source, line, rest, number, limits, paragraph))
                    addHeading(scan.text, firstLine, paragraph);
            }
            continue;
        }
        const bool opensContents = line.compare(0, kContentsHeading.size(), kContentsHeading) == 0;
        readParagraph(scan, line, 0, paragraph);
        lastRead = scan.text.lineCount - 1; // the blank line that ended it
        const bool goesOn = firstLine == lastIndented + 1 && !isDigit(line[0]);
        if (!goesOn && !continuesPageHeader(scan.text, firstLine) && readsAsHeading(paragraph, line, limits))
            addHeading(scan.text, firstLine, paragraph);
        if (opensContents)
            return true;
    }
    return false;
}

void readBodyHeadings(TextScan& scan, const LimitsBlock& limits, std::string_view firstHeading)
{
    // Contents that gave no entry leave the structure to be built from the
    // headings: each one is kept.
    const bool keepEvery = scan.text.contents.empty();
    int32_t expected = keepEvery ? 0 : matchHeadingsAboveContents(scan.text);
    if (!keepEvery && expected == 0)
        expected = matchCentredHeadingAboveContents(scan);
    std::string_view line = firstHeading;
    std::size_t rest = 0;
    // The last line read, to tell a line that stands after a blank one.
    int32_t lastRead = 0;
    // Kept from paragraph to paragraph, as is the heading in lower case.
    std::string& paragraph = scan.paragraph;
    std::string lowered;
    lowered.reserve(kHeadingRoom);
    // A figure is no section: the entries of the lists of figures match no
    // heading, and a caption matching one must not pass the entries after
    // it.
    EntriesByNumber entries(scan.text.contents, scan.figureListsAt);
    // A heading for each entry at most, unless every heading is kept.
    if (!keepEvery)
        scan.text.headings.reserve(scan.text.headings.size() + scan.text.contents.size());
    for (;;) {
        if (line.empty()) {
            passBodyText(scan, lastRead, keepEvery);
            if (!readNonBlankLine(scan, line, rest))
                break;
        }
        const bool offered = line.data() != firstHeading.data();
        if (!offered)
            rest = skipBlanks(line,
                              charAt(line, skipBlanks(line, 0)) == kFormFeed ? skipBlanks(line, 0) + 1 : 0);
        if (offered && isPageMark(scan, line, rest)) {
            line = std::string_view();
            continue;
        }
        const int32_t firstLine = scan.text.lineCount;
        const bool afterBlank = firstLine > lastRead + 1;
        lastRead = firstLine;
        if (rest != 0) {
            const int32_t entry = keepEvery || !afterBlank
                ? -1
                : matchIndentedHeading(scan, entries, line, rest, firstLine, expected);
            if (entry >= 0) {
                addHeading(scan.text, firstLine, lineText(line, rest));
                expected = entry + 1;
            }
            line = std::string_view();
            continue;
        }
        const std::string_view opening = line;
        readParagraph(scan, line, 0, paragraph);
        lastRead = scan.text.lineCount - 1; // the blank line that ended it
        const bool isHeading =
            !continuesPageHeader(scan.text, firstLine) && readsAsHeading(paragraph, opening, limits);
        line = std::string_view();
        if (!isHeading) {
            std::string_view runIn;
            const int32_t entry =
                keepEvery ? -1 : matchRunInHeading(scan.text, entries, opening, expected, runIn);
            if (entry >= 0) {
                markMatched(scan.text, entry, firstLine);
                addHeading(scan.text, firstLine, runIn);
                expected = entry + 1;
            }
            continue;
        }
        if (keepEvery) {
            addHeading(scan.text, firstLine, paragraph);
            continue;
        }
        const int32_t entry = scan.contentsWithoutPages
            ? matchHeadingWithoutPages(scan.text, entries, paragraph, firstLine, expected)
            : matchHeading(scan.text, entries, paragraph, lowered, firstLine, expected);
        if (entry >= 0) {
            addHeading(scan.text, firstLine, paragraph);
            expected = entry + 1;
        }
    }
    if (!keepEvery)
        matchWrappedHeadings(scan.text, scan.source);
}

} // namespace parchly
