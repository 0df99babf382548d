#include "analysis/front_matter.h"

#include "analysis/line_date.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace parchly {

namespace {

const char* const kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// One column of the block: it ends where two blanks meet or at the line
// end; the next column starts after the byte that ended it.
struct Column {
    std::size_t start = 0;
    std::string_view text;
    std::size_t next = 0;
};

// Where a column from `i` ends: at a line end, or where two blanks meet.
// Eight bytes a step while nine are left (the byte after each is looked
// at too), then byte by byte.
std::size_t columnEnd(std::string_view line, std::size_t i)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    const auto blanks = [](uint64_t bytes) { return bytesEqualTo(bytes, ' ') | bytesEqualTo(bytes, '\t'); };
    for (; i + 9 <= line.size(); i += 8) {
        uint64_t here = 0;
        uint64_t next = 0;
        std::memcpy(&here, line.data() + i, 8);
        std::memcpy(&next, line.data() + i + 1, 8);
        const uint64_t stops =
            bytesEqualTo(here, '\r') | bytesEqualTo(here, '\n') | (blanks(here) & blanks(next));
        if (stops != 0)
            return i + static_cast<std::size_t>(__builtin_ctzll(stops)) / 8;
    }
#endif
    while (i < line.size() && !isLineEnd(line[i])
           && !(isBlankChar(line[i]) && isBlankChar(charAt(line, i + 1))))
        ++i;
    return i;
}

Column takeColumn(std::string_view line, std::size_t from)
{
    Column column;
    std::size_t i = skipBlanks(line, from);
    column.start = i;
    i = columnEnd(line, i);
    column.text = line.substr(column.start, i - column.start);
    while (!column.text.empty() && isBlankChar(column.text.back()))
        column.text.remove_suffix(1);
    column.next = i < line.size() ? i + 1 : i;
    return column;
}

bool isRfcNumberKeyword(std::string_view column)
{
    // Spelt as the RFCs of several decades spell them, misspellings included;
    // "RFC:  791" and "RFC: 793" head the oldest standards. In any case:
    // "Request For Comments:  826" (RFC 826), "REQUEST FOR COMMENTS: 675".
    // The NIC's retypes of the 1970s open with "NWG/RFC# 459", or with
    // "NWG/RFC 721" over a block whose own line lacks the colon. Asked of
    // every line of the block: the first two letters tell nearly all, and
    // which keywords are left to try.
    constexpr std::string_view kRequest[] = {"Request for Comments:", "Request for Comments #",
                                             "Request for Comment: ", "Requests for Commments: "};
    constexpr std::string_view kRfc[] = {"RFC #", "RFC# ", "RFC-", "RFC:"};
    constexpr std::string_view kStamp[] = {"NWG/RFC#", "NWG/RFC #"};
    const auto opensWithAny = [column](const auto& keywords) {
        return std::any_of(std::begin(keywords), std::end(keywords), [column](std::string_view keyword) {
            return startsWithIgnoringAsciiCase(column, keyword);
        });
    };
    const char first = lowerAscii(charAt(column, 0));
    const char second = lowerAscii(charAt(column, 1));
    // Without the colon, the number right after the words is the memo's
    // ("Request for Comments 1234"); other words there are text.
    constexpr std::string_view kRequestWithoutSign = "Request for Comments ";
    if (first == 'r' && second == 'e')
        return opensWithAny(kRequest)
            || (startsWithIgnoringAsciiCase(column, kRequestWithoutSign)
                && isDigit(charAt(column, kRequestWithoutSign.size())));
    if (first == 'r') {
        // Spaced as a dash between words, "RFC - 140" (RFC 140), the word
        // names the number right after it only.
        constexpr std::string_view kSpacedDash = "RFC - ";
        return second == 'f'
            && (opensWithAny(kRfc)
                || (startsWithAt(column, 0, kSpacedDash) && isDigit(charAt(column, kSpacedDash.size()))));
    }
    if (first != 'n' || second != 'w')
        return false;
    // Without the "#" only the number right after it is the memo's ("NWG/RFC
    // Notes, 1973" names none).
    constexpr std::string_view kStampWithoutSign = "NWG/RFC ";
    return opensWithAny(kStamp)
        || (startsWithAt(column, 0, kStampWithoutSign) && isDigit(charAt(column, kStampWithoutSign.size())));
}

// "RFC 821" alone in its column, flush right above a title page (RFC 821):
// the word and the number, nothing else. It names the RFC only where no
// keyword has, and no list is open that it would go on with ("Obsoletes:
// RFC 1000," / "RFC 3000"). The memos of 1971 name the group before it:
// "NWG RFC 103" (RFC 103).
bool isBareRfcNumber(std::string_view column)
{
    constexpr std::string_view kWord = "RFC ";
    constexpr std::string_view kGroup = "NWG ";
    if (startsWithAt(column, 0, kGroup))
        column.remove_prefix(kGroup.size());
    return column.size() > kWord.size() && startsWithAt(column, 0, kWord)
        && std::all_of(column.begin() + kWord.size(), column.end(), isDigit);
}

// "RFC 654, NIC 31157 (Oct. 25, 1974)": the NIC's citation of the memo on
// a line of its own under the title (RFCs 653 to 658), the RFC's number,
// the NIC's, then the date in parentheses.
bool opensNicCitation(std::string_view column)
{
    constexpr std::string_view kWord = "RFC ";
    if (!startsWithAt(column, 0, kWord))
        return false;
    std::size_t i = kWord.size();
    while (isDigit(charAt(column, i)))
        ++i;
    return i > kWord.size() && startsWithAt(column, i, ", NIC ");
}

// The stream an RFC was published in, written in the left column of its
// first line since RFC 5741 (2009): never an author.
bool namesStream(const Column& left)
{
    constexpr std::string_view kStreams[] = {"internet engineering task force", "independent submission",
                                             "internet research task force", "internet architecture board",
                                             "editorial stream"};
    if (left.start != 0)
        return false; // an organisation of the right column
    for (const std::string_view stream : kStreams) {
        if (startsWithIgnoringAsciiCase(left.text, stream))
            return true;
    }
    return false;
}

// The number at the end of a left column ("Obsoletes: 2068, 2069" gives
// 2069); false when the column does not end in a digit.
bool trailingNumber(std::string_view column, int32_t& value)
{
    std::size_t start = column.size();
    while (start > 0 && isDigit(column[start - 1]))
        --start;
    if (start == column.size())
        return false;
    value = decimalValue(column, start, column.size());
    return true;
}

// Appends every number of `column` from `from` on ("RFCs 882, 883, 973"),
// but those of another series: "NIC 18639" (RFC 854), "IEN 149, RFC 542",
// "IENs 109, 128" name no RFC. Returns whether the column ends in a number
// appended.
bool appendNumbers(std::string_view column, std::size_t from, std::vector<int32_t>& list)
{
    bool otherSeries = false;
    bool endsInNumber = false;
    for (std::size_t i = from; i < column.size();) {
        if (isLetter(column[i])) {
            const std::size_t start = i;
            while (i < column.size() && isLetter(column[i]))
                ++i;
            const std::string_view word = column.substr(start, i - start);
            if (namesOtherSeries(word))
                otherSeries = true;
            else if (word == "RFC" || word == "RFCs")
                otherSeries = false;
            endsInNumber = false;
            continue;
        }
        if (!isDigit(column[i])) {
            endsInNumber = endsInNumber && isBlankChar(column[i]);
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < column.size() && isDigit(column[i]))
            ++i;
        endsInNumber = !otherSeries;
        if (!otherSeries)
            list.push_back(decimalValue(column, start, i));
    }
    return endsInNumber && !column.empty() && isDigit(column.back());
}

// `column` without a note of words in brackets after its numbers: "3264
// (if approved)" in a draft's wrapped list. A note that holds a number
// ("(IEN 149)") is left to readList.
std::string_view withoutWordNote(std::string_view column)
{
    const std::size_t note = column.find(" (");
    if (note == std::string_view::npos
        || std::any_of(column.begin() + static_cast<std::ptrdiff_t>(note), column.end(), isDigit))
        return column;
    return column.substr(0, note);
}

// An indented left column of numbers goes on with the list of the line
// before ("Obsoletes: 793, 879, 2873, 6093, 6429, 6528," / "6691" in RFC
// 9293), the numbers bare or named as RFCs ("RFC 3000", "RFCs 3000 and
// 3100", "RFC3000"); so does one at the margin under a line that ends in a
// comma ("Obsoletes RFCs: 1340, 1060, 1010, 990, 960," / "943, 923, 900,"
// in RFC 1700).
bool continuesList(const Column& left, bool afterComma)
{
    if (left.start == 0 && !afterComma)
        return false;
    bool number = false;
    const std::string_view text = withoutWordNote(left.text);
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (isDigit(c)) {
            number = true;
            ++i;
        } else if (c == ',' || isBlankChar(c)) {
            ++i;
        } else if (startsWithAt(text, i, "RFCs")) {
            i += 4;
        } else if (startsWithAt(text, i, "RFC")) {
            i += 3;
        } else if (startsWithAt(text, i, "and ")) {
            i += 4;
        } else {
            return false;
        }
    }
    return number;
}

