#include "download/download_transfer.h"
#include "download/unpack_archive.h"

namespace parchly {

void unpackDownloadedCollection(DownloadRequest& request)
{
    request.unpackPercent = 0;
    request.unpacking = true;
    request.status.set(kStatusUnpacking);
    const UnpackResult result = unpackCollection(
        request.localPath, request.localFolder, request.keepArchive, request.cancelled,
        [&request](const UnpackProgress& progress) { request.unpackPercent = progress.percent(); });
    request.unpacking = false;
    switch (result.outcome) {
    case UnpackOutcome::Complete:
        // A complete unpack whose archive could not be deleted is still one.
        if (!result.error.empty())
            tellUser(request, result.error);
        request.status.set("Unpacked " + std::to_string(result.unpacked)
                           + (result.unpacked == 1 ? " file" : " files"));
        break;
    case UnpackOutcome::Cancelled:
        request.status.set(kStatusUnpackCancelled);
        break;
    case UnpackOutcome::Failed:
        tellUser(request,
                 "Couldn't unpack " + request.localPath + ": " + result.error
                     + "\nThe archive is kept; the RFC files unpacked before stay.");
        request.status.set(kStatusUnpackFailed);
        break;
    }
}

} // namespace parchly
