#include "analysis/contents.h"

#include <cstddef>

namespace parchly {

namespace {

bool startsSectionNumber(const std::string& line, std::size_t i)
{
    const char c = charAt(line, i);
    const char next = charAt(line, i + 1);
    return isDigit(c) || (isLetter(c) && (isBlankChar(next) || next == '.'));
}

// Reads "3.2.", "A.1" or "3.0" at `i` into `number` without trailing dots
// and ".0" parts. False when the number is not followed by a blank.
bool readSectionNumber(const std::string& line, std::size_t& i, std::string& number)
{
    const std::size_t start = i;
    while (isDigit(charAt(line, i)) || isLetter(charAt(line, i)) || charAt(line, i) == '.')
        ++i;
    number = line.substr(start, i - start);
    while (!number.empty() && number.back() == '.')
        number.pop_back();
    while (number.size() >= 2 && number.compare(number.size() - 2, 2, ".0") == 0)
        number.resize(number.size() - 2);
    return isBlankChar(charAt(line, i));
}

enum class EntryText { kComplete, kContinues, kFailed };

// Adds the text of one contents line, from `i`, to the pending entry: the
// title before the leader dots and, when the line ends in one, the page.
EntryText readEntryText(const std::string& line, std::size_t i, ContentEntry& entry)
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

} // namespace

ContentsEnd parseContents(TextScan& scan, std::string& headingLine)
{
    RfcText& text = scan.text;
    ContentEntry pending;
    bool continuing = false;
    std::string line;
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

} // namespace parchly
