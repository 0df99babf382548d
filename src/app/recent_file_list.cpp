#include "app/recent_file_list.h"

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
    paths_.clear();
    for (int i = 0; i < kSize; ++i) {
        std::string path = profile_.readString(kSection, keyOf(i), "");
        if (!path.empty() && std::find(paths_.begin(), paths_.end(), path) == paths_.end())
            paths_.push_back(path);
    }
}

void RecentFileList::add(const std::string& path)
{
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > static_cast<size_t>(kSize))
        paths_.resize(kSize);
    save();
}

void RecentFileList::remove(int index)
{
    if (index < 0 || index >= static_cast<int>(paths_.size()))
        return;
    paths_.erase(paths_.begin() + index);
    save();
}

void RecentFileList::save()
{
    // Every key is written, the unused ones empty, so that a shorter list
    // replaces a longer one.
    ProfileBatch batch(profile_);
    for (int i = 0; i < kSize; ++i)
        profile_.writeString(kSection, keyOf(i), i < static_cast<int>(paths_.size()) ? paths_[i] : "");
}

} // namespace parchly
