// A test server in a child process on 127.0.0.1: started with its command
// line, its port read from its output, stopped when the object goes.
#ifndef PARCHLY_TESTS_DOWNLOAD_SERVER_PROCESS_H
#define PARCHLY_TESTS_DOWNLOAD_SERVER_PROCESS_H

#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace parchly::test {

class ServerProcess {
public:
    ServerProcess() = default;
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Runs `command` and waits (at most 20 s) for a line of its standard
    // output or error holding `marker` directly followed by the port
    // number; false when none comes.
    bool start(const std::vector<std::string>& command, const std::string& marker);

    int port() const { return m_port; }

private:
    pid_t m_pid = -1;
    int m_output = -1;
    int m_port = 0;
    // Drains the server's log, so that it never blocks on a full pipe.
    std::thread m_drain;
};

// The test HTTP server; with a folder, the HTTPS one whose certificate it
// makes there (cert.pem). False when Python is missing.
bool StartHttpServer(ServerProcess& server, const std::string& tlsFolder = std::string());

// pyftpdlib serving `folder` anonymously, read-only. False when it is missing.
bool StartFtpServer(ServerProcess& server, const std::string& folder);

} // namespace parchly::test

#endif
