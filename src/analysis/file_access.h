// Reading and replacing files without trusting what lies at a name: every
// file the program reads whole is checked to be a regular file of a
// bounded size before a byte is read (a FIFO would block the reader, a
// device such as /dev/zero never ends), and every file it replaces is
// written through a temporary file of its own, made exclusively under an
// unpredictable name, so that a link planted beside it is never followed.
#ifndef PARCHLY_ANALYSIS_FILE_ACCESS_H
#define PARCHLY_ANALYSIS_FILE_ACCESS_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace parchly {

// The largest text the program reads: eight times the RFC index, the
// largest file it reads (the longest RFCs hold 1.5 MB).
constexpr std::uint64_t kTextFileSizeLimit = std::uint64_t(16) * 1024 * 1024;

enum class FileRefusal {
    None,
    Unopened, // missing, or not readable by this user
    NotRegular, // a folder, FIFO, socket or device
    TooLarge, // more bytes than the limit asked for
    ReadError,
};

// Why `path` is not a regular file of at most `limit` bytes that this user
// may read, or None. Never blocks: a FIFO is looked at, not opened for a
// writer to come.
FileRefusal fileRefusal(const std::string& path, std::uint64_t limit = kTextFileSizeLimit);

// An open regular file of at most a given size, closed with the object.
class RegularFile {
public:
    // Opens `path` without blocking and keeps it only when it is a regular
    // file of at most `limit` bytes; refusal() says why not otherwise.
    RegularFile(const std::string& path, std::uint64_t limit);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    FileRefusal refusal() const { return m_refusal; }
    // The size when opened (a file may still grow while it is read).
    std::uint64_t size() const { return m_size; }
    // Reads up to `count` bytes; 0 at the end, -1 on an error.
    long read(char* into, std::size_t count);
    // Asks the kernel to start reading the whole file into its cache now,
    // without waiting for it: a later read then finds it there.
    void readAheadWhole();

private:
    int m_fd = -1;
    // Opened with O_NONBLOCK, which a regular file's reads ignore; cleared
    // where one does not (an unusual file system) and reads give EAGAIN.
    bool m_blocking = false;
    std::uint64_t m_size = 0;
    FileRefusal m_refusal = FileRefusal::None;
};

// Reads the regular file at `path` whole into the start of `buffer`
// (anything with data(), size() and resize() over char), its length in
// `size`; the buffer only grows. A file that grows past `limit` while it is
// read is refused as TooLarge, so that no read ever holds more.
template <typename Buffer>
FileRefusal readRegularFile(const std::string& path, std::uint64_t limit, Buffer& buffer, std::size_t& size)
{
    size = 0;
    RegularFile file(path, limit);
    if (file.refusal() != FileRefusal::None)
        return file.refusal();
    // One byte more than the size, to see the end in the first read.
    if (buffer.size() < file.size() + 1)
        buffer.resize(static_cast<std::size_t>(file.size()) + 1);
    for (;;) {
        if (size == buffer.size()) {
            if (size > limit)
                return FileRefusal::TooLarge;
            buffer.resize(buffer.size() * 2);
        }
        const std::size_t asked = buffer.size() - size;
        const long got = file.read(buffer.data() + size, asked);
        if (got < 0)
            return FileRefusal::ReadError;
        if (got == 0)
            break;
        size += static_cast<std::size_t>(got);
        // A regular file gives less than asked only at its end: with all
        // the bytes it was opened with read, no further read is needed to
        // see that end (a file of /proc or /sys, whose size tells nothing,
        // is read on until a read gives none).
        if (static_cast<std::size_t>(got) < asked && size == file.size())
            break;
    }
    return size > limit ? FileRefusal::TooLarge : FileRefusal::None;
}

// Replaces the file at `path` with `bytes`: they go to a temporary file
// beside it ("<path>.<process id>.<random>.tmp", created exclusively, never
// through a link), flushed to the disk and renamed over `path` once whole,
// so that readers see the old file or the whole new one. The new file keeps
// the old one's permissions. A link at `path` is followed only when it is
// this user's own (a link of another user, as in a folder others may write,
// is refused), and a `path` that is no regular file is refused. Returns
// why the file could not be replaced, empty on success; the old file is
// then as it was and no temporary file is left.
std::string replaceFileContents(const std::string& path, const std::string& bytes);

// Removes the temporary files replaceFileContents left beside `path` when
// its process died in the middle of a write (killed, or the machine went
// down): those of this user whose process no longer runs. Returns how many.
int removeStaleTemporaries(const std::string& path);

// Holds an advisory lock on "<path>.lock" for its life, so that programs
// that read, change and replace the file at `path` do so one at a time.
// Without a lock file that can be made, it holds nothing and locked() is
// false: the writes go on unguarded rather than not at all.
class FileLock {
public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool locked() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace parchly

#endif
