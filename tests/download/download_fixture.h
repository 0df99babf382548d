// Runs downloads against the test servers and keeps what they left.
#ifndef PARCHLY_TESTS_DOWNLOAD_DOWNLOAD_FIXTURE_H
#define PARCHLY_TESTS_DOWNLOAD_DOWNLOAD_FIXTURE_H

#include "download/download_request.h"
#include "download_test_support.h"

#include <cstdio>
#include <memory>
#include <string>

namespace parchly::test {

// The body of the test HTTP server's rfc-index.txt.
inline std::string IndexBody()
{
    std::string body;
    char line[64];
    for (int n = 0; n < 600; ++n) {
        std::snprintf(line, sizeof line, "%04d RFC index line for the download tests\n", n);
        body += line;
    }
    return body;
}

// Its Last-Modified time.
constexpr long long kIndexModified = 784887151;

// A request for `url` into `folder`, answered by `asker`.
inline std::shared_ptr<DownloadRequest> MakeRequest(const std::string& url, const std::string& folder,
                                                    const std::shared_ptr<ScriptedAsker>& asker)
{
    auto request = std::make_shared<DownloadRequest>();
    request->Url = url;
    request->LocalFolder = folder;
    request->Asker = asker;
    return request;
}

// Runs the worker's body on this thread, as StartDownload would on its own.
inline void RunHere(DownloadRequest& request)
{
    DownloadRunning = true;
    RunDownload(request);
}

} // namespace parchly::test

#endif
