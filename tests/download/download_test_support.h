// What the download tests share: an asker answering from a script, the test
// server's index file, and requests run on the test's own thread.
#ifndef PARCHLY_TESTS_DOWNLOAD_DOWNLOAD_TEST_SUPPORT_H
#define PARCHLY_TESTS_DOWNLOAD_DOWNLOAD_TEST_SUPPORT_H

#include "download/download_request.h"
#include "support/temp_folder.h"

#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <vector>

namespace parchly::test {

// Answers the worker's questions from a script and records them as "tell:
// text", "confirm: text", "save: proposed path", "credentials: server".
// `asked` is read only once the worker has returned.
class ScriptedAsker : public DownloadAsker {
public:
    std::deque<bool> confirmations;                          // none left: Cancel
    std::deque<std::string> savePaths;                       // none left: cancelled
    std::deque<std::pair<std::string, std::string>> logins;  // none left: declined
    std::vector<std::string> asked;

    void tell(const std::string& text) override { asked.push_back("tell: " + text); }
    bool confirm(const std::string& text) override
    {
        asked.push_back("confirm: " + text);
        return take(confirmations, false);
    }
    std::string savePath(const std::string& proposedPath) override
    {
        asked.push_back("save: " + proposedPath);
        return take(savePaths, std::string());
    }
    bool credentials(const std::string& server, std::string& user, std::string& password) override
    {
        asked.push_back("credentials: " + server);
        if (logins.empty())
            return false;
        std::tie(user, password) = take(logins, {});
        return true;
    }

private:
    template <typename T>
    static T take(std::deque<T>& script, T whenEmpty)
    {
        if (script.empty())
            return whenEmpty;
        T answer = script.front();
        script.pop_front();
        return answer;
    }
};

// The test HTTP server's rfc-index.txt and its Last-Modified time.
inline std::string indexBody()
{
    std::string body;
    char line[64];
    for (int n = 0; n < 600; ++n) {
        std::snprintf(line, sizeof line, "%04d RFC index line for the download tests\n", n);
        body += line;
    }
    return body;
}
constexpr long long kIndexModified = 784887151;

inline std::shared_ptr<DownloadRequest> makeRequest(const std::string& url, const std::string& folder,
                                                    const std::shared_ptr<ScriptedAsker>& asker)
{
    auto request = std::make_shared<DownloadRequest>();
    request->url = url;
    request->localFolder = folder;
    request->asker = asker;
    return request;
}

// Runs the worker's body on this thread, as startDownload would on its own.
inline void runHere(DownloadRequest& request)
{
    request.running = true;
    runDownload(request);
}

inline bool pathExists(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

// Seconds since 1970 of the file's last modification; -1 when absent.
inline long long modificationTime(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? static_cast<long long>(status.st_mtime) : -1;
}

} // namespace parchly::test

#endif
