#include "download/download_transfer.h"

namespace parchly {

namespace {

bool askToOverwrite(const DownloadRequest& request)
{
    return request.Asker && request.Asker->confirm(kOverwriteQuestion);
}

std::string askForOtherPath(const DownloadRequest& request)
{
    return request.Asker ? request.Asker->savePath(request.LocalPath) : std::string();
}

} // namespace

bool SaveDownloadedFile(DownloadRequest& request)
{
    request.LocalPath = request.LocalFolder + RemoteFileName(request.Url);
    request.Status.set(kStatusSaving);
    try {
        // A rename replaces the target in one step, so that an existing
        // file is never lost half-way.
        if (!FileExists(request.LocalPath) || request.Overwrite || askToOverwrite(request)) {
            MoveFile(request.tempFilePath(), request.LocalPath);
        } else {
            // Declined: the temporary file stays until the request goes.
            const std::string chosen = askForOtherPath(request);
            if (!chosen.empty())
                MoveFile(request.tempFilePath(), chosen);
        }
    } catch (const FileError& error) {
        TellUser(request, error.what());
        request.Status.set(kStatusFileError);
        return false;
    }
    request.Status.set(kStatusDownloaded);
    return true;
}

} // namespace parchly
