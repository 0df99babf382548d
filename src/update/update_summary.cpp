#include "update/update_summary.h"

namespace parchly {

std::string UpdateSummary::countsLine() const
{
    return std::to_string(newRfcs.size()) + (newRfcs.size() == 1 ? " new RFC, " : " new RFCs, ")
        + std::to_string(replacedRfcs.size()) + " replaced, " + std::to_string(failures.size()) + " failed";
}

std::string UpdateSummary::text() const
{
    std::string text = countsLine();
    if (!method.empty())
        text += " (" + method + ")";
    text += '\n';
    for (const std::string& note : notes)
        text += note + '\n';
    for (const UpdateFailure& failure : failures)
        text += "Failed: " + failure.name + ": " + failure.reason + '\n';
    if (cancelled)
        text += "Cancelled; the files that arrived whole are kept.\n";
    if (!problem.empty())
        text += problem + '\n';
    return text;
}

} // namespace parchly
