// The words the link and requirement passes start from, noted for every
// line in one scan of the whole text: most lines of an RFC hold none of
// them, and a pass then looks only at the lines that do.
#ifndef PARCHLY_ANALYSIS_LINE_CUES_H
#define PARCHLY_ANALYSIS_LINE_CUES_H

#include "analysis/cue_candidates.h"
#include "analysis/text_lines.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace parchly {

// One bit per family of words; a line's cues are the families of the words
// that start on it.
constexpr uint8_t kCueBracket = 1 << 0; // "[": a citation
constexpr uint8_t kCueRfc = 1 << 1; // "RFC"
constexpr uint8_t kCueSeries = 1 << 2; // "BCP", "STD", "FYI"
// "Section", "section", "SECTION" and their plurals.
constexpr uint8_t kCueSection = 1 << 3;
// The forms of "Appendix" and "Appendices".
constexpr uint8_t kCueAppendix = 1 << 4;
// "MUST", "MAY", "SHALL", "SHOULD", "REQUIRED", "RECOMMENDED", "OPTIONAL":
// the requirement keywords of RFC 2119 and RFC 8174.
constexpr uint8_t kCueRequirement = 1 << 5;

// The words a link phrase can start with.
constexpr uint8_t kCueLinkStart = kCueBracket | kCueRfc | kCueSeries | kCueSection | kCueAppendix;

// Every family, for a caller that wants links and requirements alike.
constexpr uint8_t kCueAll = kCueLinkStart | kCueRequirement;

// Where a word of a family starts: its line and the byte of that line.
struct WordStart {
    uint32_t line = 0;
    uint16_t column = 0;
};

// What the scan notes of each line, indexed as the lines are.
struct LineCues {
    // The families of the words that start on the line.
    std::vector<uint8_t> families;
    // Every word of kCueLinkStart (of those asked for), in text order. The
    // link pass reads a line only from these words on and only as far as
    // their phrases run; it makes room for about half as many links.
    std::vector<WordStart> linkStarts;
    // Every word of kCueRequirement (if asked for), in text order: the
    // requirement pass reads a keyword only where one of these starts, and
    // makes room for about as many requirements once.
    std::vector<WordStart> keywordStarts;
};

// The cues of every line of `lines`. A word counts for the line it starts
// on, also where it runs on into the next piece of a line longer than the
// line buffer. Only the `families` asked for are noted: the brackets alone,
// which counting citations needs, are found at a fraction of the cost of
// all the words. Every `filter` gives the same cues.
LineCues findLineCues(const TextLines& lines, uint8_t families = kCueAll,
                      CandidateFilter filter = bestCandidateFilter());

// The cues of the word found at `at` of `text` (which must be within it),
// `at` moved back to where that word starts: "Section" is found from its
// "ction", "Appendix" from its "ppendi". What findLineCues notes there.
uint8_t cuesAt(std::string_view text, std::size_t& at);

// The lists of links and requirements are reserved from the count of the
// words that may start one (linkStarts, keywordStarts); where far
// fewer came (a grammar full of brackets), the room left over is given
// back, since the record lives as long as its window.
template <typename Entry> void releaseUnusedRoom(std::vector<Entry>& entries)
{
    if (entries.capacity() > 2 * entries.size())
        entries.shrink_to_fit();
}

} // namespace parchly

#endif
