#include "analysis/page_lines.h"

#include "analysis/line_date.h"
#include "analysis/page_layout.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace parchly {

namespace {

// kFooterLead: a line of a footer above the line that names the page,
// which is the footer learned.
enum class PageLine { kNone, kHeader, kFooter, kFooterLead };

constexpr std::string_view kExpires = "Expires";

// The first word of an unindented line and where the scan goes on after it.
struct FirstWord {
    std::string_view word;
    std::size_t after = 0;
};

FirstWord firstWordOf(std::string_view line)
{
    FirstWord first;
    std::size_t i = 0;
    while (i < line.size() && !isBlankChar(line[i]) && !isLineEnd(line[i]) && line[i] != ',')
        ++i;
    first.word = line.substr(0, i);
    first.after = i < line.size() ? i + 1 : i;
    return first;
}

// A month as written, without the full stop of its short form ("Feb.").
std::string_view monthWord(std::string_view month)
{
    return !month.empty() && month.back() == '.' ? month.substr(0, month.size() - 1) : month;
}

// Whether `date` is the RFC's own date, a month written short ("Feb.",
// "Sept") standing for the whole, and a year by its last two digits ("1
// Jan 90" in the header of an RFC of 1 January 1990).
bool dateMatches(const RfcText& text, const LineDate& date)
{
    constexpr int32_t kCentury = 100;
    if (date.year != text.year && (date.year >= kCentury || date.year != text.year % kCentury))
        return false;
    const std::string_view month = monthWord(date.month);
    const std::string_view own = monthWord(text.month);
    const std::size_t shorter = std::min(month.size(), own.size());
    if (!equalIgnoringAsciiCase(month.substr(0, shorter), own.substr(0, shorter)))
        return false;
    return text.day == 0 || date.day == 0 || text.day == date.day;
}

bool headerDateMatches(const RfcText& text, std::string_view line)
{
    LineDate date;
    return readLineDate(line, date) && dateMatches(text, date);
}

// Where the word "RFC" starts in a line's first word: at its start, or
// after "NWG/" ("NWG/RFC# 459", as the NIC's retypes of the 1970s head
// their pages); npos where it is not there.
std::size_t rfcWordAt(std::string_view word)
{
    constexpr std::string_view kGroup = "NWG/";
    const std::size_t at = startsWithAt(word, 0, kGroup) ? kGroup.size() : 0;
    return startsWithAt(word, at, "RFC") ? at : std::string_view::npos;
}

// Past the word "RFC" at `at` and the mark some print before the number
// ("RFC-1122", "RFC#459").
std::size_t afterRfcWord(std::string_view word, std::size_t at)
{
    const std::size_t end = at + 3;
    return end < word.size() && (word[end] == '-' || word[end] == '#') ? end + 1 : end;
}

// Where the number stands in a line opened by the word "RFC": after the
// word, or in it ("RFC1122", "RFC-1122"), past a "#" ("RFC #459").
std::size_t rfcNumberStart(std::string_view line, const FirstWord& first)
{
    const std::size_t after = afterRfcWord(first.word, rfcWordAt(first.word));
    if (after < first.word.size())
        return after;
    const std::size_t start = skipBlanks(line, first.after);
    return charAt(line, start) == '#' ? start + 1 : start;
}

// A line whose first word is "RFC": its own number, then the title or the
// date, or its own number on a line that opens a page, under the footer of
// the page before in a text kept without its form feeds ("RFC 1234   Short
// Title", no date); after the first form feed any such line that opens a
// page is taken as a header.
template <typename OpensPage>
bool isHeader(const RfcText& text, std::string_view line, const FirstWord& first, bool pageBreakSeen,
              const OpensPage& mayOpenPage)
{
    const std::size_t numberStart = rfcNumberStart(line, first);
    std::size_t i = numberStart;
    while (isDigit(charAt(line, i)))
        ++i;
    if (text.rfcNumber != 0 && decimalValue(line, numberStart, i) == text.rfcNumber) {
        i = skipBlanks(line, i);
        if (!text.title.empty() && startsWithAt(line, i, text.title))
            return true;
        if (text.year != 0 && headerDateMatches(text, line))
            return true;
        return mayOpenPage();
    }
    // A front matter that names no number (RFC 120): the header that
    // prints the title after its own opens a page as one naming the
    // RFC's number does.
    if (text.rfcNumber == 0 && !text.title.empty() && i > numberStart
        && startsWithAt(line, skipBlanks(line, i), text.title))
        return mayOpenPage();
    return pageBreakSeen && mayOpenPage();
}

// "... [Page N]" where N is the number of the page being read.
bool endsInThisPageNumber(const RfcText& text, std::string_view line)
{
    // "[Page 3]\f": the form feed may close the footer line.
    std::size_t end = line.size();
    while (end > 0 && (isLineEnd(line[end - 1]) || isBlankChar(line[end - 1]) || line[end - 1] == kFormFeed))
        --end;
    if (end == 0 || line[end - 1] != ']')
        return false;
    const std::size_t digitsEnd = end - 1;
    std::size_t digitsStart = digitsEnd;
    while (digitsStart > 0 && isDigit(line[digitsStart - 1]))
        --digitsStart;
    if (digitsStart == digitsEnd || decimalValue(line, digitsStart, digitsEnd) != int64_t(text.pageCount) + 1)
        return false;
    std::size_t wordEnd = digitsStart;
    while (wordEnd > 0 && isBlankChar(line[wordEnd - 1]))
        --wordEnd;
    std::size_t wordStart = wordEnd;
    while (wordStart > 0 && !isBlankChar(line[wordStart - 1]))
        --wordStart;
    return charAt(line, wordStart) == '[' && wordEnd - wordStart >= 5
        && equalIgnoringAsciiCase(line.substr(wordStart + 1, 4), "page");
}

// The number of the page being read: one more than the page breaks
// counted, or, in a text kept without its form feeds, than the page ends
// marked: each footer closes a page, and a header opens one where no
// footer closed the page before (a title page has none).
int64_t pageBeingRead(const RfcText& text, const LineReader& source)
{
    if (!source.formFeedLines().empty())
        return int64_t(text.pageCount) + 1;
    int64_t ends = 0;
    for (std::size_t k = 0; k < text.pageMarks.size(); ++k) {
        const PageMark& mark = text.pageMarks[k];
        const PageMark* before = k > 0 ? &text.pageMarks[k - 1] : nullptr;
        // A header or footer of several lines ends one page, as does a
        // footer and the header under it.
        const bool goesOn = before != nullptr
            && (mark.isHeader ? (!before->isHeader || before->line + 1 == mark.line)
                              : (!before->isHeader && mark.line - before->line <= 2));
        ends += goesOn ? 0 : 1;
    }
    return ends + 1;
}

// A page number alone, centred at a page's foot as some RFCs of the
// 1970s and 1980s print it ("- 3 -", "-3-" or "Page 3"), or in a column
// of its footer ("Smith        Page 3"), where 3 is the number of the page
// being read.
bool printsThisPageNumber(const RfcText& text, const LineReader& source, std::string_view line)
{
    int32_t number = centredPageNumber(line);
    if (number < 0)
        number = columnPageNumber(line);
    return number >= 0 && number == pageBeingRead(text, source);
}

// A page number printed alone in digits away from the margin, centred or
// flush right ("                                   3"), as some typed
// texts number their pages, where 3 is the number of the page being read;
// never learned as the footer's words, which a line of a table could open
// with. Taken only where the page's foot is told: above a header, a form
// feed or the end of the text.
bool printsLonePageNumber(const RfcText& text, const LineReader& source, std::string_view line)
{
    constexpr std::size_t kLowestIndent = 16;
    constexpr std::size_t kLongest = 3;
    if (!isDigit(charAt(line, skipBlanks(line, 0))))
        return false;
    const std::string_view words = lineWords(line);
    if (words.empty() || words.size() > kLongest
        || static_cast<std::size_t>(words.data() - line.data()) < kLowestIndent
        || !std::all_of(words.begin(), words.end(), isDigit))
        return false;
    return decimalValue(words, 0, words.size()) == pageBeingRead(text, source);
}

// Whether the words of `line` end in a digit, as a page number does.
bool endsInDigit(std::string_view line)
{
    const std::string_view words = lineWords(line);
    return !words.empty() && isDigit(words.back());
}

// Whether one of the columns of `line` is a page number between dashes,
// in digits or lower-case Roman numerals: "August 13, 1982     - ii -
// RFC #822", the footer of RFC 822's front pages.
bool holdsDashedPageNumber(std::string_view line)
{
    const auto isPageDigit = [](char c) { return isDigit(c) || c == 'i' || c == 'v' || c == 'x'; };
    for (std::size_t dash = line.find("- "); dash != std::string_view::npos;
         dash = line.find("- ", dash + 1)) {
        if (dash > 0 && !isBlankChar(line[dash - 1]))
            continue;
        const std::size_t start = dash + 2;
        std::size_t end = start;
        while (end < line.size() && end - start < 6 && isPageDigit(line[end]))
            ++end;
        if (end > start && startsWithAt(line, end, " -")
            && (end + 2 == line.size() || isBlankChar(line[end + 2]) || isLineEnd(line[end + 2])))
            return true;
    }
    return false;
}

// A footer that names the first author: "Fielding, et al.", "Smith & Jones",
// "Smith and Jones", "Crocker  Standards Track", or the author and this
// page's number.
bool namesFirstAuthor(const RfcText& text, std::string_view line, const FirstWord& first, std::size_t rest)
{
    const std::string& name = text.authors.front().name;
    // Every line begins with an empty name: only this page's number can
    // then tell a footer, or any "Word," line of the body would be one.
    if (name.empty())
        return endsInThisPageNumber(text, line);
    // The words after the name: past the whole name where the line opens
    // with it ("J. Smith & A. Jones"), else past the first word, which the
    // name holds ("Smith & Jones" under "J. Smith").
    std::size_t after;
    if (startsWithAt(line, 0, name))
        after = name.size();
    else if (name.find(first.word) != std::string::npos)
        after = first.word.empty() ? rest : first.after;
    else
        return false;
    after = skipBlanks(line, after);
    if (charAt(line, first.word.size()) == ',')
        return true;
    if (text.authors.size() == 1 && !text.category.empty() && startsWithAt(line, after, text.category))
        return true;
    if (charAt(line, after) == '&' || startsWithAt(line, after, "and "))
        return true;
    return endsInThisPageNumber(text, line);
}

// "RFC 1122", "RFC1122", "RFC-1122", "RFC# 459" or "NWG/RFC# 459" opening a
// line: the word RFC and the number after it, as the headers of several
// decades print it.
bool opensWithRfcWord(const FirstWord& first)
{
    const std::size_t at = rfcWordAt(first.word);
    if (at == std::string_view::npos)
        return false;
    const std::size_t digits = afterRfcWord(first.word, at);
    if (digits == first.word.size())
        return first.word[digits - 1] != '-';
    for (std::size_t i = digits; i < first.word.size(); ++i) {
        if (!isDigit(first.word[i]))
            return false;
    }
    return true;
}

// Where the right column of a running line may begin: the headers of
// 1970-1990 set the date or the RFC number flush right.
constexpr std::size_t kRightColumn = 36;

// The column where byte `offset` of `line` is printed, a tab moving on to
// the next multiple of eight.
std::size_t printedColumn(std::string_view line, std::size_t offset)
{
    std::size_t column = 0;
    for (std::size_t i = 0; i < offset && i < line.size(); ++i)
        column = line[i] == '\t' ? (column / 8 + 1) * 8 : column + 1;
    return column;
}

// The words of `line` after its last gap (two blanks or more, or a tab),
// or all of them when it has none, where they are printed from
// kRightColumn on; empty when they begin left of it.
std::string_view rightColumn(std::string_view line)
{
    const std::string_view words = lineWords(line);
    std::size_t start = 0;
    for (std::size_t i = words.size(); i-- > 1;) {
        if (words[i] == '\t' || (isBlankChar(words[i]) && isBlankChar(words[i - 1]))) {
            start = i + 1;
            break;
        }
    }
    const auto offset = static_cast<std::size_t>(words.data() - line.data()) + start;
    return printedColumn(line, offset) >= kRightColumn ? words.substr(start) : std::string_view();
}

// Whether `words` are "RFC" and this RFC's own number, and nothing else.
bool isOwnNumber(const RfcText& text, std::string_view words)
{
    const FirstWord first = firstWordOf(words);
    if (text.rfcNumber == 0 || !opensWithRfcWord(first))
        return false;
    const std::size_t numberStart = rfcNumberStart(words, first);
    std::size_t end = numberStart;
    while (isDigit(charAt(words, end)))
        ++end;
    return end == words.size() && decimalValue(words, numberStart, end) == text.rfcNumber;
}

// Whether `column` is this RFC's own date ("28 August 1980", "April 16,
// 1971"), and nothing else.
bool isOwnDate(const RfcText& text, std::string_view column)
{
    LineDate date;
    if (text.year == 0 || !readLineDate(column, date) || !dateMatches(text, date))
        return false;
    // The date opens the column: its month, or the day before the month.
    std::size_t month = 0;
    while (isDigit(charAt(column, month)))
        ++month;
    return startsWithAt(column, skipBlanks(column, month), date.month);
}

// A line that prints this RFC's own date or number flush right, or alone
// wherever it stands ("RFC 85" centred, "September 1981" at the margin of
// RFC 791's left-hand pages).
bool printsOwnDateOrNumber(const RfcText& text, std::string_view line)
{
    const std::string_view words = lineWords(line);
    if (isOwnNumber(text, words) || isOwnDate(text, words))
        return true;
    const std::string_view column = rightColumn(line);
    return isOwnNumber(text, column) || isOwnDate(text, column);
}

// The words of `line` before its first gap (two blanks or more, or a
// tab), or all of them when it has none.
std::string_view leftColumn(std::string_view line)
{
    const std::string_view words = lineWords(line);
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i] == '\t' || (isBlankChar(words[i]) && isBlankChar(words[i - 1])))
            return words.substr(0, i - (words[i] == '\t' ? 0 : 1));
    }
    return words;
}

