#include "download/download_commands.h"

#include "download/download_dialog.h"
#include "download/errata_download.h"
#include "download/rfc_number_dialog.h"
#include "platform/dialogs.h"
#include "settings/download_addresses.h"

namespace parchly {

namespace {

void runDownloadDialog(QWidget* parent, const RfcSettings& settings, DownloadKind kind, int32_t rfcNumber = 0)
{
    // Closing the dialog lets go of its request, which deletes a remaining
    // temporary file once the worker has returned too.
    if (std::unique_ptr<DownloadDialog> dialog = createDownloadDialog(parent, settings, kind, rfcNumber))
        dialog->exec();
}

// The address setting a kind needs, and the message when it is empty.
const std::string& neededAddress(const RfcSettings& settings, DownloadKind kind)
{
    return kind == IndexFile ? settings.RfcIndexDownloadUrl
        : kind == SingleRfc  ? settings.RfcFileDownloadUrl
                             : settings.RfcDownloadUrl;
}

} // namespace

std::string downloadFolder(const std::string& rootPath)
{
    std::string folder = rootPath;
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    return folder + "/";
}

std::unique_ptr<DownloadDialog> createDownloadDialog(QWidget* parent, const RfcSettings& settings,
                                                     DownloadKind kind, int32_t rfcNumber)
{
    const bool index = kind == IndexFile;
    if (neededAddress(settings, kind).empty()) {
        dialogs().message(parent,
                          index ? QStringLiteral("Please input the url of rfc-index.txt")
                                : QStringLiteral("Please input the url of rfc documents"));
        return nullptr;
    }
    auto dialog = std::make_unique<DownloadDialog>(parent);
    DownloadRequest& request = dialog->request();
    request.url = kind == IndexFile ? settings.RfcIndexDownloadUrl
        : kind == SingleRfc         ? singleRfcUrl(settings.RfcFileDownloadUrl, rfcNumber)
                                    : settings.RfcDownloadUrl;
    request.kind = kind;
    request.localFolder = downloadFolder(settings.RfcRootPath);
    request.keepArchive = settings.KeepCollectionArchive;
    return dialog;
}

void updateRfcIndex(QWidget* parent, const RfcSettings& settings)
{
    runDownloadDialog(parent, settings, IndexFile);
}

void downloadRfc(QWidget* parent, const RfcSettings& settings)
{
    if (neededAddress(settings, SingleRfc).empty()) {
        dialogs().message(parent, QStringLiteral("Please input the url of rfc documents"));
        return;
    }
    if (const std::optional<int32_t> number = askRfcNumber(parent))
        runDownloadDialog(parent, settings, SingleRfc, *number);
}

void downloadRfcCollection(QWidget* parent, const RfcSettings& settings)
{
    runDownloadDialog(parent, settings, Collection);
}

bool updateErrata(QWidget* parent, const RfcSettings& settings)
{
    if (settings.ErrataDownloadUrl.empty()) {
        dialogs().message(parent, QStringLiteral("Please input the url of errata.json"));
        return false;
    }
    DownloadDialog dialog(parent);
    DownloadRequest& request = dialog.request();
    request.url = settings.ErrataDownloadUrl;
    request.kind = IndexFile; // one file of a fixed name, like the index
    request.localFolder = downloadFolder(settings.RfcRootPath);
    request.localName = kErrataFileName;
    // The database is replaced as a whole each time: no question about it.
    request.overwrite = true;
    request.checkDownloaded = errataDownloadProblem;
    dialog.exec();
    return request.status.get() == kStatusDownloaded;
}

} // namespace parchly
