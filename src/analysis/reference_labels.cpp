#include "analysis/reference_labels.h"

namespace parchly {

namespace {

// FNV-1a: labels are a few bytes, and differ mostly in their last ones.
std::size_t hashOf(std::string_view label)
{
    uint64_t hash = 14695981039346656037ULL;
    for (const char c : label)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    return static_cast<std::size_t>(hash ^ (hash >> 32));
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
