#include "analysis/reference_labels.h"

#include <cstring>

namespace parchly {

namespace {

// Labels are a few bytes and differ mostly in their last ones: the first
// eight bytes and the last eight (all of a label up to sixteen) are mixed a
// word at a time with the length, rather than byte by byte. Longer labels
// that agree there are told apart by the comparison of the slot.
std::size_t hashOf(std::string_view label)
{
    const std::size_t size = label.size();
    uint64_t first = 0;
    uint64_t last = 0;
    if (size >= 8) {
        std::memcpy(&first, label.data(), 8);
        std::memcpy(&last, label.data() + size - 8, 8);
    } else {
        std::memcpy(&first, label.data(), size);
    }
    uint64_t hash = first * 0x9E3779B97F4A7C15ULL ^ (last + size) * 0xC2B2AE3D27D4EB4FULL;
    hash ^= hash >> 31;
    hash *= 0x165667B19E3779F9ULL;
    return static_cast<std::size_t>(hash ^ (hash >> 29));
}

} // namespace

ReferenceLabels::ReferenceLabels(const std::vector<ReferenceEntry>& references, LabelKey key)
{
    // At most half full, so that a search ends at a free slot soon.
    std::size_t size = 8;
    while (size < 2 * references.size())
        size *= 2;
    m_slots.assign(size, {std::string_view(), -1});
    m_mask = size - 1;
    for (std::size_t r = 0; r < references.size(); ++r) {
        std::string_view label = references[r].label;
        if (key == LabelKey::InsideBrackets) {
            if (label.size() < 2 || label.front() != '[' || label.back() != ']')
                continue;
            label = label.substr(1, label.size() - 2);
            if (label.empty() && m_emptyInside < 0)
                m_emptyInside = static_cast<int32_t>(r);
        }
        if (label.empty())
            continue;
        auto& slot = m_slots[slotOf(label)];
        if (slot.first.empty())
            slot = {label, static_cast<int32_t>(r)};
    }
}

std::size_t ReferenceLabels::slotOf(std::string_view label) const
{
    std::size_t slot = hashOf(label) & m_mask;
    while (!m_slots[slot].first.empty() && m_slots[slot].first != label)
        slot = (slot + 1) & m_mask;
    return slot;
}

int32_t ReferenceLabels::find(std::string_view label) const
{
    if (label.empty())
        return m_emptyInside;
    return m_slots[slotOf(label)].second;
}

} // namespace parchly
