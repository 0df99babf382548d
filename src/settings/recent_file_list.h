// The list of the four files opened last, newest first, kept in the
// settings file under "Recent File List" as "File1" to "File4".
#ifndef PARCHLY_SETTINGS_RECENT_FILE_LIST_H
#define PARCHLY_SETTINGS_RECENT_FILE_LIST_H

#include <string>
#include <vector>

#include "settings/profile.h"

namespace parchly {

class RecentFileList {
public:
    static constexpr int kSize = 4;

    explicit RecentFileList(Profile& profile)
        : m_profile(profile)
    {
    }

    // Reads the stored list; empty and repeated entries are dropped.
    void load();

    // Puts `path` first (moving it when already listed) and stores the list.
    void add(const std::string& path);

    // Drops entry `index` (a file that could not be opened) and stores the list.
    void remove(int index);

    const std::vector<std::string>& paths() const { return m_paths; }

private:
    void save();

    Profile& m_profile;
    std::vector<std::string> m_paths;
};

} // namespace parchly

#endif
