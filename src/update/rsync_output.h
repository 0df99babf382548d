// Reading what the rsync program prints: the listing of a module
// (--list-only) and its progress lines (--info=progress2), and the filter
// arguments that let only the wanted names through.
#ifndef PARCHLY_UPDATE_RSYNC_OUTPUT_H
#define PARCHLY_UPDATE_RSYNC_OUTPUT_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace parchly {

struct ListedFile {
    enum Type { Regular, Directory, Link, Other };
    Type type = Other;
    uint64_t size = 0;
    // Seconds since 1970 of the listed date and time, read as UTC (the
    // listing is asked for with TZ=UTC); 0 when it cannot be read.
    int64_t modified = 0;
    std::string name;
};

// One line of `rsync --list-only`: "-rw-r--r--  12,345 2026/05/01 10:00:00
// rfc1.txt"; none for any other line.
std::optional<ListedFile> parseListingLine(const std::string& line);

struct RsyncProgress {
    uint64_t bytes = 0;
    int percent = 0;
    std::string rate; // "1.23MB/s", as rsync writes it
    std::string timeLeft; // "0:00:12"
    int64_t transferred = -1; // files so far; -1 when the line does not say
    int64_t toCheck = -1; // files still to look at
    int64_t total = -1; // files in all
};

// One progress line of `--info=progress2` (the text between carriage
// returns): "  1,234,567  45%  1.23MB/s  0:00:12 (xfr#5, to-chk=100/10000)".
std::optional<RsyncProgress> parseProgressLine(const std::string& line);

// The filter arguments: rfc-index.txt and "rfc" with 1 to 5 digits (the
// first not 0) and ".txt" at the module's top level, nothing else.
std::vector<std::string> rsyncFilterArguments();

} // namespace parchly

#endif
