#include "analysis/reference_labels.h"

#include "analysis/ascii.h"
#include "analysis/line_bytes.h"

#include <cstring>

namespace parchly {

namespace {

uint64_t loadWord(const char* bytes)
{
    uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

uint32_t loadHalf(const char* bytes)
{
    uint32_t half = 0;
    std::memcpy(&half, bytes, sizeof half);
    return half;
}

// The bit of m_sizes for a label of `size` bytes.
uint64_t sizeBit(std::size_t size)
{
    return uint64_t{1} << (size < 63 ? size : 63);
}

} // namespace

// Inline: a lookup is little more than these two.
[[gnu::always_inline]] inline ReferenceLabels::Key ReferenceLabels::keyOf(std::string_view label)
{
    // Every load lies within the label: a label shorter than eight bytes
    // is read as two halves that overlap, or byte by byte below four.
    Key key;
    const std::size_t size = label.size();
    const char* const bytes = label.data();
    key.size = size;
    if (size >= 8) {
        key.first = loadWord(bytes);
        key.last = loadWord(bytes + size - 8);
    } else if (size >= 4) {
        key.first = loadHalf(bytes) | uint64_t{loadHalf(bytes + size - 4)} << 32;
    } else {
        key.first = leadingEight(label);
    }
    return key;
}

[[gnu::always_inline]] inline std::size_t ReferenceLabels::foldedBitOf(const Key& key)
{
    // Bit 5 set in every byte makes every capital small, and some other
    // bytes alike ("@" and "`"): a few more labels share a bit, and a
    // label and its citation in another case always do.
    constexpr uint64_t kSmall = 0x2020202020202020ULL;
    const uint64_t hash = ((key.first | kSmall) + key.size) * 0x9E3779B97F4A7C15ULL ^ (key.last | kSmall);
    return static_cast<std::size_t>((hash * 0xC2B2AE3D27D4EB4FULL) >> (64 - 10));
}

ReferenceLabels::ReferenceLabels(const std::vector<ReferenceEntry>& references)
    : m_references(&references)
{
    // Without references (most of the oldest RFCs) no size bit is set, and
    // no lookup reaches the table: it is not made.
    if (references.empty())
        return;
    // At most half full, so that a search ends at a free slot soon.
    std::size_t size = 8;
    while (size < 2 * references.size())
        size *= 2;
    m_slots.assign(size, Slot());
    m_mask = size - 1;
    for (std::size_t r = 0; r < references.size(); ++r) {
        std::string_view label = references[r].label;
        if (label.size() < 2 || label.front() != '[' || label.back() != ']')
            continue;
        label = label.substr(1, label.size() - 2);
        if (label.empty()) {
            if (m_emptyInside < 0)
                m_emptyInside = static_cast<int32_t>(r);
            continue;
        }
        const Key labelKey = keyOf(label);
        Slot& slot = m_slots[slotOf(labelKey, label.data())];
        if (slot.reference < 0)
            slot = Slot{labelKey, label.data(), static_cast<int32_t>(r)};
        m_sizes |= sizeBit(label.size());
        const std::size_t foldedBit = foldedBitOf(labelKey);
        m_foldedKeys[foldedBit / 64] |= uint64_t{1} << (foldedBit % 64);
    }
}

[[gnu::always_inline]] inline std::size_t ReferenceLabels::slotOf(const Key& key, const char* bytes) const
{
    // Labels are a few bytes and differ mostly in their last ones: the two
    // words of the key are mixed with the size.
    uint64_t hash = key.first * 0x9E3779B97F4A7C15ULL ^ (key.last + key.size) * 0xC2B2AE3D27D4EB4FULL;
    hash ^= hash >> 31;
    hash *= 0x165667B19E3779F9ULL;
    std::size_t slot = static_cast<std::size_t>(hash ^ (hash >> 29)) & m_mask;
    for (;; slot = (slot + 1) & m_mask) {
        const Slot& held = m_slots[slot];
        if (held.reference < 0)
            return slot;
        // The words hold all of a label up to sixteen bytes; a longer one
        // is compared between them too.
        if (held.key.size == key.size && held.key.first == key.first && held.key.last == key.last
            && (key.size <= 16 || std::memcmp(held.bytes + 8, bytes + 8, key.size - 16) == 0))
            return slot;
    }
}

// Inline: find() is this; findRfcSpelledOtherwise() its own copy without
// looking again.
[[gnu::always_inline]] inline int32_t ReferenceLabels::findAsPrinted(std::string_view inside,
                                                                     bool respell) const
{
    // An RFC's number is looked for again only where no label is found,
    // most brackets naming none; the others pass on their first byte.
    const auto respelled = [&] {
        return respell && inside.size() >= 4 && inside[0] == 'R' ? findRfcSpelledOtherwise(inside) : -1;
    };
    if (inside.empty())
        return m_emptyInside;
    if ((m_sizes & sizeBit(inside.size())) == 0)
        return respelled();
    const Key key = keyOf(inside);
    const int32_t exact = m_slots[slotOf(key, inside.data())].reference;
    if (exact >= 0)
        return exact;
    const std::size_t foldedBit = foldedBitOf(key);
    if ((m_foldedKeys[foldedBit / 64] & uint64_t{1} << (foldedBit % 64)) == 0)
        return respelled();
    const int32_t folded = findIgnoringCase(inside);
    return folded >= 0 ? folded : respelled();
}

int32_t ReferenceLabels::find(std::string_view inside) const
{
    return findAsPrinted(inside, true);
}

int32_t ReferenceLabels::findRfcSpelledOtherwise(std::string_view inside) const
{
    // "RFC", at most one blank or hyphen, and the number: the longest
    // number of the series has five digits.
    if (inside[1] != 'F' || inside[2] != 'C')
        return -1;
    const bool separated = inside[3] == ' ' || inside[3] == '-';
    const std::string_view number = inside.substr(separated ? 4 : 3);
    if (number.empty() || number.size() > 5 || number[0] == '0')
        return -1;
    for (const char c : number) {
        if (!isDigit(c))
            return -1;
    }
    char spelled[10] = {'R', 'F', 'C', ' '};
    const auto spelledWith = [&](std::size_t numberAt) {
        std::memcpy(spelled + numberAt, number.data(), number.size());
        return findAsPrinted(std::string_view(spelled, numberAt + number.size()), false);
    };
    if (separated)
        return spelledWith(3);
    const int32_t withBlank = spelledWith(4);
    if (withBlank >= 0)
        return withBlank;
    spelled[3] = '-';
    return spelledWith(4);
}

int32_t ReferenceLabels::findIgnoringCase(std::string_view inside) const
{
    int32_t found = -1;
    std::string_view foundLabel;
    for (std::size_t r = 0; r < m_references->size(); ++r) {
        const std::string_view label = (*m_references)[r].label;
        if (label.size() != inside.size() + 2 || label.front() != '['
            || !equalIgnoringAsciiCase(label.substr(1, inside.size()), inside) || label.back() != ']')
            continue;
        if (found < 0) {
            found = static_cast<int32_t>(r);
            foundLabel = label;
        } else if (label != foundLabel) {
            return -1; // two labels differ from the citation only in case
        }
    }
    return found;
}

} // namespace parchly