// The length of a list keyword opening `column` and followed by a blank:
// "Obsoletes:", or as RFC 959 writes it, "Obsoletes RFC:" ("RFCs:"), or
// with no colon before its first number, as RFC 3461 prints "Obsoletes
// 1891"; 0 when the column opens with none.
std::size_t listKeywordLength(std::string_view column, std::string_view word)
{
    if (!startsWithAt(column, 0, word))
        return 0;
    for (const std::string_view colon : {":", " RFC:", " RFCs:"}) {
        const std::size_t length = word.size() + colon.size();
        if (startsWithAt(column, word.size(), colon) && isBlankChar(charAt(column, length)))
            return length;
    }
    if (isBlankChar(charAt(column, word.size())) && isDigit(charAt(column, word.size() + 1)))
        return word.size();
    // Nor before numbers named as RFCs, as RFC 1305 prints "Obsoletes
    // RFC-1119, RFC-1059, RFC-958".
    if (startsWithAt(column, word.size(), " RFC")) {
        std::size_t at = word.size() + 4;
        if (charAt(column, at) == 's')
            ++at;
        if ((charAt(column, at) == '-' || isBlankChar(charAt(column, at))) && isDigit(charAt(column, at + 1)))
            return word.size();
    }
    return 0;
}

// The length of the keyword of an obsoletes list, as listKeywordLength,
// also in the singular RFC 3030 prints ("Obsolete: 1830").
std::size_t obsoletesKeywordLength(std::string_view column)
{
    // One look at the stem both share: most lines open with neither. Some
    // first pages print the keyword in capitals ("OBSOLETES: RFC 1000").
    if (charAt(column, 0) != 'O')
        return 0;
    if (charAt(column, 1) == 'B')
        return listKeywordLength(column, "OBSOLETES");
    if (!startsWithAt(column, 0, "Obsolete"))
        return 0;
    if (const std::size_t length = listKeywordLength(column, "Obsoletes"))
        return length;
    return listKeywordLength(column, "Obsolete");
}

// The state of the block pass beyond the record itself.
struct BlockState {
    int blockLines = 0;
    bool holdsWords = false;
    // The line before was blanks alone, and a title page's title was found
    // in the block.
    bool afterBlanks = false;
    bool titlePage = false;
    // The title page's title was read on the line before (past blanks).
    bool titleOpen = false;
    // The centred lines under a title page's title, where its authors are.
    std::vector<std::string_view> titlePageLines;
    // The "Obsoletes:" or "Updates:" list of the line before, which an
    // indented line of numbers continues, and the field that holds the
    // last number of that list.
    std::vector<int32_t>* openList = nullptr;
    int32_t* openLast = nullptr;
    // The left column of that line ends in a comma.
    bool openComma = false;
    // The block sets its keywords in the right column and the author in
    // the left (RFC 150): each line is read with its columns swapped.
    bool mirrored = false;
    std::string swapped;
    // The line before was the NIC's journal stamp, "NWG/RFC# 280  17-NOV-71
    // 15:57  8060": the title may stand at the margin of this one.
    bool afterJournalStamp = false;
    // The column the stamp opens at: an NLS journal's text may indent every
    // line, the stamp's too (RFC 640).
    std::size_t stampIndent = 0;
    // The title under the stamp stands alone on its line, the author and
    // the date set flush right past a gap (RFC 640).
    bool journalTitleAlone = false;
    // The block opens with the NIC's journal stamp ("NWG/RFC# 739  JBP",
    // "RFC 740  RTB 42423").
    bool stampFirst = false;
    // The date was read from that stamp: the block's own date replaces it.
    bool stampDated = false;
    // Inside the NLS journal's record above the stamp ("<GJOURNAL>31484.NLS;1,
    // 12-DEC-74 04:32 XXX ;;;;   Title:  Author(s):" and its distribution
    // lists, RFC 674), which ends at an empty line: none of it is the
    // memo's.
    bool inJournalRecord = false;
    // The line before was the NIC's citation of the memo ("RFC 654, NIC
    // 31157 (Oct. 25, 1974)"): the author may stand alone at the margin of
    // this one.
    bool afterNicCitation = false;
    // The right column's entries, top down, with the block line each
    // stands on: names and organisations, paired when the block ends.
    std::vector<std::pair<std::string, int>> rightEntries;
};

// Reads a list keyword's line: every number into `list`, the last into
// `last`. A list that goes on over the next line (it ends in a comma)
// gives the last number of this line until the next line gives its own.
// The line's right column is read after it in every case: "Updates: 3261,
// 3262 (if approved)" stands beside an author as any other keyword.
void readList(BlockState& state, std::string_view column, std::size_t keyword, std::vector<int32_t>& list,
              int32_t& last)
{
    // The number of the same document in another series, in brackets after
    // the list, is none of it: "765 (IEN 149)" in RFC 959. A note of words
    // ("(if approved)") ends the column in no digit, as "none" does.
    if (const std::size_t note = column.find(" ("); note != std::string_view::npos && note >= keyword
        && std::any_of(column.begin() + static_cast<std::ptrdiff_t>(note), column.end(), isDigit))
        column = column.substr(0, note);
    const std::size_t before = list.size();
    const bool endsInNumber = appendNumbers(column, keyword, list);
    state.openList = &list;
    state.openLast = &last;
    state.openComma = !column.empty() && column.back() == ',';
    if (endsInNumber || (!column.empty() && column.back() == ',' && list.size() > before))
        last = list.back();
}

// The series number of "STD: 97", "BCP: 14" or "FYI: 36"; "ISSN: " names
// the series of all RFCs. None of them is an author.
bool readSeriesKeyword(RfcText& text, std::string_view column)
{
    const std::pair<std::string_view, int32_t*> series[] = {{"STD: ", &text.stdNumber},
                                                            {"BCP: ", &text.bcpNumber},
                                                            {"FYI: ", &text.fyiNumber},
                                                            {"ISSN: ", nullptr}};
    for (const auto& [keyword, number] : series) {
        if (!startsWithAt(column, 0, keyword))
            continue;
        if (number != nullptr)
            trailingNumber(column, *number);
        return true;
    }
    return false;
}

// Reads the left column's keyword. Returns false when the line is done
// (nothing more to take from it); `remaining` is where the right-hand
// column is looked for.
// The left column, and with "Obsoletes:" or "Updates:" set apart from its
// numbers by a gap of blanks ("Obsoletes:   RFC 1098", as some RFCs align
// their keywords' values), the column of the numbers joined to it.
// So is any keyword's number: "IEN:  149", "NIC:   7104".
Column takeLeftColumn(std::string_view line)
{
    Column left = takeColumn(line, 0);
    if (left.text.empty() || left.text.back() != ':')
        return left;
    const Column value = takeColumn(line, left.next);
    if (isDigit(charAt(value.text, 0)) || startsWithAt(value.text, 0, "RFC")
        || charAt(value.text, 0) == '#') {
        left.text = line.substr(left.start, value.start + value.text.size() - left.start);
        left.next = value.next;
    }
    return left;
}

void setDate(RfcText& text, const LineDate& date)
{
    text.year = date.year;
    text.month.assign(date.month);
    text.day = date.day;
}

// The date of the NIC's journal stamp, "17-NOV-71" among its typist, time
// and number ("JBP 26-FEB-73 12:15  13987"); where no stamp follows the
// RFC's number, the memo's own date may close the line ("NWG/RFC 700
// August 1974", RFC 700). Returns whether the line gave a date.
bool readStampDate(RfcText& text, std::string_view stamp)
{
    if (text.year != 0)
        return false;
    LineDate date;
    std::string word; // the dashed date, which `date` views
    for (std::size_t i = skipBlanks(stamp, 0); i < stamp.size(); i = skipBlanks(stamp, i)) {
        const std::size_t end = std::min(stamp.find(' ', i), stamp.size());
        word.assign(stamp.substr(i, end - i));
        i = end;
        if (std::count(word.begin(), word.end(), '-') != 2 || !isDigit(word[0]))
            continue;
        std::replace(word.begin(), word.end(), '-', ' ');
        if (readLineDate(word, date) && date.day != 0)
            break;
        date = LineDate();
    }
    // The journal's number closing a stamp is no year ("JBP 11 Nov 77
    // 42341", RFC 739): the NIC stamped its retypes until the 1980s.
    constexpr int32_t kLastStampYear = 1989;
    if (date.year == 0 && (!readLineDate(stamp, date) || date.year > kLastStampYear))
        return false;
    setDate(text, date);
    return true;
}

