// The contents entries a heading may match, found by the opening bytes of
// their section numbers.
#ifndef PARCHLY_ANALYSIS_ENTRIES_BY_NUMBER_H
#define PARCHLY_ANALYSIS_ENTRIES_BY_NUMBER_H

#include "analysis/ascii.h"
#include "analysis/rfc_text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace parchly {

// The opening bytes of each contents entry's number, lowered, side by
// side: a heading is tried only against the entries whose number may open
// it (a number longer than eight bytes is told by its first eight), and
// those without a number, which any heading may match. A body has many
// unindented paragraphs that match no entry (headings deeper than the
// contents among them), each tried against every entry after the expected
// one: in long contents (RFC 5661 has 219 entries) that made the dearest
// part of reading the body. The next few entries are read one by one, as
// a heading nearly always matches one of them; past those, the entries are
// looked up by their openings, so that a body of many headings the
// contents leave out costs no more per heading than one of a few.
class EntriesByNumber {
public:
    // The first `count` entries, or all.
    explicit EntriesByNumber(const std::vector<ContentEntry>& entries, std::size_t count = SIZE_MAX);

    // The entries from `first` on whose number may open the heading
    // `lower` (in lower case), in their order: `visit(i)` is called for
    // each until it returns true; that entry's index, or -1.
    template <typename Visit> int32_t find(std::string_view lower, std::size_t first, Visit visit)
    {
        const uint64_t opening = packed(lower);
        const std::size_t near = std::min(m_openings.size(), first + kNear);
        for (std::size_t i = first; i < near; ++i) {
            if ((opening & m_openings[i].mask) == m_openings[i].bytes && visit(i))
                return static_cast<int32_t>(i);
        }
        if (near == m_openings.size())
            return -1;
        Cursors cursors;
        for (std::size_t length = 0; length <= kOpening; ++length) {
            if ((m_lengths >> length & 1) != 0)
                addCursor(cursors, opening & maskOf(length), maskOf(length), near);
        }
        return visitInOrder(cursors, m_openings.size(), visit);
    }

    // The entries in [first, last) whose number has the opening of
    // `number` (in any case), in their order, visited as by find(): each
    // whose number is `number` among them.
    template <typename Visit>
    int32_t findNumber(std::string_view number, std::size_t first, std::size_t last, Visit visit)
    {
        const uint64_t mask = maskOf(std::min(number.size(), kOpening));
        const uint64_t bytes = lowerAsciiEight(packed(number)) & mask;
        last = std::min(last, m_openings.size());
        const std::size_t near = std::min(last, first + kNear);
        for (std::size_t i = first; i < near; ++i) {
            if (m_openings[i].mask == mask && m_openings[i].bytes == bytes && visit(i))
                return static_cast<int32_t>(i);
        }
        if (near >= last)
            return -1;
        Cursors cursors;
        addCursor(cursors, bytes, mask, near);
        return visitInOrder(cursors, last, visit);
    }

private:
    static constexpr std::size_t kOpening = sizeof(uint64_t);
    // Entries read one by one after the expected one.
    static constexpr std::size_t kNear = 64;

    struct Opening {
        uint64_t bytes;
        // Set over the bytes the number has, up to eight.
        uint64_t mask;
    };
    // The run of `m_byOpening` of one opening.
    struct Run {
        uint64_t bytes = 0;
        uint64_t mask = 0;
        uint32_t begin = 0;
        uint32_t end = 0; // 0 in a free slot
    };
    // Entries of one opening, in their order.
    struct Cursor {
        const uint32_t* at;
        const uint32_t* end;
    };
    struct Cursors {
        Cursor runs[kOpening + 1];
        std::size_t count = 0;
    };

    // Set over the first `length` bytes of a packed() opening.
    static uint64_t maskOf(std::size_t length)
    {
        return length == kOpening ? ~uint64_t{0} : (uint64_t{1} << (8 * length)) - 1;
    }

    // The first eight bytes of `text`, the first lowest, zeros after a
    // shorter one: a copy of a length known only at run time would call
    // memcpy.
    static uint64_t packed(std::string_view text)
    {
        uint64_t bytes = 0;
        if (text.size() >= kOpening) {
            std::memcpy(&bytes, text.data(), kOpening);
            if constexpr (__BYTE_ORDER__ == __ORDER_BIG_ENDIAN__)
                bytes = __builtin_bswap64(bytes);
            return bytes;
        }
        return leadingEight(text);
    }

    // Puts the entries in runs by their openings, and makes the table of
    // the runs.
    void makeRuns();
    // The slot of the run of an opening, or the free slot where it would go.
    std::size_t slotOf(uint64_t bytes, uint64_t mask) const;

    // Adds the run of entries from `from` on with the opening `bytes`
    // under `mask`, if there is one.
    void addCursor(Cursors& cursors, uint64_t bytes, uint64_t mask, std::size_t from);

    // Calls `visit` on the entries of the runs before `last`, lowest index
    // first, until it returns true.
    template <typename Visit> static int32_t visitInOrder(Cursors& cursors, std::size_t last, Visit visit)
    {
        for (;;) {
            Cursor* lowest = nullptr;
            for (std::size_t k = 0; k < cursors.count; ++k) {
                Cursor& run = cursors.runs[k];
                if (run.at != run.end && (lowest == nullptr || *run.at < *lowest->at))
                    lowest = &run;
            }
            if (lowest == nullptr || *lowest->at >= last)
                return -1;
            const std::size_t i = *lowest->at;
            ++lowest->at;
            if (visit(i))
                return static_cast<int32_t>(i);
        }
    }

    std::vector<Opening> m_openings;
    // Bit n set when some entry's opening has n bytes.
    uint32_t m_lengths = 0;
    // Made at the first search that reaches past the next few entries: the
    // entries' indices by opening, and an open-addressed table of the runs
    // of each opening, a power of two in size.
    std::vector<uint32_t> m_byOpening;
    std::vector<Run> m_runs;
};

} // namespace parchly

#endif
