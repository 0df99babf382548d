#include "download/download_transfer.h"

namespace parchly {

void runDownload(DownloadRequest& request)
{
    if (parseDownloadUrl(request)) {
        switch (request.serviceType) {
        case ServiceKind::Ftp:
            downloadFtp(request);
            break;
        case ServiceKind::Http:
        case ServiceKind::Https:
            downloadHttp(request);
            break;
        case ServiceKind::Other:
            tellUser(request, kInvalidUrlMessage);
            request.status.set(kStatusInvalidUrl);
            break;
        }
    }
    request.running = false;
}

bool createTempFile(DownloadRequest& request, TempFile& local)
{
    std::string error;
    if (local.create(request.tempFilePath(), error))
        return true;
    tellUser(request, kCreateTempFileFailure + error);
    request.status.set(kStatusFileError);
    return false;
}

void reportWriteFailure(DownloadRequest& request, const FileError& error)
{
    tellUser(request, kWriteTempFileFailure + std::string(error.what()));
    request.status.set(kStatusFileError);
}

bool finishTransfer(DownloadRequest& request, bool result)
{
    // The dialog sees the download as finished while the saving step, with
    // its questions, still runs.
    if (result && request.running) {
        request.running = false;
        if (saveDownloadedFile(request) && request.kind == Collection)
            unpackDownloadedCollection(request);
    }
    request.running = false;
    return result;
}

} // namespace parchly
