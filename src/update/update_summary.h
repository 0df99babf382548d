// What an update of the collection did, and how it reports it.
#ifndef PARCHLY_UPDATE_UPDATE_SUMMARY_H
#define PARCHLY_UPDATE_UPDATE_SUMMARY_H

#include <cstdint>
#include <string>
#include <vector>

namespace parchly {

struct UpdateFailure {
    std::string name; // "rfc1234.txt", or the address that failed
    std::string reason;
};

struct UpdateSummary {
    // "rsync", "HTTPS" or "archive": how the files came.
    std::string method;
    std::vector<int32_t> newRfcs;
    std::vector<int32_t> replacedRfcs;
    std::vector<UpdateFailure> failures;
    // Why the update as a whole did not complete (the server refused, the
    // index is cut short, the archive is damaged); empty when it did.
    std::string problem;
    // Notes that change nothing in the outcome (why rsync was not used).
    std::vector<std::string> notes;
    bool cancelled = false;

    // True when everything wanted arrived.
    bool complete() const { return !cancelled && problem.empty() && failures.empty(); }

    // "N new RFCs, M replaced, K failed".
    std::string countsLine() const;
    // The counts, then each failure and the problem, one a line.
    std::string text() const;
};

} // namespace parchly

#endif
