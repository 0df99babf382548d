#include "settings/leading_integer.h"

#include <climits>

namespace parchly {

bool readLeadingInteger(const char*& cursor, int& value)
{
    const char* p = cursor;
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    if (*p < '0' || *p > '9')
        return false;
    // Accumulate in a wider type and hold at the limits, so that a long run
    // of digits in a hand-edited file cannot overflow.
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (magnitude < limit)
            magnitude = magnitude * 10 + (*p - '0');
    }
    if (magnitude > limit)
        magnitude = limit;
    value = static_cast<int>(negative ? -magnitude : magnitude);
    cursor = p;
    return true;
}

int leadingInteger(const std::string& text)
{
    const char* cursor = text.c_str();
    int value = 0;
    return readLeadingInteger(cursor, value) ? value : 0;
}

} // namespace parchly
