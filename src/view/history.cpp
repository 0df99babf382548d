#include "view/history.h"

namespace parchly {

void PositionHistory::record(const HistoryEntry& entry)
{
    if (m_position >= 0 && !m_entries.empty() && m_entries[m_position] == entry) {
        m_entries[m_position].topLine = entry.topLine;
        return;
    }
    if (m_position >= 0)
        m_entries.resize(m_position + 1);
    m_entries.push_back(entry);
    ++m_position;
}

void PositionHistory::recordAhead(const HistoryEntry& entry)
{
    if (m_position < 0) {
        record(entry);
        return;
    }
    m_entries.resize(m_position + 1);
    m_entries.push_back(entry);
}

bool PositionHistory::canGoBack() const
{
    return !m_entries.empty() && m_position > 0;
}

bool PositionHistory::canGoForward() const
{
    return m_entries.size() >= 2 && m_position + 1 < static_cast<int32_t>(m_entries.size());
}

const HistoryEntry* PositionHistory::goBack()
{
    if (!canGoBack())
        return nullptr;
    return &m_entries[--m_position];
}

const HistoryEntry* PositionHistory::goForward()
{
    if (!canGoForward())
        return nullptr;
    return &m_entries[++m_position];
}

} // namespace parchly
