// ASCII case folding, the one way the core compares words without regard
// to case: RFC text, the index and the settings file are matched byte by
// byte, and bytes beyond ASCII never fold.
#ifndef PARCHLY_ANALYSIS_ASCII_H
#define PARCHLY_ANALYSIS_ASCII_H

#include <cstddef>
#include <string>
#include <string_view>

namespace parchly {

inline char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string lowerAsciiCopy(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = lowerAscii(c);
    return lower;
}

inline bool equalIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
}

inline bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

} // namespace parchly

#endif