// A header set mirrored, as on the left-hand pages of a text printed on
// both sides: the RFC's own date at the margin and its own number flush
// right ("June 1990        Some Protocol        RFC 1234").
bool printsMirroredHeader(const RfcText& text, std::string_view line)
{
    const std::string_view words = lineWords(line);
    if (words.empty() || !isDigit(words.back()))
        return false;
    return isOwnNumber(text, rightColumn(line)) && isOwnDate(text, leftColumn(line));
}

// Whether the words of `line` stand in columns, as a running line's
// do: a tab or a gap of three blanks or more between two of them, wider
// than the two after a full stop.
bool holdsColumnGap(std::string_view line)
{
    const std::string_view words = lineWords(line);
    constexpr std::string_view kGap = "   ";
    return words.find(kGap) != std::string_view::npos || words.find('\t') != std::string_view::npos;
}

// Whether line `index` names a page and closes it, as a footer does.
bool isClosingFooter(const LineReader& source, std::size_t index)
{
    return index < source.lineTotal() && endsInPageWord(source.lineAt(index)) && closesPage(source, index);
}

// "Expires December 1999" at the margin right above the footer that closes
// its page, or a blank line above it, as drafts published as RFCs print
// it: a line of the footer.
bool printsExpiryAboveFooter(const LineReader& source, std::size_t index, std::string_view line)
{
    if (!startsWithAt(line, 0, kExpires))
        return false;
    std::size_t footer = index + 1;
    if (footer < source.lineTotal() && isBlankFrom(source.lineAt(footer), 0))
        ++footer;
    return isClosingFooter(source, footer);
}

