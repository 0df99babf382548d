#include "download/download_request.h"

#include <cstdio>
#include <thread>

namespace parchly {

std::atomic<bool> DownloadRunning{false};

DownloadRequest::DownloadRequest()
{
    DownloadRunning = false;
}

DownloadRequest::~DownloadRequest()
{
    if (!LocalFolder.empty())
        std::remove(tempFilePath().c_str());
}

void StartDownload(const std::shared_ptr<DownloadRequest>& request)
{
    if (!request)
        return;
    DownloadRunning = true;
    request->TotalLength = 0;
    request->Received = 0;
    request->RemoteTime = 0;
    request->StartTime = 0;

    // The worker keeps the request alive: the dialog may close while the
    // worker still waits on the network or on the user's answer. Its own
    // reference goes before the promise is kept, so that whoever waits on
    // Worker and holds the last other reference sees the request go at once.
    std::promise<void> returned;
    request->Worker = returned.get_future().share();
    std::thread([request, returned = std::move(returned)]() mutable {
        std::shared_ptr<DownloadRequest> owned = std::move(request);
        RunDownload(*owned);
        owned.reset();
        returned.set_value();
    }).detach();
}

void CancelDownload()
{
    DownloadRunning = false;
}

bool WorkerActive(const DownloadRequest& request)
{
    return request.Worker.valid()
           && request.Worker.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
}

void TellUser(const DownloadRequest& request, const std::string& text)
{
    if (request.Asker)
        request.Asker->tell(text);
}

} // namespace parchly
