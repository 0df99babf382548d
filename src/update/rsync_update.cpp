#include "update/rsync_update.h"

#include <QProcess>
#include <QStringList>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sys/stat.h>

#include "download/fetch_files.h"
#include "update/rsync_output.h"
#include "download/unpack_archive.h"

namespace parchly {

namespace {

// rsync's exit codes for a daemon that could not be reached: an error of the
// socket (refused, no such host) and a connection that timed out.
constexpr int kRsyncSocketError = 10;
constexpr int kRsyncConnectTimeout = 35;
// Once connected, a server that sends nothing for this long has failed.
constexpr int kIoTimeoutSeconds = 60;
// How long a cancelled rsync has to end before it is killed.
constexpr int kTerminateMilliseconds = 800;

struct ProcessRun {
    bool started = false;
    bool cancelled = false;
    int exitCode = -1;
    std::string startError;
    std::string errors; // what rsync wrote to stderr
};

// Runs rsync with `arguments`, handing each line of its output (ended by a
// line feed or, for progress, a carriage return) to `onLine`. A cancel
// ends it within a second.
ProcessRun runRsync(const std::string& program, const std::vector<std::string>& arguments,
                    const std::atomic<bool>& cancel, const std::function<void(const std::string&)>& onLine)
{
    ProcessRun run;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Numbers, times and messages in the form the parsers read.
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    process.setProcessEnvironment(environment);
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    process.start(QString::fromStdString(program), list, QIODevice::ReadOnly);
    if (!process.waitForStarted(10000)) {
        run.startError = process.errorString().toStdString();
        return run;
    }
    run.started = true;
    std::string pending;
    const auto takeOutput = [&] {
        pending += process.readAllStandardOutput().toStdString();
        std::string::size_type start = 0;
        for (std::string::size_type end; (end = pending.find_first_of("\r\n", start)) != std::string::npos;
             start = end + 1) {
            if (end > start)
                onLine(pending.substr(start, end - start));
        }
        pending.erase(0, start);
        run.errors += process.readAllStandardError().toStdString();
    };
    while (process.state() != QProcess::NotRunning) {
        if (cancel) {
            run.cancelled = true;
            process.terminate();
            if (!process.waitForFinished(kTerminateMilliseconds)) {
                process.kill();
                process.waitForFinished(1000);
            }
            return run;
        }
        process.waitForReadyRead(100);
        takeOutput();
    }
    takeOutput();
    if (!pending.empty())
        onLine(pending);
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

std::string firstLines(const std::string& text)
{
    std::string lines = text;
    while (!lines.empty() && (lines.back() == '\n' || lines.back() == '\r'))
        lines.pop_back();
    return lines.empty() ? std::string("no reason given") : lines;
}

std::string megabytes(uint64_t bytes)
{
    return std::to_string((bytes + 512 * 1024) / (1024 * 1024)) + " MB";
}

// Why a listed file of a wanted name is not asked for; empty when it is.
std::string refusalOf(const ListedFile& file)
{
    switch (file.type) {
    case ListedFile::Regular:
        return file.size > kLargestRfcBytes ? "is " + megabytes(file.size) + ", over the "
                + megabytes(kLargestRfcBytes) + " the reader opens; not fetched"
                                            : std::string();
    case ListedFile::Directory:
        return "is a folder on the server, not a file; not fetched";
    case ListedFile::Link:
        return "is a symbolic link on the server; not fetched";
    case ListedFile::Other:
        break;
    }
    return "is not a plain file on the server; not fetched";
}

std::string errorsNaming(const std::string& errors, const std::string& name)
{
    std::string found;
    std::string::size_type start = 0;
    while (start < errors.size()) {
        std::string::size_type end = errors.find('\n', start);
        if (end == std::string::npos)
            end = errors.size();
        const std::string line = errors.substr(start, end - start);
        if (line.find("\"" + name + "\"") != std::string::npos
            || line.find("/" + name + "\"") != std::string::npos)
            found += (found.empty() ? "" : "; ") + line;
        start = end + 1;
    }
    return found;
}

// rsync's own quick check: a file of the listed size and time (whole
// seconds; the listing has no finer ones) is the listed one. A listing
// whose time could not be read leaves the size alone to tell.
bool matchesListing(const std::optional<FileIdentity>& identity, const ListedFile& listed)
{
    return identity && identity->size == listed.size
        && (listed.modified <= 0 || identity->modifiedSeconds() == listed.modified);
}

// Whether the local copy of `listed` is already equal, so is not asked for.
bool alreadyEqual(const FolderSnapshot& local, const std::string& folder, const ListedFile& listed)
{
    if (listed.modified <= 0)
        return false;
    const int32_t number = rfcNumberOfFileName(listed.name);
    if (number == 0) // the index, which the snapshot of RFC files does not hold
        return matchesListing(regularFileIdentity(folder + "/" + listed.name), listed);
    const auto found = local.find(number);
    return found != local.end() && matchesListing(found->second, listed);
}

std::string withSlash(const std::string& text)
{
    return !text.empty() && text.back() == '/' ? text : text + "/";
}

} // namespace

std::vector<std::string> rsyncListingArguments(const RsyncOptions& options)
{
    std::vector<std::string> arguments{"--list-only", "--no-motd",
                                       "--contimeout=" + std::to_string(options.connectTimeoutSeconds),
                                       "--timeout=" + std::to_string(kIoTimeoutSeconds)};
    for (const std::string& filter : rsyncFilterArguments())
        arguments.push_back(filter);
    arguments.push_back(withSlash(options.source));
    return arguments;
}

std::vector<std::string> rsyncTransferArguments(const RsyncOptions& options, const std::string& listFile,
                                                const std::string& tempFolder)
{
    // -t keeps the server's times, which is what lets the next run see an
    // equal file as equal and leave it alone. No -l: a link is never made.
    std::vector<std::string> arguments{"-t",
                                       "--no-motd",
                                       "--contimeout=" + std::to_string(options.connectTimeoutSeconds),
                                       "--timeout=" + std::to_string(kIoTimeoutSeconds),
                                       "--files-from=" + listFile,
                                       "--temp-dir=" + tempFolder,
                                       "--max-size=" + std::to_string(kLargestRfcBytes),
                                       "--info=progress2"};
    for (const std::string& filter : rsyncFilterArguments())
        arguments.push_back(filter);
    arguments.push_back(withSlash(options.source));
    arguments.push_back(withSlash(options.folder));
    return arguments;
}

RsyncOutcome rsyncUpdate(const RsyncOptions& options, const FolderSnapshot& local,
                         const std::atomic<bool>& cancel, const UpdateProgressSink& progress)
{
    RsyncOutcome outcome;
    ProgressReport report(progress);
    report.startStage("Listing " + options.source);

    std::map<std::string, ListedFile> wanted;
    const ProcessRun listing =
        runRsync(options.program, rsyncListingArguments(options), cancel, [&](const std::string& line) {
            const std::optional<ListedFile> file = parseListingLine(line);
            if (!file || rfcFileNameOf(file->name) != file->name)
                return;
            const std::string refusal = refusalOf(*file);
            if (!refusal.empty())
                outcome.failures.push_back({file->name, refusal});
            else if (!alreadyEqual(local, options.folder, *file))
                wanted[file->name] = *file;
        });
    if (!listing.started) {
        outcome.result = RsyncOutcome::Unavailable;
        outcome.reason = "The rsync program could not be started (" + listing.startError + ").";
        return outcome;
    }
    if (listing.cancelled) {
        outcome.result = RsyncOutcome::Cancelled;
        return outcome;
    }
    if (listing.exitCode == kRsyncSocketError || listing.exitCode == kRsyncConnectTimeout) {
        outcome.result = RsyncOutcome::Unavailable;
        outcome.reason = options.source + " could not be reached: " + firstLines(listing.errors);
        return outcome;
    }
    if (listing.exitCode != 0) {
        outcome.result = RsyncOutcome::Failed;
        outcome.reason = "rsync could not list " + options.source + ": " + firstLines(listing.errors);
        return outcome;
    }
    if (wanted.empty()) {
        outcome.result = RsyncOutcome::Done;
        return outcome;
    }

    std::string tempFolder = withSlash(options.folder) + ".parchly-rsync-XXXXXX";
    if (!::mkdtemp(tempFolder.data())) {
        outcome.result = RsyncOutcome::Failed;
        outcome.reason = "No temporary folder could be made in " + options.folder + ".";
        return outcome;
    }
    const std::string listFile = tempFolder + "/files";
    {
        std::ofstream list(listFile, std::ios::binary);
        for (const auto& entry : wanted)
            list << entry.first << '\n';
    }
    outcome.transferred = true;
    report.startStage("Fetching with rsync", static_cast<int64_t>(wanted.size()));
    const ProcessRun transfer =
        runRsync(options.program, rsyncTransferArguments(options, listFile, tempFolder), cancel,
                 [&](const std::string& line) {
                     const std::optional<RsyncProgress> step = parseProgressLine(line);
                     if (!step)
                         return;
                     const bool counted = step->total >= 0;
                     report.advance(step->bytes, step->percent, counted ? step->total - step->toCheck : -1,
                                    counted ? step->total : -1, step->rate, step->timeLeft);
                 });
    // The temporary folder holds what a cancelled or failed rsync left.
    std::error_code ignored;
    std::filesystem::remove_all(tempFolder, ignored);
    if (transfer.cancelled) {
        outcome.result = RsyncOutcome::Cancelled;
        return outcome;
    }
    // -t gave each file that arrived the listed time.
    for (const auto& [name, listed] : wanted) {
        if (matchesListing(regularFileIdentity(withSlash(options.folder) + name), listed))
            continue;
        const std::string said = errorsNaming(transfer.errors, name);
        outcome.failures.push_back({name, said.empty() ? std::string("did not arrive") : said});
    }
    if (transfer.exitCode != 0 && outcome.failures.empty()) {
        outcome.result = RsyncOutcome::Failed;
        outcome.reason = "rsync failed (exit status " + std::to_string(transfer.exitCode)
            + "): " + firstLines(transfer.errors);
        return outcome;
    }
    outcome.result = RsyncOutcome::Done;
    return outcome;
}

} // namespace parchly
