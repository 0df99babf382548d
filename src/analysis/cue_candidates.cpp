#include "analysis/cue_candidates.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define PARCHLY_HAS_X86_VECTORS 1
#endif

namespace parchly {

namespace {

#if defined(PARCHLY_HAS_X86_VECTORS)

// The positions of a 16-byte block where a word may start: "[", two
// capitals in a row ("RFC", "MUST", "SECTION", "APPENDIX"), "ct"
// ("ction") or "pp" ("ppendi"). `block` must have 17 readable bytes.
uint32_t twoCapitals(const char* block)
{
    const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
    const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 1));
    // 'A'..'Z' moved to the lowest signed bytes, so that one comparison
    // tells a capital.
    const __m128i shift = _mm_set1_epi8(static_cast<char>(0x80 - 'A'));
    const __m128i pastZ = _mm_set1_epi8(static_cast<char>(-128 + 26));
    const __m128i capitals = _mm_and_si128(_mm_cmplt_epi8(_mm_add_epi8(first, shift), pastZ),
                                           _mm_cmplt_epi8(_mm_add_epi8(second, shift), pastZ));
    const __m128i ct =
        _mm_and_si128(_mm_cmpeq_epi8(first, _mm_set1_epi8('c')), _mm_cmpeq_epi8(second, _mm_set1_epi8('t')));
    const __m128i p = _mm_set1_epi8('p');
    const __m128i pp = _mm_and_si128(_mm_cmpeq_epi8(first, p), _mm_cmpeq_epi8(second, p));
    const __m128i bracket = _mm_cmpeq_epi8(first, _mm_set1_epi8('['));
    return static_cast<uint32_t>(
        _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(capitals, bracket), _mm_or_si128(ct, pp))));
}

// The pairs of bytes a cue word starts with, in eight groups: a byte pair
// is a candidate when both its bytes belong to one group, the first byte
// by the group's first set and the second by its second set. A set is
// told by the byte's two half-bytes, each looked up in a table of 16 group
// masks; the pairs grouped together are chosen so that the few pairs this
// lets through besides them ("ME", "SD", "OY") are rare in running text.
// "B" and "F" are kept apart, since "BF" with "CY" would also let through
// the "FC" of every "RFC".
struct PairGroup {
    std::string_view firsts;
    std::string_view seconds; // empty: any byte
};
constexpr std::array<PairGroup, 8> kPairGroups = {{
    {"[", ""}, // a citation
    {"R", "FE"}, // "RFC", "REQUIRED", "RECOMMENDED"
    {"S", "TH"}, // "STD", "SHALL", "SHOULD"
    {"M", "UA"}, // "MUST", "MAY"
    {"B", "C"}, // "BCP"
    {"OF", "PY"}, // "OPTIONAL", "FYI"
    {"cC", "tT"}, // "ction", "CTION"
    {"pP", "pP"}, // "ppendi", "PPENDI"
}};

// The four half-byte tables, each twice: the AVX2 shuffle looks up each
// 16-byte half of a register in its own half of the table.
struct NibbleTables {
    alignas(32) std::array<uint8_t, 32> firstLow{};
    alignas(32) std::array<uint8_t, 32> firstHigh{};
    alignas(32) std::array<uint8_t, 32> secondLow{};
    alignas(32) std::array<uint8_t, 32> secondHigh{};
};

constexpr NibbleTables makeNibbleTables()
{
    NibbleTables tables;
    for (std::size_t group = 0; group < kPairGroups.size(); ++group) {
        const uint8_t bit = static_cast<uint8_t>(1u << group);
        for (std::size_t half = 0; half < 32; half += 16) {
            for (const char c : kPairGroups[group].firsts) {
                tables.firstLow[half + (static_cast<uint8_t>(c) & 0x0f)] |= bit;
                tables.firstHigh[half + (static_cast<uint8_t>(c) >> 4)] |= bit;
            }
            for (std::size_t n = 0; n < 16 && kPairGroups[group].seconds.empty(); ++n) {
                tables.secondLow[half + n] |= bit;
                tables.secondHigh[half + n] |= bit;
            }
            for (const char c : kPairGroups[group].seconds) {
                tables.secondLow[half + (static_cast<uint8_t>(c) & 0x0f)] |= bit;
                tables.secondHigh[half + (static_cast<uint8_t>(c) >> 4)] |= bit;
            }
        }
    }
    return tables;
}

constexpr NibbleTables kNibbleTables = makeNibbleTables();

// The groups of kPairGroups the bytes of `bytes` may be of, by the tables
// of their half-bytes. A byte from 0x80 up finds no group by its low half
// (the shuffle gives 0 for it) unless `anyByte`, where it is kept to its
// low half first; no cue word holds such a byte, but "[" may be followed by
// one.
template <bool anyByte>
__attribute__((target("avx2"))) __m256i groupsOf(__m256i bytes, const std::array<uint8_t, 32>& low,
                                                 const std::array<uint8_t, 32>& high)
{
    const __m256i nibble = _mm256_set1_epi8(0x0f);
    const __m256i lowHalves = anyByte ? _mm256_and_si256(bytes, nibble) : bytes;
    const __m256i highHalves = _mm256_and_si256(_mm256_srli_epi16(bytes, 4), nibble);
    const __m256i byLow =
        _mm256_shuffle_epi8(_mm256_load_si256(reinterpret_cast<const __m256i*>(low.data())), lowHalves);
    const __m256i byHigh =
        _mm256_shuffle_epi8(_mm256_load_si256(reinterpret_cast<const __m256i*>(high.data())), highHalves);
    return _mm256_and_si256(byLow, byHigh);
}