// The first line of authors too many for one footer line, right above the
// line that ends the list and names the page ("Smith, Jones, Brown," /
// "and White          [Page 3]"): opened by the first author's surname,
// it ends in a comma or "&".
bool printsAuthorsAboveFooter(const RfcText& text, const LineReader& source, std::size_t index,
                              std::string_view line)
{
    const std::string_view words = lineWords(line);
    if (text.authors.empty() || text.authors.front().name.empty() || words.empty())
        return false;
    const bool goesOn = words.back() == ',' || words.back() == '&';
    const std::string_view surname = firstWordOf(line).word;
    return goesOn && !surname.empty() && text.authors.front().name.find(surname) != std::string::npos
        && isClosingFooter(source, index + 1);
}

// Whether the line read last is the line right under a header.
bool followsHeader(const RfcText& text)
{
    return !text.pageMarks.empty() && text.pageMarks.back().isHeader
        && text.pageMarks.back().line + 1 == text.lineCount;
}

// Whether the line read last stands a few blank lines under the footer
// marked last, as the first line of the next page does.
bool followsFooter(const RfcText& text)
{
    return !text.pageMarks.empty() && !text.pageMarks.back().isHeader
        && text.lineCount - text.pageMarks.back().line <= static_cast<int32_t>(kMarginReach) + 1;
}

