// How far an update of the collection has come, as the Download dialog and
// the command line show it.
#ifndef PARCHLY_UPDATE_UPDATE_PROGRESS_H
#define PARCHLY_UPDATE_UPDATE_PROGRESS_H

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

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

// The progress of one update, told to its sink (where there is one) each
// time it moves.
class ProgressReport {
public:
    explicit ProgressReport(UpdateProgressSink sink)
        : m_sink(std::move(sink))
    {
    }

    // A new stage, of `filesTotal` files where known; what the last stage
    // came to is forgotten.
    void startStage(const std::string& stage, int64_t filesTotal = -1);
    // How far the stage has come. Files of -1 leave the counts as they
    // were; an empty rate or time left means the transfer does not say.
    void advance(uint64_t bytes, int percent, int64_t filesDone = -1, int64_t filesTotal = -1,
                 const std::string& rate = {}, const std::string& timeLeft = {});

private:
    void tell() const;

    UpdateProgressSink m_sink;
    UpdateProgress m_state;
};

} // namespace parchly

#endif
