#include "update/collection_update.h"

#include <chrono>
#include <filesystem>
#include <future>
#include <memory>
#include <thread>

#include "download/download_request.h"
#include "download/errata_download.h"
#include "settings/settings.h"
#include "update/folder_snapshot.h"
#include "update/https_update.h"
#include "update/rsync_update.h"

namespace parchly {

namespace {

bool startsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

bool endsWithNoCase(const std::string& text, const std::string& suffix)
{
    if (text.size() < suffix.size())
        return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[text.size() - suffix.size() + i])) != suffix[i])
            return false;
    }
    return true;
}

// The download worker's messages, kept for the summary; questions are
// declined, and none comes since the archive may replace what is there.
class RecordingAsker : public DownloadAsker {
public:
    std::vector<std::string> told;
    void tell(const std::string& text) override { told.push_back(text); }
    bool confirm(const std::string&) override { return false; }
    std::string savePath(const std::string&) override { return {}; }
    bool credentials(const std::string&, std::string&, std::string&) override { return false; }
};

void archiveUpdate(const UpdateOptions& options, const std::atomic<bool>& cancel,
                   const UpdateProgressSink& progress, UpdateSummary& summary)
{
    auto request = std::make_shared<DownloadRequest>();
    auto asker = std::make_shared<RecordingAsker>();
    request->url = options.source;
    request->localFolder = options.folder + "/";
    request->kind = Collection;
    request->overwrite = true;
    request->keepArchive = options.keepArchive;
    request->caFile = options.caFile;
    request->asker = asker;
    if (!parseDownloadUrl(*request) || !startDownload(request)) {
        summary.problem = "The collection address " + options.source + " cannot be fetched.";
        return;
    }
    UpdateProgress state;
    while (request->worker.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
        if (cancel && !request->cancelled) {
            request->cancelled = true;
            cancelDownload(*request);
        }
        state.stage = request->unpacking ? "Unpacking" : request->status.get();
        state.bytes = request->received;
        state.percent = request->unpacking ? request->unpackPercent.load()
            : request->totalLength
            ? static_cast<int>(uint64_t(request->received) * 100 / request->totalLength)
            : -1;
        if (progress)
            progress(state);
    }
    summary.cancelled = cancel;
    const std::string status = request->status.get();
    if (!summary.cancelled && !startsWith(status, "Unpacked ")) {
        summary.problem = "The collection archive " + options.source + " was not unpacked (" + status + ")";
        for (const std::string& text : asker->told)
            summary.problem += "; " + text;
        summary.problem += ".";
    }
}

HttpsOptions httpsOptionsOf(const UpdateOptions& options)
{
    return {options.indexUrl, options.rfcFolderUrl,   options.folder,
            options.caFile,   options.maxConnections, options.connectTimeoutSeconds};
}

// The index, then every RFC it lists as text that the folder lacks.
void httpsOnly(const UpdateOptions& options, const std::atomic<bool>& cancel,
               const UpdateProgressSink& progress, UpdateSummary& summary)
{
    const HttpsOutcome fetched = httpsUpdate(httpsOptionsOf(options), cancel, progress);
    summary.method = "HTTPS";
    summary.failures.insert(summary.failures.end(), fetched.failures.begin(), fetched.failures.end());
    summary.problem = fetched.problem;
    summary.cancelled = fetched.cancelled;
}

// Whether the folder may have changed: a run of rsync that found every
// file equal wrote nothing.
bool rsyncThenHttps(const UpdateOptions& options, const FolderSnapshot& before,
                    const std::atomic<bool>& cancel, const UpdateProgressSink& progress,
                    UpdateSummary& summary)
{
    const RsyncOutcome outcome =
        rsyncUpdate({options.rsyncProgram, options.source, options.folder, options.connectTimeoutSeconds},
                    before, cancel, progress);
    summary.failures = outcome.failures;
    switch (outcome.result) {
    case RsyncOutcome::Done:
        summary.method = "rsync";
        return outcome.transferred;
    case RsyncOutcome::Cancelled:
        summary.cancelled = true;
        return outcome.transferred;
    case RsyncOutcome::Failed:
        summary.method = "rsync";
        summary.problem = outcome.reason;
        return outcome.transferred;
    case RsyncOutcome::Unavailable:
        break;
    }
    summary.notes.push_back(outcome.reason + " Fetching over HTTPS instead.");
    httpsOnly(options, cancel, progress, summary);
    return true;
}

