#include "analysis/line_cues.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>

namespace parchly {

namespace {

// Marks the cues of the words starting in [from, to) of `text`, moving
// `line` on to the line that holds each position. Positions only grow, so
// the walk over the lines is done once over the whole text.
class CueMarker {
public:
    CueMarker(const TextLines& lines, std::string_view text, uint8_t families, LineCues& cues)
        : m_lines(lines)
        , m_text(text)
        , m_linkStarts(families & kCueLinkStart)
        , m_requirements(families & kCueRequirement)
        , m_cues(cues)
    {
    }

    void markAt(std::size_t at)
    {
        // The cue goes to the line where its word starts.
        const uint8_t found = cuesAt(m_text, at);
        mark(at, found);
    }

    // Notes `found` for the line that holds position `at`.
    void mark(std::size_t at, uint8_t found)
    {
        if (found == 0)
            return;
        const char* position = m_text.data() + at;
        moveToLineOf(position);
        m_cues.families[m_line] |= found;
        m_cues.requirementWords += (found & m_requirements) != 0 ? 1 : 0;
        if ((found & m_linkStarts) != 0) {
            ++m_cues.linkWords;
            const auto column = static_cast<uint16_t>(position - m_lines.lines[m_line].data());
            uint16_t& first = m_cues.firstLinkStart[m_line];
            first = std::min(first, column);
            uint16_t& last = m_cues.lastLinkStart[m_line];
            last = std::max(last, column);
        }
    }

private:
    // Moves on to the line that holds `position`. The lines start in
    // order, so the starts of the next four lines at or before it are
    // those it passes: counted at once, the usual step of a line or two
    // is taken without a loop whose end the processor mispredicts.
    void moveToLineOf(const char* position)
    {
        const std::string_view* const lines = m_lines.lines.data();
        while (m_line + 4 < m_lineCount) {
            const std::size_t passed = static_cast<std::size_t>(lines[m_line + 1].data() <= position)
                + static_cast<std::size_t>(lines[m_line + 2].data() <= position)
                + static_cast<std::size_t>(lines[m_line + 3].data() <= position)
                + static_cast<std::size_t>(lines[m_line + 4].data() <= position);
            m_line += passed;
            if (passed < 4)
                return;
        }
        while (m_line + 1 < m_lineCount && lines[m_line + 1].data() <= position)
            ++m_line;
    }

    const TextLines& m_lines;
    const std::size_t m_lineCount = m_lines.size();
    std::string_view m_text;
    const uint8_t m_linkStarts;
    const uint8_t m_requirements;
    LineCues& m_cues;
    std::size_t m_line = 0;
};

} // namespace

uint8_t cuesAt(std::string_view text, std::size_t& at)
{
    // An equality of a known length, which the compiler makes a few loads
    // and compares rather than a call.
    const auto word = [&](std::string_view w) {
        return text.size() - at >= w.size() && std::memcmp(text.data() + at, w.data(), w.size()) == 0;
    };
    // "ction" and "ppendi" are found from inside their words: the cue is
    // for the whole word, which starts `length` bytes before them with one
    // of `heads`.
    const auto wordBefore = [&](std::size_t length, std::string_view heads, uint8_t cue) -> uint8_t {
        if (at < length)
            return 0;
        for (std::size_t h = 0; h < heads.size(); h += length) {
            if (std::memcmp(text.data() + at - length, heads.data() + h, length) == 0) {
                at -= length;
                return cue;
            }
        }
        return 0;
    };
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
        return word("ction") ? wordBefore(2, "Sese", kCueSection) : 0;
    case 'C':
        return word("CTION") ? wordBefore(2, "SE", kCueSection) : 0;
    case 'p':
        return word("ppendi") ? wordBefore(1, "Aa", kCueAppendix) : 0;
    case 'P':
        return word("PPENDI") ? wordBefore(1, "A", kCueAppendix) : 0;
    default:
        return 0;
    }
}

LineCues findLineCues(const TextLines& lines, uint8_t families, CandidateFilter filter)
{
    LineCues cues;
    cues.families.assign(lines.size(), 0);
    // All bytes 0xff: kNoLinkStart, set at once rather than one by one.
    cues.firstLinkStart.resize(lines.size());
    std::memset(cues.firstLinkStart.data(), 0xff, lines.size() * sizeof(uint16_t));
    cues.lastLinkStart.resize(lines.size());
    if (lines.size() == 0)
        return cues;
    // The lines are views into one text, in order: scan that text whole,
    // line ends included, which no word holds.
    const char* begin = lines.lines.front().data();
    const std::string_view text(
        begin, static_cast<std::size_t>(lines.lines.back().data() - begin) + lines.lines.back().size());
    CueMarker marker(lines, text, families, cues);
    if (families == kCueBracket) {
        for (std::size_t at = text.find('['); at != std::string_view::npos; at = text.find('[', at + 1))
            marker.mark(at, kCueBracket);
        return cues;
    }
    // The candidates of one piece of the text at a time, so that their
    // positions stay few and in the cache. Each piece is read with one
    // block past it, so that its own last block is read as a whole block.
    constexpr std::size_t kPiece = 4096;
    // Not cleared first: only what findCandidates writes is read.
    const std::unique_ptr<uint32_t[]> candidates(new uint32_t[kPiece]);
    for (std::size_t piece = 0; piece < text.size(); piece += kPiece) {
        const std::size_t count = findCandidates(
            text.substr(piece, kPiece + 32), std::min(kPiece, text.size() - piece), filter, candidates.get());
        for (std::size_t c = 0; c < count; ++c)
            marker.markAt(piece + candidates[c]);
    }
    if (families != kCueAll) {
        for (uint8_t& cue : cues.families)
            cue &= families;
    }
    return cues;
}

} // namespace parchly
