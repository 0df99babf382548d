#include "download/unpack_archive.h"

#include "download/local_files.h"

#include <archive.h>
#include <archive_entry.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace parchly {

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

// The archive file read through our own callbacks, so that the position
// reached in it measures the progress whatever the format and compression.
struct ArchiveSource {
    int fd = -1;
    uint64_t position = 0;
    std::unique_ptr<char[]> block = std::make_unique<char[]>(kBlockSize);

    ~ArchiveSource()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

la_ssize_t readBlock(archive* reader, void* data, const void** buffer)
{
    auto* source = static_cast<ArchiveSource*>(data);
    ssize_t count;
    do
        count = ::read(source->fd, source->block.get(), kBlockSize);
    while (count < 0 && errno == EINTR);
    if (count < 0) {
        archive_set_error(reader, errno, "%s", systemErrorText(errno).c_str());
        return -1;
    }
    source->position += uint64_t(count);
    *buffer = source->block.get();
    return count;
}

la_int64_t seekTo(archive*, void* data, la_int64_t offset, int whence)
{
    auto* source = static_cast<ArchiveSource*>(data);
    const off_t at = ::lseek(source->fd, offset, whence);
    if (at < 0)
        return ARCHIVE_FATAL;
    source->position = uint64_t(at);
    return at;
}

la_int64_t skipAhead(archive*, void* data, la_int64_t count)
{
    auto* source = static_cast<ArchiveSource*>(data);
    const off_t before = ::lseek(source->fd, 0, SEEK_CUR);
    const off_t after = before < 0 ? -1 : ::lseek(source->fd, count, SEEK_CUR);
    // An unseekable file: the library reads over the bytes instead.
    if (after < 0)
        return 0;
    source->position = uint64_t(after);
    return after - before;
}

struct ReaderDeleter {
    void operator()(archive* reader) const { archive_read_free(reader); }
};

bool hasParentPart(const std::string& name)
{
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = name.size();
        if (name.compare(start, end - start, "..") == 0)
            return true;
        start = end + 1;
    }
    return false;
}

// Why the entry must not be written at all, or empty.
const char* refusalOf(archive_entry* entry, const std::string& name, uint64_t entryLimit)
{
    if (archive_entry_filetype(entry) == AE_IFLNK || archive_entry_symlink(entry) != nullptr)
        return "a symbolic link";
    if (archive_entry_hardlink(entry) != nullptr)
        return "a hard link";
    if (!name.empty() && (name[0] == '/' || name[0] == '\\'))
        return "an absolute name";
    if (hasParentPart(name))
        return "a name with \"..\"";
    if (archive_entry_size_is_set(entry) && archive_entry_size(entry) >= 0
        && uint64_t(archive_entry_size(entry)) > entryLimit)
        return "too large";
    return nullptr;
}

enum class EntryResult { Written, TooLarge, OverTotal, Cancelled, Failed };

// What an unpack into `folder` may write in all: the total limit, or the
// folder's free space less the margin when that is smaller.
uint64_t unpackBudget(const std::string& folder, const UnpackLimits& limits)
{
    struct statvfs disk { };
    if (::statvfs(folder.c_str(), &disk) != 0)
        return limits.totalBytes;
    const uint64_t free = uint64_t(disk.f_bavail) * uint64_t(disk.f_frsize);
    return std::min(limits.totalBytes, free > limits.freeSpaceMargin ? free - limits.freeSpaceMargin : 0);
}

// Why an entry may not be written at `target`, or empty: a folder, FIFO,
// device or socket of that name in the RFC folder is the user's, and
// opening a FIFO to compare it would block the unpack.
const char* targetRefusalOf(const std::string& target)
{
    struct stat status { };
    if (::lstat(target.c_str(), &status) != 0 || S_ISREG(status.st_mode) || S_ISLNK(status.st_mode))
        return nullptr;
    return S_ISDIR(status.st_mode) ? "a folder of that name is in the way"
                                   : "a special file of that name is in the way";
}

