// What the download tests share: an asker answering from a script, the test
// server's index file, the test servers, each a child process on 127.0.0.1
// started with its command line, its port read from its output, stopped when
// the object goes, and archives made with libarchive's writer.
#ifndef PARCHLY_TESTS_DOWNLOAD_DOWNLOAD_TEST_SUPPORT_H
#define PARCHLY_TESTS_DOWNLOAD_DOWNLOAD_TEST_SUPPORT_H

#include "download/download_request.h"
#include "support/temp_folder.h"

#include <archive.h>
#include <archive_entry.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <random>
#include <set>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace parchly::test {

// Answers as a user who declines: Cancel to every question, no other name
// to save under, the scripted logins and then none. Records what was asked
// as "tell: text", "confirm: text", "save: proposed path", "credentials:
// server"; `asked` is read only once the worker has returned.
class ScriptedAsker : public DownloadAsker {
public:
    std::deque<std::pair<std::string, std::string>> logins;
    std::vector<std::string> asked;

    void tell(const std::string& text) override { asked.push_back("tell: " + text); }
    bool confirm(const std::string& text) override
    {
        asked.push_back("confirm: " + text);
        return false;
    }
    std::string savePath(const std::string& proposedPath) override
    {
        asked.push_back("save: " + proposedPath);
        return {};
    }
    bool credentials(const std::string& server, std::string& user, std::string& password) override
    {
        asked.push_back("credentials: " + server);
        if (logins.empty())
            return false;
        std::tie(user, password) = logins.front();
        logins.pop_front();
        return true;
    }
};

// The test HTTP server's rfc-index.txt and its Last-Modified time.
inline std::string indexBody()
{
    std::string body;
    for (int n = 10000; n < 10600; ++n) // numbered from 0000
        body += std::to_string(n).substr(1) + " RFC index line for the download tests\n";
    return body;
}
constexpr long long kIndexModified = 784887151;

// Seconds since 1970 of the file's last modification; -1 when absent.
inline long long modificationTime(const std::string& path)
{
    struct stat status { };
    return ::stat(path.c_str(), &status) == 0 ? static_cast<long long>(status.st_mtime) : -1;
}

// Starts `command` with `actions` (may be null); the child's pid, or -1.
inline pid_t spawnProcess(std::vector<std::string> command, const posix_spawn_file_actions_t* actions)
{
    std::vector<char*> argv;
    for (std::string& argument : command)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawn(&pid, argv[0], actions, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

// Ends a child started by spawnProcess and waits for it; nothing for -1.
inline void stopProcess(pid_t pid)
{
    if (pid > 0) {
        ::kill(pid, SIGTERM);
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) { }
    }
}

// Not copied: its TempFolder is not.
class ServerProcess {
public:
    ~ServerProcess() { stopProcess(m_pid); }

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
        m_pid = spawnProcess(std::move(command), &actions);
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

enum class ArchiveFormat { Zip, TarGz, Tar };

struct ArchiveEntry {
    enum Kind { File, Symlink, Hardlink };
    std::string name;
    std::string body; // the link's target for a link
    Kind kind = File;
};

// False when libarchive refused the archive or an entry.
inline bool writeArchive(const std::string& path, ArchiveFormat format,
                         const std::vector<ArchiveEntry>& entries)
{
    archive* writer = archive_write_new();
    if (format == ArchiveFormat::Zip) {
        archive_write_set_format_zip(writer);
    } else {
        archive_write_set_format_pax_restricted(writer);
        if (format == ArchiveFormat::TarGz)
            archive_write_add_filter_gzip(writer);
    }
    bool written = archive_write_open_filename(writer, path.c_str()) == ARCHIVE_OK;
    for (const ArchiveEntry& item : entries) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, item.name.c_str());
        archive_entry_set_filetype(entry, item.kind == ArchiveEntry::Symlink ? AE_IFLNK : AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_mtime(entry, 1000000000, 0);
        if (item.kind == ArchiveEntry::Symlink)
            archive_entry_set_symlink(entry, item.body.c_str());
        else if (item.kind == ArchiveEntry::Hardlink)
            archive_entry_set_hardlink(entry, item.body.c_str());
        else
            archive_entry_set_size(entry, la_int64_t(item.body.size()));
        written = written && archive_write_header(writer, entry) == ARCHIVE_OK;
        if (item.kind == ArchiveEntry::File && !item.body.empty())
            written = written
                && archive_write_data(writer, item.body.data(), item.body.size())
                    == la_ssize_t(item.body.size());
        archive_entry_free(entry);
    }
    written = archive_write_close(writer) == ARCHIVE_OK && written;
    archive_write_free(writer);
    return written;
}

// A body that compresses little, so that a cut falls inside it.
inline std::string noise(std::size_t size)
{
    std::minstd_rand random;
    std::string body(size, ' ');
    for (char& c : body)
        c = char(' ' + random() % 95);
    return body;
}

} // namespace parchly::test

#endif
