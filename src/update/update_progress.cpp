#include "update/update_progress.h"

#include <algorithm>

namespace parchly {

std::string UpdateProgress::line() const
{
    std::string text = stage;
    if (filesTotal >= 0)
        text += ": " + std::to_string(std::max<int64_t>(filesDone, 0)) + " of " + std::to_string(filesTotal)
            + " files";
    if (bytes > 0)
        text += ", " + std::to_string(bytes) + " bytes";
    if (percent >= 0)
        text += ", " + std::to_string(percent) + "%";
    if (!rate.empty())
        text += ", " + rate;
    if (!timeLeft.empty())
        text += ", " + timeLeft + " left";
    return text;
}

void ProgressReport::startStage(const std::string& stage, int64_t filesTotal)
{
    m_state = UpdateProgress();
    m_state.stage = stage;
    m_state.filesTotal = filesTotal;
    if (filesTotal >= 0)
        m_state.filesDone = 0;
    tell();
}

void ProgressReport::advance(uint64_t bytes, int percent, int64_t filesDone, int64_t filesTotal,
                             const std::string& rate, const std::string& timeLeft)
{
    m_state.bytes = bytes;
    m_state.percent = percent;
    if (filesDone >= 0)
        m_state.filesDone = filesDone;
    if (filesTotal >= 0)
        m_state.filesTotal = filesTotal;
    m_state.rate = rate;
    m_state.timeLeft = timeLeft;
    tell();
}

void ProgressReport::tell() const
{
    if (m_sink)
        m_sink(m_state);
}

} // namespace parchly