// A temporary file in the target folder, removed unless it was renamed.
class PendingFile {
public:
    explicit PendingFile(const std::string& folder)
        : m_path(folder + ".parchly-unpack-XXXXXX")
    {
        m_fd = ::mkstemp(m_path.data());
    }
    ~PendingFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_renamed)
            ::unlink(m_path.c_str());
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    bool opened() const { return m_fd >= 0; }
    bool write(const char* data, std::size_t count)
    {
        while (count > 0) {
            const ssize_t written = ::write(m_fd, data, count);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            data += written;
            count -= std::size_t(written);
        }
        return true;
    }
    // Readable by all as the downloaded files are, and put in place. A file
    // that replaces one is on the disk first, so that a crash cannot leave
    // an empty file where a good one was; new files skip that wait, which
    // for some 9,000 files would cost minutes.
    bool renameTo(const std::string& path)
    {
        const int fd = m_fd;
        m_fd = -1;
        const bool replaces = ::access(path.c_str(), F_OK) == 0;
        if (::fchmod(fd, 0644) != 0 || (replaces && ::fsync(fd) != 0)) {
            ::close(fd);
            return false;
        }
        if (::close(fd) != 0 || ::rename(m_path.c_str(), path.c_str()) != 0)
            return false;
        m_renamed = true;
        return true;
    }

private:
    std::string m_path;
    int m_fd = -1;
    bool m_renamed = false;
};

// True when the file at `path` holds exactly `bytes`.
bool holdsAlready(const std::string& path, const std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0)
        return false;
    struct stat status { };
    bool same =
        ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && uint64_t(status.st_size) == bytes.size();
    std::size_t offset = 0;
    char block[kBlockSize];
    while (same && offset < bytes.size()) {
        const ssize_t count = ::read(fd, block, sizeof block);
        if (count < 0 && errno == EINTR)
            continue;
        same = count > 0 && bytes.compare(offset, std::size_t(count), block, std::size_t(count)) == 0;
        offset += count > 0 ? std::size_t(count) : 0;
    }
    ::close(fd);
    return same && offset == bytes.size();
}

EntryResult writeEntry(archive* reader, const std::string& target, const std::string& folder,
                       const std::atomic<bool>& cancel, uint64_t entryLimit, uint64_t& budget,
                       std::string& error)
{
    // The entry is read whole first (RFCs are small; `entryLimit` bounds
    // it): a file that already holds these bytes, as most do when the
    // collection is fetched again, is left alone, which spares thousands of
    // flushes to the disk.
    std::string bytes;
    char block[kBlockSize];
    for (;;) {
        if (cancel)
            return EntryResult::Cancelled;
        const la_ssize_t count = archive_read_data(reader, block, sizeof block);
        if (count == 0)
            break;
        if (count < 0) {
            const char* text = archive_error_string(reader);
            error = text ? text : "the archive is damaged";
            return EntryResult::Failed;
        }
        if (bytes.size() + uint64_t(count) > entryLimit)
            return EntryResult::TooLarge;
        if (uint64_t(count) > budget)
            return EntryResult::OverTotal;
        budget -= uint64_t(count);
        bytes.append(block, std::size_t(count));
    }
    if (holdsAlready(target, bytes))
        return EntryResult::Written;
    PendingFile pending(folder);
    if (!pending.opened()) {
        error = "cannot create a file in " + folder + ": " + systemErrorText(errno);
        return EntryResult::Failed;
    }
    if (!pending.write(bytes.data(), bytes.size()) || !pending.renameTo(target)) {
        error = "cannot write " + target + ": " + systemErrorText(errno);
        return EntryResult::Failed;
    }
    return EntryResult::Written;
}

