#include "analysis/cue_candidates.h"

#include <algorithm>
#include <array>
#include <cstddef>

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
// lets through besides them ("BI", "ME", "SD") are rare in running text.
struct PairGroup {
    std::string_view firsts;
    std::string_view seconds; // empty: any byte
};
constexpr std::array<PairGroup, 8> kPairGroups = {{
    {"[", ""}, // a citation
    {"R", "FE"}, // "RFC", "REQUIRED", "RECOMMENDED"
    {"S", "TH"}, // "STD", "SHALL", "SHOULD"
    {"M", "UA"}, // "MUST", "MAY"
    {"BF", "CY"}, // "BCP", "FYI"
    {"O", "P"}, // "OPTIONAL"
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

__attribute__((target("avx2"))) __m256i groupsOf(__m256i bytes, const std::array<uint8_t, 32>& low,
                                                 const std::array<uint8_t, 32>& high)
{
    const __m256i nibble = _mm256_set1_epi8(0x0f);
    const __m256i lowHalves = _mm256_and_si256(bytes, nibble);
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
        _mm256_and_si256(groupsOf(first, kNibbleTables.firstLow, kNibbleTables.firstHigh),
                         groupsOf(second, kNibbleTables.secondLow, kNibbleTables.secondHigh));
    const __m256i none = _mm256_cmpeq_epi8(groups, _mm256_setzero_si256());
    return ~static_cast<uint32_t>(_mm256_movemask_epi8(none));
}

__attribute__((target("avx2"))) std::size_t findBytePairs(std::string_view text, std::vector<uint32_t>& bits)
{
    std::size_t at = 0;
    for (; at + 32 < text.size(); at += 32)
        bits[at / 32] = bytePairs(text.data() + at);
    return at;
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
        return __builtin_cpu_supports("avx2");
#else
    default:
        return false;
#endif
    }
    return false;
}

void findCandidates(std::string_view text, CandidateFilter filter, std::vector<uint32_t>& bits)
{
    // Every word is written below: a vector used again is not cleared first.
    bits.resize((text.size() + 31) / 32);
    std::size_t at = 0;
#if defined(PARCHLY_HAS_X86_VECTORS)
    if (filter == CandidateFilter::BytePairs) {
        at = findBytePairs(text, bits);
    } else if (filter == CandidateFilter::TwoCapitals) {
        for (; at + 32 < text.size(); at += 32)
            bits[at / 32] = twoCapitals(text.data() + at) | twoCapitals(text.data() + at + 16) << 16;
    }
#endif
    // The end of the text, where a block would read past it: every byte.
    std::fill(bits.begin() + static_cast<std::ptrdiff_t>(at / 32), bits.end(), 0);
    for (; at < text.size(); ++at)
        bits[at / 32] |= 1u << (at % 32);
}

} // namespace parchly
