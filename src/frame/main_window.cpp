#include "frame/main_window.h"

#include "settings/command_ids.h"
#include "frame/frame_host.h"
#include "settings/recent_file_list.h"
#include "settings/settings.h"
#include "settings/rfc_paths.h"
#include "collections/bookmarks_dialog.h"
#include "collections/favorite_rfcs_dialog.h"
#include "download/download_commands.h"
#include "frame/document_window.h"
#include "frame/command_icons.h"
#include "frame/command_table.h"
#include "frame/document_tab_bar.h"
#include "frame/frame_collections_host.h"
#include "frame/welcome_panel.h"
#include "platform/dialogs.h"
#include "settings/profile.h"
#include "platform/tab_strip.h"
#include "ui/tip_dialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

namespace parchly {

namespace {

const char kBarSection[] = "Toolbar";
const QColor kMdiBackground(135, 128, 135);
constexpr int kCommandRefreshMs = 250;
constexpr int kEditToolbar = 1;
constexpr int kViewToolbar = 2;

QString promptPart(const char* prompt, int part)
{
    if (!prompt)
        return QString();
    return QString::fromLatin1(prompt).section(QLatin1Char('\n'), part, part);
}

bool samePath(const QString& a, const QString& b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

} // namespace

MainWindow::MainWindow(FrameHost& app)
    : m_app(app), m_mdiArea(new QMdiArea(this)), m_welcome(new WelcomePanel(m_mdiArea->viewport()))
{
    urlOpener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    setWindowTitle(QStringLiteral("Parchly Standard"));
    resize(1000, 720);
    m_mdiArea->setBackground(kMdiBackground);
    setCentralWidget(m_mdiArea);

    createActions();
    installHandlers();
    createToolbars();
    createStatusBar();
    setDockOptions(dockOptions() | QMainWindow::AllowNestedDocks);
    addToolBarBreak(Qt::TopToolBarArea);
    m_tabBar = new DocumentTabBar(this);
    addToolBar(Qt::TopToolBarArea, m_tabBar);
    connect(m_tabBar, &DocumentTabBar::tabChosen, this, &MainWindow::documentTabChosen);
    restoreBarState();
    buildMenus(128);

    connect(m_welcome, &WelcomePanel::downloadIndexRequested, this, [this] { routeCommand(kCmdUpdateRfcIndex); });
    connect(m_welcome, &WelcomePanel::openFileRequested, this, [this] { routeCommand(kCmdFileOpen); });
    connect(m_welcome, &WelcomePanel::chooseFolderRequested, this, [this] {
        const QString folder = dialogs().folderName(this, QStringLiteral("Choose a folder of RFCs"),
                                                    QFile::decodeName(m_app.settings().RfcRootPath.c_str()));
        if (folder.isEmpty())
            return;
        m_app.settings().RfcRootPath = QFile::encodeName(folder).toStdString();
        m_app.settings().saveSettings(m_app.profile());
        updateWelcome();
    });
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (auto* child = qobject_cast<DocumentWindow*>(window))
            documentWindowActivated(child);
    });
    // The toolbars follow the state of the commands like an idle update.
    auto* refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, [this] {
        if (isVisible())
            updateCommands();
    });
    refresh->start(kCommandRefreshMs);
    updateCommands();
}

MainWindow::~MainWindow()
{
    // The child frames' views remove their tabs from the tab bar as they go,
    // so they go first; closed ones may still wait for their deletion.
    m_children.clear();
    for (DocumentWindow* child : m_mdiArea->findChildren<DocumentWindow*>())
        delete child;
}