// The errata database last, whatever became of the RFCs: its outcome is
// said among the notes and leaves theirs as it is.
void errataUpdate(const UpdateOptions& options, const std::atomic<bool>& cancel,
                  const UpdateProgressSink& progress, UpdateSummary& summary)
{
    if (options.errataUrl.empty() || cancel || summary.cancelled)
        return;
    ProgressReport(progress).startStage("Fetching " + options.errataUrl);
    const ErrataDownload errata =
        downloadErrataFile(options.errataUrl, options.folder, fetchOptions(httpsOptionsOf(options)), cancel);
    if (cancel)
        summary.cancelled = true;
    else if (errata.saved)
        summary.notes.push_back("errata.json updated: " + std::to_string(errata.errataCount) + " errata.");
    else
        summary.notes.push_back("The errata were not updated, the local errata.json is kept: "
                                + errata.error);
}

} // namespace

UpdateOptions updateOptionsFrom(const RfcSettings& settings)
{
    UpdateOptions options;
    options.source = settings.RfcDownloadUrl;
    options.indexUrl = settings.RfcIndexDownloadUrl;
    options.rfcFolderUrl = settings.RfcFileDownloadUrl;
    options.folder = settings.RfcRootPath;
    options.errataUrl = settings.ErrataDownloadUrl;
    options.keepArchive = settings.KeepCollectionArchive;
    return options;
}

std::optional<CollectionSource> collectionSourceOf(const std::string& source)
{
    if (startsWith(source, "rsync://"))
        return CollectionSource::Rsync;
    for (const char* suffix : {".zip", ".tar.gz", ".tgz"}) {
        if (endsWithNoCase(source, suffix))
            return CollectionSource::Archive;
    }
    if (startsWith(source, "https://") || startsWith(source, "http://"))
        return CollectionSource::Web;
    return std::nullopt;
}

UpdateSummary updateCollection(const UpdateOptions& options, const std::atomic<bool>& cancel,
                               const UpdateProgressSink& progress)
{
    UpdateSummary summary;
    std::error_code error;
    std::filesystem::create_directories(options.folder, error);
    if (!std::filesystem::is_directory(options.folder, error)) {
        summary.problem = "The RFC folder " + options.folder + " does not exist and cannot be made.";
        return summary;
    }
    const FolderSnapshot before = snapshotRfcFiles(options.folder);
    bool mayHaveChanged = true;
    switch (collectionSourceOf(options.source).value_or(CollectionSource::Web)) {
    case CollectionSource::Rsync:
        mayHaveChanged = rsyncThenHttps(options, before, cancel, progress, summary);
        break;
    case CollectionSource::Archive:
        summary.method = "archive";
        archiveUpdate(options, cancel, progress, summary);
        break;
    case CollectionSource::Web:
        if (!collectionSourceOf(options.source)) {
            summary.problem = "The collection address \"" + options.source
                + "\" is neither an rsync module, an archive nor a web address.";
            return summary;
        }
        httpsOnly(options, cancel, progress, summary);
        break;
    }
    // Looking at every file again only where something may have been written
    // keeps a run with nothing new to one pass over the folder.
    const FolderChanges changes =
        mayHaveChanged ? compareSnapshots(before, snapshotRfcFiles(options.folder)) : FolderChanges();
    summary.newRfcs = changes.added;
    summary.replacedRfcs = changes.replaced;
    errataUpdate(options, cancel, progress, summary);
    return summary;
}

} // namespace parchly