// Whether the number keyword of `left`, a column of `line`, is followed by
// words where its number stands ("Request for Comments: XXXX"): letters
// between its colon and the first digit of the line, at `digit` (the line's
// end when it holds none), other than the word "RFC".
bool holdsPlaceholderNumber(std::string_view left, std::string_view line, std::size_t digit)
{
    const std::size_t colon = left.find(':');
    if (colon == std::string_view::npos)
        return false;
    const auto start = static_cast<std::size_t>(left.data() - line.data()) + colon + 1;
    const std::string_view between = trimmedBlanks(line.substr(start, digit > start ? digit - start : 0));
    return std::any_of(between.begin(), between.end(), isLetter) && !startsWithAt(between, 0, "RFC");
}

bool opensWithInitials(std::string_view entry);

bool readLeftColumn(RfcText& text, BlockState& state, std::string_view line, std::size_t& remaining)
{
    const Column left = takeLeftColumn(line);
    remaining = left.next;
    const bool afterNicCitation = std::exchange(state.afterNicCitation, false);
    std::vector<int32_t>* const openList = state.openList;
    int32_t* const openLast = state.openLast;
    state.openList = nullptr;
    // The NIC's stamp may set its number a column apart ("NWG/RFC  749
    // BSG 26-Sep-78", RFC 749).
    const bool stampNumberApart =
        left.text == "NWG/RFC" && isDigit(charAt(line, skipBlanks(line, left.next)));
    const bool nicCitation = text.rfcNumber == 0 && opensNicCitation(left.text);
    if (isRfcNumberKeyword(left.text) || stampNumberApart || nicCitation
        || (text.rfcNumber == 0 && openList == nullptr && isBareRfcNumber(left.text))) {
        std::size_t i = 0;
        while (i < line.size() && !isLineEnd(line[i]) && !isDigit(line[i]))
            ++i;
        // A number not yet given ("Request for Comments: XXXX", RFC 100)
        // names none, nor does a number of the right column past it: the
        // header gives the RFC's own (readHeaderNumber()).
        if (!isDigit(charAt(line, i)) || holdsPlaceholderNumber(left.text, line, i))
            return false;
        const std::size_t digits = i;
        while (isDigit(charAt(line, i)))
            ++i;
        text.rfcNumber = decimalValue(line, digits, i);
        remaining = i;
        if (nicCitation) { // the date in its parentheses, the NIC's as a stamp's
            const std::size_t open = line.find('(', i);
            const std::size_t close = line.find(')', open);
            if (close != std::string_view::npos)
                readStampDate(text, line.substr(open + 1, close - open - 1));
            remaining = line.size();
            state.afterNicCitation = true;
        }
        // What follows "NWG/RFC# 459" is the NIC's journal stamp ("JBP
        // 26-FEB-73 12:15  13987": the typist, date, time and number), no
        // author. The stamp's line stands above the block, whose first line
        // holds the title and the author's name (RFC 276, RFC 280).
        if (startsWithAt(left.text, 0, "NWG/")) {
            state.stampDated = readStampDate(text, line.substr(i));
            // Past an undated stamp, an author's name in the right column
            // ("NWG/RFC 385   Abhay K. Bhushan", his place under it, RFC
            // 385): the block's first line, read as any.
            if (!state.stampDated && !isBlankFrom(line, i) && charAt(left.text, 7) != '#')
                return true;
            state.afterJournalStamp = true;
            state.stampIndent = left.start;
            --state.blockLines;
            return false;
        }
    } else if (const std::size_t obsoletes = obsoletesKeywordLength(left.text)) {
        readList(state, left.text, obsoletes, text.obsoletesList, text.obsoletes);
    } else if (startsWithAt(left.text, 0, "Supercedes ")) {
        readList(state, left.text, 10, text.obsoletesList, text.obsoletes);
    } else if (const std::size_t updates = listKeywordLength(
                   left.text, charAt(left.text, 1) == 'P' ? std::string_view("UPDATES") : "Updates")) {
        readList(state, left.text, updates, text.updatesList, text.updates);
    } else if (openList != nullptr && continuesList(left, state.openComma)) {
        // The last number of the whole list, as of a list on one line: a
        // note of words after it gives none, as there.
        if (appendNumbers(left.text, 0, *openList))
            *openLast = openList->back();
        else if (withoutWordNote(left.text).size() < left.text.size())
            *openLast = 0;
        state.openList = openList;
        state.openLast = openLast;
        state.openComma = !left.text.empty() && left.text.back() == ',';
    } else if (startsWithAt(left.text, 0, "Category: ")) {
        text.category = takeColumn(line, left.start + 10).text;
    } else if (readSeriesKeyword(text, left.text)) {
        // Its right column is read as any other's.
    } else if (namesStream(left) || left.text.find("Group") != std::string::npos
               || left.text.find("GROUP") != std::string::npos) {
        text.groupLine = left.text;
    } else if (left.start == 0 && !left.text.empty() && left.text.back() == ':') {
        // A field set apart from its value: "Online file:  [ISI]<DCROCKER>
        // NAOCRD.TXT" (RFC 652). The value is no author's entry.
        remaining = takeColumn(line, left.next).next;
    } else if (left.start > 0 || (afterNicCitation && opensWithInitials(left.text))) {
        // A line with only a right-hand entry: the entry is its first column.
        // So is the author's name alone at the margin under the NIC's
        // citation, "D. Crocker (UCLA-NMC)" (RFC 654, RFC 656).
        remaining = 0;
    }
    // Else a left column read as no keyword ("NIC: 10596", "Obsoletes
    // IENs: 127"): the right column, if any, follows it.
    return true;
}

// `line` without a note after its date, which the date stands before: "April
// 1990 (revised)", "June 1993; revised August 1993" (the RFC's date is the
// first, the note tells of a later printing). The line as it is where no
// year ends what the note leaves. Looked for only in a line that ends in a
// bracket or a digit, as few front-matter lines do.
std::string_view withoutDateNote(std::string_view line)
{
    std::size_t end = line.size();
    while (end > 0 && isLineEnd(line[end - 1]))
        --end;
    if (end == 0)
        return line;
    std::size_t note = std::string_view::npos;
    if (line[end - 1] == ')') {
        note = line.rfind('(', end - 1);
    } else if (isDigit(line[end - 1])) {
        note = line.find(';');
        if (note != std::string_view::npos && !startsWithAt(line, note, "; revised ")
            && !startsWithAt(line, note, "; Revised "))
            note = std::string_view::npos;
    }
    if (note == std::string_view::npos)
        return line;
    std::size_t before = note;
    while (before > 0 && isBlankChar(line[before - 1]))
        --before;
    return before > 0 && isDigit(line[before - 1]) ? line.substr(0, before) : line;
}

// The date a front-matter line ends in, read from its right column, which
// starts at `rightColumn`, where it holds one: a number closing the left
// column is no day of it ("BCP: 14          May 2017", RFC 8174; "FYI:
// 18   July 1991"). A line that is all one column gives its date whole.
LineDate dateOfLine(std::string_view line, std::size_t rightColumn)
{
    LineDate date;
    line = withoutDateNote(line);
    if (rightColumn == 0 || rightColumn >= line.size() || !readLineDate(line.substr(rightColumn), date))
        readLineDate(line, date);
    return date;
}

void readDate(RfcText& text, std::string_view line, std::size_t rightColumn = 0)
{
    setDate(text, dateOfLine(line, rightColumn));
}

// The date of a block line, as readDate(), where the block has none yet
// or only the NIC's journal stamp gave one: "30-Dec-77" is the day the
// memo was typed, "30 December 1977" in the block the RFC's own (RFC 742).
// Returns whether the line gave one.
bool readBlockDate(RfcText& text, BlockState& state, std::string_view line, std::size_t rightColumn)
{
    if (text.year != 0 && !state.stampDated)
        return false;
    const LineDate date = dateOfLine(line, rightColumn);
    if (date.year == 0)
        return false;
    setDate(text, date);
    state.stampDated = false;
    return true;
}

// "NIC # 5806", "NIC: 6771", "NIC 5764": the memo's number in the NIC's
// numbering.
bool isNicNumber(std::string_view words)
{
    constexpr std::string_view kNic = "NIC";
    if (!startsWithAt(words, 0, kNic))
        return false;
    std::size_t i = kNic.size();
    while (charAt(words, i) == ' ' || charAt(words, i) == ':' || charAt(words, i) == '#')
        ++i;
    return i > kNic.size() && isDigit(charAt(words, i));
}

