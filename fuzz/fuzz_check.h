// What the fuzz targets share: a check that stops the run with the broken
// promise named, so that a finding is a failed invariant, not only a crash.
#ifndef PARCHLY_FUZZ_FUZZ_CHECK_H
#define PARCHLY_FUZZ_FUZZ_CHECK_H

#include <cstdio>
#include <cstdlib>

namespace parchly::fuzz {

[[noreturn]] inline void failCheck(const char* condition, const char* promise, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: broken: %s (%s)\n", file, line, promise, condition);
    std::abort();
}

} // namespace parchly::fuzz

#define PARCHLY_CHECK(condition, promise)                                                                    \
    ((condition) ? void() : ::parchly::fuzz::failCheck(#condition, promise, __FILE__, __LINE__))

#endif
