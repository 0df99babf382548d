#include "download/progress_texts.h"

#include <cstdio>

namespace parchly {

std::string formatByteCount(uint32_t count)
{
    char text[32];
    if (count >= 1000000)
        std::snprintf(text, sizeof text, "%u,%03u,%03u", count / 1000000, count % 1000000 / 1000,
                      count % 1000);
    else if (count >= 1000)
        std::snprintf(text, sizeof text, "%u,%03u", count / 1000, count % 1000);
    else
        std::snprintf(text, sizeof text, "%u", count);
    return text;
}

std::string formatSpeed(uint32_t bytesPerSecond)
{
    char text[32];
    if (bytesPerSecond >= 1000000)
        std::snprintf(text, sizeof text, "%.1f MB/s", bytesPerSecond / 1e6);
    else if (bytesPerSecond >= 1000)
        std::snprintf(text, sizeof text, "%.1f kB/s", bytesPerSecond / 1e3);
    else
        std::snprintf(text, sizeof text, "%u B/s", bytesPerSecond);
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
