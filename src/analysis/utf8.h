// UTF-8 as the core meets it: RFCs published since 2022 may be UTF-8, older
// ones are 8-bit text of unknown encoding, so every test is on bytes.
#ifndef PARCHLY_ANALYSIS_UTF8_H
#define PARCHLY_ANALYSIS_UTF8_H

#include <cstddef>
#include <string_view>

namespace parchly {

// The length of the well-formed UTF-8 sequence that starts at `i`, or 0
// when none does (a stray continuation byte, a cut sequence, an overlong
// form, a surrogate, a value beyond U+10FFFF).
std::size_t utf8SequenceLength(std::string_view bytes, std::size_t i);

bool isValidUtf8(std::string_view bytes);

inline bool isUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// At most `limit` bytes of `bytes`, cut between characters: the length of
// the longest prefix that does not end inside a sequence. Bytes that are
// not UTF-8 are characters of their own only when no continuation byte
// follows them; a run of stray continuation bytes is stepped back over.
std::size_t utf8CutLength(std::string_view bytes, std::size_t limit);

} // namespace parchly

#endif
