#include "analysis/line_date.h"

#include "analysis/text_scan.h"

#include <array>

namespace parchly {

namespace {

bool isMonthWord(std::string_view word)
{
    const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                   "jul", "aug", "sep", "oct", "nov", "dec"};
    if (word.size() < 3)
        return false;
    for (const char* month : kMonths) {
        if (startsWithIgnoringAsciiCase(word, month))
            return true;
    }
    return false;
}

std::size_t blanksBefore(std::string_view line, std::size_t end)
{
    while (end > 0 && isBlankChar(line[end - 1]))
        --end;
    return end;
}

// "27-Nov-72" (RFC 412) or "3-April-72", the year read already: the month
// word ends at `hyphen`, the day before it past another hyphen. A product
// name such as "DEC-10" is no date.
bool readHyphenedDate(std::string_view line, std::size_t hyphen, LineDate& date)
{
    constexpr int32_t kFirstYear = 1969;
    std::size_t start = hyphen;
    while (start > 0 && line[start - 1] != '-' && !isBlankChar(line[start - 1]))
        --start;
    date.month = line.substr(start, hyphen - start);
    if (date.year < kFirstYear || !isMonthWord(date.month) || start == 0 || line[start - 1] != '-') {
        date = LineDate();
        return false;
    }
    const std::size_t dayEnd = start - 1;
    date.day = decimalValue(line, digitsBefore(line, dayEnd), dayEnd);
    if (date.day < 1 || date.day > 31)
        date.day = 0;
    return true;
}

} // namespace

bool readLineDate(std::string_view line, LineDate& date)
{
    date = LineDate();
    std::size_t end = line.size();
    while (end > 0 && isLineEnd(line[end - 1]))
        --end;

    std::size_t start = digitsBefore(line, end);
    if (start == end)
        return false;
    date.year = decimalValue(line, start, end);
    // Some RFCs were typed with the letter l for the digit 1: "l999".
    if (date.year >= 969 && date.year <= 999 && start > 0 && line[start - 1] == 'l') {
        date.year += 1000;
        --start;
    }
    // The memos of the early 1970s print the year in two digits: "31 March
    // 71" (RFC 111). No RFC is older than 1969.
    if (end - start == 2 && date.year >= 69)
        date.year += 1900;
    if (start > 0 && line[start - 1] == '-')
        return readHyphenedDate(line, start - 1, date);

    end = blanksBefore(line, start);
    if (end > 0 && line[end - 1] == ',')
        end = blanksBefore(line, end - 1);
    start = digitsBefore(line, end);
    const bool dayAfterMonth = start < end;
    if (dayAfterMonth)
        date.day = decimalValue(line, start, end);

    end = blanksBefore(line, start);
    start = end;
    while (start > 0 && !isBlankChar(line[start - 1]))
        --start;
    date.month = line.substr(start, end - start);
    if (!isMonthWord(date.month)) {
        date = LineDate();
        return false;
    }
    if (!dayAfterMonth) {
        const std::size_t dayEnd = blanksBefore(line, start);
        date.day = decimalValue(line, digitsBefore(line, dayEnd), dayEnd);
    }
    // Digits that cannot be a day of the month belong to something else on
    // the line, such as the left column's "Obsoletes: 5849" beside the date
    // in RFC 6749; they give no day rather than a wrong one.
    if (date.day < 1 || date.day > 31)
        date.day = 0;
    return true;
}

bool readSlashedDate(std::string_view word, LineDate& date)
{
    constexpr std::string_view kMonthNames[] = {"January",   "February", "March",    "April",
                                                "May",       "June",     "July",     "August",
                                                "September", "October",  "November", "December"};
    constexpr int32_t kCentury = 1900;
    constexpr int32_t kFirstYear = 69;
    std::array<int32_t, 3> parts{};
    std::size_t at = 0;
    for (std::size_t part = 0; part < parts.size(); ++part) {
        const std::size_t start = at;
        while (at < word.size() && isDigit(word[at]))
            ++at;
        const bool last = part + 1 == parts.size();
        if (at == start || at - start > 2 || (last ? at != word.size() : charAt(word, at) != '/'))
            return false;
        parts[part] = static_cast<int32_t>(decimalValue(word, start, at));
        ++at;
    }
    const auto [month, day, year] = parts;
    if (month < 1 || month > 12 || day < 1 || day > 31 || year < kFirstYear)
        return false;
    date.year = kCentury + year;
    date.day = day;
    date.month = kMonthNames[month - 1];
    return true;
}

} // namespace parchly
