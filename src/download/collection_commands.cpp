#include "download/collection_commands.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QThread>

#include <sys/stat.h>

#include "download/collection_update_dialog.h"
#include "download/download_commands.h"
#include "download/new_rfcs_dialog.h"
#include "platform/dialogs.h"
#include "settings/download_addresses.h"
#include "update/collection_update.h"
#include "update/https_update.h"

namespace parchly {

namespace {

bool isFile(const std::string& path)
{
    struct stat status { };
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

void updateRfcCollection(QWidget* parent, const RfcSettings& settings, const OpenRfc& open)
{
    if (settings.RfcDownloadUrl.empty()) {
        dialogs().message(parent, QStringLiteral("Please input the url of rfc documents"));
        return;
    }
    if (collectionSourceOf(settings.RfcDownloadUrl) == CollectionSource::Archive) {
        downloadRfcCollection(parent, settings);
        return;
    }
    CollectionUpdateDialog dialog(updateOptionsFrom(settings), parent);
    QObject::connect(&dialog, &CollectionUpdateDialog::openRfc, &dialog, [&open](int32_t number) {
        if (open)
            open(number);
    });
    dialog.exec();
}

bool fetchMissingRfc(QWidget* parent, const RfcSettings& settings, int32_t number)
{
    const std::string path = settings.RfcRootPath + "/" + rfcFileName(number);
    if (isFile(path))
        return true;
    const std::string url = singleRfcUrl(settings.RfcFileDownloadUrl, number);
    if (url.empty())
        return false;
    if (!settings.FetchMissingRfcOnLink
        && dialogs().message(parent,
                             QStringLiteral("RFC %1 is not in the RFC folder. Fetch it now from %2?")
                                 .arg(number)
                                 .arg(QString::fromStdString(url)),
                             MessageButtons::YesNo, MessageIcon::Question)
            != MessageAnswer::Yes)
        return false;

    std::atomic<bool> cancel{false};
    std::vector<UpdateFailure> failures;
    const HttpsOptions options = httpsOptionsFrom(settings);
    QProgressDialog progress(QStringLiteral("Fetching RFC %1…").arg(number), QStringLiteral("Cancel"), 0, 0,
                             parent);
    progress.setWindowTitle(QStringLiteral("Download"));
    progress.setMinimumDuration(300);
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, [&cancel] { cancel = true; });
    QThread* worker = QThread::create([&] { failures = fetchRfcs(options, {number}, cancel, {}); });
    QEventLoop loop;
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;
    progress.reset();
    if (cancel)
        return false;
    if (!failures.empty()) {
        dialogs().message(parent,
                          QStringLiteral("RFC %1 could not be fetched: %2")
                              .arg(number)
                              .arg(QString::fromStdString(failures.front().reason)));
        return false;
    }
    return isFile(path);
}

void showNewRfcs(QWidget* parent, const RfcSettings& settings, const std::vector<ListedRfc>& rfcs,
                 const OpenRfc& open)
{
    NewRfcsDialog dialog(rfcs, httpsOptionsFrom(settings), parent);
    QObject::connect(&dialog, &NewRfcsDialog::openRfc, &dialog, [&open](int32_t number) {
        if (open)
            open(number);
    });
    dialogs().runModal(dialog);
}

NewRfcChecker::NewRfcChecker(QObject* parent)
    : QObject(parent)
{
}

NewRfcChecker::~NewRfcChecker()
{
    if (m_thread) {
        m_cancel = true;
        m_thread->wait();
        delete m_thread;
    }
}

bool NewRfcChecker::start(const RfcSettings& settings)
{
    if (m_thread)
        return false;
    m_cancel = false;
    auto result = std::make_shared<NewRfcs>();
    m_result = result;
    const NewRfcsOptions options{
        settings.NewRfcFeedUrl, settings.RfcIndexDownloadUrl, settings.RfcRootPath, {}};
    m_thread = QThread::create([this, options, result] { *result = checkForNewRfcs(options, m_cancel); });
    connect(m_thread, &QThread::finished, this, [this] {
        m_thread->wait();
        delete m_thread;
        m_thread = nullptr;
        emit checked(*m_result);
    });
    m_thread->start();
    return true;
}

} // namespace parchly