void MainWindow::createActions()
{
    for (const CommandInfo& info : commandTable()) {
        auto* action = new QAction(QString::fromLatin1(info.menuText), this);
        action->setData(info.id);
        action->setStatusTip(promptPart(info.prompt, 0));
        const QString toolTip = promptPart(info.prompt, 1);
        if (!toolTip.isEmpty())
            action->setToolTip(toolTip);
        action->setIcon(commandIcon(info.id));
        if (info.shortcuts) {
            QList<QKeySequence> keys;
            for (const QString& key : QString::fromLatin1(info.shortcuts).split(QLatin1Char(';')))
                keys << QKeySequence(key);
            action->setShortcuts(keys);
            action->setShortcutContext(Qt::WindowShortcut);
            // Accelerators work with or without a menu item.
            addAction(action);
        }
        connect(action, &QAction::triggered, this, [this, id = info.id] { routeCommand(id); });
        m_actions[info.id] = action;
    }
    for (int i = 0; i < kRecentFileCount; ++i) {
        auto* action = new QAction(this);
        action->setData(kCmdRecentFile1 + i);
        action->setStatusTip(QStringLiteral("Open this document"));
        connect(action, &QAction::triggered, this, [this, i] { routeCommand(kCmdRecentFile1 + i); });
        m_actions[kCmdRecentFile1 + i] = action;
    }
}

void MainWindow::createToolbars()
{
    const bool withText = m_app.settings().LargeToolBarButtonWithText;
    for (const ToolbarLayout& layout : toolbarLayouts()) {
        auto* bar = new QToolBar(QString::fromLatin1(layout.caption), this);
        bar->setObjectName(QString::fromLatin1(layout.objectName));
        bar->setIconSize(QSize(16, 15));
        bar->setAllowedAreas(Qt::AllToolBarAreas);
        for (int id : layout.buttons) {
            if (id == kSeparator) {
                bar->addSeparator();
                continue;
            }
            QAction* action = m_actions.at(id);
            bar->addAction(action);
            if (withText) {
                action->setIconText(QString::fromLatin1(findCommand(id)->buttonText));
                bar->widgetForAction(action)->setFixedSize(50, 40);
            }
        }
        if (withText)
            bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        // Standard, Edit and View stand side by side in one row at the top.
        addToolBar(Qt::TopToolBarArea, bar);
        m_toolbars.push_back(bar);
    }
}

void MainWindow::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->addWidget(new QLabel(QStringLiteral("Ready"), bar), 1);
    m_modePane = new QLabel(bar);
    m_positionPane = new QLabel(bar);
    const QFontMetrics metrics(bar->font());
    m_modePane->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("Structure View")) + 6);
    m_positionPane->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("Ln 65535, Col 65535")) + 6);
    bar->addPermanentWidget(m_modePane);
    bar->addPermanentWidget(m_positionPane);
}

void MainWindow::restoreBarState()
{
    Profile& profile = m_app.profile();
    const std::string state = profile.readString(kBarSection, "State", "");
    if (!state.empty())
        restoreState(QByteArray::fromBase64(QByteArray::fromStdString(state)));
    // The two switches win over the stored layout.
    m_toolbars[kEditToolbar]->setVisible(profile.readInt(kBarSection, "EditVisible", 1) != 0);
    m_toolbars[kViewToolbar]->setVisible(profile.readInt(kBarSection, "ViewVisible", 1) != 0);
}

void MainWindow::saveBarState()
{
    Profile& profile = m_app.profile();
    ProfileBatch batch(profile);
    profile.writeString(kBarSection, "State", saveState().toBase64().toStdString());
    profile.writeInt(kBarSection, "EditVisible", m_toolbars[kEditToolbar]->isVisibleTo(this) ? 1 : 0);
    profile.writeInt(kBarSection, "ViewVisible", m_toolbars[kViewToolbar]->isVisibleTo(this) ? 1 : 0);
}