// The right column's entry of a line from `from` on, its runs of blanks
// made one ("S.  Casner" in RFC 3550). A date is no name nor organisation.
void noteRightEntry(BlockState& state, std::string_view line, std::size_t from)
{
    const std::size_t start = skipBlanks(line, from);
    std::size_t end = line.size();
    while (end > start && (isLineEnd(line[end - 1]) || isBlankChar(line[end - 1])))
        --end;
    if (end == start)
        return;
    const std::string_view text = line.substr(start, end - start);
    // "(NIC #41952)" after a list gives the list's document in the NIC's
    // numbering (RFC 822): no author.
    if (startsWithAt(text, 0, "(NIC "))
        return;
    // "NIC 5764" under "NWG RFC 103" (RFC 103): the memo's number in the
    // NIC's numbering, no author.
    if (isNicNumber(text))
        return;
    // Only a column ending in a digit can be a date.
    LineDate date;
    if (isDigit(text.back()) && readLineDate(text, date))
        return;
    std::string entry;
    if (text.find("  ") == std::string_view::npos && text.find('\t') == std::string_view::npos) {
        entry = text;
    } else {
        for (const char c : text) {
            if (!isBlankChar(c))
                entry.push_back(c);
            else if (entry.back() != ' ')
                entry.push_back(' ');
        }
    }
    if (state.rightEntries.empty())
        state.rightEntries.reserve(8);
    state.rightEntries.emplace_back(std::move(entry), state.blockLines);
}

// Whether the block's first line is mirrored: the author at the margin,
// the group or the RFC number in the right column ("Richard Bl. Kalin
// Network Working Group", RFC 150).
bool opensMirroredBlock(std::string_view line)
{
    const Column left = takeColumn(line, 0);
    if (left.start != 0 || isRfcNumberKeyword(left.text) || left.text.find("Group") != std::string_view::npos)
        return false;
    const std::string_view right = takeColumn(line, left.next).text;
    return right == "Network Working Group" || isRfcNumberKeyword(right);
}

// A line of a mirrored block with its columns swapped, the right one at
// the margin.
std::string_view swapColumns(std::string& swapped, std::string_view line)
{
    const Column left = takeColumn(line, 0);
    const Column right = takeColumn(line, left.next);
    swapped.clear();
    if (left.start == 0) {
        swapped.append(right.text);
        swapped.append(8, ' ');
    }
    swapped.append(left.text);
    return swapped;
}

// Whether the next line that holds words, past empty ones, is set flush
// right as an author's name is: from far past the middle of the page.
bool rightColumnAhead(const LineReader& source)
{
    constexpr std::size_t kLinesAhead = 6;
    constexpr std::size_t kLeftmost = 40;
    const std::string_view ahead = source.remainingText();
    std::size_t start = 0;
    std::string_view line;
    for (std::size_t seen = 0; seen < kLinesAhead && takeLine(ahead, start, line); ++seen) {
        if (!isBlankFrom(line, 0))
            return skipBlanks(line, 0) >= kLeftmost;
    }
    return false;
}

std::string_view wordsAhead(const LineReader& source, std::size_t linesAhead);

// The title at the margin of the line under the NIC's journal stamp, the
// author's name beside it: "A Draft Set of Host Names" / "Richard W.
// Watson" (RFC 280). The margin is the stamp's, and the title may stand
// alone there where the author and the date follow flush right past a gap
// ("Revised FTP Reply Codes" / "" / "Jon Postel" / "19 JUN 75", RFC 640).
bool readJournalTitle(RfcText& text, BlockState& state, std::string_view line, const LineReader& source)
{
    if (skipBlanks(line, 0) != state.stampIndent)
        return false;
    Column left = takeColumn(line, 0);
    // The memo's own date may open the line, before the title ("3/18/75
    // NETWORK UNIX  S. Holmgren", RFC 681): it is the memo's, the stamp's
    // is the journal's (14-MAY-75).
    LineDate date;
    if (readSlashedDate(left.text, date)) {
        text.year = date.year;
        text.month.assign(date.month);
        text.day = date.day;
        left = takeColumn(line, skipBlanks(line, left.next));
    }
    // The memo's number in the NIC's numbering under the stamp ("NWG/RFC
    // 385" / "NIC 11357", RFC 385) is no title.
    if (isDigit(charAt(left.text, 0)) || isNicNumber(left.text))
        return false;
    // Or the memo's own block follows past a gap, opened by its number at
    // the margin ("Request for Comments 674" / "NIC 31484", RFC 674).
    if (isBlankFrom(line, left.next)) {
        constexpr std::size_t kLinesAhead = 6;
        if (!rightColumnAhead(source)
            && !startsWithAt(wordsAhead(source, kLinesAhead), 0, "Request for Comments"))
            return false;
        state.journalTitleAlone = true;
    }
    // The memo's own block may follow the stamp with no blank line between
    // ("Network Working Group   K. Harrenstien", RFC 742): its group line
    // is no title.
    constexpr std::string_view kGroup = "group";
    if (left.text.size() >= kGroup.size()
        && equalIgnoringAsciiCase(left.text.substr(left.text.size() - kGroup.size()), kGroup))
        return false;
    text.title = std::string(left.text);
    text.titleLine = text.lineCount;
    noteRightEntry(state, line, left.next);
    return true;
}

// Whether the last word of a right-column entry, before any comma, names a
// kind of organisation, as a place named for a person ends: "T.J. Watson
// Research Center" (RFC 1074), "T.J. Watson Research Center, IBM" (RFC
// 1041); "J. Smith, University of X" is a name.
bool endsInOrganisationWord(std::string_view entry)
{
    entry = entry.substr(0, entry.find(','));
    const std::size_t blank = entry.rfind(' ');
    const std::string_view last = blank == std::string_view::npos ? entry : entry.substr(blank + 1);
    constexpr std::string_view kOrganisationWords[] = {
        "Center", "Centre", "Corp.", "Corporation", "Institute", "Laboratory", "Laboratories", "University"};
    return std::any_of(std::begin(kOrganisationWords), std::end(kOrganisationWords),
                       [&](std::string_view word) { return last == word; });
}

// "J. Postel", "J.K. Reynolds", "J.-F. Mule", "Ph. Pan, Ed.": initials open
// the names of the right column since the 1980s (RFC 7322, section 4.1.1);
// a place named for a person is no name.
bool opensWithInitials(std::string_view entry)
{
    std::size_t i = 0;
    while (isUpper(charAt(entry, i))) {
        // Initials joined by a hyphen before one full stop: "J-L. Gailly"
        // (RFC 1950).
        if (charAt(entry, i + 1) == '-' && isUpper(charAt(entry, i + 2))) {
            i += 2;
            continue;
        }
        // A digraph is one initial ("Ph.", "Th."); "St." or "Dr." is none.
        const std::size_t letters = charAt(entry, i + 1) == 'h' ? 2 : 1;
        if (charAt(entry, i + letters) != '.')
            return false;
        i += letters + 1;
        if (charAt(entry, i) == '-')
            ++i;
        if (charAt(entry, i) == ' ')
            return isLetter(charAt(entry, i + 1)) && !endsInOrganisationWord(entry);
    }
    return false;
}

AuthorEntry nameAlone(std::string name);

// An organisation too long for one line of the column goes on under it
// with "and": "MIT Laboratory for Computer Science" / "and RSA Data
// Security, Inc." (RFC 1321). A name under a name is another author.
void joinOrganisationLines(std::vector<std::pair<std::string, int>>& entries)
{
    constexpr std::string_view kAnd = "and ";
    for (std::size_t k = entries.size(); k-- > 1;) {
        std::string& entry = entries[k].first;
        std::string& above = entries[k - 1].first;
        if (entry.size() <= kAnd.size() || !startsWithAt(entry, 0, kAnd) || opensWithInitials(above)
            || opensWithInitials(std::string_view(entry).substr(kAnd.size())))
            continue;
        above.append(" ").append(entry);
        entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(k));
    }
}

// A name with its organisation in brackets after it where it prints one,
// the organisation of the column under it then no author's: "J. Linn
// (BBNCC)" over "IAB Privacy Task Force" (RFC 1040), "John Linn (BBNCC)"
// (RFC 989). An editor's mark there ("(Editor)") is none.
AuthorEntry bracketedName(std::string name)
{
    // Nearly every name ends in a letter, and holds no bracket to read.
    if (name.empty() || name.back() != ')')
        return AuthorEntry{std::move(name), std::string()};
    AuthorEntry author = nameAlone(name);
    const std::string_view note = author.organisation;
    if (equalIgnoringAsciiCase(note, "Ed.") || equalIgnoringAsciiCase(note, "Editor")
        || equalIgnoringAsciiCase(note, "Editors"))
        return AuthorEntry{std::move(name), std::string()};
    return author;
}

// The organisation of the column for an author that printed none of its own.
void giveOrganisation(AuthorEntry& author, const std::string& organisation)
{
    if (author.organisation.empty())
        author.organisation = organisation;
}