// The positions of a 32-byte block where a pair of kPairGroups starts.
// `block` must have 33 readable bytes.
__attribute__((target("avx2"))) uint32_t bytePairs(const char* block)
{
    const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block));
    const __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block + 1));
    const __m256i groups =
        _mm256_and_si256(groupsOf<false>(first, kNibbleTables.firstLow, kNibbleTables.firstHigh),
                         groupsOf<true>(second, kNibbleTables.secondLow, kNibbleTables.secondHigh));
    // Any group bit carries a byte to 0x80 or above, where its top bit is
    // the one the mask takes.
    const __m256i topBitIfAny = _mm256_adds_epu8(groups, _mm256_set1_epi8(0x7f));
    return static_cast<uint32_t>(_mm256_movemask_epi8(topBitIfAny));
}

// Writes the positions of the bits of `mask`, the candidates of the block
// at `base`, to `out`; returns how many.
inline std::size_t writePositions(uint64_t mask, uint32_t base, uint32_t* out)
{
    std::size_t written = 0;
    for (; mask != 0; mask &= mask - 1)
        out[written++] = base + static_cast<uint32_t>(__builtin_ctzll(mask));
    return written;
}

// The positions of the bits of `mask`, the candidates of the block at
// `base`, written to `out`; returns how many. Two positions are written
// whatever the mask holds (those of bits it lacks are left past the ones
// counted, in the room kCandidatePadding makes): a step of two blocks
// holds none or one or two candidates nearly always, and a loop over them,
// or a test for none, is a branch the processor mispredicts on about every
// other step.
__attribute__((target("popcnt"))) inline std::size_t writeFewPositions(uint64_t mask, uint32_t base,
                                                                       uint32_t* out)
{
    // The top bit set where the mask is empty: a position is written, not
    // counted.
    constexpr uint64_t kTop = uint64_t{1} << 63;
    const auto count = static_cast<std::size_t>(__builtin_popcountll(mask));
    out[0] = base + static_cast<uint32_t>(__builtin_ctzll(mask | kTop));
    mask &= mask - 1;
    out[1] = base + static_cast<uint32_t>(__builtin_ctzll(mask | kTop));
    mask &= mask - 1;
    if (count > 2)
        writePositions(mask, base, out + 2);
    return count;
}

// Two blocks are looked at a step, their candidates written at once rather
// than kept as bits to be looked through again.
__attribute__((target("avx2,popcnt"))) std::size_t findBytePairs(std::string_view text, std::size_t& end,
                                                                 uint32_t* out)
{
    std::size_t written = 0;
    const char* const bytes = text.data();
    const std::size_t blocks = text.size() > 32 ? (text.size() - 1) / 32 * 32 : 0;
    std::size_t at = 0;
    for (; at + 64 <= blocks; at += 64) {
        const uint64_t mask = bytePairs(bytes + at) | static_cast<uint64_t>(bytePairs(bytes + at + 32)) << 32;
        written += writeFewPositions(mask, static_cast<uint32_t>(at), out + written);
    }
    if (at < blocks) {
        if (const uint32_t mask = bytePairs(bytes + at); mask != 0)
            written += writePositions(mask, static_cast<uint32_t>(at), out + written);
    }
    end = blocks;
    return written;
}

std::size_t findTwoCapitals(std::string_view text, std::size_t& at, uint32_t* out)
{
    std::size_t written = 0;
    for (; at + 32 < text.size(); at += 32) {
        const uint32_t mask = twoCapitals(text.data() + at) | twoCapitals(text.data() + at + 16) << 16;
        written += writePositions(mask, static_cast<uint32_t>(at), out + written);
    }
    return written;
}

#endif

} // namespace

CandidateFilter bestCandidateFilter()
{
    return runs(CandidateFilter::BytePairs) ? CandidateFilter::BytePairs : CandidateFilter::TwoCapitals;
}

bool runs(CandidateFilter filter)
{
    switch (filter) {
    case CandidateFilter::EveryByte:
        return true;
#if defined(PARCHLY_HAS_X86_VECTORS)
    case CandidateFilter::TwoCapitals:
        return true;
    case CandidateFilter::BytePairs:
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
#else
    default:
        return false;
#endif
    }
    return false;
}

std::size_t findCandidates(std::string_view text, std::size_t count, CandidateFilter filter, uint32_t* out)
{
    std::size_t written = 0;
    std::size_t at = 0;
    // A block reads one byte past its end: cut where the last block that
    // fits ends at `count` and still has that byte to read.
    const std::string_view blocks = text.substr(0, count + 1);
#if defined(PARCHLY_HAS_X86_VECTORS)
    if (filter == CandidateFilter::BytePairs)
        written = findBytePairs(blocks, at, out);
    else if (filter == CandidateFilter::TwoCapitals)
        written = findTwoCapitals(blocks, at, out);
    if (filter != CandidateFilter::EveryByte && at < count) {
        // The end, under a block, where a block would read past the text:
        // read as a block from a copy padded with zeroes, which no cue word
        // holds (a "[" before them is still a candidate), so that it gives
        // only the pairs there are rather than every byte.
        alignas(32) char tail[64] = {};
        std::memcpy(tail, text.data() + at, std::min<std::size_t>(text.size() - at, 33));
        uint32_t mask = filter == CandidateFilter::BytePairs
            ? bytePairs(tail)
            : twoCapitals(tail) | twoCapitals(tail + 16) << 16;
        // At most a block is left: the last one, which has no byte past it.
        if (count - at < 32)
            mask &= (1u << (count - at)) - 1;
        written += writePositions(mask, static_cast<uint32_t>(at), out + written);
        at = count;
    }
#endif
    // Without vector instructions: every byte.
    for (; at < count; ++at)
        out[written++] = static_cast<uint32_t>(at);
    return written;
}

} // namespace parchly
