// What the fuzz targets share: a check that stops the run with the broken
// promise named, so that a finding is a failed invariant, not only a crash;
// and the splitting of an input into its parts.
#ifndef PARCHLY_FUZZ_FUZZ_CHECK_H
#define PARCHLY_FUZZ_FUZZ_CHECK_H

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace parchly::fuzz {

[[noreturn]] inline void failCheck(const char* condition, const char* promise, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: broken: %s (%s)\n", file, line, promise, condition);
    std::abort();
}

// The pieces of `text` between the `separator`s (one more than there are).
inline std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> pieces;
    std::string::size_type start = 0;
    for (std::string::size_type end; (end = text.find(separator, start)) != std::string::npos;
         start = end + 1)
        pieces.push_back(text.substr(start, end - start));
    pieces.push_back(text.substr(start));
    return pieces;
}

} // namespace parchly::fuzz

#define PARCHLY_CHECK(condition, promise)                                                                    \
    ((condition) ? void() : ::parchly::fuzz::failCheck(#condition, promise, __FILE__, __LINE__))

#endif
