// The application object: the settings and where they are kept, start-up,
// the opening of every document, and the commands that need no window.
// Created in main() after the QApplication; tests create one per test.
#ifndef PARCHLY_APP_PARCHLY_APP_H
#define PARCHLY_APP_PARCHLY_APP_H

#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/command_target.h"
#include "app/recent_file_list.h"
#include "app/settings.h"
#include "platform/profile.h"

namespace parchly {

class CMainFrame;
class CParchlyDoc;

class CParchlyApp : public QObject, public CommandTarget {
    Q_OBJECT
public:
    // Fixes AppDirectory from the current directory, points the profile at
    // AppDirectory + "Parchly.ini" and loads the settings from it.
    explicit CParchlyApp(QObject* parent = nullptr);
    ~CParchlyApp() override;

    // The running application object, or null when there is none.
    static CParchlyApp* instance();

    // Start-up: recent files, main frame shown with no document, the tree
    // images, the RFC index when so configured. False ends the program.
    bool InitInstance();

    // Opens `path` as a document after checking that it can be read and,
    // for a name not ending in ".txt", asking the user. Null when stopped.
    CParchlyDoc* OpenDocumentFile(const QString& path);

    // Opens "<RfcRootPath>/rfc<number>.txt".
    CParchlyDoc* OpenRfcNumber(int number);

    // Opens entry `index` of the recent-file list; an entry that cannot be
    // opened is dropped from the list.
    CParchlyDoc* OpenRecentFile(int index);

    RfcSettings& settings() { return settings_; }
    const RfcSettings& settings() const { return settings_; }
    Profile& profile() { return profile_; }
    const std::string& appDirectory() const { return appDirectory_; }
    const std::string& iniPath() const { return iniPath_; }
    RecentFileList& recentFiles() { return recentFiles_; }
    CMainFrame* mainFrame() const { return mainFrame_.get(); }

    bool updateCommand(int id, CommandState& state) override;
    bool runCommand(int id) override;

    // The folder last chosen in a folder browser; kept until the program ends.
    std::string LastBrowsedFolder;
    // True while a document showing the RFC index is open.
    bool indexDocumentOpen = false;

private:
    void installHandlers();

    std::string appDirectory_;
    std::string iniPath_;
    Profile profile_;
    RfcSettings settings_;
    RecentFileList recentFiles_;
    std::unique_ptr<CMainFrame> mainFrame_;
    std::map<int, std::function<void()>> handlers_;
};

// The path of RFC `number` under `rootPath`, as "%s/rfc%d.txt" limited to
// 1,023 characters.
std::string rfcPath(const std::string& rootPath, int number);

// Whether `path` names a readable file (a folder is not one).
bool canOpenForReading(const std::string& path);

} // namespace parchly

#endif
