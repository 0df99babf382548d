// Where the words of the line cues (line_cues.h) may start, found a block
// of bytes at a time with vector instructions: a superset of the exact
// positions, which cuesAt then sorts out. Kept apart from the cues so that
// each way of finding them can be checked against the others.
#ifndef PARCHLY_ANALYSIS_CUE_CANDIDATES_H
#define PARCHLY_ANALYSIS_CUE_CANDIDATES_H

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace parchly {

enum class CandidateFilter : uint8_t {
    // Every byte: what the others must equal in the end.
    EveryByte,
    // SSE2, 16 bytes at a time: "[", two capitals in a row, "ct", "pp".
    TwoCapitals,
    // AVX2, 32 bytes at a time: the first two bytes of each word, by a
    // table of their half-bytes; far fewer positions to sort out.
    BytePairs,
};

// The fastest filter this processor runs.
CandidateFilter bestCandidateFilter();

// Whether this processor runs `filter`.
bool runs(CandidateFilter filter);

// Room past the positions a search may find that it writes over.
constexpr std::size_t kCandidatePadding = 2;

// The positions among the first `count` bytes of `text` where a cue word
// may start, in order, written to `positions` (room for `count` and
// kCandidatePadding); returns how many. The bytes of `text` past `count`
// are read only so that the last block is read whole. `filter` must run
// here.
std::size_t findCandidates(std::string_view text, std::size_t count, CandidateFilter filter,
                           uint32_t* positions);

} // namespace parchly

#endif
