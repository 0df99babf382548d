#include "download/download_transfer.h"

#include <ctime>

namespace parchly {

namespace {

// The copy's start: length and time from the remote side unless already
// known, counters cleared, progress shown as running.
void beginCopy(DownloadRequest& request, const CurlRequest& remote)
{
    if (request.totalLength == 0)
        request.totalLength = remote.contentLength();
    if (request.remoteTime == 0)
        request.remoteTime = remote.remoteTime();
    request.received = 0;
    request.status.set(kStatusDownloading);
    request.startTime = static_cast<int64_t>(std::time(nullptr));
}

} // namespace

CURLcode copyToTempFile(DownloadRequest& request, CurlRequest& remote, TempFile& local,
                        const CurlRequest::WantBody& want, bool& copied)
{
    copied = false;
    std::string writeError;
    const CURLcode code = remote.perform(want, [&](const char* data, std::size_t count) {
        if (!copied) {
            beginCopy(request, remote);
            copied = true;
        }
        request.received += static_cast<uint64_t>(count);
        try {
            local.write(data, count);
        } catch (const FileError& error) {
            writeError = error.what();
            return false;
        }
        return true;
    });
    // A wanted response without a body is an empty file.
    if (!copied && code == CURLE_OK && want(remote.status())) {
        beginCopy(request, remote);
        copied = true;
    }
    if (!copied)
        return code;

    request.startTime = 0;
    try {
        local.close();
    } catch (const FileError& error) {
        if (writeError.empty())
            writeError = error.what();
    }
    if (!request.running)
        std::remove(request.tempFilePath().c_str());
    else if (request.remoteTime != 0)
        setFileTimes(request.tempFilePath(), request.remoteTime);
    if (!writeError.empty() && request.running)
        throw FileError(writeError);
    return code;
}

} // namespace parchly