bool isDigitText(const std::string& text, std::size_t from, std::size_t to)
{
    for (std::size_t i = from; i < to; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

} // namespace

std::string rfcFileNameOf(const std::string& entryName)
{
    const std::size_t slash = entryName.rfind('/');
    const std::string base = slash == std::string::npos ? entryName : entryName.substr(slash + 1);
    if (base == "rfc-index.txt")
        return base;
    // "rfc" with 1 to 5 digits: the program opens RFC n as "rfc%d.txt",
    // without leading zeros.
    if (base.size() < 8 || base.size() > 12 || base.compare(0, 3, "rfc") != 0
        || base.compare(base.size() - 4, 4, ".txt") != 0)
        return std::string();
    return base[3] != '0' && isDigitText(base, 3, base.size() - 4) ? base : std::string();
}

UnpackResult unpackRfcArchive(const std::string& archivePath, const std::string& folder,
                              const std::atomic<bool>& cancel,
                              const std::function<void(const UnpackProgress&)>& progress,
                              const UnpackLimits& limits)
{
    UnpackResult result;
    ArchiveSource source;
    source.fd = ::open(archivePath.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status { };
    if (source.fd < 0 || ::fstat(source.fd, &status) != 0) {
        result.error = archivePath + ": " + systemErrorText(errno);
        return result;
    }
    UnpackProgress shown;
    shown.archiveSize = uint64_t(status.st_size);
    uint64_t budget = unpackBudget(folder, limits);
    const uint64_t allowed = budget;
    bool anyEntry = false;

    const std::unique_ptr<archive, ReaderDeleter> reader(archive_read_new());
    archive_read_support_filter_all(reader.get());
    archive_read_support_format_all(reader.get());
    archive_read_set_read_callback(reader.get(), readBlock);
    archive_read_set_seek_callback(reader.get(), seekTo);
    archive_read_set_skip_callback(reader.get(), skipAhead);
    archive_read_set_callback_data(reader.get(), &source);
    if (archive_read_open1(reader.get()) != ARCHIVE_OK) {
        const char* text = archive_error_string(reader.get());
        result.error = text ? text : "not an archive";
        return result;
    }

    for (;;) {
        if (cancel) {
            result.outcome = UnpackOutcome::Cancelled;
            return result;
        }
        archive_entry* entry = nullptr;
        const int read = archive_read_next_header(reader.get(), &entry);
        if (read == ARCHIVE_EOF)
            break;
        anyEntry = true;
        if (read < ARCHIVE_WARN) {
            const char* text = archive_error_string(reader.get());
            result.error = text ? text : "the archive is damaged";
            return result;
        }
        const char* rawName = archive_entry_pathname(entry);
        const std::string name = rawName ? rawName : "";
        if (refusalOf(entry, name, limits.entryBytes)) {
            result.refused.push_back(name);
        } else if (archive_entry_filetype(entry) != AE_IFREG || rfcFileNameOf(name).empty()) {
            ++result.skipped;
        } else if (targetRefusalOf(folder + rfcFileNameOf(name))) {
            result.refused.push_back(name);
        } else {
            const std::string target = folder + rfcFileNameOf(name);
            switch (
                writeEntry(reader.get(), target, folder, cancel, limits.entryBytes, budget, result.error)) {
            case EntryResult::Written:
                ++result.unpacked;
                break;
            case EntryResult::TooLarge:
                result.refused.push_back(name);
                break;
            case EntryResult::OverTotal:
                result.error = "the archive unpacks to more than " + std::to_string(allowed / (1024 * 1024))
                    + " MB ("
                    + (allowed < limits.totalBytes ? "the free space of the disk"
                                                   : "more than any collection")
                    + "); the unpack stopped at " + name;
                return result;
            case EntryResult::Cancelled:
                result.outcome = UnpackOutcome::Cancelled;
                return result;
            case EntryResult::Failed:
                return result;
            }
        }
        shown.archiveBytesRead = source.position;
        shown.unpacked = result.unpacked;
        if (progress)
            progress(shown);
    }
    // An empty file, or one cut before its first entry, is no collection:
    // calling it complete would have the archive deleted.
    if (!anyEntry) {
        result.error = "the archive holds no files";
        return result;
    }
    result.outcome = UnpackOutcome::Complete;
    return result;
}

UnpackResult unpackCollection(const std::string& archivePath, const std::string& folder, bool keepArchive,
                              const std::atomic<bool>& cancel,
                              const std::function<void(const UnpackProgress&)>& progress,
                              const UnpackLimits& limits)
{
    UnpackResult result = unpackRfcArchive(archivePath, folder, cancel, progress, limits);
    if (result.outcome == UnpackOutcome::Complete && !keepArchive && std::remove(archivePath.c_str()) != 0)
        result.error = "cannot delete " + archivePath + ": " + systemErrorText(errno);
    return result;
}

} // namespace parchly
