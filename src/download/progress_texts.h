// The number and time texts of the Download dialog.
#ifndef PARCHLY_DOWNLOAD_PROGRESS_TEXTS_H
#define PARCHLY_DOWNLOAD_PROGRESS_TEXTS_H

#include <cstdint>
#include <string>

namespace parchly {

// 999, 1,000, 1,000,000; the leading group is not cut to three digits
// (4000,000,000).
std::string formatByteCount(uint64_t count);

// A transfer rate with the unit its size calls for: "999 B/s", "1.5 kB/s",
// "12.3 MB/s" (decimal units, as network rates are counted).
std::string formatSpeed(uint64_t bytesPerSecond);

// HH:MM:SS; the hours are not cut to two digits (100:00:00).
std::string formatDuration(int64_t seconds);

} // namespace parchly

#endif
