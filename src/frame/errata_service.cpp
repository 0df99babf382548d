#include "frame/errata_service.h"

#include "errata/errata_file.h"
#include "frame/frame_host.h"
#include "settings/settings.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>

namespace parchly {

ErrataService::ErrataService(FrameHost& app)
    : m_app(app)
{
    // The file is replaced by a rename when it is downloaded: the folder's
    // change says so, the file's own watch is lost with the old file.
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { reload(); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        const QString path = QFile::decodeName(errataPath(m_folder).c_str());
        if (QFileInfo::exists(path) != m_watcher.files().contains(path)
            || (m_data && QFileInfo::exists(path) != m_data->fileFound))
            reload();
    });
}

ErrataService::~ErrataService()
{
    if (m_worker.joinable())
        m_worker.join();
}

std::string ErrataService::errataPath(const std::string& rfcFolder)
{
    return (std::filesystem::path(rfcFolder) / "errata.json").string();
}

std::shared_ptr<const ErrataData> ErrataService::data()
{
    if (!m_started || m_app.settings().RfcRootPath != m_folder)
        start();
    return m_data;
}

void ErrataService::reload()
{
    start();
}

void ErrataService::start()
{
    if (m_worker.joinable())
        m_worker.join();
    m_started = true;
    m_folder = m_app.settings().RfcRootPath;
    watch();
    const std::string path = errataPath(m_folder);
    m_worker = std::thread([this, path] {
        auto data = std::make_shared<ErrataData>();
        std::error_code error;
        data->fileFound = std::filesystem::exists(path, error);
        if (data->fileFound) {
            ErrataLoad load = readErrataFile(path);
            data->problem = QString::fromStdString(load.error);
            data->catalogue = ErrataCatalogue(std::move(load.errata));
        }
        publish(data);
    });
}

void ErrataService::watch()
{
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    const QString folder = QFile::decodeName(m_folder.c_str());
    const QString file = QFile::decodeName(errataPath(m_folder).c_str());
    if (QFileInfo::exists(folder))
        m_watcher.addPath(folder);
    if (QFileInfo::exists(file))
        m_watcher.addPath(file);
}

void ErrataService::publish(std::shared_ptr<const ErrataData> data)
{
    QMetaObject::invokeMethod(
        this,
        [this, data] {
            // A file that now reads as nothing (a damaged copy) does not
            // take away the errata read before: the reader keeps them and
            // is told why.
            if (m_data && !m_data->catalogue.empty() && data->catalogue.empty() && data->fileFound) {
                auto kept = std::make_shared<ErrataData>(*m_data);
                kept->problem = data->problem;
                m_data = kept;
            } else
                m_data = data;
            watch();
            emit dataChanged();
        },
        Qt::QueuedConnection);
}

} // namespace parchly