// The header learned, word for word, or a line opening with the words of
// the footer learned, at the margin: nearly every running line after the
// first pages. The rules of judge() take such a line whatever its place,
// unless its place makes it the other kind; where it cannot, the pages
// around it are not looked at. kNone when the line is neither.
PageLine learnedPageLine(const RfcText& text, PageLayout& layout, std::string_view line,
                         std::optional<std::size_t> index, std::optional<std::size_t> lastFeed)
{
    if (!text.headerLine.empty() && line == text.headerLine)
        return index && layout.mayRunAtBottom(*index) ? PageLine::kNone : PageLine::kHeader;
    // A line opened by "RFC" is judged as a header first.
    if (!text.footerPrefix.empty() && startsWithAt(line, 0, text.footerPrefix)
        && !startsWithAt(line, 0, "RFC"))
        return index && layout.mayRunAtTop(*index, lastFeed) ? PageLine::kNone : PageLine::kFooter;
    return PageLine::kNone;
}

PageLine judge(RfcText& text, PageLayout& layout, std::string_view line, std::size_t rest, bool pageBreakSeen)
{
    const LineReader& source = layout.source();
    const char atRest = charAt(line, rest);
    if (atRest == '\r' || atRest == '\n' || atRest == kFormFeed)
        return PageLine::kNone;
    // Where the line stands on its page, when it is the line just read: a
    // header or footer stands at the top or the bottom of a page only.
    const std::optional<std::size_t> index = lastReadIndex(source, line);
    // The boundary of the last page break counted: the form-feed line or
    // the line before it.
    std::optional<std::size_t> lastFeed;
    if (text.pageEnds.size() > 1 && text.pageEnds.back() >= 0)
        lastFeed = static_cast<std::size_t>(text.pageEnds.back());
    if (rest == 0) {
        const PageLine learned = learnedPageLine(text, layout, line, index, lastFeed);
        if (learned != PageLine::kNone)
            return learned;
    }
    if (index) {
        const RunningLine running = layout.runningLineAt(*index, lastFeed);
        if (running != RunningLine::kNone)
            return running == RunningLine::kHeader ? PageLine::kHeader : PageLine::kFooter;
    }
    // The fourth line of a header, right under the three lines of its page's
    // top block that were taken as one, printing the RFC's own date or
    // number alone (RFC 174: "NWG", "RFC # 174", "NIC # 6799" and the date
    // under them). A fourth line of any other words is the text's.
    if (index && followsHeader(text) && layout.underFullTopBlock(*index) && printsOwnDateOrNumber(text, line))
        return PageLine::kHeader;
    // The second and third lines of a header under the footer of the page
    // before, in a text kept without its form feeds, repeated under the
    // footer of the page before or after.
    if (index && source.formFeedLines().empty() && followsHeader(text) && layout.repeatsUnderFooter(*index))
        return PageLine::kHeader;
    // So is the first line under a footer read there, printed again under
    // the footers around it: a header of the title alone (RFC 822).
    if (index && source.formFeedLines().empty() && followsFooter(text)
        && layout.opensBlocksUnderFooters(*index))
        return PageLine::kHeader;
    // The layout knows the lines that name a page; a piece of a line is
    // searched itself.
    const bool wholeLine = index && line.size() == source.lineAt(*index).size();
    const auto namesPage = [&] { return wholeLine ? layout.namesPage(*index) : holdsPageWord(line); };
    // A number of a run, each a page below the one before, closes its page
    // in a text kept without its form feeds whatever is read around it:
    // its headers may be unknown (or none), and a title page without a
    // number puts the count one page off.
    // Or opens it, where the run stands a page lower (RFC 672's "-2-").
    if (wholeLine && layout.numbersPageInRun(*index))
        return layout.opensPageInRun(*index) ? PageLine::kHeader : PageLine::kFooter;
    // Asked only of the lines a rule below needs it for.
    const auto mayOpenPage = [&] { return !index || opensPage(source, *index); };
    const auto mayClosePage = [&] { return !index || closesPage(source, *index); };
    // A form feed opening the line, the header printed right after it
    // ("\fRFC 1149  IP Datagrams ...", as many RFCs of 1970-1995 are): the
    // header stands at the margin of its page.
    if (rest > 0 && line[rest - 1] == kFormFeed) {
        line.remove_prefix(rest);
        rest = 0;
    }
    // A text of two pages has a header no other page repeats. Told by the
    // RFC's own date or number flush right on the line that opens its second
    // page ("Postel                28 August 1980", "              RFC 72"),
    // or its number alone wherever it stands, or on the line under that
    // header (RFC 768 prints its title and "RFC 768" under the date).
    // So is such a line under the footer of the page before, in a text kept
    // without its form feeds ("Some Protocol               RFC 1234").
    if (wholeLine && printsOwnDateOrNumber(text, line)
        && ((pageBreakSeen && (followsHeader(text) || mayOpenPage()) && layout.oneTopBlock())
            || (source.formFeedLines().empty() && mayOpenPage())))
        return PageLine::kHeader;
    // The own date and number of a mirrored header tell it without a page
    // break, under the footer of a text kept without its form feeds.
    if (wholeLine && rest == 0 && printsMirroredHeader(text, line) && mayOpenPage())
        return PageLine::kHeader;
    // "Smith        Page 2" closing the last page of a text whose title
    // page has no footer: no run of numbers tells it, the page's own does.
    if (rest == 0 && endsInDigit(line) && printsThisPageNumber(text, source, line) && mayClosePage())
        return PageLine::kFooter;
    FirstWord first;
    if (rest == 0 && index
        && (printsExpiryAboveFooter(source, *index, line)
            || printsAuthorsAboveFooter(text, source, *index, line)))
        return PageLine::kFooterLead;
    if (rest == 0) {
        first = firstWordOf(line);
    } else {
        if ((printsThisPageNumber(text, source, line) || printsLonePageNumber(text, source, line)
             || (holdsColumnGap(line) && holdsDashedPageNumber(line)))
            && mayClosePage())
            return PageLine::kFooter;
        // A number in digits centred alone at the foot of a page of a text
        // with form feeds, its own or the one before, as RFC 674 numbers
        // its pages from the one after its title page ("1" closes the
        // second).
        if (isDigit(atRest) && !source.formFeedLines().empty()) {
            const int32_t number = bareCentredNumber(line);
            if (number > 0 && (number == int64_t(text.pageCount) + 1 || number == int64_t(text.pageCount))
                && mayClosePage())
                return PageLine::kFooter;
        }
        // The number of the page centred alone at its top, under the form
        // feed, as RFC 672 prints "-2-": no words repeat it to tell it.
        if (pageBreakSeen && !source.formFeedLines().empty()
            && centredPageNumber(line) == int64_t(text.pageCount) + 1 && mayOpenPage())
            return PageLine::kHeader;
        if (!namesPage())
            return PageLine::kNone;
        first.after = rest;
    }
    if (!text.headerLine.empty() && line == text.headerLine)
        return PageLine::kHeader;
    if (opensWithRfcWord(first)) {
        // After the first form feed a line opened by "RFC" is a header where
        // a page opens; elsewhere it is body text ("RFC 791  Postel, J.,
        // ..." in a references list at the margin).
        return isHeader(text, line, first, pageBreakSeen, mayOpenPage) ? PageLine::kHeader : PageLine::kNone;
    }

    if (!text.footerPrefix.empty() && startsWithAt(line, 0, text.footerPrefix))
        return PageLine::kFooter;
    // A surname and a comma open body lines too ("Rosenberg, J., ..." in a
    // references list): the author's footer closes a page or names it.
    if (!text.authors.empty() && namesFirstAuthor(text, line, first, rest) && (namesPage() || mayClosePage()))
        return PageLine::kFooter;
    // "[Page iii]" closing its page is a footer by its place and shape, even
    // where no other page repeats it: Roman numbers differ in letters.
    if (endsInPageWord(line) && mayClosePage())
        return PageLine::kFooter;
    // A text kept without its form feeds marks no page's end, but its
    // footers still name their pages, flush right ("          [Page 3]"),
    // alone at the margin of a left-hand page (RFC 791's "[Page 2]") or
    // in a column of their own ("Smith        [Page 2]", where no header
    // under it tells the page's end).
    if (source.formFeedLines().empty() && endsInPageWord(line)
        && (rest > 0 || line.front() == '[' || holdsColumnGap(line)))
        return PageLine::kFooter;
    // A line just before a form feed ends its page, as does one whose text
    // a form feed follows, where it names a page ("[Page 3]\f"; an indented
    // line here does) or its words stand in columns as a footer's do: a
    // heading or a line of text at the margin closing a page without a
    // footer ("2.1 FRAMES") is body text. The end of the file is no form
    // feed, so the last line is never a footer by this test.
    const bool beforeFeed = source.peekByte() == kFormFeed || (index && closesWithFormFeed(source, *index));
    return beforeFeed && (rest > 0 || holdsColumnGap(line) || namesPage()) ? PageLine::kFooter
                                                                           : PageLine::kNone;
}

