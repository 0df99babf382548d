#include "collection/collection_files.h"

#include "analysis/line_reader.h"
#include "index/index_reader.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace parchly {

namespace {

// The number of "rfc<digits>.txt", or 0 for any other name.
int32_t rfcNumberOfName(const std::string& name)
{
    if (name.size() < 8 || name.size() > 16 || name.compare(0, 3, "rfc") != 0
        || name.compare(name.size() - 4, 4, ".txt") != 0)
        return 0;
    int32_t number = 0;
    for (std::size_t i = 3; i < name.size() - 4; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return 0;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

} // namespace

std::vector<CollectionFile> listCollection(const std::string& folder)
{
    std::vector<CollectionFile> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const int32_t number = rfcNumberOfName(it->path().filename().string());
        if (number <= 0)
            continue;
        // One stat for the kind, the size and the time the cache is keyed by.
        struct stat info { };
        const std::string path = it->path().string();
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        files.push_back({number, path, static_cast<std::uint64_t>(info.st_size),
                         static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec});
    }
    std::sort(files.begin(), files.end(),
              [](const CollectionFile& a, const CollectionFile& b) { return a.rfc < b.rfc; });
    return files;
}

std::map<int32_t, std::string> indexTitles(const std::string& folder)
{
    std::map<int32_t, std::string> titles;
    std::optional<LineReader> reader = LineReader::open(folder + "/rfc-index.txt");
    if (!reader)
        return titles;
    RfcText index;
    readIndex(index, *reader);
    for (const RfcIndexEntry& entry : index.indexEntries)
        titles.emplace(entry.number, entry.title);
    return titles;
}

FileRefusal readWholeFile(const std::string& path, std::vector<char>& buffer, std::size_t& size,
                          std::uint64_t limit)
{
    return readRegularFile(path, limit, buffer, size);
}

ReadAhead::ReadAhead(std::size_t jobs, std::function<const std::string&(std::size_t)> pathOf)
    : m_jobs(jobs)
    , m_pathOf(std::move(pathOf))
{
    for (std::size_t job = 0; job < kDistance; ++job)
        ask(job);
}

void ReadAhead::taken(std::size_t job) const
{
    ask(job + kDistance);
}

void ReadAhead::ask(std::size_t job) const
{
    if (job >= m_jobs)
        return;
    // Opened as every file of the collection is, so that a FIFO or a device
    // planted under an RFC's name is neither waited for nor touched.
    RegularFile file(m_pathOf(job), kTextFileSizeLimit);
    if (file.refusal() == FileRefusal::None)
        file.readAheadWhole();
}

} // namespace parchly
