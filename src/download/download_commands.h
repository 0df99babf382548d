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

// "&Update RFC Index..." and "&Download RFC...": each runs the Download
// dialog modally, or shows why it cannot. Download RFC asks for the number
// first and fetches that RFC from the settings' single-RFC address.
void updateRfcIndex(QWidget* parent, const RfcSettings& settings);
void downloadRfc(QWidget* parent, const RfcSettings& settings);
// Download of a collection archive (a .zip or .tar.gz collection address),
// through the Download dialog as before.
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

// The dialog a command runs, filled for `kind` (and for SingleRfc, RFC
// `rfcNumber`); none, after the message about the empty address setting,
// when the command cannot run.
std::unique_ptr<DownloadDialog> createDownloadDialog(QWidget* parent, const RfcSettings& settings,
                                                     DownloadKind kind, int32_t rfcNumber = 0);

// The local folder of downloads: `rootPath` without its trailing "/" and
// "\" characters, followed by one "/".
std::string downloadFolder(const std::string& rootPath);

} // namespace parchly

#endif