// Where initials tell the names, an organisation belongs to every name
// above it that has none ("J. Postel", "J. Reynolds", "ISI" in RFC 959), and
// one above the first name to the names no organisation follows ("Internet
// Engineering Task Force", "R. Braden, Editor" in RFC 1122); a name may
// have none (RFC 8962).
void pairByInitials(RfcText& text, std::vector<std::pair<std::string, int>>& entries)
{
    std::string above;
    std::size_t open = 0; // the first name still without an organisation
    // Names opened by initials, one after the other on a line: "J. Postel,
    // V. Cerf" (RFC 174). A degree or a note after the comma ("Ph. D.",
    // "Ed.") has no surname.
    const auto nextName = [](std::string_view entry) {
        const std::size_t comma = entry.find(", ");
        if (comma == std::string_view::npos)
            return std::string_view::npos;
        const std::string_view rest = entry.substr(comma + 2);
        const std::size_t surname = rest.find(' ');
        const bool named = surname != std::string_view::npos
            && std::any_of(rest.begin() + static_cast<std::ptrdiff_t>(surname), rest.end(), isLower);
        return named && opensWithInitials(rest) ? comma : std::string_view::npos;
    };
    for (auto& [entry, line] : entries) {
        if (entry.empty()) {
            open = text.authors.size();
            continue;
        }
        if (opensWithInitials(entry)) {
            for (std::size_t comma = nextName(entry); comma != std::string_view::npos;
                 comma = nextName(entry)) {
                text.authors.push_back(AuthorEntry{entry.substr(0, comma), std::string()});
                entry.erase(0, comma + 2);
            }
            text.authors.push_back(bracketedName(std::move(entry)));
            continue;
        }
        if (text.authors.empty())
            above = std::move(entry);
        for (; open < text.authors.size(); ++open)
            giveOrganisation(text.authors[open], entry);
    }
    for (; open < text.authors.size(); ++open)
        giveOrganisation(text.authors[open], above);
}

// A name with no organisation under it may carry one in brackets after
// it ("Jon Postel  (SRI-ARC)" over the date in RFC 706).
AuthorEntry nameAlone(std::string name)
{
    const std::size_t open = name.rfind(" (");
    if (open == std::string::npos || open == 0 || name.back() != ')' || open + 3 >= name.size())
        return AuthorEntry{std::move(name), std::string()};
    std::string organisation = name.substr(open + 2, name.size() - open - 3);
    name.erase(open);
    return AuthorEntry{std::move(name), std::move(organisation)};
}

bool isFullName(std::string_view entry);

// Pushes the authors of `names` where it lists full names parted by
// commas, each with `organisation`: "Richard Winter, Jeffrey Hill, Warren
// Greiff" over "CCA" (RFC 610). Returns false, pushing none, where it is
// one entry ("Bolt Beranek and Newman, Inc.").
bool pushListedNames(RfcText& text, std::string_view names, const std::string& organisation)
{
    constexpr std::string_view kComma = ", ";
    if (names.find(kComma) == std::string_view::npos)
        return false;
    for (std::size_t i = 0; i <= names.size();) {
        const std::size_t comma = std::min(names.find(kComma, i), names.size());
        if (!isFullName(names.substr(i, comma - i)))
            return false;
        i = comma + kComma.size();
    }
    for (std::size_t i = 0; i <= names.size();) {
        const std::size_t comma = std::min(names.find(kComma, i), names.size());
        text.authors.push_back(AuthorEntry{std::string(names.substr(i, comma - i)), organisation});
        i = comma + kComma.size();
    }
    return true;
}

// Whether the last word of an entry names a part of an institution:
// "Computer Science", "Research Division".
bool endsInDepartmentWord(std::string_view entry)
{
    const std::string_view last = entry.substr(entry.rfind(' ') + 1);
    return last == "Science" || last == "Sciences" || last == "Department" || last == "Division"
        || last == "Group" || last == "Research" || last == "Engineering";
}

// Full names, as the 1970s wrote them, stand on odd lines of the block and
// organisations on even ones ("Steve Crocker", "UCLA" in RFC 1).
void pairByLines(RfcText& text, std::vector<std::pair<std::string, int>>& entries)
{
    std::string name;
    // The line of the organisation last given, a department over its
    // institution ("Computer Science" / "UCLA" under one name): the line
    // right under it goes on with it, where no name stands there.
    int departmentLine = -2;
    for (auto& [entry, line] : entries) {
        if (line == departmentLine + 1 && name.empty() && !text.authors.empty() && !isFullName(entry)) {
            text.authors.back().organisation.append(", ").append(entry);
            continue;
        }
        // A name that carries its organisation in brackets over another
        // that does takes none from it: both are authors, "Paul R. Johnson
        // (BBN-TENEX)" / "Robert H. Thomas (BBN-TENEX)" (RFC 677). A note
        // over an organisation ("Jon Postel (Editor)" / "SRI-ARC") is not.
        const auto bracketed = [](const std::string& entry) {
            return !entry.empty() && entry.back() == ')' && !nameAlone(entry).organisation.empty();
        };
        const bool named = bracketed(name) && bracketed(entry);
        if (line % 2 == 1 || named) {
            if (!name.empty())
                text.authors.push_back(nameAlone(std::move(name)));
            name = std::move(entry);
        } else {
            if (!pushListedNames(text, name, entry)) {
                text.authors.push_back(bracketedName(std::move(name)));
                if (text.authors.back().organisation.empty() && endsInDepartmentWord(entry))
                    departmentLine = line;
                giveOrganisation(text.authors.back(), entry);
            }
            name.clear();
        }
    }
    if (!name.empty())
        text.authors.push_back(nameAlone(std::move(name)));
}

// A person's full name as the 1970s stacked them: two to four words, each
// a capitalised word ("Vinton", "McConnell") or, inside, an initial ("W.");
// "UCLA", "University of Utah" and "Stanford Research Institute" are none.
bool isFullName(std::string_view entry)
{
    constexpr std::size_t kFewest = 2;
    constexpr std::size_t kMost = 4;
    std::size_t words = 0;
    for (std::size_t i = 0; i <= entry.size(); ++words) {
        const std::size_t blank = std::min(entry.find(' ', i), entry.size());
        const std::string_view word = entry.substr(i, blank - i);
        i = blank + 1;
        const bool opensCapital = !word.empty() && word[0] >= 'A' && word[0] <= 'Z';
        const bool initial = opensCapital && word.size() == 2 && word[1] == '.';
        const bool capitalised = opensCapital && std::all_of(word.begin(), word.end(), isLetter)
            && std::any_of(word.begin(), word.end(), isLower);
        if (initial ? words == 0 || blank == entry.size() : !capitalised)
            return false;
    }
    return words >= kFewest && words <= kMost && !endsInOrganisationWord(entry);
}

void pairAuthors(RfcText& text, std::vector<std::pair<std::string, int>>& entries)
{
    joinOrganisationLines(entries);
    if (std::any_of(entries.begin(), entries.end(),
                    [](const auto& entry) { return opensWithInitials(entry.first); })) {
        pairByInitials(text, entries);
        return;
    }
    // Three names or more stacked without an organisation among them
    // ("Vinton Cerf" / "Yogen Dalal" / "Carl Sunshine", RFC 675): no line
    // under a name is its organisation.
    constexpr std::size_t kStacked = 3;
    if (entries.size() >= kStacked && std::all_of(entries.begin(), entries.end(), [](const auto& entry) {
            return isFullName(entry.first);
        })) {
        for (auto& entry : entries)
            text.authors.push_back(nameAlone(std::move(entry.first)));
        return;
    }
    // Names stacked over the one organisation they share, a word alone
    // ("Jon Postel" / "Jim White" / "SRI-ARC", RFC 674): each is an author
    // of it, where pairing by lines would make the second name the first
    // one's organisation. A department over its institution ("Computer
    // Science" / "UCLA") is no name.
    const auto namesPerson = [](const auto& entry) {
        return isFullName(entry.first) && !endsInDepartmentWord(entry.first);
    };
    if (entries.size() >= kStacked && entries.back().first.find(' ') == std::string::npos
        && std::all_of(entries.begin(), entries.end() - 1, namesPerson)) {
        for (std::size_t k = 0; k + 1 < entries.size(); ++k) {
            text.authors.push_back(nameAlone(std::move(entries[k].first)));
            giveOrganisation(text.authors.back(), entries.back().first);
        }
        return;
    }
    pairByLines(text, entries);
}

// The next line that holds words within `linesAhead` lines, from its
// first word on; empty where there is none.
std::string_view wordsAhead(const LineReader& source, std::size_t linesAhead)
{
    const std::string_view ahead = source.remainingText();
    std::size_t start = 0;
    std::string_view line;
    for (std::size_t seen = 0; seen < linesAhead && takeLine(ahead, start, line); ++seen) {
        if (!isBlankFrom(line, 0))
            return line.substr(skipBlanks(line, 0));
    }
    return {};
}

