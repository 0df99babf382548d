#include "download/download_request.h"

#include <cstdio>
#include <thread>

namespace parchly {

DownloadRequest::~DownloadRequest()
{
    if (!localFolder.empty())
        std::remove(tempFilePath().c_str());
}

bool startDownload(const std::shared_ptr<DownloadRequest>& request)
{
    if (!request || workerActive(*request))
        return false;
    request->running = true;
    request->cancelled = false;
    request->totalLength = 0;
    request->received = 0;
    request->remoteTime = 0;
    request->startTime = 0;

    // The worker keeps the request alive: the dialog may close while the
    // worker still waits on the network or on the user's answer. Its own
    // reference goes before the promise is kept, so that whoever waits on
    // Worker and holds the last other reference sees the request go at once.
    std::promise<void> returned;
    request->worker = returned.get_future().share();
    std::thread([request, returned = std::move(returned)]() mutable {
        std::shared_ptr<DownloadRequest> owned = std::move(request);
        runDownload(*owned);
        owned.reset();
        returned.set_value();
    }).detach();
    return true;
}

void cancelDownload(DownloadRequest& request)
{
    request.running = false;
    request.cancelled = true;
}

bool workerActive(const DownloadRequest& request)
{
    return request.worker.valid()
        && request.worker.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
}

void tellUser(const DownloadRequest& request, const std::string& text)
{
    if (request.asker)
        request.asker->tell(text);
}

} // namespace parchly
