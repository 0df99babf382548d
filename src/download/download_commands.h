// The three download commands of the Tools menu: the RFC index, one RFC and
// the whole RFC collection.
#ifndef PARCHLY_DOWNLOAD_DOWNLOAD_COMMANDS_H
#define PARCHLY_DOWNLOAD_DOWNLOAD_COMMANDS_H

#include "settings/settings.h"
#include "download/download_request.h"

#include <memory>

class QWidget;

namespace parchly {

class DownloadDialog;

// The address Download RFC offers; the user replaces "xxxx" by the number.
inline constexpr const char* kRfcDownloadTemplate = "https://www.rfc-editor.org/in-notes/rfcxxxx.txt";

// "&Update RFC Index...", "&Download RFC..." and "Download &RFC Collection...":
// each runs the Download dialog modally, or shows why it cannot.
void updateRfcIndex(QWidget* parent, const RfcSettings& settings);
void downloadRfc(QWidget* parent, const RfcSettings& settings);
void downloadRfcCollection(QWidget* parent, const RfcSettings& settings);

// "Update &Errata...": downloads the RFC Editor's errata database
// (errata.json, from settings.ErrataDownloadUrl) into the RFC folder,
// replacing the one there only when the download reads as an errata
// database. True when a new file was saved. Also a step of a larger
// update: it runs its own modal Download dialog.
bool updateErrata(QWidget* parent, const RfcSettings& settings);

// Why a downloaded errata file must not replace the local one, or empty
// when it reads whole.
std::string errataDownloadProblem(const std::string& path);

// The dialog a command runs, filled for `kind`; none, after the message
// about the empty address setting, when the command cannot run.
std::unique_ptr<DownloadDialog> createDownloadDialog(QWidget* parent, const RfcSettings& settings,
                                                     DownloadKind kind);

// The local folder of downloads: `rootPath` without its trailing "/" and
// "\" characters, followed by one "/".
std::string downloadFolder(const std::string& rootPath);

} // namespace parchly

#endif
