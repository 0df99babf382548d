#include "download/download_transfer.h"

#include "download/download_url.h"

namespace parchly {

bool DownloadFtp(DownloadRequest& request)
{
    TempFile local;
    if (!CreateTempFile(request, local))
        return false;
    request.Status.set(kStatusConnecting);
    bool result = true;
    try {
        // libcurl logs in anonymously, asks for the file's size and time,
        // and reads it in binary over a passive data connection.
        CurlRequest remote(TransferUrl(request), request.CaFile);
        bool copied = false;
        const CURLcode code = CopyToTempFile(request, remote, local, [](long) { return true; }, copied);
        if (code == CURLE_REMOTE_FILE_NOT_FOUND || code == CURLE_FTP_COULDNT_RETR_FILE) {
            request.Status.set(kStatusConnectionFailed);
            result = false;
        } else if (code != CURLE_OK) {
            if (DownloadRunning) {
                TellUser(request, remote.errorText(code));
                request.Status.set(kStatusNetworkError);
            }
            result = false;
        }
    } catch (const FileError& error) {
        ReportWriteFailure(request, error);
        result = false;
    }
    return FinishTransfer(request, result);
}

} // namespace parchly
