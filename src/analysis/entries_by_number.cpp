#include "analysis/entries_by_number.h"

namespace parchly {

EntriesByNumber::EntriesByNumber(const std::vector<ContentEntry>& entries, std::size_t count)
{
    count = std::min(count, entries.size());
    m_openings.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const ContentEntry& entry = entries[i];
        const std::size_t length = std::min(entry.number.size(), kOpening);
        const uint64_t mask = maskOf(length);
        m_openings.push_back(Opening{lowerAsciiEight(packed(entry.number)) & mask, mask});
        m_lengths |= 1u << length;
    }
}

std::size_t EntriesByNumber::slotOf(uint64_t bytes, uint64_t mask) const
{
    constexpr uint64_t kSpread = 0x9e3779b97f4a7c15ULL;
    const std::size_t last = m_runs.size() - 1;
    std::size_t slot = static_cast<std::size_t>(((bytes ^ (mask >> 3)) * kSpread) >> 32) & last;
    while (m_runs[slot].end != 0 && (m_runs[slot].bytes != bytes || m_runs[slot].mask != mask))
        slot = (slot + 1) & last;
    return slot;
}

void EntriesByNumber::makeRuns()
{
    // At most half the slots taken; the runs are counted, laid out one
    // after another, then filled in the order of the entries.
    std::size_t slots = 2;
    while (slots < 2 * m_openings.size())
        slots *= 2;
    m_runs.assign(slots, Run());
    std::vector<uint32_t> slotOfEntry(m_openings.size());
    for (std::size_t i = 0; i < m_openings.size(); ++i) {
        const std::size_t slot = slotOf(m_openings[i].bytes, m_openings[i].mask);
        Run& run = m_runs[slot];
        run.bytes = m_openings[i].bytes;
        run.mask = m_openings[i].mask;
        ++run.end; // the count for now
        slotOfEntry[i] = static_cast<uint32_t>(slot);
    }
    uint32_t laid = 0;
    for (Run& run : m_runs) {
        if (run.end == 0)
            continue; // a free slot stays free
        const uint32_t count = run.end;
        run.begin = laid;
        run.end = laid;
        laid += count;
    }
    m_byOpening.resize(m_openings.size());
    for (std::size_t i = 0; i < m_openings.size(); ++i)
        m_byOpening[m_runs[slotOfEntry[i]].end++] = static_cast<uint32_t>(i);
}

void EntriesByNumber::addCursor(Cursors& cursors, uint64_t bytes, uint64_t mask, std::size_t from)
{
    if (m_runs.empty())
        makeRuns();
    const Run& run = m_runs[slotOf(bytes, mask)];
    const uint32_t* const begin = m_byOpening.data();
    const uint32_t* const end = begin + run.end;
    const uint32_t* const first = std::lower_bound(begin + run.begin, end, static_cast<uint32_t>(from));
    if (first != end)
        cursors.runs[cursors.count++] = Cursor{first, end};
}

} // namespace parchly