void MainWindow::installHandlers()
{
    // The main frame's commands; each is enabled while it has a handler here.
    m_handlers[kCmdOpenRfcIndex] = [this] { openRfcIndex(); };
    m_handlers[kCmdViewIndex] = [this] { openRfcIndex(); };
    m_handlers[kCmdHelpContents] = [this] { openHelp(QString()); };
    m_handlers[kCmdHelpIndex] = [this] { openHelp(QStringLiteral("index")); };
    m_handlers[kCmdStandardToolbar] = [this] { toggleBar(m_toolbars[0]); };
    m_handlers[kCmdEditToolbar] = [this] { toggleBar(m_toolbars[kEditToolbar]); };
    m_handlers[kCmdViewToolbar] = [this] { toggleBar(m_toolbars[kViewToolbar]); };
    m_handlers[kCmdStatusBar] = [this] { toggleBar(statusBar()); };
    m_handlers[kCmdHomepage] = [this] {
        urlOpener(QUrl::fromUserInput(QString::fromStdString(m_app.settings().HomepageUrl)));
    };
    m_handlers[kCmdExit] = [this] { close(); };
    m_handlers[kCmdCascade] = [this] { m_mdiArea->cascadeSubWindows(); };
    m_handlers[kCmdTile] = [this] { m_mdiArea->tileSubWindows(); };
    m_handlers[kCmdArrangeIcons] = [this] { arrangeIcons(); };
    m_handlers[kCmdTipOfTheDay] = [this] {
        TipDialog tip(m_app.appDirectory(), m_app.profile(), this);
        tip.exec();
    };
    m_handlers[kCmdBookmarks] = [this] {
        FrameCollectionsHost host(*this, m_app);
        BookmarksDialog bookmarks(host, m_app.profile(), this);
        bookmarks.exec();
    };
    m_handlers[kCmdFavoriteRfcs] = [this] {
        FrameCollectionsHost host(*this, m_app);
        FavoriteRfcsDialog favorites(host, m_app.profile(), this);
        favorites.exec();
    };
    m_handlers[kCmdUpdateRfcIndex] = [this] { updateRfcIndex(this, m_app.settings()); };
    m_handlers[kCmdDownloadRfc] = [this] { downloadRfc(this, m_app.settings()); };
    m_handlers[kCmdDownloadCollection] = [this] { downloadRfcCollection(this, m_app.settings()); };
}

void MainWindow::buildMenus(int resource)
{
    if (resource == m_menuResource)
        return;
    m_menuResource = resource;
    QMenuBar* bar = menuBar();
    bar->clear();
    for (QMenu* old : bar->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
        delete old;
    for (const MenuLayout& layout : menuLayout(resource)) {
        QMenu* menu = bar->addMenu(QString::fromLatin1(layout.title));
        fillMenu(menu, layout.items);
        const bool hasRecentFiles = std::count(layout.items.begin(), layout.items.end(), kRecentFilesSlot) > 0;
        const bool hasWindowList = std::count(layout.items.begin(), layout.items.end(), kWindowListSlot) > 0;
        connect(menu, &QMenu::aboutToShow, this, [this, menu, hasRecentFiles, hasWindowList] {
            if (hasRecentFiles)
                fillRecentFiles(menu);
            if (hasWindowList)
                fillWindowList(menu);
            updateCommands();
        });
    }
}

void MainWindow::fillMenu(QMenu* menu, const std::vector<int>& items)
{
    for (int id : items) {
        switch (id) {
        case kSeparator:
            menu->addSeparator();
            break;
        case kRecentFilesSlot: {
            QAction* placeholder = menu->addAction(QStringLiteral("Recent File"));
            placeholder->setEnabled(false);
            placeholder->setObjectName(QStringLiteral("RecentFilePlaceholder"));
            for (int i = 0; i < kRecentFileCount; ++i)
                menu->addAction(m_actions.at(kCmdRecentFile1 + i));
            fillRecentFiles(menu);
            break;
        }
        case kToolbarsSubmenuSlot:
            fillMenu(menu->addMenu(QStringLiteral("&Toolbars")), toolbarsSubmenu());
            break;
        case kWindowListSlot:
            menu->addSeparator()->setObjectName(QStringLiteral("WindowList"));
            break;
        default:
            menu->addAction(m_actions.at(id));
            break;
        }
    }
}

void MainWindow::fillRecentFiles(QMenu* menu)
{
    const std::vector<std::string>& paths = m_app.recentFiles().paths();
    for (QAction* action : menu->actions())
        if (action->objectName() == QLatin1String("RecentFilePlaceholder"))
            action->setVisible(paths.empty());
    refreshRecentFileActions();
}

void MainWindow::refreshRecentFileActions()
{
    const std::vector<std::string>& paths = m_app.recentFiles().paths();
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* action = m_actions.at(kCmdRecentFile1 + i);
        const bool used = i < static_cast<int>(paths.size());
        action->setVisible(used);
        if (used)
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QFile::decodeName(paths[i].c_str())));
    }
}