// Whether the next line that holds words, past empty ones, opens with
// "Obsoletes:" or "Updates:": the block goes on after a gap, as in RFC 822
// ("RFC #  822" / "" / "Obsoletes:  RFC #733  (NIC #41952)"), or with the
// NIC's number ("Request for Comments # 107" / "" / "NIC # 5806").
bool keywordsGoOn(const LineReader& source)
{
    constexpr std::size_t kLinesAhead = 3;
    const std::string_view line = wordsAhead(source, kLinesAhead);
    return startsWithAt(line, 0, "Obsoletes:") || startsWithAt(line, 0, "Updates:") || isNicNumber(line);
}

// Whether the block read so far is the NIC's journal stamp heading a
// retype ("NWG/RFC# 739  JBP 11 Nov 77 42341" / "Assigned Numbers" in RFC
// 739) with the memo's own block under it, past a gap: the stamp is the
// first page's header, no front matter.
bool stampAboveBlock(const BlockState& state, const LineReader& source)
{
    constexpr std::size_t kLinesAhead = 6;
    return state.stampFirst && startsWithAt(wordsAhead(source, kLinesAhead), 0, "Network Working Group");
}

// The words of `line`, without the blanks around them and its line end.
std::string_view wordsOf(std::string_view line)
{
    std::size_t end = line.size();
    while (end > 0 && isLineEnd(line[end - 1]))
        --end;
    return trimmedBlanks(line.substr(0, end));
}

// Whether the lines after an empty one of the block go on with its author
// column, flush right, down to the date alone: an author without an
// organisation leaves his empty line in the column (RFC 7826: "R.
// Lanphier" / "" / "M. Westerlund" ... "December 2016").
bool authorColumnGoesOn(const LineReader& source)
{
    constexpr std::size_t kLinesAhead = 12;
    constexpr std::size_t kLeftmost = 32;
    constexpr std::size_t kRightEnd = 64;
    const std::string_view ahead = source.remainingText();
    std::size_t start = 0;
    std::string_view line;
    for (std::size_t seen = 0; seen < kLinesAhead && takeLine(ahead, start, line); ++seen) {
        const std::size_t first = skipBlanks(line, 0);
        const std::string_view words = wordsOf(line);
        if (first < kLeftmost || first + words.size() < kRightEnd)
            return false;
        LineDate date;
        if (readLineDate(words, date) && words.find("  ") == std::string_view::npos)
            return true;
    }
    return false;
}

// Whether the group line names a stream as RFCs name it since 2010
// ("Internet Engineering Task Force (IETF)", "Independent Submission"):
// their front matter is set by xml2rfc.
bool namesStream(std::string_view group)
{
    return (startsWithAt(group, 0, "Internet ") && group.back() == ')') || group == "Independent Submission";
}

// A line of the block with nothing right of its left column, under an
// author's name and above the date: xml2rfc leaves the organisation's line
// of an author who names none empty, beside the left column going on or
// as an empty line in the column.
// The empty entry tells the pairing so, where names open with initials,
// the one pairing that reads it.
void noteAuthorWithoutOrganisation(const RfcText& text, BlockState& state)
{
    if (state.rightEntries.empty() || state.rightEntries.back().first.empty()
        || !opensWithInitials(state.rightEntries.back().first) || !namesStream(text.groupLine))
        return;
    // Grown by one rather than emplaced: the emplacing of noteRightEntry(),
    // run for every entry, stays its only one.
    state.rightEntries.resize(state.rightEntries.size() + 1);
    state.rightEntries.back().second = state.blockLines;
}

// Whether `line` holds one run of words centred on the page of 72
// columns, as a title page sets its lines; an author's column is set
// flush right, a keyword's at the margin.
bool isCentred(std::string_view line)
{
    constexpr std::size_t kLeast = 10;
    constexpr std::size_t kRightmost = 60;
    constexpr std::size_t kSlack = 4;
    std::size_t start = 0;
    std::size_t end = 0;
    return centredRun(line, kSlack, start, end) && start >= kLeast && end <= kRightmost && end - start >= 2;
}

// Whether `line`, right under the block's date with no blank line
// between, is the title set across the page: its words centred on the 72
// columns, from near the margin on (" A Standard for the Transmission of
// IP Datagrams over Ethernet Networks" in RFC 894). An organisation is set
// flush right, from far past the middle.
bool titleUnderDate(std::string_view line)
{
    constexpr std::size_t kSlack = 2;
    std::size_t start = 0;
    std::size_t end = 0;
    return centredRun(line, kSlack, start, end) && start > 0;
}

// Whether the last word of a title cannot end it, a title page having
// parted its lines by a gap: "STANDARD FOR THE FORMAT OF" / "" / "ARPA
// INTERNET TEXT MESSAGES" (RFC 822).
bool endsInJoiningWord(std::string_view title)
{
    const std::size_t blank = title.rfind(' ');
    const std::string_view last = blank == std::string_view::npos ? title : title.substr(blank + 1);
    constexpr std::string_view kJoining[] = {"of", "for", "the", "and",  "to",   "in",
                                             "on", "a",   "an",  "with", "from", "by"};
    return std::any_of(std::begin(kJoining), std::end(kJoining),
                       [&](std::string_view word) { return equalIgnoringAsciiCase(last, word); });
}

// Joins the centred line `line` to a title whose last line ends in a
// joining word, or in the colon before a subtitle set apart by a blank line
// ("... Do with Source Quench:" / "" / "The Source Quench Introduced
// Delay (SQuID)", RFC 1016); a date is no part of it.
void joinTitleLine(RfcText& text, std::string_view line)
{
    LineDate date;
    const bool opensSubtitle = !text.title.empty() && text.title.back() == ':';
    if ((!opensSubtitle && !endsInJoiningWord(text.title)) || !isCentred(line) || readLineDate(line, date))
        return;
    text.title.push_back(' ');
    text.title.append(wordsOf(line));
}

// A title page in the block (RFC 791, RFC 793): under the RFC number, past
// lines of blanks alone, the title centred; the centred lines after it
// ("DARPA INTERNET PROGRAM", the date) are the page's, not authors, but
// the first one ends a title left open by a joining word.
bool readTitlePageLine(RfcText& text, BlockState& state, std::string_view line)
{
    if (state.titlePage) {
        if (state.titleOpen)
            joinTitleLine(text, line);
        state.titleOpen = false;
        if (!isCentred(line))
            return false;
        state.titlePageLines.push_back(line);
        return true;
    }
    LineDate date;
    if (text.rfcNumber == 0 || !isCentred(line) || readLineDate(line, date))
        return false;
    text.title = std::string(wordsOf(line));
    text.titleLine = text.lineCount;
    state.titlePage = true;
    state.titleOpen = true;
    return true;
}

// The lines of a title page under its title, read ahead and left to the
// passes after: up to `count` of them, up to a page's end or words at the
// margin, where the body has begun.
std::vector<std::string_view> titlePageLinesAhead(const LineReader& source, std::size_t count)
{
    std::vector<std::string_view> lines;
    const std::string_view ahead = source.remainingText();
    std::size_t start = 0;
    std::string_view line;
    while (lines.size() < count && takeLine(ahead, start, line)) {
        if (line.find(kFormFeed) != std::string_view::npos
            || (!line.empty() && !isBlankChar(line[0]) && !isLineEnd(line[0])))
            break;
        lines.push_back(line);
    }
    return lines;
}

// A date alone on a centred line, read into `date`.
bool readCentredDate(std::string_view line, LineDate& date)
{
    constexpr std::size_t kLongestDate = 20;
    return isCentred(line) && trimmedBlanks(line).size() <= kLongestDate + 1 && readLineDate(line, date);
}

bool isCentredDate(std::string_view line)
{
    LineDate date;
    return readCentredDate(line, date);
}

// A front matter without a date leaves it to the title page, centred a
// few lines under the title: "June 1980" (RFC 765), "August 13, 1982"
// (RFC 822).
void readTitlePageDate(RfcText& text, const std::vector<std::string_view>& lines)
{
    constexpr std::size_t kLinesAhead = 12;
    for (std::size_t i = 0; i < lines.size() && i < kLinesAhead; ++i) {
        const std::string_view line = lines[i];
        LineDate date;
        if (readCentredDate(line, date)) {
            text.year = date.year;
            text.month.assign(date.month);
            text.day = date.day;
            return;
        }
    }
}

