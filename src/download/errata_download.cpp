#include "download/errata_download.h"

#include "download/local_files.h"
#include "errata/errata_file.h"

#include <filesystem>

namespace parchly {

namespace {

// Where the download waits to be read before its rename: hidden, beside
// errata.json, so that the rename stays on one file system and a reader
// watching errata.json sees one change.
constexpr const char* kStagingName = ".errata.json.new";

// Why the errata file at `path` must not replace the local one, or empty;
// the number of its records in `count`.
std::string readProblem(const std::string& path, std::size_t& count)
{
    const ErrataLoad load = readErrataFile(path);
    count = load.errata.size();
    if (!load.complete())
        return load.error;
    return load.errata.empty() ? std::string("the downloaded file holds no errata.") : std::string();
}

void removeQuietly(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

} // namespace

std::string errataDownloadProblem(const std::string& path)
{
    std::size_t count = 0;
    return readProblem(path, count);
}

ErrataDownload downloadErrataFile(const std::string& url, const std::string& folder, FetchOptions options,
                                  const std::atomic<bool>& cancel)
{
    ErrataDownload result;
    if (url.empty()) {
        result.error = "No address is set for errata.json.";
        return result;
    }
    const std::string target = (std::filesystem::path(folder) / kErrataFileName).string();
    const std::string staging = (std::filesystem::path(folder) / kStagingName).string();
    options.maxBytes = kLargestErrataFile;
    options.maxConnections = 1;
    const FetchResult fetched = fetchFiles({{url, staging}}, options, cancel, {}).front();
    if (!fetched.arrived) {
        removeQuietly(staging);
        if (!cancel)
            result.error = "errata.json was not downloaded: " + fetched.error;
        return result;
    }
    std::size_t count = 0;
    const std::string problem = readProblem(staging, count);
    if (!problem.empty()) {
        removeQuietly(staging);
        result.error = "The download was not saved: " + problem;
        return result;
    }
    try {
        moveFile(staging, target);
    } catch (const FileError& error) {
        removeQuietly(staging);
        result.error = std::string("errata.json could not be saved: ") + error.what();
        return result;
    }
    result.saved = true;
    result.errataCount = count;
    return result;
}

} // namespace parchly
