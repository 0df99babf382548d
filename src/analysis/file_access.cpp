#include "analysis/file_access.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace parchly {

namespace {

FileRefusal refusalOfStatus(const struct stat& status, std::uint64_t limit)
{
    if (!S_ISREG(status.st_mode))
        return FileRefusal::NotRegular;
    if (static_cast<std::uint64_t>(status.st_size) > limit)
        return FileRefusal::TooLarge;
    return FileRefusal::None;
}

bool writeAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// The permissions a new file gets: 0666 less the process's umask, read
// without changing it (umask() would, for a moment, for every thread).
mode_t newFileMode()
{
    mode_t mask = 022;
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            if (std::strncmp(line, "Umask:", 6) == 0) {
                mask = static_cast<mode_t>(std::strtoul(line + 6, nullptr, 8));
                break;
            }
        }
        std::fclose(status);
    }
    return 0666 & ~mask;
}

// "<name>.<digits>.tmp" (older programs) or "<name>.<digits>.<6 characters>.tmp":
// the process id of a temporary file of `name`, or 0.
pid_t temporaryOwner(const std::string& entry, const std::string& name)
{
    if (entry.size() <= name.size() + 5 || entry.compare(0, name.size(), name) != 0
        || entry[name.size()] != '.' || entry.compare(entry.size() - 4, 4, ".tmp") != 0)
        return 0;
    std::string middle = entry.substr(name.size() + 1, entry.size() - name.size() - 5);
    const std::size_t dot = middle.find('.');
    if (dot != std::string::npos) {
        if (middle.size() - dot - 1 != 6)
            return 0;
        middle.resize(dot);
    }
    if (middle.empty() || middle.size() > 9 || middle.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return static_cast<pid_t>(std::stol(middle));
}

} // namespace

FileRefusal fileRefusal(const std::string& path, std::uint64_t limit)
{
    struct stat status { };
    if (::stat(path.c_str(), &status) != 0 || ::access(path.c_str(), R_OK) != 0)
        return FileRefusal::Unopened;
    return refusalOfStatus(status, limit);
}

RegularFile::RegularFile(const std::string& path, std::uint64_t limit)
{
    // O_NONBLOCK so that opening a FIFO returns at once instead of waiting
    // for a writer; the type is then checked on what was opened.
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0) {
        m_refusal = FileRefusal::Unopened;
        return;
    }
    struct stat status { };
    m_refusal = ::fstat(m_fd, &status) != 0 ? FileRefusal::ReadError : refusalOfStatus(status, limit);
    if (m_refusal != FileRefusal::None) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_size = static_cast<std::uint64_t>(status.st_size);
    // O_NONBLOCK stays: a regular file's reads ignore it (read() clears it
    // should one not), and two calls to clear it cost a short RFC more
    // than its read.
}

RegularFile::~RegularFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void RegularFile::readAheadWhole()
{
    if (m_fd >= 0)
        ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_WILLNEED);
}

long RegularFile::read(char* into, std::size_t count)
{
    for (;;) {
        const ssize_t got = ::read(m_fd, into, count);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN && !m_blocking) {
            ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
            m_blocking = true;
            continue;
        }
        return static_cast<long>(got);
    }
}

std::string replaceFileContents(const std::string& path, const std::string& bytes)
{
    std::string target = path;
    mode_t mode = newFileMode();
    struct stat link { };
    if (::lstat(path.c_str(), &link) == 0) {
        if (S_ISLNK(link.st_mode)) {
            // A user may keep a file as a link into a folder of their own;
            // a link someone else made is not theirs to follow.
            if (link.st_uid != ::getuid())
                return path + " is a link made by another user";
            std::error_code error;
            target = std::filesystem::weakly_canonical(path, error).string();
            if (error)
                return path + ": " + error.message();
        }
        struct stat existing { };
        if (::stat(target.c_str(), &existing) == 0) {
            if (!S_ISREG(existing.st_mode))
                return target + " is not a regular file";
            mode = existing.st_mode & 07777;
        }
    }
    std::string temporary = target + "." + std::to_string(::getpid()) + ".XXXXXX.tmp";
    const int fd = ::mkostemps(temporary.data(), 4, O_CLOEXEC);
    if (fd < 0)
        return "cannot create a file beside " + target + ": " + std::strerror(errno);
    int error = 0;
    if (!writeAll(fd, bytes) || ::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return "cannot write " + target + ": " + std::strerror(error);
    }
    return std::string();
}

int removeStaleTemporaries(const std::string& path)
{
    const std::filesystem::path file(path);
    const std::string folder = file.has_parent_path() ? file.parent_path().string() : std::string(".");
    const std::string name = file.filename().string();
    DIR* listing = ::opendir(folder.c_str());
    if (!listing)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        const pid_t owner = temporaryOwner(entry->d_name, name);
        if (owner <= 0 || owner == ::getpid() || ::kill(owner, 0) == 0 || errno != ESRCH)
            continue;
        const std::string leftover = folder + "/" + entry->d_name;
        struct stat status { };
        if (::lstat(leftover.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::getuid()
            && ::unlink(leftover.c_str()) == 0)
            ++removed;
    }
    ::closedir(listing);
    return removed;
}

FileLock::FileLock(const std::string& path)
{
    const std::string lockPath = path + ".lock";
    // Never through a link, and never anything but a regular file: a FIFO
    // at that name would block the open.
    m_fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (m_fd < 0)
        m_fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    struct stat status { };
    if (m_fd >= 0 && (::fstat(m_fd, &status) != 0 || !S_ISREG(status.st_mode))) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (m_fd < 0)
        return;
    while (::flock(m_fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(m_fd);
            m_fd = -1;
            return;
        }
    }
}

FileLock::~FileLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace parchly
