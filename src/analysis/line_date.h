// The date written at the end of a front-matter line or a page header, as
// "June 1999", "June 15, 1999" or "15 June 1999".
#ifndef PARCHLY_ANALYSIS_LINE_DATE_H
#define PARCHLY_ANALYSIS_LINE_DATE_H

#include <cstdint>
#include <string_view>

namespace parchly {

struct LineDate {
    int32_t year = 0;
    int32_t day = 0; // 0 when the line names none
    // As written: a view into the line read, which must outlive it.
    std::string_view month;
};

// Reads the date at the end of `line` (its line end ignored); false when
// the line does not end in a year preceded by a month word.
bool readLineDate(std::string_view line, LineDate& date);

// Reads a date written in digits, month first, as the NIC's retypes of the
// 1970s date the memo on the line under their journal stamp ("3/18/75",
// RFC 681): the month is given by its name ("March"). False when `word`
// is no such date.
bool readSlashedDate(std::string_view word, LineDate& date);

} // namespace parchly

#endif
