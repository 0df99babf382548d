#include "app/parchly_application.h"

#include "app/about_dialog.h"
#include "app/command_line.h"
#include "app/dark_formats.h"
#include "analysis/file_access.h"
#include "settings/download_addresses.h"
#include "settings/app_directory.h"
#include "view/command_ids.h"
#include "settings/rfc_paths.h"
#include "app/options_dialog.h"
#include "frame/main_window.h"
#include "frame/new_rfcs_notice.h"
#include "platform/dialogs.h"
#include "platform/tree_images.h"
#include "ui/tip_dialog.h"
#include "view/print_setup_dialog.h"
#include "view/printing.h"
#include "view/rfc_document.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QStandardPaths>
#include <cstdio>
#include <filesystem>
#include <utility>

namespace parchly {

namespace {

bool endsWithTxt(const QString& path)
{
    return path.size() >= 5 && path.right(4).compare(QLatin1String(".txt"), Qt::CaseInsensitive) == 0;
}

} // namespace

ParchlyApplication::ParchlyApplication(QObject* parent)
    : QObject(parent)
    , m_appDirectory(firstResourceFolder(resourceFolderCandidates()).toStdString())
    , m_settingsFile(chooseSettingsFile(QDir::currentPath(),
                                        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)))
    , m_iniPath(QFile::encodeName(m_settingsFile.path).toStdString())
    , m_profile(m_iniPath)
    , m_settings(m_appDirectory)
    , m_recentFiles(m_profile)
{
    // A write cut short by a kill or a crash leaves its temporary file.
    removeStaleTemporaries(m_iniPath);
    m_settings.RfcRootPath = QFile::encodeName(defaultRfcFolder()).toStdString();
    m_settings.loadSettings(m_profile);
    migrateOldDefaultAddresses(m_settings, m_profile);
    if (paletteIsDark(QGuiApplication::palette()))
        followDarkPalette(m_settings);
    installHandlers();
    m_indexWatcher = new QFileSystemWatcher(this);
    // A download writes the file in pieces: it is read once the writing rests.
    m_indexReload.setSingleShot(true);
    m_indexReload.setInterval(300);
    connect(&m_indexReload, &QTimer::timeout, this, &ParchlyApplication::reloadIndexStatus);
    connect(m_indexWatcher, &QFileSystemWatcher::fileChanged, &m_indexReload, qOverload<>(&QTimer::start));
    connect(m_indexWatcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        // Of the folder's changes only the index's coming or going matters.
        const QString index =
            QFile::decodeName(m_settings.RfcRootPath.c_str()) + QStringLiteral("/rfc-index.txt");
        if (QFileInfo::exists(index) == m_indexWatcher->files().isEmpty())
            m_indexReload.start();
    });
    reloadIndexStatus();
}

ParchlyApplication::~ParchlyApplication()
{
    m_mainWindow.reset();
}

bool ParchlyApplication::start()
{
    if (!m_settingsFile.problem.isEmpty())
        dialogs().message(nullptr, m_settingsFile.problem);
    // The default RFC folder is made the first time it is the one in use,
    // so that downloads have somewhere to go.
    if (m_settings.RfcRootPath == QFile::encodeName(defaultRfcFolder()).toStdString())
        QDir().mkpath(defaultRfcFolder());
    m_recentFiles.load();
    m_mainWindow = std::make_unique<MainWindow>(*this);
    m_mainWindow->showMaximized();
    treeImages();
    if (m_settings.OpenRfcIndexWhenStarted)
        m_mainWindow->runCommand(kCmdOpenRfcIndex);
    // The windows of the last run come back after the index, so that the one
    // the reader was in is the active one.
    m_mainWindow->restoreSession();
    m_started = true;
    openArguments(std::exchange(m_argumentsBeforeStart, {}));
    // Only when Options switch it on: no network access otherwise.
    m_mainWindow->newRfcsNotice()->checkIfDue(QDateTime::currentSecsSinceEpoch());
    // The tip stands over the main window and the documents it holds, never
    // over an empty screen, and keeps none of them waiting.
    showStartUpTip(m_appDirectory, m_profile, m_mainWindow.get());
    return true;
}

RfcDocument* ParchlyApplication::openDocumentFile(const QString& path)
{
    if (!canOpenForReading(QFile::encodeName(path).toStdString())) {
        dialogs().message(m_mainWindow.get(), QStringLiteral("Cannot open file: %1.").arg(path));
        return nullptr;
    }
    if (const QString refusal = refusalOf(path); !refusal.isEmpty()) {
        dialogs().message(m_mainWindow.get(), refusal, MessageButtons::Ok, MessageIcon::Warning);
        return nullptr;
    }
    if (!endsWithTxt(path)) {
        const QString question = QStringLiteral("It seems that %1 is not in txt format, continue?").arg(path);
        if (dialogs().message(m_mainWindow.get(), question, MessageButtons::OkCancel, MessageIcon::Question)
            != MessageAnswer::Ok)
            return nullptr;
    }
    if (!m_mainWindow)
        return nullptr;
    RfcDocument* document = m_mainWindow->openDocument(path);
    if (document)
        m_recentFiles.add(QFile::encodeName(path).toStdString());
    return document;
}