// A person's name as a title page centres it: initials first ("J.
// Postel"), or a given name, one or more initials and a surname ("David D.
// Clark" in RFC 813, "Jonathan B. Postel" in RFC 821). Lines of words
// without initials ("Information Sciences Institute", "prepared for")
// are no names.
bool isCentredName(std::string_view words)
{
    const auto isCapitalised = [](std::string_view word) {
        return word.size() >= 2 && word[0] >= 'A' && word[0] <= 'Z'
            && std::all_of(word.begin() + 1, word.end(), isLower);
    };
    if (opensWithInitials(words))
        return std::none_of(words.begin(), words.end(), isDigit);
    // A name has three or four words: a fifth is reason enough to stop.
    std::array<std::string_view, 5> parts;
    std::size_t count = 0;
    for (std::size_t i = 0; i < words.size() && count < parts.size();) {
        const std::size_t blank = std::min(words.find(' ', i), words.size());
        parts[count++] = words.substr(i, blank - i);
        i = blank + 1;
    }
    if (count < 3 || count > 4 || !isCapitalised(parts[0]) || !isCapitalised(parts[count - 1]))
        return false;
    const auto last = parts.begin() + static_cast<std::ptrdiff_t>(count - 1);
    return std::all_of(parts.begin() + 1, last, [](std::string_view initial) {
        return initial.size() == 2 && initial[0] >= 'A' && initial[0] <= 'Z' && initial[1] == '.';
    });
}

// The authors a title page centres under its title, where the front
// matter named none (RFC 813, RFC 821, RFC 822): each name, and as its
// organisation the first centred line under it that is no date.
void readTitlePageAuthors(RfcText& text, const std::vector<std::string_view>& lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!isCentred(lines[i]) || !isCentredName(wordsOf(lines[i])))
            continue;
        AuthorEntry& author = text.authors.emplace_back();
        author.name = std::string(wordsOf(lines[i]));
        for (std::size_t k = i + 1; k < lines.size(); ++k) {
            if (!isCentred(lines[k]) || isCentredDate(lines[k]))
                continue;
            if (!isCentredName(wordsOf(lines[k])))
                author.organisation = std::string(wordsOf(lines[k]));
            break;
        }
    }
}

// What the title page under the title gives that the front matter did
// not: the date, the authors. RFC 822 centres its author's name eighteen
// lines under the title, after the date and "Revised by".
void readTitlePage(RfcText& text, const LineReader& source)
{
    constexpr std::size_t kLinesAhead = 24;
    if (text.year != 0 && !text.authors.empty())
        return;
    const std::vector<std::string_view> lines = titlePageLinesAhead(source, kLinesAhead);
    if (text.year == 0)
        readTitlePageDate(text, lines);
    if (text.authors.empty())
        readTitlePageAuthors(text, lines);
}

// "User Datagram Protocol" / "----------------------" (RFC 768): the rule
// of dashes or equals signs under a title is none of its words.
void dropUnderline(std::string& title)
{
    constexpr std::size_t kShortestRule = 3;
    const std::size_t space = title.rfind(' ');
    if (space == std::string::npos)
        return;
    const std::string_view rule = std::string_view(title).substr(space + 1);
    if (rule.size() >= kShortestRule && (rule[0] == '-' || rule[0] == '=')
        && rule.find_first_not_of(rule[0]) == std::string_view::npos)
        title.erase(space);
}

// Whether a line of the front matter's block may be a page header or
// footer: after a form feed, or where it names a page. Before the first
// form feed the block stands above the first page's text, and a first page
// that holds the block alone ends in one of its lines right above the form
// feed, set in columns as a footer is ("Obsoletes: 999     March 1990").
bool mayBePageMark(const TextScan& scan, std::string_view line)
{
    return scan.pageBreakSeen || holdsPageWord(line);
}

// The lines of a title page that centres everything, from the text's
// first line to the last centred line above the first line that is not
// (the footer, or the body at the margin): group, number, title, date,
// author and organisation alike, each alone, blank lines between (RFC 120,
// RFC 125). Empty where the text opens otherwise: nearly every one opens
// with a line at the margin, told by its first byte.
std::vector<std::string_view> centredTitlePage(const LineReader& source)
{
    constexpr std::size_t kPageLines = 60;
    constexpr std::size_t kFewest = 3;
    std::vector<std::string_view> lines;
    bool dated = false;
    const std::size_t first = source.linesRead();
    for (std::size_t k = first; k < source.lineTotal() && k - first < kPageLines; ++k) {
        const LineFacts& facts = source.factsOf(k);
        if (facts.has(LineFacts::kBlank))
            continue;
        if (facts.indent == 0 || facts.has(LineFacts::kHoldsFeed) || !isCentred(source.lineAt(k)))
            break;
        dated = dated || isCentredDate(source.lineAt(k));
        lines.push_back(source.lineAt(k));
    }
    if (!dated || lines.size() < kFewest)
        lines.clear();
    return lines;
}

// Reads a title page that centres everything (centredTitlePage()): the
// group, the number and the NIC's number where it names them, the title
// above the date, the author under it and the author's organisation under
// the name. Returns false where the text opens otherwise.
bool readCentredTitlePage(TextScan& scan)
{
    const std::vector<std::string_view> lines = centredTitlePage(scan.source);
    if (lines.empty())
        return false;
    RfcText& text = scan.text;
    bool dated = false;
    bool titleOpen = false;
    AuthorEntry* author = nullptr;
    for (const std::string_view page : lines) {
        std::optional<std::string_view> next;
        while ((next = nextScanLine(scan)) && next->data() != page.data())
            titleOpen = false;
        const std::string_view words = wordsOf(page);
        LineDate date;
        if (isRfcNumberKeyword(words) || isBareRfcNumber(words)) {
            const std::size_t digits = words.find_first_of("0123456789");
            std::size_t end = digits;
            while (isDigit(charAt(words, end)))
                ++end;
            if (digits != std::string_view::npos && text.rfcNumber == 0)
                text.rfcNumber = static_cast<int32_t>(decimalValue(words, digits, end));
        } else if (words.find("Group") != std::string_view::npos
                   || words.find("GROUP") != std::string_view::npos) {
            text.groupLine = std::string(words);
        } else if (isNicNumber(words)) {
            // The NIC's numbering, no RFC's.
        } else if (!dated && readCentredDate(page, date)) {
            text.year = date.year;
            text.month.assign(date.month);
            text.day = date.day;
            dated = true;
        } else if (!dated && (text.title.empty() || titleOpen)) {
            if (!text.title.empty())
                text.title.push_back(' ');
            else
                text.titleLine = text.lineCount;
            text.title.append(words);
            titleOpen = true;
            continue;
        } else if (dated && author == nullptr) {
            author = &text.authors.emplace_back();
            author->name = std::string(words);
        } else if (author != nullptr && author->organisation.empty()) {
            author->organisation = std::string(words);
        }
        titleOpen = false;
    }
    return true;
}

} // namespace

bool namesOtherSeries(std::string_view word)
{
    return word == "NIC" || word == "NICs" || word == "IEN" || word == "IENs";
}

bool continuesListColumn(std::string_view column, std::size_t start, bool afterComma)
{
    Column left;
    left.start = start;
    left.text = column;
    return continuesList(left, afterComma);
}

