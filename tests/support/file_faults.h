// Faults of the file system a test can cause without privileges: a disk
// that fills, as a limit on the size of any file this process writes (it
// binds the superuser too, unlike permissions); a file too large to read.
#ifndef PARCHLY_TESTS_FILE_FAULTS_H
#define PARCHLY_TESTS_FILE_FAULTS_H

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>

namespace parchly::test {

// While it lives, a write past `bytes` into any file fails with EFBIG
// instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

// A file of `limit` + 1 bytes, sparse so that it costs no disk.
inline void writeFileBeyond(const std::string& path, std::uintmax_t limit)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc);
    std::filesystem::resize_file(path, limit + 1);
}

} // namespace parchly::test

#endif
