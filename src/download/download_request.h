// One download of one remote file into a local folder, with its live
// progress, and the program-wide flag that runs and cancels it.
#ifndef PARCHLY_DOWNLOAD_DOWNLOAD_REQUEST_H
#define PARCHLY_DOWNLOAD_DOWNLOAD_REQUEST_H

#include <atomic>
#include <cstdint>
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
inline constexpr const char* kStatusConnectionFailed = "Connection Failed";
inline constexpr const char* kStatusNetworkError = "Network Error";
inline constexpr const char* kStatusFileError = "File Error";

inline constexpr const char* kInvalidUrlMessage = "Invalid URL!";

// True exactly while a download worker copies or is about to copy; clearing
// it is the only way to cancel. One flag, so one download at a time.
extern std::atomic<bool> DownloadRunning;

// The GUI thread writes the set-up fields (Url, LocalFolder, Kind, CaFile,
// Asker) only while no worker runs. While one runs, the worker writes the
// counters, the times and Status, and the dialog only reads them (and clears
// TotalLength once Received has passed it); Overwrite is the dialog's and
// the worker reads it in its saving step.
struct DownloadRequest {
    // Also clears DownloadRunning.
    DownloadRequest();
    // Deletes the temporary file, if any.
    ~DownloadRequest();

    DownloadRequest(const DownloadRequest&) = delete;
    DownloadRequest& operator=(const DownloadRequest&) = delete;

    std::atomic<bool> Overwrite{false};
    SharedText Status;
    std::atomic<uint32_t> TotalLength{0};   // 0: unknown
    std::atomic<uint32_t> Received{0};
    std::atomic<int64_t> RemoteTime{0};     // seconds since 1970 UTC; 0: unknown
    std::atomic<int64_t> StartTime{0};      // set while the block copy runs
    const std::string TempFileName = "PRCHTEMP.000";
    std::string Url;
    std::string LocalFolder;                // ends with "/"
    std::string LocalPath;
    std::string Server;
    uint16_t Port = 0;
    std::string ObjectPath;
    ServiceKind ServiceType = ServiceKind::Other;
    DownloadKind Kind = IndexFile;
    // Ready once the worker of the latest StartDownload has returned.
    std::shared_future<void> Worker;

    // Extra certificate authorities (a PEM file) trusted for https besides
    // the system's; empty for the system's only.
    std::string CaFile;
    // Brings the worker's questions and messages to the user; none: nothing
    // is shown and every question is declined.
    std::shared_ptr<DownloadAsker> Asker;

    std::string tempFilePath() const { return LocalFolder + TempFileName; }
};

// The part of `url` after its last "/" (all of it without one).
std::string RemoteFileName(const std::string& url);

// Fills Server, Port, ObjectPath and ServiceType from Url, trying it as
// written, then as ftp://Url, then as http://Url. Status becomes "Ready", or
// "Invalid URL" with the message "Invalid URL!" when no form parses.
bool ParseDownloadUrl(DownloadRequest& request);

// Sets DownloadRunning, clears the counters and times and starts the worker
// thread, which shares ownership of the request until it has returned.
void StartDownload(const std::shared_ptr<DownloadRequest>& request);

// Clears DownloadRunning; the worker stops at once.
void CancelDownload();

// The worker's body: parses the address and runs the transfer of its scheme.
void RunDownload(DownloadRequest& request);

// True while the worker of the request's latest start has not returned.
bool WorkerActive(const DownloadRequest& request);

// Shows `text` with an OK button through the request's asker.
void TellUser(const DownloadRequest& request, const std::string& text);

} // namespace parchly

#endif
