// Where the words of the line cues (line_cues.h) may start, found a block
// of bytes at a time with vector instructions: a superset of the exact
// positions, which cuesAt then sorts out. Kept apart from the cues so that
// each way of finding them can be checked against the others.
#ifndef PARCHLY_ANALYSIS_CUE_CANDIDATES_H
#define PARCHLY_ANALYSIS_CUE_CANDIDATES_H

#include <cstdint>
#include <string_view>
#include <vector>

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

// One bit per byte of `text` (bit i % 32 of word i / 32), set where a cue
// word may start; `bits` is resized to fit. `filter` must run here.
void findCandidates(std::string_view text, CandidateFilter filter, std::vector<uint32_t>& bits);

} // namespace parchly

#endif
