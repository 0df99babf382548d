// ASCII case folding, the one way the core compares words without regard
// to case: RFC text, the index and the settings file are matched byte by
// byte, and bytes beyond ASCII never fold.
#ifndef PARCHLY_ANALYSIS_ASCII_H
#define PARCHLY_ANALYSIS_ASCII_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace parchly {

inline char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The first eight bytes of `text` as one number, the first lowest, zeros
// past a shorter text: a word compared, or folded, at once.
constexpr uint64_t leadingEight(std::string_view text)
{
    uint64_t bytes = 0;
    for (std::size_t i = 0; i < text.size() && i < 8; ++i)
        bytes |= uint64_t{static_cast<unsigned char>(text[i])} << (8 * i);
    return bytes;
}

// Eight bytes with every ASCII capital made small, others left alone.
inline uint64_t lowerAsciiEight(uint64_t bytes)
{
    constexpr uint64_t kHighBits = 0x8080808080808080ULL;
    const uint64_t low = bytes & ~kHighBits;
    // The high bit of each byte set where the byte, high bit aside, is at
    // least 'A', and where it is past 'Z'; a byte beyond ASCII is neither.
    const uint64_t atLeastA = low + 0x3f3f3f3f3f3f3f3fULL;
    const uint64_t pastZ = low + 0x2525252525252525ULL;
    const uint64_t capitals = atLeastA & ~pastZ & ~bytes & kHighBits;
    return bytes | (capitals >> 2);
}

// lowerAscii() over `size` bytes in place, eight at a time: a pass that
// lowers every heading it tries spent more on it than on the trying.
inline void lowerAsciiInPlace(char* bytes, std::size_t size)
{
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t eight = 0;
        std::memcpy(&eight, bytes + i, 8);
        eight = lowerAsciiEight(eight);
        std::memcpy(bytes + i, &eight, 8);
    }
    for (; i < size; ++i)
        bytes[i] = lowerAscii(bytes[i]);
}

inline std::string lowerAsciiCopy(std::string_view text)
{
    std::string lower(text);
    lowerAsciiInPlace(lower.data(), lower.size());
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