// A line that no rule of judge() can take, told by what the reader and
// the layout know of it: nearly every line offered is one. It stands at
// neither edge of its page and names no page; indented, nothing else is
// asked of it. Unindented, it is not the header or footer learned, opens
// with no "RFC" word, and no page ends within the margin below it, which
// the rules for an author's footer, "[Page iii]" and a line before a form
// feed ask for.
bool standsInsidePage(const RfcText& text, PageLayout& layout, std::string_view line, std::size_t rest)
{
    const LineReader& source = layout.source();
    const std::optional<std::size_t> index = lastReadIndex(source, line);
    if (!index || line.size() != source.lineAt(*index).size() || layout.mayRun(*index))
        return false;
    // The header printed right after a form feed is judged as at the margin.
    if (rest > 0)
        return line[rest - 1] != kFormFeed;
    if (startsWithAt(line, 0, "RFC") || line == text.headerLine)
        return false;
    if (!text.footerPrefix.empty() && startsWithAt(line, 0, text.footerPrefix))
        return false;
    return !closesPage(source, *index);
}

// A page number alone ("- 3 -" centred, or "3" in digits only, centred or
// flush right) above the header just read, past blank lines, in a text
// kept without its form feeds: no form feed tells it is a page's last
// line, the header under it does. Looked for only above the few headers
// found, not at every line that may be one.
void markNumberAboveHeader(RfcText& text, const LineReader& source)
{
    if (source.linesRead() == 0)
        return;
    const std::size_t header = source.linesRead() - 1;
    for (std::size_t k = header; k-- > 0 && header - k <= kMarginReach + 1;) {
        const std::string_view line = source.lineAt(k);
        if (isBlankFrom(line, 0))
            continue;
        const auto number = static_cast<int32_t>(k + 1);
        if ((printsThisPageNumber(text, source, line) || printsLonePageNumber(text, source, line))
            && (text.pageMarks.empty() || text.pageMarks.back().line != number))
            text.pageMarks.push_back(PageMark{number, text.pageCount, false});
        return;
    }
}

