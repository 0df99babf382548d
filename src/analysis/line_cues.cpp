#include "analysis/line_cues.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <memory>

namespace parchly {

namespace {

// A word a cue stands for, told by the three bytes its candidate starts
// with ("ction" of "Section" and "section", "ppendi" of "Appendix"):
// `before` of its bytes come before the candidate's. Its bytes are held as
// two words of eight, with a mask of those it has, so that it is compared
// in two steps rather than byte by byte after a branch on its first byte,
// which the processor mispredicted on most candidates.
struct CueWord {
    // A free slot matches nothing: no masked bytes equal 1.
    uint64_t head = 1;
    uint64_t headMask = 0;
    uint64_t tail = 0;
    uint64_t tailMask = 0;
    uint8_t length = 0; // 0: no word, a free slot
    uint8_t before = 0;
    uint8_t cue = 0;
};

struct CueWordText {
    std::string_view text;
    uint8_t before;
    uint8_t cue;
    // Its first letter in either case: "Section" and "section".
    bool eitherCaseFirst;
};

constexpr CueWordText kCueWordTexts[] = {
    {"RFC", 0, kCueRfc, false},
    {"BCP", 0, kCueSeries, false},
    {"FYI", 0, kCueSeries, false},
    {"STD", 0, kCueSeries, false},
    {"Section", 2, kCueSection, true},
    {"SECTION", 2, kCueSection, false},
    {"Appendi", 1, kCueAppendix, true},
    {"APPENDI", 1, kCueAppendix, false},
    {"MUST", 0, kCueRequirement, false},
    {"MAY", 0, kCueRequirement, false},
    {"SHALL", 0, kCueRequirement, false},
    {"SHOULD", 0, kCueRequirement, false},
    {"REQUIRED", 0, kCueRequirement, false},
    {"RECOMMENDED", 0, kCueRequirement, false},
    {"OPTIONAL", 0, kCueRequirement, false},
};

constexpr std::size_t kCueSlotBits = 4;

// The slot of the word whose bytes from its candidate are the three of
// `key`, the first in its lowest byte: the multiplier is one that gives
// each word of kCueWordTexts a slot of its own.
constexpr std::size_t cueSlotOf(uint32_t key)
{
    return static_cast<std::size_t>(static_cast<uint32_t>(key * 0x5984a91fu) >> (32 - kCueSlotBits));
}

constexpr uint32_t keyOf(std::string_view bytes)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(bytes[0]))
        | static_cast<uint32_t>(static_cast<uint8_t>(bytes[1])) << 8
        | static_cast<uint32_t>(static_cast<uint8_t>(bytes[2])) << 16;
}

constexpr std::array<CueWord, std::size_t{1} << kCueSlotBits> makeCueWords()
{
    std::array<CueWord, std::size_t{1} << kCueSlotBits> words{};
    for (const CueWordText& text : kCueWordTexts) {
        CueWord& word = words[cueSlotOf(keyOf(text.text.substr(text.before)))];
        word.head = 0;
        word.length = static_cast<uint8_t>(text.text.size());
        word.before = text.before;
        word.cue = text.cue;
        for (std::size_t i = 0; i < text.text.size(); ++i) {
            const uint64_t byte = static_cast<uint8_t>(text.text[i]);
            const uint64_t mask = i == 0 && text.eitherCaseFirst ? 0xdf : 0xff;
            uint64_t& bytes = i < 8 ? word.head : word.tail;
            uint64_t& masks = i < 8 ? word.headMask : word.tailMask;
            bytes |= (byte & mask) << (8 * (i % 8));
            masks |= mask << (8 * (i % 8));
        }
    }
    return words;
}

constexpr std::array<CueWord, std::size_t{1} << kCueSlotBits> kCueWords = makeCueWords();

constexpr bool eachWordHasASlot()
{
    std::size_t filled = 0;
    for (const CueWord& word : kCueWords)
        filled += word.length != 0 ? 1 : 0;
    return filled == std::size(kCueWordTexts);
}
static_assert(eachWordHasASlot(), "two cue words share a slot: choose another multiplier");

