// The RFC Editor's errata database of the RFC folder (errata.json), read
// once per run in a worker thread and again whenever the file changes; the
// document windows take their RFC's errata from it.
#ifndef PARCHLY_FRAME_ERRATA_SERVICE_H
#define PARCHLY_FRAME_ERRATA_SERVICE_H

#include "errata/errata_catalogue.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <thread>

namespace parchly {

class FrameHost;

// What the windows read, never changed once published.
struct ErrataData {
    ErrataCatalogue catalogue;
    // Why the last reading of the file gave nothing or not all of it; the
    // errata of an earlier reading are kept meanwhile.
    QString problem;
    bool fileFound = false;
};

class ErrataService : public QObject {
    Q_OBJECT
public:
    explicit ErrataService(FrameHost& app);
    ~ErrataService() override;

    // The errata as last read; null until the first reading ends. The
    // first call, and one after the RFC folder changed, starts a reading.
    std::shared_ptr<const ErrataData> data();
    // Reads the file again now (after a download).
    void reload();
    // The errata file of the RFC folder.
    static std::string errataPath(const std::string& rfcFolder);

signals:
    void dataChanged();

private:
    void start();
    void watch();
    void publish(std::shared_ptr<const ErrataData> data);

    FrameHost& m_app;
    std::string m_folder; // of the reading under way or shown
    std::shared_ptr<const ErrataData> m_data;
    std::thread m_worker;
    bool m_started = false;
    QFileSystemWatcher m_watcher;
};

} // namespace parchly

#endif
