#include "download/download_transfer.h"

namespace parchly {

namespace {

bool askToOverwrite(const DownloadRequest& request)
{
    return request.asker && request.asker->confirm(kOverwriteQuestion);
}

std::string askForOtherPath(const DownloadRequest& request)
{
    return request.asker ? request.asker->savePath(request.localPath) : std::string();
}

} // namespace

bool saveDownloadedFile(DownloadRequest& request)
{
    request.localPath = request.localFolder + localFileName(request.localName, request.url);
    request.status.set(kStatusSaving);
    // A download that is not what it should be (an error page, a file cut
    // short) never takes the place of the good file already there.
    if (request.checkDownloaded) {
        const std::string problem = request.checkDownloaded(request.tempFilePath());
        if (!problem.empty()) {
            try {
                deleteFile(request.tempFilePath());
            } catch (const FileError&) {
                // The temporary file goes with the request at the latest.
            }
            tellUser(request, "The download was not saved: " + problem);
            request.status.set(kStatusNotSaved);
            return false;
        }
    }
    try {
        // A rename replaces the target in one step, so that an existing
        // file is never lost half-way.
        if (!fileExists(request.localPath) || request.overwrite || askToOverwrite(request)) {
            moveFile(request.tempFilePath(), request.localPath);
        } else {
            const std::string chosen = askForOtherPath(request);
            if (chosen.empty()) {
                // Nothing was saved: the download must not stay behind in
                // the RFC folder nor say it was.
                deleteFile(request.tempFilePath());
                request.status.set(kStatusNotSaved);
                return false;
            }
            moveFile(request.tempFilePath(), chosen);
            request.localPath = chosen;
        }
    } catch (const FileError& error) {
        tellUser(request, error.what());
        request.status.set(kStatusFileError);
        return false;
    }
    request.status.set(kStatusDownloaded);
    return true;
}

} // namespace parchly
