// Reading the integer at the start of a text the way the settings file's
// numbers are read: blanks, an optional sign, then decimal digits; the first
// other character ends the number.
#ifndef PARCHLY_SETTINGS_LEADING_INTEGER_H
#define PARCHLY_SETTINGS_LEADING_INTEGER_H

#include <string>

namespace parchly {

// Reads one integer at `cursor` and advances it past what was read. False
// (cursor unchanged) when no digit follows the blanks and sign. A value
// beyond the range of int is held at INT_MIN or INT_MAX.
bool readLeadingInteger(const char*& cursor, int& value);

// The leading integer of `text`; 0 when it does not start with one.
int leadingInteger(const std::string& text);

} // namespace parchly

#endif
