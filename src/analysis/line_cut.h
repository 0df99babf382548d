// Cuts a text into the lines that a 1,024-byte buffer reads, and finds
// what each line is as it goes: one pass over the bytes, sixty-four at a
// time.
#ifndef PARCHLY_ANALYSIS_LINE_CUT_H
#define PARCHLY_ANALYSIS_LINE_CUT_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace parchly {

// A line holds at most this many bytes with its terminator, so a longer
// line arrives in pieces of kLineBufferSize - 1 bytes, each read as a line.
constexpr std::size_t kLineBufferSize = 1024;

// What the passes ask of nearly every line, found once as the text is cut:
// where its words start and where its text ends, and whether it is blank or
// holds a page break. Columns fit in 16 bits, a line holding at most
// kLineBufferSize bytes.
struct LineFacts {
    // The first byte that is no space or tab (the line's size when none).
    uint16_t indent;
    // Where the words start after the indentation and a form feed opening
    // the line with the blanks after it: a form feed between pages is no
    // text.
    uint16_t rest;
    // The line's size without its line end (every CR and LF at its end).
    uint16_t textEnd;
    uint8_t flags;

    // Nothing but spaces and tabs before a line end or the end of the line.
    static constexpr uint8_t kBlank = 1;
    // Nothing but spaces and tabs from `rest` on, as above.
    static constexpr uint8_t kBlankAfterRest = 2;
    // A form feed is the first byte after the indentation.
    static constexpr uint8_t kOpensWithFeed = 4;
    // A form feed stands anywhere in the line.
    static constexpr uint8_t kHoldsFeed = 8;
    // Opened by a form feed, then only form feeds and blanks up to the
    // line end: the line between two pages.
    static constexpr uint8_t kOnlyFeeds = 16;

    bool has(uint8_t flag) const { return (flags & flag) != 0; }
};

// How many bytes the cut looks at in one step. Every width cuts alike; the
// widest the processor runs is chosen when the program runs.
enum class CutWidth { Bytes, Sse2, Avx2 };

// Whether this build, on this processor, can cut with `width` (Avx2 asks
// for BMI too).
bool canCutWith(CutWidth width);
// The widest width canCutWith() allows.
CutWidth widestCutWidth();

// Where a line starts in its text: four bytes, which halves the table of a
// long RFC against a size_t. A text the program reads is at most
// kTextFileSizeLimit bytes, far below the largest offset.
using LineOffset = uint32_t;

// The most bytes of a text that are cut into lines: what lies beyond has
// no offset.
constexpr std::size_t kLongestCutText = UINT32_MAX;

// The lines of a text: where each starts, then where the last ends (its
// line end included), so that line i runs from starts[i] to starts[i + 1];
// what each is; the lines holding a form feed; and its brackets. The arrays hold `total`
// entries (`starts` one more), with room for more.
struct LineCut {
    std::unique_ptr<LineOffset[]> starts;
    std::unique_ptr<LineFacts[]> facts;
    std::size_t total = 0;
    std::vector<std::size_t> feedLines;
    // Where each "[" stands, in order: the passes that look for citations
    // and "[Page n]" read these rather than search the text again.
    std::vector<LineOffset> brackets;
    // Whether a CR stands anywhere in the text: nearly every text holds
    // none, and then none of it is looked at again for a CR LF pair.
    bool holdsCr = false;
};

// Cuts the `size` bytes at `text` as they stand: each line ends after its
// LF, or after kLineBufferSize - 1 bytes when it is longer, the rest being
// the next line. `size` is at most kLongestCutText.
LineCut cutIntoLines(const char* text, std::size_t size, CutWidth width);

} // namespace parchly

#endif
