#include "download/download_transfer.h"

namespace parchly {

void RunDownload(DownloadRequest& request)
{
    if (ParseDownloadUrl(request)) {
        switch (request.ServiceType) {
        case ServiceKind::Ftp:
            DownloadFtp(request);
            break;
        case ServiceKind::Http:
        case ServiceKind::Https:
            DownloadHttp(request);
            break;
        case ServiceKind::Other:
            TellUser(request, kInvalidUrlMessage);
            request.Status.set(kStatusInvalidUrl);
            break;
        }
    }
    DownloadRunning = false;
}

bool CreateTempFile(DownloadRequest& request, TempFile& local)
{
    std::string error;
    if (local.create(request.tempFilePath(), error))
        return true;
    TellUser(request, kCreateTempFileFailure + error);
    request.Status.set(kStatusFileError);
    return false;
}

void ReportWriteFailure(DownloadRequest& request, const FileError& error)
{
    TellUser(request, kWriteTempFileFailure + std::string(error.what()));
    request.Status.set(kStatusFileError);
}

bool FinishTransfer(DownloadRequest& request, bool result)
{
    // The dialog sees the download as finished while the saving step, with
    // its questions, still runs.
    if (result && DownloadRunning) {
        DownloadRunning = false;
        SaveDownloadedFile(request);
    }
    DownloadRunning = false;
    return result;
}

} // namespace parchly
