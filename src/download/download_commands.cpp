#include "download/download_commands.h"

#include "download/download_dlg.h"
#include "platform/dialogs.h"

namespace parchly {

namespace {

void runDownloadDialog(QWidget* parent, const RfcSettings& settings, DownloadKind kind)
{
    // Closing the dialog lets go of its request, which deletes a remaining
    // temporary file once the worker has returned too.
    if (std::unique_ptr<CDownloadDlg> dialog = CreateDownloadDialog(parent, settings, kind))
        dialog->exec();
}

} // namespace

std::string DownloadFolder(const std::string& rootPath)
{
    std::string folder = rootPath;
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    return folder + "/";
}

std::unique_ptr<CDownloadDlg> CreateDownloadDialog(QWidget* parent, const RfcSettings& settings,
                                                   DownloadKind kind)
{
    const bool index = kind == IndexFile;
    if ((index ? settings.RfcIndexDownloadUrl : settings.RfcDownloadUrl).empty()) {
        dialogs().message(parent, index ? QStringLiteral("Please input the url of rfc-index.txt")
                                        : QStringLiteral("Please input the url of rfc documents"));
        return nullptr;
    }
    auto dialog = std::make_unique<CDownloadDlg>(parent);
    DownloadRequest& request = dialog->request();
    request.Url = kind == IndexFile ? settings.RfcIndexDownloadUrl
                  : kind == SingleRfc ? std::string(kRfcDownloadTemplate)
                                      : settings.RfcDownloadUrl;
    request.Kind = kind;
    request.LocalFolder = DownloadFolder(settings.RfcRootPath);
    return dialog;
}

void UpdateRfcIndex(QWidget* parent, const RfcSettings& settings)
{
    runDownloadDialog(parent, settings, IndexFile);
}

void DownloadRfc(QWidget* parent, const RfcSettings& settings)
{
    runDownloadDialog(parent, settings, SingleRfc);
}

void DownloadRfcCollection(QWidget* parent, const RfcSettings& settings)
{
    runDownloadDialog(parent, settings, Collection);
}

} // namespace parchly
