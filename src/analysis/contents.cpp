#include "analysis/contents.h"

#include <cstddef>

namespace parchly {

namespace {

// "3.2." and "3.0" are the sections 3.2 and 3.
void trimNumber(std::string& number)
{
    while (!number.empty() && number.back() == '.')
        number.pop_back();
    while (number.size() >= 2 && number.compare(number.size() - 2, 2, ".0") == 0)
        number.resize(number.size() - 2);
}

bool startsSectionNumber(std::string_view line, std::size_t i)
{
    const char c = charAt(line, i);
    const char next = charAt(line, i + 1);
    return isDigit(c) || (isLetter(c) && (isBlankChar(next) || next == '.'));
}

// Reads "3.2.", "A.1" or "3.0" at `i` into `number` without trailing dots
// and ".0" parts. False when the number is not followed by a blank.
bool readSectionNumber(std::string_view line, std::size_t& i, std::string& number)
{
    const std::size_t start = i;
    while (isDigit(charAt(line, i)) || isLetter(charAt(line, i)) || charAt(line, i) == '.')
        ++i;
    number = line.substr(start, i - start);
    trimNumber(number);
    return isBlankChar(charAt(line, i));
}

enum class EntryText { kComplete, kContinues, kFailed };

// Adds the text of one contents line, from `i`, to the pending entry: the
// title before the leader dots and, when the line ends in one, the page.
EntryText readEntryText(std::string_view line, std::size_t i, ContentEntry& entry)
{
    i = skipBlanks(line, i);
    if (i >= line.size() || isLineEnd(line[i]))
        return EntryText::kFailed;
    std::size_t digitsEnd = line.size();
    while (digitsEnd > i && isLineEnd(line[digitsEnd - 1]))
        --digitsEnd;
    std::size_t end = digitsEnd;
    while (end > i && isDigit(line[end - 1]))
        --end;
    const std::size_t digitsStart = end;
    while (end > i && (line[end - 1] == '.' || isBlankChar(line[end - 1])))
        --end;
    if (end == i)
        return EntryText::kFailed;
    if (!entry.title.empty())
        entry.title.push_back(' ');
    entry.title.append(line, i, end - i);

    // The leader dots and blanks end exactly where the digits begin, so a
    // page number found here is the number at the end of the line.
    if (digitsStart == digitsEnd)
        return EntryText::kContinues;
    const std::size_t lead = entry.title.find_first_not_of(" \t-");
    entry.title.erase(0, lead == std::string::npos ? entry.title.size() : lead);
    entry.page = decimalValue(line, digitsStart, digitsEnd);
    return EntryText::kComplete;
}

ContentsEnd parsePagedContents(TextScan& scan, std::string_view& headingLine)
{
    RfcText& text = scan.text;
    ContentEntry pending;
    bool continuing = false;
    std::string_view line;
    std::size_t rest = 0;
    while (readNonBlankLine(scan, line, rest)) {
        if (isPageMark(scan, line, rest))
            continue;
        if (rest == 0) {
            headingLine = line;
            return ContentsEnd::kAtHeading;
        }
        std::size_t i = rest;
        if (!continuing) {
            pending = ContentEntry();
            pending.firstLine = text.lineCount;
            if (startsSectionNumber(line, i) && !readSectionNumber(line, i, pending.number))
                return ContentsEnd::kOther;
        }
        switch (readEntryText(line, i, pending)) {
        case EntryText::kFailed:
            return ContentsEnd::kFailed;
        case EntryText::kContinues:
            continuing = true;
            break;
        case EntryText::kComplete:
            pending.lastLine = text.lineCount;
            text.contents.push_back(pending);
            continuing = false;
            break;
        }
    }
    return ContentsEnd::kOther;
}

// --- Contents without page numbers -------------------------------------

// Whether a contents line ends in a page number after leader dots or at
// least two blanks, as every entry of a paginated RFC does. One blank is
// not enough: a title may end in a number ("Changes since RFC 2616").
bool endsInPageNumber(std::string_view line)
{
    std::size_t end = line.size();
    while (end > 0 && (isLineEnd(line[end - 1]) || isBlankChar(line[end - 1])))
        --end;
    const std::size_t digitsEnd = end;
    while (end > 0 && isDigit(line[end - 1]))
        --end;
    if (end == digitsEnd)
        return false;
    std::size_t leaders = 0;
    while (end > 0 && (line[end - 1] == '.' || isBlankChar(line[end - 1]))) {
        --end;
        ++leaders;
    }
    return leaders >= 2 && end > 0;
}

// RFCs published since RFC 8650 (December 2019) are not paginated: the file
// has no form feed and no contents line ends in a page number. Any form
// feed, or any page number in the contents, keeps the paged parse.
bool contentsHavePages(const TextScan& scan)
{
    if (scan.text.pageCount > 0)
        return true;
    const std::string_view ahead = scan.source.remainingText();
    if (ahead.find(kFormFeed) != std::string_view::npos)
        return true;
    std::size_t start = 0;
    while (start < ahead.size()) {
        std::size_t end = ahead.find('\n', start);
        end = end == std::string_view::npos ? ahead.size() : end + 1;
        const std::string_view line = ahead.substr(start, end - start);
        start = end;
        if (isBlankFrom(line, 0))
            continue;
        if (!isBlankChar(line[0]))
            break; // the first heading after the contents
        if (endsInPageNumber(line))
            return true;
    }
    return false;
}

std::string lineText(std::string_view line, std::size_t i)
{
    std::size_t end = line.size();
    while (end > i && (isLineEnd(line[end - 1]) || isBlankChar(line[end - 1])))
        --end;
    return std::string(line.substr(i, end - i));
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
        std::string number = readLeadingSectionNumber(line, i, dotted);
        if (open && rest > base && !dotted) {
            pending.title += ' ' + lineText(line, rest);
            pending.lastLine = text.lineCount;
            continue;
        }
        if (open)
            text.contents.push_back(pending);
        pending = ContentEntry();
        pending.firstLine = pending.lastLine = text.lineCount;
        pending.number = number;
        pending.title = lineText(line, skipBlanks(line, i));
        open = true;
    }
    if (open)
        text.contents.push_back(pending);
    return end;
}

} // namespace

std::string readLeadingSectionNumber(std::string_view line, std::size_t& i, bool& dotted)
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
    } else {
        return std::string();
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
        return std::string();
    }
    std::string number(line.substr(at, end - at));
    trimNumber(number);
    i = end;
    return number;
}

ContentsEnd parseContents(TextScan& scan, std::string_view& headingLine)
{
    if (!contentsHavePages(scan)) {
        scan.contentsWithoutPages = true;
        return parseContentsWithoutPages(scan, headingLine);
    }
    return parsePagedContents(scan, headingLine);
}

} // namespace parchly
