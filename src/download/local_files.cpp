#include "download/local_files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace parchly {

std::string systemErrorText(int error)
{
    return std::strerror(error);
}

TempFile::~TempFile()
{
    if (m_file)
        std::fclose(m_file);
}

bool TempFile::create(const std::string& path, std::string& error)
{
    m_file = std::fopen(path.c_str(), "wb");
    if (!m_file)
        error = systemErrorText(errno);
    return m_file != nullptr;
}

void TempFile::write(const char* data, std::size_t count)
{
    if (m_file && std::fwrite(data, 1, count, m_file) != count)
        throw FileError(systemErrorText(errno));
}

void TempFile::close()
{
    if (!m_file)
        return;
    const bool flushed = std::fflush(m_file) == 0;
    const int error = errno;
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    if (!flushed || !closed)
        throw FileError(systemErrorText(flushed ? errno : error));
}

bool fileExists(const std::string& path)
{
    struct stat status { };
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), R_OK) == 0;
}

void deleteFile(const std::string& path)
{
    if (::unlink(path.c_str()) != 0)
        throw FileError(systemErrorText(errno));
}

void moveFile(const std::string& from, const std::string& to)
{
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return;
    if (errno != EXDEV)
        throw FileError(systemErrorText(errno));
    std::error_code error;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
    if (!error)
        std::filesystem::remove(from, error);
    if (error)
        throw FileError(error.message());
}

bool setFileTimes(const std::string& path, int64_t secondsSince1970)
{
    struct utimbuf times { };
    times.actime = static_cast<time_t>(secondsSince1970);
    times.modtime = static_cast<time_t>(secondsSince1970);
    return ::utime(path.c_str(), &times) == 0;
}

} // namespace parchly
