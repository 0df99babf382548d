#include "server_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace parchly::test {

namespace {

constexpr const char* kPython = "/usr/bin/python3";

// The port written after `marker` in `output`, or 0.
int portAfter(const std::string& output, const std::string& marker)
{
    const std::string::size_type at = output.find(marker);
    if (at == std::string::npos)
        return 0;
    std::string::size_type end = at + marker.size();
    while (end < output.size() && output[end] >= '0' && output[end] <= '9')
        ++end;
    if (end == at + marker.size() || end == output.size())
        return 0;  // the number may not be complete yet
    return std::atoi(output.c_str() + at + marker.size());
}

} // namespace

bool ServerProcess::start(const std::vector<std::string>& command, const std::string& marker)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::vector<char*> argv;
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const int spawned = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    m_output = pipeEnds[0];
    if (spawned != 0) {
        m_pid = -1;
        return false;
    }

    std::string output;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (m_port == 0 && std::chrono::steady_clock::now() < deadline) {
        pollfd ready{m_output, POLLIN, 0};
        if (::poll(&ready, 1, 100) <= 0)
            continue;
        char buffer[512];
        const ssize_t count = ::read(m_output, buffer, sizeof buffer);
        if (count <= 0)
            break;
        output.append(buffer, static_cast<std::size_t>(count));
        m_port = portAfter(output, marker);
    }
    const int output_fd = m_output;
    m_drain = std::thread([output_fd] {
        char buffer[4096];
        while (::read(output_fd, buffer, sizeof buffer) > 0) {
        }
    });
    return m_port != 0;
}

ServerProcess::~ServerProcess()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    if (m_drain.joinable())
        m_drain.join();
    if (m_output >= 0)
        ::close(m_output);
}

bool StartHttpServer(ServerProcess& server, const std::string& tlsFolder)
{
    if (::access(kPython, X_OK) != 0)
        return false;
    std::vector<std::string> command{kPython, PARCHLY_DOWNLOAD_TEST_SERVER};
    if (!tlsFolder.empty()) {
        command.push_back("--tls");
        command.push_back(tlsFolder);
    }
    return server.start(command, "PORT ");
}

bool StartFtpServer(ServerProcess& server, const std::string& folder)
{
    if (::access(kPython, X_OK) != 0)
        return false;
    return server.start({kPython, "-m", "pyftpdlib", "-i", "127.0.0.1", "-p", "0", "-d", folder},
                        "starting FTP server on 127.0.0.1:");
}

} // namespace parchly::test
