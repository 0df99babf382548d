// Section numbers ("3.2", "B.1", "10.10.10") mapped to what a pass looks
// up by them: filled once, sorted once, then asked once for each number met
// in the text. A number of up to seven bytes (nearly all) is held as one
// integer, its bytes and its length, so that sorting and looking up compare
// integers rather than strings.
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
    // Room for `count` numbers, of which nearly all are short.
    void reserve(std::size_t count) { m_short.reserve(count); }

    // Of numbers added twice, the first added is the one found.
    void add(std::string_view number, Value value)
    {
        const auto order = static_cast<uint32_t>(m_short.size() + m_long.size());
        if (number.size() <= kShortNumber)
            m_short.push_back({key(number), order, value});
        else
            m_long.push_back({number, order, value});
    }

    // Must come after the last add and before the first find.
    void seal()
    {
        // By number, then in the order added: no stable sort, which would
        // take a buffer of its own.
        const auto byNumber = [](const auto& a, const auto& b) {
            return a.key != b.key ? a.key < b.key : a.order < b.order;
        };
        std::sort(m_short.begin(), m_short.end(), byNumber);
        std::sort(m_long.begin(), m_long.end(), byNumber);
    }

    // The value of `number`, or null.
    const Value* find(std::string_view number) const
    {
        return number.size() <= kShortNumber ? findIn(m_short, key(number)) : findIn(m_long, number);
    }

private:
    static constexpr std::size_t kShortNumber = 7;

    static uint64_t key(std::string_view number)
    {
        uint64_t bytes = 0;
        if (!number.empty())
            std::memcpy(&bytes, number.data(), number.size());
        return bytes | static_cast<uint64_t>(number.size()) << 56;
    }

    template <typename Key> struct Entry {
        Key key;
        uint32_t order;
        Value value;
    };

    template <typename Key> static const Value* findIn(const std::vector<Entry<Key>>& entries, Key wanted)
    {
        const auto found = std::lower_bound(entries.begin(), entries.end(), wanted,
                                            [](const Entry<Key>& e, Key k) { return e.key < k; });
        return found != entries.end() && found->key == wanted ? &found->value : nullptr;
    }

    std::vector<Entry<uint64_t>> m_short;
    std::vector<Entry<std::string_view>> m_long;
};

} // namespace parchly

#endif