// The first header of a text kept without its form feeds, found under the
// footer of its page's predecessor, printed the same at the top of the
// page under a title page that has no footer, as many RFCs leave their
// first page: nothing told that line from the text there. Looked for a
// page up at most, right under a blank line, once a text.
void markHeaderUnderTitlePage(RfcText& text, const LineReader& source, std::string_view header)
{
    constexpr std::size_t kPageLines = 150;
    const std::string_view words = lineWords(header);
    const std::size_t found = source.linesRead() - 1;
    // Below the title page's own lines, which may print the title the
    // header repeats.
    for (std::size_t k = found; k-- > kShortestPage && found - k <= kPageLines;) {
        if (lineWords(source.lineAt(k)) != words || !isBlankFrom(source.lineAt(k - 1), 0))
            continue;
        const auto number = static_cast<int32_t>(k + 1);
        const auto after =
            std::upper_bound(text.pageMarks.begin(), text.pageMarks.end(), number,
                             [](int32_t line, const PageMark& mark) { return line < mark.line; });
        // A footer above it would have told it; the footer under it closes
        // its page, a page's length below (a line quoting the header on
        // the first page stands a few lines above that page's footer).
        if (after != text.pageMarks.begin() || after == text.pageMarks.end()
            || after->line - number < static_cast<int32_t>(kShortestPage))
            return;
        // With the lines of a header of several under it, as they stand
        // under the header found (RFC 791's date, title and chapter).
        std::vector<PageMark> block;
        for (std::size_t line = 0; line < kTopBlock; ++line) {
            const std::string_view top = lineWords(source.lineAt(k + line));
            if (top.empty() || found + line >= source.lineTotal()
                || top != lineWords(source.lineAt(found + line)))
                break;
            block.push_back(PageMark{number + static_cast<int32_t>(line), text.pageCount, true});
        }
        text.pageMarks.insert(after, block.begin(), block.end());
        return;
    }
}

