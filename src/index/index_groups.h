// The number ranges of the Index tree: RFC numbers grouped level by level
// into ranges of consecutive numbers whose sizes are the configured level
// counts (500 and 50 by default).
#ifndef PARCHLY_INDEX_INDEX_GROUPS_H
#define PARCHLY_INDEX_INDEX_GROUPS_H

#include <cstdint>
#include <string>
#include <vector>

namespace parchly {

struct IndexGroupRange {
    int32_t first = 0;
    int32_t last = 0;

    bool contains(int32_t number) const { return first <= number && number <= last; }
    bool operator==(const IndexGroupRange& other) const { return first == other.first && last == other.last; }
};

// The counts that can form groups: the list up to its first count below 1.
std::vector<int32_t> usableLevelCounts(const std::vector<int32_t>& counts);

// The groups, one per level, that hold `number`: at level 0 the range
// (k * c0 + 1) to (k + 1) * c0 with k = (number - 1) / c0; inside a group
// starting at s, the ranges of the next level start at s and cover its
// count. Empty when `counts` has no usable count or `number` is below 1.
std::vector<IndexGroupRange> indexGroupPath(int32_t number, const std::vector<int32_t>& counts);

// "%d - %d" with the range's first and last number.
std::string indexGroupLabel(const IndexGroupRange& range);

// "%04d: %.256s" with the entry's number and title (a UTF-8 character
// that the cut at 256 bytes would split is left out whole).
std::string indexEntryLabel(int32_t number, const std::string& title);

} // namespace parchly

#endif
