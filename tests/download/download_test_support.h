// What the download tests share: a scratch folder, an asker that answers
// from a script, and small file helpers.
#ifndef PARCHLY_TESTS_DOWNLOAD_DOWNLOAD_TEST_SUPPORT_H
#define PARCHLY_TESTS_DOWNLOAD_DOWNLOAD_TEST_SUPPORT_H

#include "download/download_asker.h"

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace parchly::test {

// A fresh folder under the system's temporary folder, removed with its
// content when the object goes.
class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "parchly-download-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder with a trailing "/".
    std::string path() const { return m_path + "/"; }

private:
    std::string m_path;
};

// Answers the worker's questions from a script and records what was asked:
// "tell: text", "confirm: text", "save: proposed path", "credentials: server".
class ScriptedAsker : public DownloadAsker {
public:
    std::deque<bool> confirmations;        // none left: Cancel
    std::deque<std::string> savePaths;     // none left: cancelled
    std::deque<std::pair<std::string, std::string>> logins;  // none left: declined

    std::vector<std::string> asked() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_asked;
    }

    void tell(const std::string& text) override { record("tell: " + text); }

    bool confirm(const std::string& text) override
    {
        record("confirm: " + text);
        return take(confirmations, false);
    }

    std::string savePath(const std::string& proposedPath) override
    {
        record("save: " + proposedPath);
        return take(savePaths, std::string());
    }

    bool credentials(const std::string& server, std::string& user, std::string& password) override
    {
        record("credentials: " + server);
        if (logins.empty())
            return false;
        std::tie(user, password) = logins.front();
        logins.pop_front();
        return true;
    }

private:
    void record(const std::string& entry)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_asked.push_back(entry);
    }

    template <typename T>
    static T take(std::deque<T>& script, T whenEmpty)
    {
        if (script.empty())
            return whenEmpty;
        T answer = script.front();
        script.pop_front();
        return answer;
    }

    mutable std::mutex m_mutex;
    std::vector<std::string> m_asked;
};

inline std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

inline bool PathExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// Seconds since 1970 of the file's last modification; -1 when absent.
inline long long ModificationTime(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? static_cast<long long>(status.st_mtime) : -1;
}

} // namespace parchly::test

#endif
