// The RFC files of a folder as they stand, to tell afterwards which RFCs an
// update brought and which it replaced, whatever way the files came.
#ifndef PARCHLY_UPDATE_FOLDER_SNAPSHOT_H
#define PARCHLY_UPDATE_FOLDER_SNAPSHOT_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace parchly {

struct FileIdentity {
    uint64_t size = 0;
    int64_t modified = 0; // nanoseconds since 1970
    uint64_t inode = 0;
    bool operator==(const FileIdentity& other) const
    {
        return size == other.size && modified == other.modified && inode == other.inode;
    }
    // The time in whole seconds, as an rsync listing gives it.
    int64_t modifiedSeconds() const;
};

// The identity of the regular file at `path`; none for anything else.
std::optional<FileIdentity> regularFileIdentity(const std::string& path);

// RFC number to the identity of its regular file "rfcNNNN.txt".
using FolderSnapshot = std::map<int32_t, FileIdentity>;

FolderSnapshot snapshotRfcFiles(const std::string& folder);

// The RFC number of a top-level file name "rfcNNNN.txt" (1 to 5 digits,
// none leading 0); 0 for any other name.
int32_t rfcNumberOfFileName(const std::string& name);

struct FolderChanges {
    std::vector<int32_t> added;
    std::vector<int32_t> replaced;
};

FolderChanges compareSnapshots(const FolderSnapshot& before, const FolderSnapshot& after);

} // namespace parchly

#endif