// The slot of the word the candidate at `at` may start; bytes past the end
// of `text` count as 0, which no word holds.
std::size_t wordSlotOf(std::string_view text, std::size_t at)
{
    char bytes[3] = {text[at], 0, 0};
    for (std::size_t i = 1; i < 3 && at + i < text.size(); ++i)
        bytes[i] = text[at + i];
    return cueSlotOf(keyOf(std::string_view(bytes, 3)));
}

// Whether `word` stands at `start`, which has sixteen readable bytes. For
// a free slot, never.
bool startsWordAt(const CueWord& word, const char* start)
{
    uint64_t head = 0;
    uint64_t tail = 0;
    std::memcpy(&head, start, 8);
    std::memcpy(&tail, start + 8, 8);
    return ((head & word.headMask) == word.head) & ((tail & word.tailMask) == word.tail);
}

// Whether `word` stands at `start` of `text`, byte by byte: near the ends
// of the text.
bool startsWordNearAnEnd(const CueWord& word, std::string_view text, std::size_t start)
{
    if (text.size() - start < word.length)
        return false;
    for (std::size_t i = 0; i < word.length; ++i) {
        const uint64_t mask = ((i < 8 ? word.headMask : word.tailMask) >> (8 * (i % 8))) & 0xff;
        const uint64_t byte = ((i < 8 ? word.head : word.tail) >> (8 * (i % 8))) & 0xff;
        if ((static_cast<uint8_t>(text[start + i]) & mask) != byte)
            return false;
    }
    return true;
}

// cuesAt(), inline for the scan, which asks it of every candidate.
// `inside`: the caller knows that `at` has two bytes before it and
// sixteen from it in the text.
template <bool inside = false> inline uint8_t cueWordAt(std::string_view text, std::size_t& at)
{
    if (text[at] == '[')
        return kCueBracket;
    // The words are held with their first byte lowest, as a little-endian
    // load reads them; the word at `at` and the two bytes before it are
    // read whole where the text has sixteen bytes from there.
    if (__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ && (inside || (at >= 2 && at + 16 <= text.size()))) {
        uint32_t key = 0;
        std::memcpy(&key, text.data() + at, 4);
        const CueWord& word = kCueWords[cueSlotOf(key & 0xffffff)];
        if (!startsWordAt(word, text.data() + at - word.before))
            return 0;
        at -= word.before;
        return word.cue;
    }
    const CueWord& word = kCueWords[wordSlotOf(text, at)];
    if (word.length == 0 || at < word.before || !startsWordNearAnEnd(word, text, at - word.before))
        return 0;
    at -= word.before;
    return word.cue;
}

// Marks the cues of the words starting in [from, to) of `text`, moving
// `line` on to the line that holds each position. Positions only grow, so
// the walk over the lines is done once over the whole text.
class CueMarker {
public:
    CueMarker(const TextLines& lines, std::string_view text, uint8_t families, LineCues& cues)
        : m_starts(lines.starts)
        , m_lineCount(lines.size())
        , m_text(text)
        , m_linkStarts(families & kCueLinkStart)
        , m_requirements(families & kCueRequirement)
        , m_cues(cues)
    {
    }

    // `inside` as for cueWordAt().
    template <bool inside> void markAt(std::size_t at)
    {
        // The cue goes to the line where its word starts.
        const uint8_t found = cueWordAt<inside>(m_text, at);
        mark(at, found);
    }

    // Notes `found` for the line that holds position `at`. Inline in the
    // scan's loop, which calls it for every cue.
    [[gnu::always_inline]] void mark(std::size_t at, uint8_t found)
    {
        if (found == 0)
            return;
        moveToLineOf(at);
        m_cues.families[m_line] |= found;
        // A word is of one family: a keyword or a word that starts a link.
        if ((found & m_requirements) != 0)
            noteStart(m_cues.keywordStarts, at);
        else if ((found & m_linkStarts) != 0)
            noteStart(m_cues.linkStarts, at);
    }

private:
    // Appends where the word at `at` starts. Written into its place field
    // by field: a start made aside is written in two parts and read back
    // whole, a read the processor stalls on until both are written.
    void noteStart(std::vector<WordStart>& starts, std::size_t at)
    {
        WordStart& start = starts.emplace_back();
        start.line = static_cast<uint32_t>(m_line);
        start.column = static_cast<uint16_t>(at - m_starts[m_line]);
    }

