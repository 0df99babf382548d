#include "update/folder_snapshot.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

#include "download/unpack_archive.h"

namespace parchly {

int32_t rfcNumberOfFileName(const std::string& name)
{
    if (name == "rfc-index.txt" || name.find('/') != std::string::npos || rfcFileNameOf(name) != name)
        return 0;
    return std::stoi(name.substr(3, name.size() - 7));
}

FolderSnapshot snapshotRfcFiles(const std::string& folder)
{
    FolderSnapshot snapshot;
    std::unique_ptr<DIR, int (*)(DIR*)> directory(::opendir(folder.c_str()), ::closedir);
    if (!directory)
        return snapshot;
    while (const dirent* entry = ::readdir(directory.get())) {
        const int32_t number = rfcNumberOfFileName(entry->d_name);
        struct stat status { };
        if (number == 0 || ::lstat((folder + "/" + entry->d_name).c_str(), &status) != 0
            || !S_ISREG(status.st_mode))
            continue;
        snapshot[number] = FileIdentity{static_cast<uint64_t>(status.st_size),
                                        int64_t(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
                                        static_cast<uint64_t>(status.st_ino)};
    }
    return snapshot;
}

FolderChanges compareSnapshots(const FolderSnapshot& before, const FolderSnapshot& after)
{
    FolderChanges changes;
    for (const auto& [number, identity] : after) {
        const auto old = before.find(number);
        if (old == before.end())
            changes.added.push_back(number);
        else if (!(old->second == identity))
            changes.replaced.push_back(number);
    }
    return changes;
}

} // namespace parchly
