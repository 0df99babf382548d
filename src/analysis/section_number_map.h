// Section numbers ("3.2", "B.1", "10.10.10") mapped to what a pass looks
// up by them: filled once, then asked once for each number met in the
// text. A hash table rather than a sorted list: a document names a few
// hundred sections and sorting them cost more than every look-up after.
// The first seven bytes of a number and its length are held as one
// integer, so that hashing and comparing a number (nearly all are that
// short) is an integer's work rather than a string's.
#ifndef PARCHLY_ANALYSIS_SECTION_NUMBER_MAP_H
#define PARCHLY_ANALYSIS_SECTION_NUMBER_MAP_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace parchly {

template <typename Value> class SectionNumberMap {
public:
    // Room for `count` numbers without growing.
    void reserve(std::size_t count)
    {
        if (2 * count > m_slots.size())
            rehash(2 * count);
    }

    // Of numbers added twice, the first added is the one found: true when
    // `number` was new. The map holds a view of `number`, which must stay
    // valid while the map is used.
    bool add(std::string_view number, Value value)
    {
        // At most half full, so that a search ends at a free slot soon.
        if (2 * (m_count + 1) > m_slots.size())
            rehash(2 * (m_count + 1));
        const uint64_t wanted = key(number);
        Slot& slot = m_slots[slotOf(wanted, number)];
        if (slot.used)
            return false;
        slot = {wanted, number.data(), number.size(), value, true};
        ++m_count;
        return true;
    }

    // The value of `number`, or null.
    const Value* find(std::string_view number) const
    {
        if (m_count == 0)
            return nullptr;
        const Slot& slot = m_slots[slotOf(key(number), number)];
        return slot.used ? &slot.value : nullptr;
    }

private:
    static constexpr std::size_t kKeyBytes = 7;

    // Plain bytes with no initializers of their own: a table of free slots
    // is made as one run of zeroes, not slot by slot.
    struct Slot {
        uint64_t key;
        const char* numberBytes;
        std::size_t numberSize;
        Value value;
        bool used;

        std::string_view number() const { return std::string_view(numberBytes, numberSize); }
    };

    // The number's first seven bytes and its length (up to 255): the whole
    // number when it is that short. Read as two loads that overlap (or
    // three bytes under four), not a copy of a length known only here,
    // which is a call to memcpy.
    static uint64_t key(std::string_view number)
    {
        const std::size_t kept = std::min(number.size(), kKeyBytes);
        const auto byteAt = [&](std::size_t i) {
            return static_cast<uint64_t>(static_cast<uint8_t>(number[i]));
        };
        uint64_t bytes = 0;
        if (kept >= 4) {
            const uint64_t low = fourBytesAt(number.data());
            const uint64_t high = fourBytesAt(number.data() + kept - 4);
            bytes = low | high << (8 * (kept - 4));
        } else if (kept > 0) {
            bytes = byteAt(0) | byteAt(kept / 2) << (8 * (kept / 2)) | byteAt(kept - 1) << (8 * (kept - 1));
        }
        return bytes | static_cast<uint64_t>(std::min<std::size_t>(number.size(), 0xff)) << 56;
    }

    // Four bytes, the first lowest, as a little-endian load reads them.
    static uint32_t fourBytesAt(const char* bytes)
    {
        uint32_t value = 0;
        std::memcpy(&value, bytes, 4);
        if constexpr (__BYTE_ORDER__ == __ORDER_BIG_ENDIAN__)
            value = __builtin_bswap32(value);
        return value;
    }

    static bool sameNumber(const Slot& slot, uint64_t wanted, std::string_view number)
    {
        return slot.key == wanted && (number.size() <= kKeyBytes || slot.number() == number);
    }

    // The slot that holds `number`, or the free slot where it would go.
    std::size_t slotOf(uint64_t wanted, std::string_view number) const
    {
        // The top bits of the product, which every byte of the key moves.
        const std::size_t mask = m_slots.size() - 1;
        std::size_t at = static_cast<std::size_t>((wanted * 0x9E3779B97F4A7C15ULL) >> m_shift);
        while (m_slots[at].used && !sameNumber(m_slots[at], wanted, number))
            at = (at + 1) & mask;
        return at;
    }

    void rehash(std::size_t atLeast)
    {
        std::size_t size = 16;
        m_shift = 64 - 4;
        while (size < atLeast) {
            size *= 2;
            --m_shift;
        }
        std::vector<Slot> old(size);
        old.swap(m_slots);
        for (const Slot& slot : old) {
            if (slot.used)
                m_slots[slotOf(slot.key, slot.number())] = slot;
        }
    }

    std::vector<Slot> m_slots;
    std::size_t m_count = 0;
    // 64 less the bits of a slot's index.
    unsigned m_shift = 64;
};

} // namespace parchly

#endif
