#include "index/index_groups.h"

#include "analysis/utf8.h"

#include <algorithm>
#include <cstdio>

namespace parchly {

namespace {

constexpr std::size_t kMaxTitleInLabel = 256;

} // namespace

std::vector<int32_t> usableLevelCounts(const std::vector<int32_t>& counts)
{
    std::vector<int32_t> usable;
    for (int32_t count : counts) {
        if (count < 1)
            break;
        usable.push_back(count);
    }
    return usable;
}

std::vector<IndexGroupRange> indexGroupPath(int32_t number, const std::vector<int32_t>& counts)
{
    std::vector<IndexGroupRange> path;
    if (number < 1)
        return path;
    // 64-bit arithmetic: a count near the int32 limit must not overflow the
    // range ends of the last groups.
    int64_t start = 1;
    for (int32_t count : usableLevelCounts(counts)) {
        const int64_t k = (number - start) / count;
        const int64_t first = start + k * count;
        const int64_t last = first + count - 1;
        path.push_back(
            {static_cast<int32_t>(first), static_cast<int32_t>(last > INT32_MAX ? INT32_MAX : last)});
        start = first;
    }
    return path;
}

std::string indexGroupLabel(const IndexGroupRange& range)
{
    return std::to_string(range.first) + " - " + std::to_string(range.last);
}

std::string indexEntryLabel(int32_t number, const std::string& title)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d", static_cast<int>(number));
    // A UTF-8 character is kept whole or left out, never cut in two.
    const std::size_t cut = utf8CutLength(title, kMaxTitleInLabel);
    return std::string(digits) + ": " + title.substr(0, cut);
}

} // namespace parchly