RfcDocument* ParchlyApplication::openRfcNumber(int number)
{
    return openDocumentFile(QFile::decodeName(rfcPath(m_settings.RfcRootPath, number).c_str()));
}

const RfcIndexStatus* ParchlyApplication::indexStatus() const
{
    return m_indexStatus.empty() ? nullptr : &m_indexStatus;
}

void ParchlyApplication::reloadIndexStatus()
{
    const QString folder = QFile::decodeName(m_settings.RfcRootPath.c_str());
    const QString path = folder + QStringLiteral("/rfc-index.txt");
    m_indexStatus.read(QFile::encodeName(path).toStdString());
    if (!m_indexWatcher->files().isEmpty())
        m_indexWatcher->removePaths(m_indexWatcher->files());
    if (!m_indexWatcher->directories().isEmpty())
        m_indexWatcher->removePaths(m_indexWatcher->directories());
    if (QFileInfo::exists(path))
        m_indexWatcher->addPath(path);
    if (QFileInfo::exists(folder))
        m_indexWatcher->addPath(folder);
    if (m_mainWindow)
        m_mainWindow->indexStatusChanged();
}

RfcDocument* ParchlyApplication::openRecentFile(int index)
{
    const std::vector<std::string>& paths = m_recentFiles.paths();
    if (index < 0 || index >= static_cast<int>(paths.size()))
        return nullptr;
    RfcDocument* document = openDocumentFile(QFile::decodeName(paths[index].c_str()));
    // A failed open leaves the list as it was: the entry is still at `index`.
    if (!document)
        m_recentFiles.remove(index);
    return document;
}

void ParchlyApplication::openArguments(const QStringList& arguments)
{
    if (!m_started) {
        m_argumentsBeforeStart += arguments;
        return;
    }
    if (!m_mainWindow)
        return;
    for (const QString& argument : arguments) {
        const int number = rfcNumberArgument(argument);
        if (number == 0)
            openDocumentFile(argument);
        else if (canOpenForReading(rfcPath(m_settings.RfcRootPath, number)))
            openRfcNumber(number);
        else if (!m_mainWindow->showIndexEntry(number) && m_mainWindow->indexDocumentOpen())
            dialogs().message(m_mainWindow.get(),
                              QStringLiteral("RFC %1 is not in the RFC index.").arg(number));
    }
    // A later start asked for this program: bring it to the front.
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

void ParchlyApplication::installHandlers()
{
    // The application's commands; each is enabled while it has a handler here.
    m_handlers[kCmdAbout] = [this] {
        AboutDialog about(QString::fromStdString(m_settings.HomepageUrl), m_mainWindow.get());
        m_mainWindow->runDialog(about);
    };
    m_handlers[kCmdOptions] = [this] {
        OptionsDialog options(m_settings, m_profile, lastBrowsedFolder, m_mainWindow.get());
        // The index is read from the folder the Options may have changed.
        connect(&options, &OptionsDialog::applied, this, &ParchlyApplication::reloadIndexStatus);
        connect(&options, &OptionsDialog::applied, m_mainWindow.get(), &MainWindow::applySettings);
        m_mainWindow->runDialog(options);
    };
    m_handlers[kCmdTipOfTheDayApp] = [this] {
        TipDialog tip(m_appDirectory, m_profile, m_mainWindow.get());
        m_mainWindow->runDialog(tip);
    };
    m_handlers[kCmdPrintSetup] = [this] {
        PrintSetupDialog setup(sessionPrinter(m_mainWindow->readingSession()), m_settings.PrintScreenColours,
                               m_mainWindow.get());
        if (m_mainWindow->runDialog(setup) != QDialog::Accepted)
            return;
        m_settings.PrintScreenColours = setup.screenColours();
        m_settings.savePrintOptions(m_profile);
    };
    m_handlers[kCmdFileOpen] = [this] {
        // RFCs are read from the local folder: start there, showing RFCs first.
        const QString path = dialogs().openFileName(
            m_mainWindow.get(), QStringLiteral("Open"), QFile::decodeName(m_settings.RfcRootPath.c_str()),
            QStringLiteral("RFC files (rfc*.txt rfc-index.txt);;All Files (*)"));
        if (!path.isEmpty())
            openDocumentFile(path);
    };
}

bool ParchlyApplication::updateCommand(int id, CommandState& state)
{
    if (!m_handlers.count(id))
        return false;
    state.enabled = true;
    return true;
}

bool ParchlyApplication::runCommand(int id)
{
    auto handler = m_handlers.find(id);
    if (handler == m_handlers.end())
        return false;
    handler->second();
    return true;
}

} // namespace parchly