void MainWindow::fillWindowList(QMenu* menu)
{
    // The entries after the marker are made anew each time the menu opens.
    bool afterMarker = false;
    for (QAction* action : menu->actions()) {
        if (afterMarker)
            delete action;
        else if (action->objectName() == QLatin1String("WindowList"))
            afterMarker = true;
    }
    DocumentWindow* active = activeDocumentWindow();
    int number = 1;
    for (DocumentWindow* child : m_children) {
        QAction* entry = menu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(child->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(child == active);
        connect(entry, &QAction::triggered, this, [this, child] { activateDocumentWindow(child); });
    }
}

QAction* MainWindow::commandAction(int id) const
{
    auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

DocumentWindow* MainWindow::activeDocumentWindow() const
{
    // currentSubWindow also answers while the program is not the active one.
    return qobject_cast<DocumentWindow*>(m_mdiArea->currentSubWindow());
}

void MainWindow::activateDocumentWindow(DocumentWindow* child)
{
    if (!child)
        return;
    m_mdiArea->setActiveSubWindow(child);
    documentWindowActivated(child);
}

void MainWindow::setModePane(const QString& text)
{
    m_modePane->setText(text);
}

void MainWindow::setPositionPane(const QString& text)
{
    m_positionPane->setText(text);
}

QString MainWindow::modePane() const
{
    return m_modePane->text();
}

QString MainWindow::positionPane() const
{
    return m_positionPane->text();
}

RfcDocument* MainWindow::openDocument(const QString& path)
{
    for (DocumentWindow* child : m_children)
        if (samePath(child->path(), path)) {
            activateDocumentWindow(child);
            return child->document();
        }
    auto* child = new DocumentWindow(*this, m_app, path);
    m_mdiArea->addSubWindow(child);
    m_children.push_back(child);
    buildMenus(129);
    child->showMaximized();
    activateDocumentWindow(child);
    child->initialUpdate();
    updateCommands();
    return child->document();
}

void MainWindow::documentWindowActivated(DocumentWindow* child)
{
    if (std::find(m_children.begin(), m_children.end(), child) == m_children.end())
        return;
    child->frameActivated();
    m_tabBar->selectViewTab(child->viewWidget());
    setWindowTitle(QStringLiteral("Parchly Standard - %1").arg(child->windowTitle()));
    updateCommands();
}

void MainWindow::documentWindowClosed(DocumentWindow* child)
{
    m_children.erase(std::remove(m_children.begin(), m_children.end(), child), m_children.end());
    setModePane(QString());
    if (m_children.empty()) {
        buildMenus(128);
        setWindowTitle(QStringLiteral("Parchly Standard"));
    }
    updateCommands();
}

std::vector<CommandTarget*> MainWindow::commandRoute()
{
    std::vector<CommandTarget*> route;
    if (DocumentWindow* child = activeDocumentWindow())
        route = child->commandRoute();
    route.push_back(this);
    route.push_back(&m_app);
    return route;
}

bool MainWindow::routeCommand(int id)
{
    bool handled = false;
    for (CommandTarget* target : commandRoute()) {
        CommandState state;
        if (target->updateCommand(id, state)) {
            // A disabled command does nothing, as an accelerator of a
            // greyed item does nothing.
            handled = state.enabled && target->runCommand(id);
            break;
        }
    }
    updateCommands();
    return handled;
}

void MainWindow::updateCommands()
{
    // A hidden action is a disabled one: show the used entries first.
    refreshRecentFileActions();
    const std::vector<CommandTarget*> route = commandRoute();
    for (const auto& [id, action] : m_actions) {
        CommandState state;
        for (CommandTarget* target : route)
            if (target->updateCommand(id, state))
                break;
        action->setEnabled(state.enabled);
        action->setCheckable(state.checkable);
        if (state.checkable)
            action->setChecked(state.checked);
    }
    updateWelcome();
}

void MainWindow::updateWelcome()
{
    const bool show = m_children.empty() &&
                      !QFileInfo(QFile::decodeName((m_app.settings().RfcRootPath + "/rfc-index.txt").c_str())).isFile();
    if (show) {
        m_welcome->adjustSize();
        const QSize area = m_mdiArea->viewport()->size();
        m_welcome->move((area.width() - m_welcome->width()) / 2, (area.height() - m_welcome->height()) / 2);
    }
    m_welcome->setVisible(show);
}

bool MainWindow::updateCommand(int id, CommandState& state)
{
    if (id >= kCmdRecentFile1 && id < kCmdRecentFile1 + kRecentFileCount) {
        state.enabled = id - kCmdRecentFile1 < static_cast<int>(m_app.recentFiles().paths().size());
        return true;
    }
    if (!m_handlers.count(id))
        return false;
    state.enabled = true;
    QWidget* bar = nullptr;
    switch (id) {
    case kCmdStandardToolbar: bar = m_toolbars[0]; break;
    case kCmdEditToolbar: bar = m_toolbars[kEditToolbar]; break;
    case kCmdViewToolbar: bar = m_toolbars[kViewToolbar]; break;
    case kCmdStatusBar: bar = statusBar(); break;
    case kCmdCascade:
    case kCmdTile:
    case kCmdArrangeIcons: state.enabled = !m_children.empty(); break;
    default: break;
    }
    if (bar) {
        state.checkable = true;
        state.checked = bar->isVisibleTo(this);
    }
    return true;
}

bool MainWindow::runCommand(int id)
{
    if (id >= kCmdRecentFile1 && id < kCmdRecentFile1 + kRecentFileCount) {
        m_app.openRecentFile(id - kCmdRecentFile1);
        return true;
    }
    auto handler = m_handlers.find(id);
    if (handler == m_handlers.end())
        return false;
    handler->second();
    return true;
}

bool MainWindow::indexDocumentOpen() const
{
    return std::any_of(m_children.begin(), m_children.end(), [](const DocumentWindow* child) {
        return child->isLoaded() && child->isIndexDocument();
    });
}

void MainWindow::openRfcIndex()
{
    if (!indexDocumentOpen()) {
        const std::string path = m_app.settings().RfcRootPath + "/rfc-index.txt";
        const QString shownPath = QFile::decodeName(path.c_str());
        if (!canOpenForReading(path)) {
            dialogs().message(this, shownPath + QStringLiteral(" does NOT exist!"));
            return;
        }
        m_app.openDocumentFile(shownPath);
        return;
    }
    for (DocumentWindow* child : m_children)
        if (child->isIndexDocument() && child->viewWidget()) {
            activateDocumentWindow(child);
            return;
        }
}

void MainWindow::toggleBar(QWidget* bar)
{
    bar->setVisible(!bar->isVisibleTo(this));
}

void MainWindow::arrangeIcons()
{
    // Minimised windows line up along the bottom of the MDI area.
    int x = 0;
    for (QMdiSubWindow* window : m_mdiArea->subWindowList())
        if (window->isMinimized()) {
            const QSize size = window->size();
            window->move(x, m_mdiArea->viewport()->height() - size.height());
            x += size.width();
        }
}

QString MainWindow::helpFile() const
{
    const QStringList candidates = {
        QString::fromStdString(m_app.appDirectory()) + QStringLiteral("manual/index.html"),
        QCoreApplication::applicationDirPath() + QStringLiteral("/manual/index.html"),
    };
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isFile())
            return candidate;
    return QString();
}

void MainWindow::openHelp(const QString& fragment)
{
    const QString file = helpFile();
    if (file.isEmpty())
        return;
    QUrl url = QUrl::fromLocalFile(file);
    if (!fragment.isEmpty())
        url.setFragment(fragment);
    urlOpener(url);
}

void MainWindow::documentTabChosen(int index)
{
    // Tabs stand in the order the documents were opened.
    if (index < 0 || index >= static_cast<int>(m_children.size()))
        return;
    DocumentWindow* child = m_children[index];
    if (child->viewWidget())
        activateDocumentWindow(child);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    saveBarState();
    m_mdiArea->closeAllSubWindows();
    event->accept();
}

} // namespace parchly
