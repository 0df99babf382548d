// Fetching the RFC Editor's errata database (errata.json) into the RFC
// folder without a window: the step that Update Errata and a collection
// update share. The download is read as an errata database before it
// replaces the file there, so an error page, a file cut short or one that
// is not JSON never takes the place of a good one.
#ifndef PARCHLY_DOWNLOAD_ERRATA_DOWNLOAD_H
#define PARCHLY_DOWNLOAD_ERRATA_DOWNLOAD_H

#include <atomic>
#include <cstddef>
#include <string>

#include "download/fetch_files.h"

namespace parchly {

// The local name of the errata database, whatever the address calls it.
inline constexpr const char* kErrataFileName = "errata.json";

struct ErrataDownload {
    bool saved = false; // errata.json was replaced by the download
    std::size_t errataCount = 0; // records in the saved file
    // Why nothing was saved, in words for the user; empty when saved or
    // cancelled.
    std::string error;
};

// Fetches `url` (http or https) into `folder` as errata.json: through a
// hidden temporary file beside it, read whole as an errata database, then
// renamed over the old file in one step. Blocks the calling thread; setting
// `cancel` stops it within some milliseconds and leaves the old file as it
// was. `options.maxBytes` is raised to the errata file's own limit.
ErrataDownload downloadErrataFile(const std::string& url, const std::string& folder, FetchOptions options,
                                  const std::atomic<bool>& cancel);

// Why the downloaded errata file at `path` must not replace the local one,
// or empty when it reads whole and holds errata.
std::string errataDownloadProblem(const std::string& path);

} // namespace parchly

#endif
