#include "update/https_update.h"

#include <cstdio>
#include <sys/stat.h>

#include "download/fetch_files.h"
#include "download/local_files.h"
#include "settings/download_addresses.h"
#include "settings/settings.h"
#include "update/index_listing.h"

namespace parchly {

namespace {

std::string localPath(const HttpsOptions& options, const std::string& name)
{
    return options.folder + "/" + name;
}

bool exists(const std::string& path)
{
    struct stat status { };
    return ::lstat(path.c_str(), &status) == 0;
}

} // namespace

FetchOptions fetchOptions(const HttpsOptions& options)
{
    FetchOptions fetch;
    fetch.caFile = options.caFile;
    fetch.maxConnections = options.maxConnections;
    fetch.connectTimeoutSeconds = options.connectTimeoutSeconds;
    return fetch;
}

HttpsOptions httpsOptionsFrom(const RfcSettings& settings)
{
    HttpsOptions options;
    options.indexUrl = settings.RfcIndexDownloadUrl;
    options.rfcFolderUrl = settings.RfcFileDownloadUrl;
    options.folder = settings.RfcRootPath;
    return options;
}

std::string fetchIndex(const HttpsOptions& options, const std::atomic<bool>& cancel)
{
    const std::string indexPath = localPath(options, "rfc-index.txt");
    // The fresh index waits under a hidden name until it is known whole.
    const std::string freshPath = localPath(options, ".rfc-index.txt.fresh");
    const std::vector<FetchResult> results =
        fetchFiles({{options.indexUrl, freshPath}}, fetchOptions(options), cancel, {});
    if (cancel)
        return std::string();
    if (!results[0].arrived)
        return "The RFC index could not be fetched from " + options.indexUrl + ": " + results[0].error + ".";
    const std::optional<std::vector<ListedRfc>> fresh = readIndexListing(freshPath);
    const std::vector<ListedRfc> local = readIndexListing(indexPath).value_or(std::vector<ListedRfc>());
    const std::string problem = freshIndexProblem(fresh.value_or(std::vector<ListedRfc>()), local);
    if (!problem.empty()) {
        std::remove(freshPath.c_str());
        return problem;
    }
    try {
        moveFile(freshPath, indexPath);
    } catch (const FileError& error) {
        std::remove(freshPath.c_str());
        return "The RFC index could not be saved: " + std::string(error.what()) + ".";
    }
    return std::string();
}

std::vector<UpdateFailure> fetchRfcs(const HttpsOptions& options, const std::vector<int32_t>& numbers,
                                     const std::atomic<bool>& cancel, const UpdateProgressSink& progress)
{
    std::vector<FileFetch> files;
    files.reserve(numbers.size());
    for (int32_t number : numbers)
        files.push_back(
            {singleRfcUrl(options.rfcFolderUrl, number), localPath(options, rfcFileName(number))});
    ProgressReport report(progress);
    report.startStage("Fetching missing RFCs", static_cast<int64_t>(files.size()));
    const std::vector<FetchResult> results =
        fetchFiles(files, fetchOptions(options), cancel, [&](const FetchProgress& step) {
            report.advance(step.bytes, step.total ? static_cast<int>(step.finished * 100 / step.total) : 100,
                           static_cast<int64_t>(step.finished));
        });
    std::vector<UpdateFailure> failures;
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (!results[i].arrived && !cancel)
            failures.push_back({rfcFileName(numbers[i]), results[i].error + " (" + files[i].url + ")"});
    }
    return failures;
}

HttpsOutcome httpsUpdate(const HttpsOptions& options, const std::atomic<bool>& cancel,
                         const UpdateProgressSink& progress)
{
    HttpsOutcome outcome;
    ProgressReport(progress).startStage("Fetching " + options.indexUrl);
    outcome.problem = fetchIndex(options, cancel);
    outcome.cancelled = cancel;
    if (!outcome.problem.empty() || outcome.cancelled)
        return outcome;
    const std::optional<std::vector<ListedRfc>> listing =
        readIndexListing(localPath(options, "rfc-index.txt"));
    std::vector<int32_t> missing;
    for (const ListedRfc& listed : listing.value_or(std::vector<ListedRfc>())) {
        if (listed.hasText && !exists(localPath(options, rfcFileName(listed.number))))
            missing.push_back(listed.number);
    }
    outcome.failures = fetchRfcs(options, missing, cancel, progress);
    outcome.cancelled = cancel;
    return outcome;
}

} // namespace parchly