void readFrontMatter(TextScan& scan)
{
    if (readCentredTitlePage(scan))
        return;
    RfcText& text = scan.text;
    BlockState state;
    while (const std::optional<std::string_view> next = nextScanLine(scan)) {
        std::string_view line = *next;
        // RFCs published as UTF-8 open with a byte-order mark, which would
        // otherwise make the mark's line the whole front matter.
        if (!state.holdsWords && startsWithAt(line, 0, kUtf8ByteOrderMark))
            line.remove_prefix(3);
        const char first = charAt(line, 0);
        if (first == '<' && !state.holdsWords && startsWithAt(line, 0, "<GJOURNAL>"))
            state.inJournalRecord = true;
        if (state.inJournalRecord) {
            state.inJournalRecord = !isLineEnd(first);
            continue;
        }
        // Lines of blanks alone are no block yet (RFC 822 opens with one),
        // though they count among its lines: an author column's empty line.
        if (isLineEnd(first)) {
            if (state.holdsWords && (state.journalTitleAlone || stampAboveBlock(state, scan.source))) {
                // A date read above the block is the journal's: the
                // block's own ("22 November 1977" under "22 Nov 77")
                // replaces it, and without one it stands.
                const bool stampDated = state.stampDated || text.year != 0;
                state = BlockState();
                state.stampDated = stampDated;
                continue;
            }
            if (state.holdsWords && !keywordsGoOn(scan.source)) {
                if (text.year != 0 || text.rfcNumber == 0 || !authorColumnGoesOn(scan.source))
                    break;
                // The author above the empty line has no organisation.
                noteAuthorWithoutOrganisation(text, state);
            }
            continue;
        }
        // A form feed opening a line of the front matter, after blanks or
        // not, counts at that line itself: each one is a page.
        if (charAt(line, skipBlanks(line, 0)) == kFormFeed) {
            notePageBreak(text, text.lineCount);
            scan.pageBreakSeen = true;
            if (state.blockLines > 0)
                break;
            continue;
        }
        const bool blanks = isBlankFrom(line, 0);
        // A line of blanks alone under the block's date, as some texts pad
        // their empty lines: the block ends there as at an empty line.
        if (blanks && text.year != 0 && !state.titlePage && !keywordsGoOn(scan.source))
            break;
        // The stamp may open with the RFC word itself ("RFC 740  RTB 42423
        // 22 Nov 77" / "NETRJS Protocol", RFC 740).
        if (!state.holdsWords && !blanks)
            state.stampFirst =
                startsWithAt(line, skipBlanks(line, 0), "NWG/") || startsWithAt(line, 0, "RFC ");
        state.holdsWords = state.holdsWords || !blanks;
        notePageBreakAfter(scan);
        if (mayBePageMark(scan, line) && isPageMark(scan, line, skipBlanks(line, 0)))
            continue;
        ++state.blockLines;
        if (state.blockLines == 1 && opensMirroredBlock(line))
            state.mirrored = true;
        if (state.mirrored)
            line = swapColumns(state.swapped, line);
        const bool afterBlanks = state.afterBlanks;
        state.afterBlanks = blanks;
        if (!blanks && (afterBlanks || state.titlePage) && readTitlePageLine(text, state, line)) {
            if (text.year == 0)
                readDate(text, line);
            continue;
        }
        if (std::exchange(state.afterJournalStamp, false) && readJournalTitle(text, state, line, scan.source))
            continue;
        std::size_t remaining = 0;
        if (!readLeftColumn(text, state, line, remaining))
            continue;
        const bool datedHere = readBlockDate(text, state, line, remaining);
        const std::size_t entries = state.rightEntries.size();
        noteRightEntry(state, line, remaining);
        if (text.year == 0 && state.rightEntries.size() == entries)
            noteAuthorWithoutOrganisation(text, state);
        // The title right under the date line ends the block: it is left
        // to readTitle().
        if (datedHere && titleUnderDate(scan.source.peekLine()))
            break;
    }
    pairAuthors(text, state.rightEntries);
    if (text.authors.empty())
        readTitlePageAuthors(text, state.titlePageLines);
}

void readHeaderTitle(RfcText& text)
{
    // A title read from the first paragraph is a sentence of the body
    // where the front matter names none (RFC 222 opens "As described in
    // RFC's #207 and #212, ..."): longer than a line, ending in a full
    // stop.
    constexpr std::size_t kLongestLine = 72;
    if (text.headerLine.empty() || text.title.size() <= kLongestLine || text.title.back() != '.')
        return;
    // The header's three columns: "RFC 220", the title, the date.
    const std::string_view line = text.headerLine;
    const Column number = takeColumn(line, 0);
    const Column title = takeColumn(line, number.next);
    const Column date = takeColumn(line, title.next);
    LineDate read;
    if (!startsWithAt(number.text, 0, "RFC") || title.text.empty() || !readLineDate(date.text, read)
        || !isBlankFrom(line, date.next))
        return;
    text.title = std::string(title.text);
    const auto header = std::find_if(text.pageMarks.begin(), text.pageMarks.end(),
                                     [](const PageMark& mark) { return mark.isHeader; });
    if (header != text.pageMarks.end())
        text.titleLine = header->line;
}

void readHeaderNumber(RfcText& text)
{
    if (text.rfcNumber != 0 || text.headerLine.empty())
        return;
    // "RFC 100", "RFC-100" or "RFC #100" opening the header.
    const std::string_view line = wordsOf(text.headerLine);
    if (!startsWithAt(line, 0, "RFC"))
        return;
    std::size_t start = 3;
    while (start < line.size() && (line[start] == ' ' || line[start] == '-' || line[start] == '#'))
        ++start;
    std::size_t end = start;
    while (isDigit(charAt(line, end)))
        ++end;
    constexpr std::size_t kLongest = 5;
    if (end > start && end - start <= kLongest && (end == line.size() || !isLetter(line[end])))
        text.rfcNumber = static_cast<int32_t>(decimalValue(line, start, end));
}

void readFooterAuthor(RfcText& text)
{
    if (text.authors.size() != 2 || text.footerPrefix.empty() || !text.authors[0].organisation.empty()
        || !text.authors[1].organisation.empty())
        return;
    // The footer's first column is the first author's surname and nothing
    // else: two authors would print "Barth & Smith" or "Barth, et al.".
    const std::string_view name =
        std::string_view(text.authors[0].name).substr(0, text.authors[0].name.find(','));
    const std::string_view surname = name.substr(name.rfind(' ') + 1);
    if (surname.empty() || takeColumn(text.footerPrefix, 0).text != surname)
        return;
    text.authors[0].organisation = std::move(text.authors[1].name);
    text.authors.pop_back();
}

void readHeaderDate(RfcText& text)
{
    if (text.year != 0 || text.headerLine.empty())
        return;
    // The header's last column alone: a number ending the title before it
    // is no day ("IMAPv4   March 2003").
    const std::string_view line = wordsOf(text.headerLine);
    const std::size_t gap = line.rfind("  ");
    readDate(text, gap == std::string_view::npos ? line : line.substr(gap));
}

namespace {

// Whether the centred line `line`, a blank line under a title in capitals
// and alone above the next blank line, is its subtitle in mixed case:
// "FILE TRANSFER PROTOCOL" / "" / "Meeting Announcement and a New
// Proposed Document" (RFC 454). A name or a date centred there is none.
bool isSubtitleUnderCapitals(const std::string& title, const LineReader& source)
{
    const std::size_t next = source.linesRead();
    if (next + 1 >= source.lineTotal() || !source.factsOf(next + 1).has(LineFacts::kBlank)
        || std::any_of(title.begin(), title.end(), isLower))
        return false;
    const std::string_view line = source.lineAt(next);
    const std::string_view words = wordsOf(line);
    LineDate date;
    return isCentred(line) && std::any_of(words.begin(), words.end(), isLower) && !opensWithInitials(words)
        && !isCentredName(words) && !readLineDate(words, date);
}

// An indented line under a title's first line that holds a date alone
// ("July 30, 1987", the day of the workshop RFC 1019 reports on) ends the
// title: it and the lines under it tell when and where, as a title page
// does.
void cutTitleAtDateLine(RfcText& text, const LineReader& source)
{
    constexpr std::size_t kLongestDate = 20;
    constexpr std::size_t kDateIndent = 10;
    const auto first = static_cast<std::size_t>(text.titleLine);
    const auto read = static_cast<std::size_t>(text.lineCount);
    for (std::size_t k = first; k < read && k < source.lineTotal(); ++k) {
        const std::string_view words = wordsOf(source.lineAt(k));
        LineDate date;
        // So does a copyright notice centred under it, "Copyright (c) 1987
        // ..." (RFC 1013).
        const bool notice = charAt(words, 0) == 'C' && startsWithAt(words, 0, "Copyright (");
        if (!notice
            && (words.empty() || words.size() > kLongestDate || skipBlanks(source.lineAt(k), 0) < kDateIndent
                || !readLineDate(words, date) || date.day == 0))
            continue;
        const std::size_t at = text.title.find(words);
        if (at != std::string::npos && at > 0) {
            text.title.erase(at);
            while (!text.title.empty() && text.title.back() == ' ')
                text.title.pop_back();
        }
        return;
    }
}

} // namespace

void readTitle(TextScan& scan)
{
    std::string_view line;
    std::size_t rest = 0;
    const bool found = readNonBlankLine(scan, line, rest);
    if (!scan.text.title.empty()) {
        // Found on the title page; the paragraph under it is the page's,
        // passed over into the scan's room for paragraphs, unless it is the
        // page's footer (RFC 120 centres every line of its title page).
        if (found && !isPageMark(scan, line, rest))
            readParagraph(scan, line, rest, scan.paragraph);
        readTitlePage(scan.text, scan.source);
        return;
    }
    scan.text.titleLine = scan.text.lineCount;
    if (!found)
        return;
    // RFC 1 and other memos of 1969 set their facts as a form, the title
    // on its first line: "Title:   Host Software" / "Author:   ...".
    constexpr std::string_view kTitleKeyword = "Title:";
    const bool form = startsWithAt(line, rest, kTitleKeyword);
    const std::string_view firstLine = line;
    scan.text.title = readParagraph(scan, line, rest);
    if (form)
        scan.text.title = std::string(wordsOf(firstLine.substr(rest + kTitleKeyword.size())));
    else if (const bool centred = isCentred(firstLine);
             centred && isSubtitleUnderCapitals(scan.text.title, scan.source))
        scan.text.title.append(" ").append(wordsOf(scan.source.peekLine()));
    else if (centred)
        joinTitleLine(scan.text, scan.source.peekLine());
    if (!form)
        cutTitleAtDateLine(scan.text, scan.source);
    dropUnderline(scan.text.title);
    readTitlePage(scan.text, scan.source);
}

} // namespace parchly
