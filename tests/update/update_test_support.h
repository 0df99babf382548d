// What the update tests share: an rsync daemon with a configuration of its
// own on a free loopback port, the local HTTP(S) test server serving a
// folder, a module tree laid out like the RFC Editor's text-only module,
// and small index files.
#ifndef PARCHLY_TESTS_UPDATE_UPDATE_TEST_SUPPORT_H
#define PARCHLY_TESTS_UPDATE_UPDATE_TEST_SUPPORT_H

#include "../download/download_test_support.h"
#include "support/temp_folder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace parchly::test {

// A loopback port nothing listens on at the moment of the call.
inline int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

inline bool acceptsConnections(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

// `rsync --daemon --no-detach` serving `moduleFolder` read-only as the
// module "rfcs-text-only" on 127.0.0.1; stopped when the object goes.
class RsyncDaemon {
public:
    explicit RsyncDaemon(const std::filesystem::path& moduleFolder)
    {
        const std::string config = m_folder.file("rsyncd.conf");
        m_folder.write("rsyncd.conf",
                       // Run as whoever runs the test: a daemon started by root
                       // would otherwise serve as "nobody", who cannot read the
                       // test's private folders.
                       "use chroot = no\nmunge symlinks = no\nuid = " + std::to_string(::getuid())
                           + "\ngid = " + std::to_string(::getgid()) + "\nlog file = " + m_folder.file("log")
                           + "\n" + "pid file = " + m_folder.file("pid")
                           + "\n[rfcs-text-only]\npath = " + moduleFolder.string() + "\nread only = yes\n");
        for (int attempt = 0; attempt < 5 && m_port == 0; ++attempt) {
            const int port = freePort();
            if (::access("/usr/bin/rsync", X_OK) != 0)
                return;
            m_pid = spawnProcess({"/usr/bin/rsync", "--daemon", "--no-detach", "--config=" + config,
                                  "--address=127.0.0.1", "--port=" + std::to_string(port)},
                                 nullptr);
            if (m_pid < 0)
                return;
            for (int wait = 0; wait < 250 && m_port == 0; ++wait) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
                    m_pid = -1; // the port was taken meanwhile: try another
                    break;
                }
                if (acceptsConnections(port))
                    m_port = port;
            }
        }
    }
    ~RsyncDaemon() { stopProcess(m_pid); }
    RsyncDaemon(const RsyncDaemon&) = delete;
    RsyncDaemon& operator=(const RsyncDaemon&) = delete;

    bool running() const { return m_port != 0; }
    std::string moduleUrl() const
    {
        return "rsync://127.0.0.1:" + std::to_string(m_port) + "/rfcs-text-only/";
    }

private:
    TempFolder m_folder;
    pid_t m_pid = -1;
    int m_port = 0;
};

// The HTTP test server serving `root` under /files/; HTTPS when `tls`.
class FileServer {
public:
    FileServer(const std::filesystem::path& root, bool tls)
    {
        std::vector<std::string> command{"/usr/bin/python3", PARCHLY_DOWNLOAD_TEST_SERVER, "--root",
                                         root.string()};
        if (tls)
            command.insert(command.end(), {"--tls", m_tls.path().string()});
        m_started = m_server.start(command, "PORT ");
        m_origin = std::string(tls ? "https" : "http") + "://127.0.0.1:" + std::to_string(m_server.port());
    }
    bool running() const { return m_started; }
    std::string url(const std::string& name) const { return m_origin + "/files/" + name; }
    std::string caFile() const { return m_tls.file("cert.pem"); }

private:
    TempFolder m_tls;
    ServerProcess m_server;
    bool m_started = false;
    std::string m_origin;
};

// The text of RFC `number` in the fixtures, `version` telling editions apart.
inline std::string rfcBody(int number, int version = 1)
{
    std::string body = "RFC " + std::to_string(number) + " edition " + std::to_string(version) + "\n";
    for (int line = 0; line < 40; ++line)
        body += "Line " + std::to_string(line) + " of a fixture RFC.\n";
    return body;
}

// An rfc-index.txt listing `numbers` as text RFCs and `noText` as entries
// without a text format.
inline std::string indexText(const std::vector<int>& numbers, const std::vector<int>& noText = {})
{
    std::string text = "\n                             RFC INDEX\n                             ---------\n\n"
                       "                             RFC INDEX\n                             ---------\n\n";
    std::map<int, bool> entries;
    for (int number : numbers)
        entries[number] = true;
    for (int number : noText)
        entries[number] = false;
    for (const auto& [number, hasText] : entries) {
        char head[16];
        std::snprintf(head, sizeof head, "%04d", number);
        text += std::string(head) + " Fixture Protocol Number " + std::to_string(number)
            + ". A. Author. May 2026. " + (hasText ? "(Format: TXT, HTML) " : "(Format: PDF) ")
            + "(Status: PROPOSED STANDARD)\n\n";
    }
    return text;
}

// Writes `files` (name to bytes) below `folder`, making subfolders.
inline void writeTree(const std::filesystem::path& folder, const std::map<std::string, std::string>& files)
{
    for (const auto& [name, bytes] : files) {
        std::filesystem::create_directories((folder / name).parent_path());
        writeFile((folder / name).string(), bytes);
    }
}

} // namespace parchly::test

#endif
