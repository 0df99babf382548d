// What the download tests share: an asker answering from a script, the test
// server's index file, requests run on the test's own thread, and the test
// servers, each a child process on 127.0.0.1 started with its command line,
// its port read from its output, stopped when the object goes.
#ifndef PARCHLY_TESTS_DOWNLOAD_DOWNLOAD_TEST_SUPPORT_H
#define PARCHLY_TESTS_DOWNLOAD_DOWNLOAD_TEST_SUPPORT_H

#include "download/download_request.h"
#include "support/temp_folder.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace parchly::test {

// Answers the worker's questions from a script and records them as "tell:
// text", "confirm: text", "save: proposed path", "credentials: server".
// `asked` is read only once the worker has returned.
class ScriptedAsker : public DownloadAsker {
public:
    std::deque<bool> confirmations; // none left: Cancel
    std::deque<std::string> savePaths; // none left: cancelled
    std::deque<std::pair<std::string, std::string>> logins; // none left: declined
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
        const bool given = !logins.empty();
        std::tie(user, password) = take(logins, {user, password});
        return given;
    }

private:
    template <typename T> static T take(std::deque<T>& script, T whenEmpty)
    {
        T answer = script.empty() ? whenEmpty : script.front();
        if (!script.empty())
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
    return std::filesystem::exists(path);
}

// Seconds since 1970 of the file's last modification; -1 when absent.
inline long long modificationTime(const std::string& path)
{
    struct stat status { };
    return ::stat(path.c_str(), &status) == 0 ? static_cast<long long>(status.st_mtime) : -1;
}

class ServerProcess {
public:
    ServerProcess() = default;
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;
    ~ServerProcess()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            while (::waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) { }
        }
    }

    // Runs `command` (false when /usr/bin/python3 is missing) with its output
    // going to a file, and waits at most 20 s for a whole line there holding
    // `marker` directly followed by the port number.
    bool start(std::vector<std::string> command, const std::string& marker)
    {
        if (::access(command[0].c_str(), X_OK) != 0)
            return false;
        const std::string output = m_folder.file("output");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT, 0600);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        std::vector<char*> argv;
        for (std::string& argument : command)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (m_pid > 0 && m_port == 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            const std::string written = readFile(output);
            const auto at = written.find(marker);
            if (at != std::string::npos && written.find('\n', at) != std::string::npos)
                m_port = std::atoi(written.c_str() + at + marker.size());
        }
        return m_port != 0;
    }

    int port() const { return m_port; }

private:
    TempFolder m_folder;
    pid_t m_pid = -1;
    int m_port = 0;
};

// The test HTTP server; with a folder, the HTTPS one whose certificate it
// makes there (cert.pem).
inline bool StartHttpServer(ServerProcess& server, const std::string& tlsFolder = std::string())
{
    std::vector<std::string> command{"/usr/bin/python3", PARCHLY_DOWNLOAD_TEST_SERVER};
    if (!tlsFolder.empty())
        command.insert(command.end(), {"--tls", tlsFolder});
    return server.start(command, "PORT ");
}

// pyftpdlib serving `folder` anonymously, read-only.
inline bool StartFtpServer(ServerProcess& server, const std::string& folder)
{
    return server.start({"/usr/bin/python3", "-m", "pyftpdlib", "-i", "127.0.0.1", "-p", "0", "-d", folder},
                        "starting FTP server on 127.0.0.1:");
}

} // namespace parchly::test

#endif
