#include "settings/recent_file_list.h"

#include <algorithm>

namespace parchly {

namespace {

const char kSection[] = "Recent File List";

std::string keyOf(int index)
{
    return "File" + std::to_string(index + 1);
}

} // namespace

void RecentFileList::load()
{
    m_paths.clear();
    for (int i = 0; i < kSize; ++i) {
        std::string path = m_profile.readString(kSection, keyOf(i), "");
        if (!path.empty() && std::find(m_paths.begin(), m_paths.end(), path) == m_paths.end())
            m_paths.push_back(path);
    }
}

void RecentFileList::add(const std::string& path)
{
    m_paths.erase(std::remove(m_paths.begin(), m_paths.end(), path), m_paths.end());
    m_paths.insert(m_paths.begin(), path);
    if (m_paths.size() > static_cast<size_t>(kSize))
        m_paths.resize(kSize);
    save();
}

void RecentFileList::remove(int index)
{
    if (index < 0 || index >= static_cast<int>(m_paths.size()))
        return;
    m_paths.erase(m_paths.begin() + index);
    save();
}

void RecentFileList::save()
{
    // Every key is written, the unused ones empty, so that a shorter list
    // replaces a longer one.
    ProfileBatch batch(m_profile);
    for (int i = 0; i < kSize; ++i)
        m_profile.writeString(kSection, keyOf(i), i < static_cast<int>(m_paths.size()) ? m_paths[i] : "");
}

} // namespace parchly
