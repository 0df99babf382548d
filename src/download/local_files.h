// The local file operations of a download: the temporary file it writes and
// the moves and deletions of its saving step.
#ifndef PARCHLY_DOWNLOAD_LOCAL_FILES_H
#define PARCHLY_DOWNLOAD_LOCAL_FILES_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace parchly {

// A failed deletion, move or write, carrying the system's text.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The system's text for the error number `error`.
std::string systemErrorText(int error);

// A file created (or truncated) for writing, closed on destruction.
class TempFile {
public:
    TempFile() = default;
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    // False with the system's text in `error` when it cannot be created.
    bool create(const std::string& path, std::string& error);
    // Throws FileError when not all bytes could be written.
    void write(const char* data, std::size_t count);
    // Flushes and closes; throws FileError when the flush fails (disk full).
    void close();

private:
    std::FILE* m_file = nullptr;
};

// True when a regular file can be opened for reading at `path`.
bool fileExists(const std::string& path);

// Removes the file at `path` (never a folder); throws FileError.
void deleteFile(const std::string& path);

// Moves `from` to `to`, replacing a file there, also across file systems;
// throws FileError.
void moveFile(const std::string& from, const std::string& to);

// Sets the access and modification times of `path`; false when it cannot.
bool setFileTimes(const std::string& path, int64_t secondsSince1970);

} // namespace parchly

#endif
