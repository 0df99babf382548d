// One download of one remote file into a local folder, with its live
// progress and the flag that runs and cancels it.
#ifndef PARCHLY_DOWNLOAD_DOWNLOAD_REQUEST_H
#define PARCHLY_DOWNLOAD_DOWNLOAD_REQUEST_H

#include <atomic>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <string>

#include "download/download_asker.h"
#include "download/shared_text.h"

namespace parchly {

enum DownloadKind { IndexFile = 0, SingleRfc = 1, Collection = 2 };

// The scheme of a parsed address; only ftp, http and https are downloaded.
enum class ServiceKind { Other, Ftp, Http, Https };

// The texts of DownloadRequest::Status.
inline constexpr const char* kStatusReady = "Ready";
inline constexpr const char* kStatusInvalidUrl = "Invalid URL";
inline constexpr const char* kStatusConnecting = "Connecting";
inline constexpr const char* kStatusDownloading = "Downloading";
inline constexpr const char* kStatusSaving = "Saving";
inline constexpr const char* kStatusDownloaded = "Downloaded";
inline constexpr const char* kStatusNotSaved = "Not saved";
inline constexpr const char* kStatusConnectionFailed = "Connection Failed";
inline constexpr const char* kStatusNetworkError = "Network Error";
inline constexpr const char* kStatusFileError = "File Error";
inline constexpr const char* kStatusUnpacking = "Unpacking";
inline constexpr const char* kStatusUnpackCancelled = "Unpacking cancelled";
inline constexpr const char* kStatusUnpackFailed = "Unpacking failed";

inline constexpr const char* kInvalidUrlMessage = "Invalid URL!";

// The GUI thread writes the set-up fields (url, localFolder, kind, caFile,
// asker) only while no worker runs. While one runs, the worker writes the
// counters, the times and status, and the dialog only reads them (and clears
// totalLength once received has passed it); overwrite is the dialog's and
// the worker reads it in its saving step.
struct DownloadRequest {
    DownloadRequest() = default;
    // Deletes the temporary file, if any.
    ~DownloadRequest();

    DownloadRequest(const DownloadRequest&) = delete;
    DownloadRequest& operator=(const DownloadRequest&) = delete;

    // True exactly while this request's worker copies or is about to copy;
    // clearing it cancels this download and no other.
    std::atomic<bool> running{false};
    std::atomic<bool> overwrite{false};
    SharedText status;
    std::atomic<uint64_t> totalLength{0}; // 0: unknown
    std::atomic<uint64_t> received{0};
    std::atomic<int64_t> remoteTime{0}; // seconds since 1970 UTC; 0: unknown
    std::atomic<int64_t> startTime{0}; // set while the block copy runs
    const std::string tempFileName = "PRCHTEMP.000";
    std::string url;
    std::string localFolder; // ends with "/"
    std::string localPath; // where the saving step put the file
    // Saved as this name in localFolder, whatever the address calls the
    // file; empty: the address's own name. The errata database must be
    // errata.json, the name the reader looks for.
    std::string localName;
    std::string server;
    uint16_t port = 0;
    std::string objectPath;
    ServiceKind serviceType = ServiceKind::Other;
    DownloadKind kind = IndexFile;
    // Ready once the worker of the latest startDownload has returned.
    std::shared_future<void> worker;

    // Extra certificate authorities (a PEM file) trusted for https besides
    // the system's; empty for the system's only.
    std::string caFile;
    // Brings the worker's questions and messages to the user; none: nothing
    // is shown and every question is declined.
    std::shared_ptr<DownloadAsker> asker;

    // Looks at the downloaded file before it replaces the local one: the
    // reason it must not, in words for the user, or empty. Set up by the GUI
    // thread, run by the worker; none: every download is saved.
    std::function<std::string(const std::string& downloadedPath)> checkDownloaded;

    std::string tempFilePath() const { return localFolder + tempFileName; }

    // A downloaded collection is unpacked into localFolder by the worker
    // after its saving step (unpack_collection.cpp). keepArchive is set up by
    // the GUI thread; while `unpacking`, the worker publishes unpackPercent;
    // `cancelled` (set by cancelDownload) stops the unpack.
    bool keepArchive = false;
    std::atomic<bool> unpacking{false};
    std::atomic<int> unpackPercent{0};
    std::atomic<bool> cancelled{false};
};

// The part of `url` after its last "/" (all of it without one).
std::string remoteFileName(const std::string& url);

// The name a download of `url` is saved under: `localName`, or else the
// address's own.
std::string localFileName(const std::string& localName, const std::string& url);

// Fills server, port, objectPath and serviceType from url, trying it as
// written, then as ftp://url, then as http://url. Status becomes "Ready", or
// "Invalid URL" with the message "Invalid URL!" when no form parses, or with
// a message naming the host when the first form that parses has a host that
// could not be fetched as shown.
bool parseDownloadUrl(DownloadRequest& request);

// Sets the request running, clears the counters and times and starts the
// worker thread, which shares ownership of the request until it has
// returned. False, starting nothing, while the request's previous worker
// has not returned.
bool startDownload(const std::shared_ptr<DownloadRequest>& request);

// Clears the request's running flag; its worker stops at once.
void cancelDownload(DownloadRequest& request);

// The worker's body: parses the address and runs the transfer of its scheme.
void runDownload(DownloadRequest& request);

// True while the worker of the request's latest start has not returned.
bool workerActive(const DownloadRequest& request);

// Shows `text` with an OK button through the request's asker.
void tellUser(const DownloadRequest& request, const std::string& text);

} // namespace parchly

#endif
