// A folder of small RFC files a test writes for itself, removed afterwards.
#ifndef PARCHLY_TESTS_COLLECTION_FIXTURE_H
#define PARCHLY_TESTS_COLLECTION_FIXTURE_H

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace parchly::test {

class TempFolder {
public:
    explicit TempFolder(const std::string& name)
        : m_path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid())))
    {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }

    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    void write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(m_path / name, std::ios::binary) << bytes;
    }

private:
    std::filesystem::path m_path;
};

} // namespace parchly::test

#endif
