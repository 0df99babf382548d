// The RFC files of a local folder, read the way the collection passes read
// them: each file whole into a buffer of the worker that reads it.
#ifndef PARCHLY_COLLECTION_COLLECTION_FILES_H
#define PARCHLY_COLLECTION_COLLECTION_FILES_H

#include "analysis/file_access.h"

#include <cstdint>
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

} // namespace parchly

#endif
