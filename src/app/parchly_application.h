// The application object: the settings and where they are kept, start-up,
// the opening of every document, and the commands that need no window.
// Created in main() after the QApplication; tests create one per test.
#ifndef PARCHLY_APP_PARCHLY_APPLICATION_H
#define PARCHLY_APP_PARCHLY_APPLICATION_H

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/user_folders.h"
#include "frame/frame_host.h"
#include "index/index_status.h"
#include "settings/recent_file_list.h"
#include "settings/settings.h"
#include "settings/profile.h"

namespace parchly {

class MainWindow;
class RfcDocument;

class ParchlyApplication : public QObject, public FrameHost {
    Q_OBJECT
public:
    // Fixes applicationDirectory from the current directory, points the profile at
    // applicationDirectory + "Parchly.ini" and loads the settings from it.
    explicit ParchlyApplication(QObject* parent = nullptr);
    ~ParchlyApplication() override;

    // Start-up: recent files, main frame shown with no document, the tree
    // images, the RFC index when so configured. False ends the program.
    bool start();

    RfcDocument* openDocumentFile(const QString& path) override;
    RfcDocument* openRfcNumber(int number) override;
    RfcDocument* openRecentFile(int index) override;
    const RfcIndexStatus* indexStatus() const override;
    // Reads the RFC folder's index again and shows what it says in every
    // window: after a change on disk, Update RFC Index, or a new folder.
    void reloadIndexStatus() override;
    // Opens the documents of the command line or of a later start (see
    // documentArguments): files, and RFC numbers from the local folder or,
    // where the file is missing, at their entry of the RFC index. Arguments
    // that come before start has finished wait for it.
    void openArguments(const QStringList& arguments);

    RfcSettings& settings() override { return m_settings; }
    const RfcSettings& settings() const override { return m_settings; }
    Profile& profile() override { return m_profile; }
    const std::string& appDirectory() const override { return m_appDirectory; }
    const std::string& iniPath() const { return m_iniPath; }
    RecentFileList& recentFiles() override { return m_recentFiles; }
    MainWindow* mainWindow() const { return m_mainWindow.get(); }

    bool updateCommand(int id, CommandState& state) override;
    bool runCommand(int id) override;

    // The folder last chosen in a folder browser; kept until the program ends.
    std::string lastBrowsedFolder;

private:
    void installHandlers();

    std::string m_appDirectory;
    SettingsFileChoice m_settingsFile;
    std::string m_iniPath;
    Profile m_profile;
    RfcSettings m_settings;
    RecentFileList m_recentFiles;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::map<int, std::function<void()>> m_handlers;
    RfcIndexStatus m_indexStatus;
    // Watches rfc-index.txt and its folder (a download replaces the file).
    QFileSystemWatcher* m_indexWatcher = nullptr;
    QTimer m_indexReload;
    bool m_started = false;
    QStringList m_argumentsBeforeStart;
};

} // namespace parchly

#endif
