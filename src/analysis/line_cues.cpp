#include "analysis/line_cues.h"

#include "analysis/text_scan.h"

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace parchly {

namespace {

// Marks the cues of the words starting in [from, to) of `text`, moving
// `line` on to the line that holds each position. Positions only grow, so
// the walk over the lines is done once over the whole text.
class CueMarker {
public:
    CueMarker(const TextLines& lines, std::string_view text, std::vector<uint8_t>& cues)
        : m_lines(lines)
        , m_text(text)
        , m_cues(cues)
    {
    }

    void markAt(std::size_t at) { mark(at, cuesAt(m_text, at)); }

    // Notes `found` for the line that holds position `at`.
    void mark(std::size_t at, uint8_t found)
    {
        if (found == 0)
            return;
        const char* position = m_text.data() + at;
        while (m_line + 1 < m_lines.size() && m_lines.lines[m_line + 1].data() <= position)
            ++m_line;
        m_cues[m_line] |= found;
    }

    // Looks at every byte of [from, to): the end of the text, and the
    // whole text where no vector instructions are at hand.
    void markEach(std::size_t from, std::size_t to)
    {
        for (std::size_t at = from; at < to; ++at)
            markAt(at);
    }

private:
    const TextLines& m_lines;
    std::string_view m_text;
    std::vector<uint8_t>& m_cues;
    std::size_t m_line = 0;
};

#if defined(__SSE2__)
// The positions of a 16-byte block where a word may start: "[", two
// capitals in a row ("RFC", "MUST", "SECTION", "APPENDIX"), "ct" ("ction")
// or "pp" ("ppendi"). Far fewer than one capital alone, which starts every
// sentence, and tested with a handful of instructions; cuesAt sorts them
// out. `block` must have 17 readable bytes.
unsigned candidateStarts(const char* block)
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
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(capitals, bracket), _mm_or_si128(ct, pp))));
}
#endif

} // namespace

uint8_t cuesAt(std::string_view text, std::size_t at)
{
    const auto word = [&](std::string_view w) { return startsWithAt(text, at, w); };
    switch (text[at]) {
    case '[':
        return kCueBracket;
    case 'R':
        if (word("RFC"))
            return kCueRfc;
        return word("REQUIRED") || word("RECOMMENDED") ? kCueRequirement : 0;
    case 'B':
        return word("BCP") ? kCueSeries : 0;
    case 'F':
        return word("FYI") ? kCueSeries : 0;
    case 'S':
        if (word("STD"))
            return kCueSeries;
        return word("SHALL") || word("SHOULD") ? kCueRequirement : 0;
    case 'M':
        return word("MUST") || word("MAY") ? kCueRequirement : 0;
    case 'O':
        return word("OPTIONAL") ? kCueRequirement : 0;
    case 'c':
        return word("ction") ? kCueSection : 0;
    case 'C':
        return word("CTION") ? kCueSection : 0;
    case 'p':
        return word("ppendi") ? kCueAppendix : 0;
    case 'P':
        return word("PPENDI") ? kCueAppendix : 0;
    default:
        return 0;
    }
}

std::vector<uint8_t> findLineCues(const TextLines& lines, uint8_t families)
{
    std::vector<uint8_t> cues(lines.size(), 0);
    if (lines.size() == 0)
        return cues;
    // The lines are views into one text, in order: scan that text whole,
    // line ends included, which no word holds.
    const char* begin = lines.lines.front().data();
    const std::string_view text(
        begin, static_cast<std::size_t>(lines.lines.back().data() - begin) + lines.lines.back().size());
    CueMarker marker(lines, text, cues);
    if (families == kCueBracket) {
        for (std::size_t at = text.find('['); at != std::string_view::npos; at = text.find('[', at + 1))
            marker.mark(at, kCueBracket);
        return cues;
    }
    std::size_t at = 0;
#if defined(__SSE2__)
    constexpr std::size_t kBlock = 16;
    for (; at + kBlock < text.size(); at += kBlock) {
        for (unsigned starts = candidateStarts(text.data() + at); starts != 0; starts &= starts - 1)
            marker.markAt(at + static_cast<std::size_t>(__builtin_ctz(starts)));
    }
#endif
    marker.markEach(at, text.size());
    if (families != kCueAll) {
        for (uint8_t& cue : cues)
            cue &= families;
    }
    return cues;
}

} // namespace parchly
