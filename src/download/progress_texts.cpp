#include "download/progress_texts.h"

#include <cstdio>

namespace parchly {

std::string formatByteCount(uint64_t count)
{
    // Groups of three digits from the right, as many as the number needs
    // (a whole collection passes 4 GB).
    std::string digits = std::to_string(count);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}

std::string formatSpeed(uint64_t bytesPerSecond)
{
    char text[32];
    if (bytesPerSecond >= 1000000)
        std::snprintf(text, sizeof text, "%.1f MB/s", bytesPerSecond / 1e6);
    else if (bytesPerSecond >= 1000)
        std::snprintf(text, sizeof text, "%.1f kB/s", bytesPerSecond / 1e3);
    else
        std::snprintf(text, sizeof text, "%llu B/s", static_cast<unsigned long long>(bytesPerSecond));
    return text;
}

std::string formatDuration(int64_t seconds)
{
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

} // namespace parchly