// Judges a line that may be a running one by the rules, and notes it when
// it is. Kept out of line: the few lines that get here do not make every
// other line pay for its frame.
[[gnu::noinline]] bool recordPageLine(RfcText& text, PageLayout& layout, std::string_view line,
                                      std::size_t rest, bool pageBreakSeen)
{
    const PageLine kind = judge(text, layout, line, rest, pageBreakSeen);
    if (kind == PageLine::kNone)
        return false;
    // Learned without a form feed before it, so that the headers of pages
    // whose form feed stands on a line of its own are told by it too.
    if (rest > 0 && line[rest - 1] == kFormFeed)
        line.remove_prefix(rest);
    const bool header = kind == PageLine::kHeader;
    if (header && text.headerLine.empty()) {
        if (layout.source().formFeedLines().empty())
            markHeaderUnderTitlePage(text, layout.source(), line);
        text.headerLine.assign(line);
    } else if (!header && kind == PageLine::kFooter && text.footerPrefix.empty()
               && !printsThisPageNumber(text, layout.source(), line)
               && !printsLonePageNumber(text, layout.source(), line)) {
        // "[page 3]" in lower case, as some RFCs print it, ends the words
        // learned as "[Page 3]" does.
        std::size_t page = line.find("[Page ");
        if (page == std::string_view::npos)
            page = line.find("[page ");
        text.footerPrefix.assign(page == std::string_view::npos ? line : line.substr(0, page + 6));
    }
    if (header && layout.source().formFeedLines().empty())
        markNumberAboveHeader(text, layout.source());
    text.pageMarks.push_back(PageMark{text.lineCount, text.pageCount, header});
    return true;
}

} // namespace

bool classifyPageLine(RfcText& text, PageLayout& layout, std::string_view line, std::size_t rest,
                      bool pageBreakSeen)
{
    return !standsInsidePage(text, layout, line, rest)
        && recordPageLine(text, layout, line, rest, pageBreakSeen);
}

} // namespace parchly
