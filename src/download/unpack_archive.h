// Unpacking the RFC text files of a downloaded collection (RFC-all.zip, or
// any format libarchive reads, tar.gz too) into the local RFC folder, on the
// download's worker thread.
#ifndef PARCHLY_DOWNLOAD_UNPACK_ARCHIVE_H
#define PARCHLY_DOWNLOAD_UNPACK_ARCHIVE_H

#include "analysis/file_access.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace parchly {

enum class UnpackOutcome { Complete, Cancelled, Failed };

struct UnpackProgress {
    uint64_t archiveBytesRead = 0;
    uint64_t archiveSize = 0;
    int unpacked = 0;

    int percent() const
    {
        return archiveSize == 0
            ? 0
            : static_cast<int>(std::min(archiveBytesRead, archiveSize) * 100 / archiveSize);
    }
};

// What an unpack may write: each entry at most the reader's own limit (a
// bigger one is no RFC text), all of them at most `totalBytes` (the
// collection unpacks to about 500 MB) and never closer to a full disk than
// `freeSpaceMargin`. A small archive can otherwise fill a disk (a zip bomb).
struct UnpackLimits {
    uint64_t entryBytes = kTextFileSizeLimit;
    uint64_t totalBytes = uint64_t(4) * 1024 * 1024 * 1024;
    uint64_t freeSpaceMargin = uint64_t(256) * 1024 * 1024;
};

struct UnpackResult {
    UnpackOutcome outcome = UnpackOutcome::Failed;
    // Files written into the folder.
    int unpacked = 0;
    // Entries refused because they could write outside the folder or are no
    // plain files: absolute names, "..", symbolic and hard links, entries
    // larger than the reader opens; and entries whose name in the folder is
    // taken by a folder or special file (a FIFO, a device).
    std::vector<std::string> refused;
    // Entries of other names (notes, PDFs, folders), passed over.
    int skipped = 0;
    // Why the unpack failed, in the library's or the system's words.
    std::string error;
};

// The file name an entry called `entryName` is written under: its base name
// when it is "rfc-index.txt" or "rfc" with 1 to 5 digits and ".txt" (RFC-all
// archives may hold their files in a folder); empty for any other name.
// Absolute names and names with a ".." part are the caller's to refuse.
std::string rfcFileNameOf(const std::string& entryName);

// Unpacks the RFC files of `archivePath` into `folder` (which ends in "/").
// Each file is written to a temporary file in `folder` and renamed over the
// file of its name only once its entry was read whole, so a damaged or cut
// archive never replaces a good file; no temporary file is left behind.
// `progress` (may be empty) is called after each entry; `cancel` stops the
// unpack before the next block, leaving the files renamed so far. The
// unpack fails, saying why, once its entries pass 4 GB or the free space
// of the folder's disk less a margin, and for an archive without entries.
UnpackResult unpackRfcArchive(const std::string& archivePath, const std::string& folder,
                              const std::atomic<bool>& cancel,
                              const std::function<void(const UnpackProgress&)>& progress,
                              const UnpackLimits& limits = UnpackLimits());

// unpackRfcArchive, then the archive is deleted after a complete unpack
// unless `keepArchive`; a cancelled or failed unpack always keeps it.
UnpackResult unpackCollection(const std::string& archivePath, const std::string& folder, bool keepArchive,
                              const std::atomic<bool>& cancel,
                              const std::function<void(const UnpackProgress&)>& progress,
                              const UnpackLimits& limits = UnpackLimits());

} // namespace parchly

#endif
