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

namespace {

constexpr int64_t kNanosecondsPerSecond = 1000000000;

} // namespace

int64_t FileIdentity::modifiedSeconds() const
{
    // Rounded down, before 1970 too.
    return modified >= 0 ? modified / kNanosecondsPerSecond
                         : -((kNanosecondsPerSecond - 1 - modified) / kNanosecondsPerSecond);
}

std::optional<FileIdentity> regularFileIdentity(const std::string& path)
{
    struct stat status { };
    if (::lstat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileIdentity{static_cast<uint64_t>(status.st_size),
                        int64_t(status.st_mtim.tv_sec) * kNanosecondsPerSecond + status.st_mtim.tv_nsec,
                        static_cast<uint64_t>(status.st_ino)};
}

FolderSnapshot snapshotRfcFiles(const std::string& folder)
{
    FolderSnapshot snapshot;
    std::unique_ptr<DIR, int (*)(DIR*)> directory(::opendir(folder.c_str()), ::closedir);
    if (!directory)
        return snapshot;
    while (const dirent* entry = ::readdir(directory.get())) {
        const int32_t number = rfcNumberOfFileName(entry->d_name);
        if (number == 0)
            continue;
        if (const std::optional<FileIdentity> identity = regularFileIdentity(folder + "/" + entry->d_name))
            snapshot[number] = *identity;
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
