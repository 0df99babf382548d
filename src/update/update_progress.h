// How far an update of the collection has come, as the Download dialog and
// the command line show it.
#ifndef PARCHLY_UPDATE_UPDATE_PROGRESS_H
#define PARCHLY_UPDATE_UPDATE_PROGRESS_H

#include <cstdint>
#include <functional>
#include <string>

namespace parchly {

struct UpdateProgress {
    std::string stage; // "Listing rsync://…", "Fetching with rsync", …
    int percent = -1; // -1: unknown
    int64_t filesDone = -1; // -1: unknown
    int64_t filesTotal = -1;
    uint64_t bytes = 0;
    std::string rate; // "1.23MB/s"; empty when unknown
    std::string timeLeft; // "0:00:12"; empty when unknown

    // One line: the stage, then what is known of the rest.
    std::string line() const;
};

using UpdateProgressSink = std::function<void(const UpdateProgress&)>;

} // namespace parchly

#endif
