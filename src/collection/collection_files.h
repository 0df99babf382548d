// The RFC files of a local folder, read the way the collection passes read
// them: each file whole into a buffer of the worker that reads it.
#ifndef PARCHLY_COLLECTION_COLLECTION_FILES_H
#define PARCHLY_COLLECTION_COLLECTION_FILES_H

#include "analysis/file_access.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace parchly {

struct CollectionFile {
    int32_t rfc = 0;
    std::string path;
    std::uint64_t size = 0;
    std::int64_t modified = 0; // nanoseconds since the epoch, as the file system keeps it
};

// Every rfcN.txt of `folder` (the index left out), by RFC number; empty when
// the folder cannot be read.
std::vector<CollectionFile> listCollection(const std::string& folder);

// The titles of the RFC index of `folder` by number; empty without an index.
std::map<int32_t, std::string> indexTitles(const std::string& folder);

// Reads the file at `path` whole into the start of `buffer`, its length in
// `size`. The buffer only grows, so that a worker's buffer is neither
// cleared nor allocated again from file to file. Refused, unread, when it
// is no regular file (a FIFO would block the worker) or holds more than
// `limit` bytes (the reader's own limit unless said).
FileRefusal readWholeFile(const std::string& path, std::vector<char>& buffer, std::size_t& size,
                          std::uint64_t limit = kTextFileSizeLimit);

// Has the kernel read the files of a collection pass a few jobs ahead of
// the workers: on a collection not yet in the page cache the disk then
// reads several files at once, and while the processors work, instead of
// each worker waiting for one file at a time. The jobs are numbered as the
// workers take them from their counter, each once.
class ReadAhead {
public:
    // `jobs` jobs, the path of each told by `pathOf`; the first ones are
    // asked for at once.
    ReadAhead(std::size_t jobs, std::function<const std::string&(std::size_t)> pathOf);
    // Job `job` is being taken: the file `kDistance` jobs on is asked for.
    void taken(std::size_t job) const;

    static constexpr std::size_t kDistance = 32;

private:
    void ask(std::size_t job) const;

    std::size_t m_jobs;
    std::function<const std::string&(std::size_t)> m_pathOf;
};

} // namespace parchly

#endif
