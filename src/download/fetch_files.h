// Fetching many files at once over HTTP(S) through libcurl's multi
// interface: a few connections, HTTP/2 multiplexing where the server offers
// it, each file written to a temporary file beside its target and renamed
// only once it arrived whole, one failure never stopping the others.
#ifndef PARCHLY_DOWNLOAD_FETCH_FILES_H
#define PARCHLY_DOWNLOAD_FETCH_FILES_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace parchly {

// The largest file the reader opens; a larger one is refused unread.
inline constexpr uint64_t kLargestRfcBytes = 16u * 1024 * 1024;

struct FileFetch {
    std::string url;
    std::string path; // the final local file
};

struct FetchResult {
    bool arrived = false;
    // Why the file did not arrive: the server's status, the network's or the
    // file system's words; empty when it arrived or was cancelled.
    std::string error;
};

struct FetchOptions {
    std::string caFile; // extra trusted authorities, empty for none
    int maxConnections = 6;
    uint64_t maxBytes = kLargestRfcBytes;
    // How long making a connection may take before the file fails.
    long connectTimeoutSeconds = 15;
};

struct FetchProgress {
    std::size_t finished = 0; // arrived or failed
    std::size_t total = 0;
    uint64_t bytes = 0; // received so far, all files
};

// Fetches every file of `files`; results[i] tells how files[i] went.
// Setting `cancel` stops every transfer within some milliseconds and
// deletes their temporary files. `progress` (may be empty) is called on the
// calling thread after each finished file and as data arrives.
std::vector<FetchResult> fetchFiles(const std::vector<FileFetch>& files, const FetchOptions& options,
                                    const std::atomic<bool>& cancel,
                                    const std::function<void(const FetchProgress&)>& progress);

// The temporary file a fetch of `path` writes: a hidden name beside it.
std::string partialFilePath(const std::string& path);

} // namespace parchly

#endif
