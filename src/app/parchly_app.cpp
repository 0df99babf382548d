#include "app/parchly_app.h"

#include "app/about_dialog.h"
#include "app/app_directory.h"
#include "app/command_ids.h"
#include "app/options_dialog.h"
#include "frame/main_frame.h"
#include "platform/dialogs.h"
#include "platform/tree_images.h"
#include "ui/tip_dialog.h"
#include "view/printing.h"

#include <QFile>
#include <cstdio>
#include <filesystem>

namespace parchly {

namespace {

CParchlyApp* runningApp = nullptr;

bool endsWithTxt(const QString& path)
{
    return path.size() >= 5 && path.right(4).compare(QLatin1String(".txt"), Qt::CaseInsensitive) == 0;
}

} // namespace

std::string rfcPath(const std::string& rootPath, int number)
{
    char path[1024];
    std::snprintf(path, sizeof path, "%s/rfc%d.txt", rootPath.c_str(), number);
    return path;
}

bool canOpenForReading(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return false;
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file)
        return false;
    std::fclose(file);
    return true;
}

CParchlyApp::CParchlyApp(QObject* parent)
    : QObject(parent), appDirectory_(AppDirectory()), iniPath_(appDirectory_ + "Parchly.ini"),
      profile_(iniPath_), settings_(appDirectory_), recentFiles_(profile_)
{
    settings_.LoadSettings(profile_);
    installHandlers();
    runningApp = this;
}

CParchlyApp::~CParchlyApp()
{
    mainFrame_.reset();
    if (runningApp == this)
        runningApp = nullptr;
}

CParchlyApp* CParchlyApp::instance()
{
    return runningApp;
}

bool CParchlyApp::InitInstance()
{
    // The tip comes before the main window exists, as the program's first word.
    ShowStartUpTip(appDirectory_, profile_);
    recentFiles_.load();
    mainFrame_ = std::make_unique<CMainFrame>(*this);
    // A file named on the command line is not opened: the program starts
    // with no document.
    mainFrame_->showMaximized();
    treeImages();
    if (settings_.OpenRfcIndexWhenStarted)
        mainFrame_->runCommand(kCmdOpenRfcIndex);
    return true;
}

CParchlyDoc* CParchlyApp::OpenDocumentFile(const QString& path)
{
    if (!canOpenForReading(QFile::encodeName(path).toStdString())) {
        dialogs().message(mainFrame_.get(), QStringLiteral("Cannot open file: %1.").arg(path));
        return nullptr;
    }
    if (!endsWithTxt(path)) {
        const QString question = QStringLiteral("It seems that %1 is not in txt format, continue?").arg(path);
        if (dialogs().message(mainFrame_.get(), question, MessageButtons::OkCancel,
                              MessageIcon::Question) != MessageAnswer::Ok)
            return nullptr;
    }
    if (!mainFrame_)
        return nullptr;
    CParchlyDoc* document = mainFrame_->openDocument(path);
    if (document)
        recentFiles_.add(QFile::encodeName(path).toStdString());
    return document;
}

CParchlyDoc* CParchlyApp::OpenRfcNumber(int number)
{
    return OpenDocumentFile(QFile::decodeName(rfcPath(settings_.RfcRootPath, number).c_str()));
}

CParchlyDoc* CParchlyApp::OpenRecentFile(int index)
{
    const std::vector<std::string>& paths = recentFiles_.paths();
    if (index < 0 || index >= static_cast<int>(paths.size()))
        return nullptr;
    CParchlyDoc* document = OpenDocumentFile(QFile::decodeName(paths[index].c_str()));
    // A failed open leaves the list as it was: the entry is still at `index`.
    if (!document)
        recentFiles_.remove(index);
    return document;
}

void CParchlyApp::installHandlers()
{
    // The application's commands; each is enabled while it has a handler here.
    handlers_[kCmdAbout] = [this] {
        CAboutDlg about(mainFrame_.get());
        about.exec();
    };
    handlers_[kCmdOptions] = [this] {
        COptionsDlg options(settings_, profile_, LastBrowsedFolder, mainFrame_.get());
        options.exec();
    };
    handlers_[kCmdPrintSetup] = [this] { PrintSetup(mainFrame_.get()); };
    handlers_[kCmdTipOfTheDayApp] = [this] {
        CTipDlg tip(appDirectory_, profile_, mainFrame_.get());
        tip.exec();
    };
    handlers_[kCmdPrintSetup] = [this] { PrintSetup(mainFrame_.get()); };
    handlers_[kCmdFileOpen] = [this] {
        const QString path = dialogs().openFileName(mainFrame_.get(), QStringLiteral("Open"),
                                                    QString(), QStringLiteral("All Files (*)"));
        if (!path.isEmpty())
            OpenDocumentFile(path);
    };
}

bool CParchlyApp::updateCommand(int id, CommandState& state)
{
    if (!handlers_.count(id))
        return false;
    state.enabled = true;
    return true;
}

bool CParchlyApp::runCommand(int id)
{
    auto handler = handlers_.find(id);
    if (handler == handlers_.end())
        return false;
    handler->second();
    return true;
}

} // namespace parchly
