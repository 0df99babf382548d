#include "app/update_command.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <atomic>
#include <csignal>

#include "app/user_folders.h"
#include "settings/download_addresses.h"
#include "settings/profile.h"
#include "settings/settings.h"
#include "update/collection_update.h"

namespace parchly {

namespace {

std::atomic<bool> g_interrupted{false};

extern "C" void onInterrupt(int)
{
    g_interrupted = true;
}

void writeLine(std::FILE* out, const std::string& line)
{
    std::fputs(line.c_str(), out);
    std::fputc('\n', out);
    std::fflush(out);
}

} // namespace

int runUpdateCommand(const QString& source, const QString& folder, std::FILE* out)
{
    const SettingsFileChoice file = chooseSettingsFile(
        QDir::currentPath(), QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    Profile profile(QFile::encodeName(file.path).toStdString());
    RfcSettings settings(firstResourceFolder(resourceFolderCandidates()).toStdString());
    settings.RfcRootPath = QFile::encodeName(defaultRfcFolder()).toStdString();
    settings.loadSettings(profile);
    migrateOldDefaultAddresses(settings, profile);

    UpdateOptions options = updateOptionsFrom(settings);
    if (!source.isEmpty())
        options.source = source.toStdString();
    if (!folder.isEmpty())
        options.folder = normaliseRootPath(QFile::encodeName(QDir(folder).absolutePath()).toStdString());
    writeLine(out, "Updating " + options.folder + " from " + options.source);

    // Ctrl+C or a stopping timer ends the update as Cancel does: no partial
    // file stays behind.
    g_interrupted = false;
    const auto oldInt = std::signal(SIGINT, onInterrupt);
    const auto oldTerm = std::signal(SIGTERM, onInterrupt);
    std::string lastShown;
    const UpdateSummary summary = updateCollection(options, g_interrupted, [&](const UpdateProgress& step) {
        // One line per stage and per file count; byte counts alone would
        // flood a log.
        const std::string key = step.stage + "/" + std::to_string(step.filesDone);
        if (key == lastShown)
            return;
        lastShown = key;
        writeLine(out, step.line());
    });
    std::signal(SIGINT, oldInt);
    std::signal(SIGTERM, oldTerm);
    std::fputs(summary.text().c_str(), out);
    std::fflush(out);
    return summary.complete() ? 0 : 1;
}

} // namespace parchly
