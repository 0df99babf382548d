// Bringing the folder level with an rsync module through the rsync program,
// run as a child process: first the module's listing, from which only
// plain top-level files of the wanted names and sizes are asked for, then
// the transfer of exactly those. Never --delete; a file already equal in
// size and time is left untouched and not asked for, so that a run with
// nothing new starts no transfer (times are kept with -t); files are
// written through a temporary folder and renamed whole, so a cancellation
// leaves no partial rfcNNNN.txt.
#ifndef PARCHLY_UPDATE_RSYNC_UPDATE_H
#define PARCHLY_UPDATE_RSYNC_UPDATE_H

#include <atomic>
#include <string>
#include <vector>

#include "update/folder_snapshot.h"
#include "update/update_progress.h"
#include "update/update_summary.h"

namespace parchly {

struct RsyncOptions {
    std::string program = "rsync";
    std::string source; // rsync://host[:port]/module/
    std::string folder; // the local RFC folder, without a trailing "/"
    int connectTimeoutSeconds = 15;
};

struct RsyncOutcome {
    enum Result { Done, Unavailable, Failed, Cancelled };
    Result result = Failed;
    // Why rsync was unavailable or failed, in its own words where it gave
    // some.
    std::string reason;
    // Files the module offers that were not fetched, or did not arrive.
    std::vector<UpdateFailure> failures;
    // Whether a transfer ran: without one the folder is as it was.
    bool transferred = false;
};

// `local` is the folder's RFC files as they stand, against which the
// listing's sizes and times are checked without looking at each file again.
RsyncOutcome rsyncUpdate(const RsyncOptions& options, const FolderSnapshot& local,
                         const std::atomic<bool>& cancel, const UpdateProgressSink& progress);

// The arguments of the listing and of the transfer of `listFile`'s names
// into `folder` through `tempFolder`.
std::vector<std::string> rsyncListingArguments(const RsyncOptions& options);
std::vector<std::string> rsyncTransferArguments(const RsyncOptions& options, const std::string& listFile,
                                                const std::string& tempFolder);

} // namespace parchly

#endif