    // Moves on to the line that holds `position`. The lines start in
    // order, so the starts of the next four lines at or before it are
    // those it passes: counted at once, the usual step of a line or two
    // is taken without a loop whose end the processor mispredicts.
    // A long stretch without a cue (most of a page of prose) is crossed
    // eight lines a step first.
    void moveToLineOf(std::size_t at)
    {
        const LineOffset* const starts = m_starts;
        while (m_line + 8 < m_lineCount && starts[m_line + 8] <= at)
            m_line += 8;
        while (m_line + 4 < m_lineCount) {
            const std::size_t passed = static_cast<std::size_t>(starts[m_line + 1] <= at)
                + static_cast<std::size_t>(starts[m_line + 2] <= at)
                + static_cast<std::size_t>(starts[m_line + 3] <= at)
                + static_cast<std::size_t>(starts[m_line + 4] <= at);
            m_line += passed;
            if (passed < 4)
                return;
        }
        while (m_line + 1 < m_lineCount && starts[m_line + 1] <= at)
            ++m_line;
    }

    const LineOffset* const m_starts;
    const std::size_t m_lineCount;
    std::string_view m_text;
    const uint8_t m_linkStarts;
    const uint8_t m_requirements;
    LineCues& m_cues;
    std::size_t m_line = 0;
};

} // namespace

uint8_t cuesAt(std::string_view text, std::size_t& at)
{
    return cueWordAt(text, at);
}

LineCues findLineCues(const TextLines& lines, uint8_t families, CandidateFilter filter)
{
    LineCues cues;
    cues.families.assign(lines.size(), 0);
    if (lines.size() == 0)
        return cues;
    // The lines are views into one text, in order: scan that text whole,
    // line ends included, which no word holds.
    const std::string_view text(lines.text,
                                lines.starts[lines.size() - 1] + lines.line(lines.size() - 1).size());
    CueMarker marker(lines, text, families, cues);
    // An RFC has about one word that starts a link in 200 bytes.
    if ((families & kCueLinkStart) != 0)
        cues.linkStarts.reserve(text.size() / 128);
    // And about one keyword in a thousand bytes.
    if ((families & kCueRequirement) != 0)
        cues.keywordStarts.reserve(text.size() / 512);
    if (families == kCueBracket) {
        for (std::size_t at = text.find('['); at != std::string_view::npos; at = text.find('[', at + 1))
            marker.mark(at, kCueBracket);
        return cues;
    }
    // The candidates of one piece of the text at a time, so that their
    // positions stay few and in the cache. Each piece is read with one
    // block past it, so that its own last block is read as a whole block.
    constexpr std::size_t kPiece = 4096;
    // Not cleared first: only what findCandidates writes is read. Room for
    // a piece, or for the whole of a shorter text: the room of a piece
    // cost a short RFC more than its whole scan.
    const std::unique_ptr<uint32_t[]> candidates(
        new uint32_t[std::min(kPiece, text.size()) + kCandidatePadding]);
    for (std::size_t piece = 0; piece < text.size(); piece += kPiece) {
        const std::size_t count = findCandidates(
            text.substr(piece, kPiece + 32), std::min(kPiece, text.size() - piece), filter, candidates.get());
        // Nearly every piece lies where each of its candidates has the
        // bytes around it that a word is read with.
        if (piece >= 2 && piece + kPiece + 16 <= text.size()) {
            for (std::size_t c = 0; c < count; ++c)
                marker.markAt<true>(piece + candidates[c]);
        } else {
            for (std::size_t c = 0; c < count; ++c)
                marker.markAt<false>(piece + candidates[c]);
        }
    }
    if (families != kCueAll) {
        for (uint8_t& cue : cues.families)
            cue &= families;
    }
    return cues;
}

} // namespace parchly
