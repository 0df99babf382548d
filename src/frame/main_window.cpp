#include "frame/main_window.h"

#include "frame/cited_by.h"
#include "frame/errata_service.h"
#include "frame/find_in_rfcs_dock.h"

#include "view/command_ids.h"
#include "frame/frame_host.h"
#include "settings/recent_file_list.h"
#include "settings/settings.h"
#include "settings/rfc_paths.h"
#include "bookmarks/bookmarks_dialog.h"
#include "bookmarks/favorite_rfcs_dialog.h"
#include "download/download_commands.h"
#include "analysis/rfc_text.h"
#include "frame/document_window.h"
#include "frame/reading_positions.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"
#include "frame/command_icons.h"
#include "frame/command_table.h"
#include "frame/document_tab_bar.h"
#include "frame/frame_bookmarks_host.h"
#include "frame/welcome_panel.h"
#include "frame/index_bar.h"
#include "index/index_status.h"
#include "frame/new_rfcs_notice.h"
#include "download/collection_commands.h"
#include "frame/open_rfc_dialog.h"
#include "collection/collection_files.h"
#include "platform/dialogs.h"
#include "settings/profile.h"
#include "platform/tab_strip.h"
#include "ui/tip_dialog.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <utility>

namespace parchly {

namespace {

const char kBarSection[] = "Toolbar";
const QColor kMdiBackground(135, 128, 135);
constexpr int kCommandRefreshMs = 250;
// The session is written this long after the last change: a crash loses at
// most the last moments, and scrolling does not write the file on every step.
constexpr int kSessionSaveDelayMs = 1500;
// How long a passing note stays in the status bar.
constexpr int kStatusNoteMs = 5000;
constexpr int kEditToolbar = 1;
constexpr int kViewToolbar = 2;

QString promptPart(const char* prompt, int part)
{
    if (!prompt)
        return QString();
    return QString::fromLatin1(prompt).section(QLatin1Char('\n'), part, part);
}

// The local files of a drag, in their order; empty when it carries none.
QStringList localFiles(const QMimeData* data)
{
    QStringList files;
    if (data && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                files << url.toLocalFile();
    return files;
}

bool samePath(const QString& a, const QString& b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

} // namespace

MainWindow::MainWindow(FrameHost& app)
    : m_app(app)
    , m_mdiArea(new QMdiArea(this))
    , m_welcome(new WelcomePanel(m_mdiArea->viewport()))
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
    connect(m_tabBar, &DocumentTabBar::tabCloseRequested, this, &MainWindow::closeTab);
    connect(m_tabBar, &DocumentTabBar::tabMenuRequested, this, &MainWindow::showTabMenu);
    // Files dropped anywhere on the window, the tab bar included, open.
    setAcceptDrops(true);
    m_tabBar->tabs()->setAcceptDrops(true);
    m_tabBar->tabs()->installEventFilter(this);
    restoreBarState();
    m_navigatorWidth = std::max(0, m_app.profile().readInt("Navigator", "Width", 0));
    buildMenus(MenuSet::NoDocument);

    // The welcome's ways to an index end in the index: it opens when it
    // arrives, by download or in the chosen folder.
    connect(m_welcome, &WelcomePanel::downloadIndexRequested, this, [this] {
        m_openIndexWhenItArrives = true;
        routeCommand(kCmdUpdateRfcIndex);
    });
    connect(m_welcome, &WelcomePanel::updateCollectionRequested, this,
            [this] { routeCommand(kCmdDownloadCollection); });
    connect(m_welcome, &WelcomePanel::openFileRequested, this, [this] { routeCommand(kCmdFileOpen); });
    connect(m_welcome, &WelcomePanel::chooseFolderRequested, this, [this] {
        const QString folder = dialogs().folderName(this, QStringLiteral("Choose a folder of RFCs"),
                                                    QFile::decodeName(m_app.settings().RfcRootPath.c_str()));
        if (folder.isEmpty())
            return;
        m_app.settings().RfcRootPath = QFile::encodeName(folder).toStdString();
        m_app.settings().saveSettings(m_app.profile());
        m_openIndexWhenItArrives = true;
        m_app.reloadIndexStatus();
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
    m_sessionSave = new QTimer(this);
    m_sessionSave->setSingleShot(true);
    m_sessionSave->setInterval(kSessionSaveDelayMs);
    connect(m_sessionSave, &QTimer::timeout, this, &MainWindow::saveSession);
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
            // A button with a status tip of its own takes its hint away
            // when the pointer leaves it; the action's alone stays.
            bar->widgetForAction(action)->setStatusTip(action->statusTip());
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
    m_noticePane = new QLabel(bar);
    m_noticePane->setObjectName(QStringLiteral("noticePane"));
    bar->addPermanentWidget(m_noticePane);
    m_newRfcsNotice = new NewRfcsNotice(*bar, m_app, this);
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
        showUrl(QUrl::fromUserInput(QString::fromStdString(m_app.settings().HomepageUrl)));
    };
    m_handlers[kCmdExit] = [this] { close(); };
    m_handlers[kCmdAddBookmark] = [this] {
        FrameBookmarksHost host(*this, m_app);
        const QString added = addBookmarkAtCaret(host, m_app.profile());
        if (!added.isEmpty())
            statusBar()->showMessage(QStringLiteral("Bookmark added: %1").arg(added), kStatusNoteMs);
    };
    m_handlers[kCmdOpenRfcNumber] = [this] {
        OpenRfcDialog choose(indexTitles(m_app.settings().RfcRootPath), this);
        if (runDialog(choose) == QDialog::Accepted)
            openRfc(choose.chosenNumber());
    };
    // Arranged side by side or overlapping, the windows are smaller: each
    // Navigator gives up its width to the text until maximized again.
    m_handlers[kCmdCascade] = [this] {
        for (DocumentWindow* child : m_children)
            child->shareNavigatorWidthAfterArranging();
        m_mdiArea->cascadeSubWindows();
    };
    m_handlers[kCmdTile] = [this] {
        for (DocumentWindow* child : m_children)
            child->shareNavigatorWidthAfterArranging();
        m_mdiArea->tileSubWindows();
    };
    m_handlers[kCmdArrangeIcons] = [this] { arrangeIcons(); };
    m_handlers[kCmdTipOfTheDay] = [this] {
        TipDialog tip(m_app.appDirectory(), m_app.profile(), this);
        runDialog(tip);
    };
    m_handlers[kCmdBookmarks] = [this] {
        FrameBookmarksHost host(*this, m_app);
        BookmarksDialog bookmarks(host, m_app.profile(), this);
        runDialog(bookmarks);
    };
    m_handlers[kCmdFavoriteRfcs] = [this] {
        FrameBookmarksHost host(*this, m_app);
        FavoriteRfcsDialog favorites(host, m_app.profile(), this);
        runDialog(favorites);
    };
    // The download dialogs are modal too: the keyboard goes back to the text.
    m_handlers[kCmdUpdateRfcIndex] = [this] {
        updateRfcIndex(this, m_app.settings());
        focusActiveText();
    };
    m_handlers[kCmdDownloadRfc] = [this] {
        downloadRfc(this, m_app.settings());
        focusActiveText();
    };
    m_handlers[kCmdDownloadCollection] = [this] {
        updateRfcCollection(this, m_app.settings(), [this](int32_t number) { m_app.openRfcNumber(number); });
        focusActiveText();
    };
    m_handlers[kCmdUpdateErrata] = [this] {
        if (updateErrata(this, m_app.settings()))
            errata().reload();
        focusActiveText();
    };
    m_handlers[kCmdCheckNewRfcs] = [this] { m_newRfcsNotice->checkNow(); };
    m_handlers[kCmdNextTab] = [this] { stepTab(1); };
    m_handlers[kCmdPreviousTab] = [this] { stepTab(-1); };
    m_handlers[kCmdIndexBar] = [this] {
        RfcSettings& settings = m_app.settings();
        settings.ShowIndexBar = !settings.ShowIndexBar;
        settings.saveIndexBar(m_app.profile());
        indexStatusChanged();
    };
    m_handlers[kCmdFindInRfcs] = [this] { showFindInRfcs(); };
}

void MainWindow::buildMenus(MenuSet set)
{
    if (set == m_menuSet)
        return;
    m_menuSet = set;
    // Each set's menus are made once and kept: a menu whose item is running
    // a command (Options applied, a window closed from the Window menu) may
    // have the menu bar switched under it, and must still be there when the
    // command returns into it.
    std::vector<QMenu*>& menus = m_menus[set];
    if (menus.empty()) {
        for (const MenuLayout& layout : menuLayout(set)) {
            auto* menu = new QMenu(QString::fromLatin1(layout.title), this);
            fillMenu(menu, layout.items);
            const bool hasRecentFiles =
                std::count(layout.items.begin(), layout.items.end(), kRecentFilesSlot) > 0;
            const bool hasWindowList =
                std::count(layout.items.begin(), layout.items.end(), kWindowListSlot) > 0;
            connect(menu, &QMenu::aboutToShow, this, [this, menu, hasRecentFiles, hasWindowList] {
                if (hasRecentFiles)
                    fillRecentFiles(menu);
                if (hasWindowList)
                    fillWindowList(menu);
                updateCommands();
            });
            menus.push_back(menu);
        }
    }
    QMenuBar* bar = menuBar();
    bar->clear();
    for (QMenu* menu : menus)
        bar->addMenu(menu);
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
        case kFavoritesSubmenuSlot: {
            QMenu* favorites = menu->addMenu(QStringLiteral("Favorite R&FCs"));
            favorites->setObjectName(QStringLiteral("FavoritesMenu"));
            connect(favorites, &QMenu::aboutToShow, this, [this, favorites] { fillFavorites(favorites); });
            fillFavorites(favorites);
            break;
        }
        default:
            menu->addAction(m_actions.at(id));
            break;
        }
    }
}

void MainWindow::fillFavorites(QMenu* menu)
{
    menu->clear();
    const RfcIndexStatus* index = m_app.indexStatus();
    for (const QString& path : favoriteRfcPaths(m_app.profile())) {
        // An RFC the index knows shows with its title, as the reader knows it.
        const int number = rfcNumberOfFileName(path);
        const IndexStatusEntry* entry = index && number > 0 ? index->entry(number) : nullptr;
        const QString text = entry && !entry->title.empty()
            ? QStringLiteral("RFC %1: %2").arg(number).arg(QString::fromStdString(entry->title))
            : QFileInfo(path).fileName();
        QAction* action = menu->addAction(QString(text).replace(QLatin1Char('&'), QStringLiteral("&&")));
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] { m_app.openDocumentFile(path); });
    }
    if (!menu->isEmpty())
        menu->addSeparator();
    menu->addAction(m_actions.at(kCmdFavoriteRfcs));
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
    buildMenus(MenuSet::Document);
    child->showMaximized();
    activateDocumentWindow(child);
    child->initialUpdate();
    child->setNavigatorWidth(m_navigatorWidth);
    connect(child, &DocumentWindow::navigatorWidthChosen, this, &MainWindow::navigatorWidthChosen);
    // A document read before opens where the reader left it.
    if (const std::optional<ReadingPosition> position =
            storedReadingPosition(m_app.profile(), child->positionKey()))
        child->setReadingPosition(*position);
    if (ReadingView* view = child->view()) {
        connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, &MainWindow::scheduleSessionSave);
        connect(view, &QPlainTextEdit::cursorPositionChanged, this, &MainWindow::scheduleSessionSave);
    }
    scheduleSessionSave();
    updateCommands();
    return child->document();
}

void MainWindow::documentWindowActivated(DocumentWindow* child)
{
    if (std::find(m_children.begin(), m_children.end(), child) == m_children.end())
        return;
    // What the status bar said of the window before is no longer so.
    if (child != m_lastActivated)
        statusBar()->clearMessage();
    m_lastActivated = child;
    child->frameActivated();
    // A window laid out while hidden takes the chosen Navigator width now.
    if (m_navigatorWidth > 0 && child->navigatorWidth() != m_navigatorWidth)
        child->setNavigatorWidth(m_navigatorWidth);
    m_tabBar->selectViewTab(child->viewWidget());
    setWindowTitle(QStringLiteral("Parchly Standard - %1").arg(child->windowTitle()));
    showNotice(child);
    scheduleSessionSave();
    updateCommands();
}

void MainWindow::showNotice(DocumentWindow* child)
{
    const bool plain = child && child->isLoaded() && child->document() && !child->document()->recognised();
    m_noticePane->setText(plain ? QStringLiteral("Not recognised as an RFC") : QString());
}

void MainWindow::documentWindowClosing(DocumentWindow* child)
{
    // The reader goes on with the tab beside the closed one (the next, or
    // the one before the last), not with whichever the windows list first.
    if (child == activeDocumentWindow()) {
        const int count = m_tabBar->tabs()->count();
        int closed = -1;
        for (int i = 0; i < count; ++i)
            if (m_tabBar->viewOfTab(i) == child->viewWidget())
                closed = i;
        m_closingNeighbour =
            closed < 0 ? nullptr : documentWindowOfTab(closed + 1 < count ? closed + 1 : closed - 1);
    }
    if (child == m_lastActivated)
        m_lastActivated = nullptr;
}

void MainWindow::documentWindowClosed(DocumentWindow* child)
{
    m_children.erase(std::remove(m_children.begin(), m_children.end(), child), m_children.end());
    // The MDI area has made another window active meanwhile.
    const QPointer<DocumentWindow> neighbour = std::exchange(m_closingNeighbour, nullptr);
    if (neighbour && neighbour != child && !m_closing)
        activateDocumentWindow(neighbour);
    setModePane(QString());
    DocumentWindow* active = activeDocumentWindow();
    showNotice(std::find(m_children.begin(), m_children.end(), active) != m_children.end() ? active
                                                                                           : nullptr);
    if (m_children.empty()) {
        buildMenus(MenuSet::NoDocument);
        setWindowTitle(QStringLiteral("Parchly Standard"));
    }
    scheduleSessionSave();
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
    const bool show = m_children.empty()
        && !QFileInfo(QFile::decodeName((m_app.settings().RfcRootPath + "/rfc-index.txt").c_str())).isFile();
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
    case kCmdStandardToolbar:
        bar = m_toolbars[0];
        break;
    case kCmdEditToolbar:
        bar = m_toolbars[kEditToolbar];
        break;
    case kCmdViewToolbar:
        bar = m_toolbars[kViewToolbar];
        break;
    case kCmdStatusBar:
        bar = statusBar();
        break;
    case kCmdAddBookmark:
        state.enabled = activeDocumentWindow() != nullptr;
        break;
    case kCmdNextTab:
    case kCmdPreviousTab:
    case kCmdCascade:
    case kCmdTile:
    case kCmdArrangeIcons:
        state.enabled = !m_children.empty();
        break;
    case kCmdIndexBar:
        state.checkable = true;
        state.checked = m_app.settings().ShowIndexBar;
        break;
    default:
        break;
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

bool MainWindow::showIndexEntry(int number)
{
    openRfcIndex();
    for (DocumentWindow* child : m_children) {
        if (!child->isIndexDocument() || !child->view())
            continue;
        const auto& entries = child->document()->text().indexEntries;
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].number == number) {
                child->document()->goToContentsEntry(static_cast<int>(i));
                return true;
            }
    }
    return false;
}

ReadingView* MainWindow::openRfc(int number)
{
    // A missing file the index lists is shown at its index entry.
    const RfcIndexStatus* index = m_app.indexStatus();
    if (!canOpenForReading(rfcPath(m_app.settings().RfcRootPath, number)) && index && index->entry(number)
        && showIndexEntry(number))
        return nullptr;
    return viewOf(m_app.openRfcNumber(number));
}

ReadingView* MainWindow::viewOf(const RfcDocument* document) const
{
    for (DocumentWindow* child : m_children)
        if (document && child->document() == document)
            return child->view();
    return nullptr;
}

void MainWindow::indexStatusChanged()
{
    for (DocumentWindow* child : m_children)
        child->updateIndexBar();
    const bool indexThere =
        canOpenForReading(m_app.settings().RfcRootPath + "/rfc-index.txt") && !indexDocumentOpen();
    if (m_openIndexWhenItArrives && m_children.empty() && indexThere) {
        m_openIndexWhenItArrives = false;
        openRfcIndex();
    }
    updateWelcome();
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
    if (file.isEmpty()) {
        dialogs().message(this,
                          QStringLiteral("The manual %1 was not found.")
                              .arg(QDir::toNativeSeparators(QString::fromStdString(m_app.appDirectory())
                                                            + QStringLiteral("manual/index.html"))));
        return;
    }
    QUrl url = QUrl::fromLocalFile(file);
    if (!fragment.isEmpty())
        url.setFragment(fragment);
    showUrl(url);
}

void MainWindow::showUrl(const QUrl& url)
{
    // Without a browser nothing would happen at all: say what could not be shown.
    if (urlOpener(url))
        return;
    const QString shown = url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString();
    dialogs().message(this, QStringLiteral("No web browser could be started to show %1.").arg(shown));
}

DocumentWindow* MainWindow::documentWindowOfTab(int index) const
{
    QWidget* view = m_tabBar->viewOfTab(index);
    if (!view)
        return nullptr;
    for (DocumentWindow* child : m_children)
        if (child->viewWidget() == view)
            return child;
    return nullptr;
}

void MainWindow::documentTabChosen(int index)
{
    if (DocumentWindow* child = documentWindowOfTab(index))
        activateDocumentWindow(child);
}

void MainWindow::closeTab(int index)
{
    if (DocumentWindow* child = documentWindowOfTab(index))
        child->close();
}

void MainWindow::navigatorWidthChosen(int width)
{
    // One width for every window, kept across runs.
    m_navigatorWidth = width;
    m_app.profile().writeInt("Navigator", "Width", width);
    for (DocumentWindow* child : m_children)
        child->setNavigatorWidth(width);
}

void MainWindow::stepTab(int step)
{
    // In the order of the tabs, round from the last to the first.
    const int count = m_tabBar->tabs()->count();
    if (count == 0)
        return;
    const int current = std::max(0, m_tabBar->tabs()->currentIndex());
    if (DocumentWindow* child = documentWindowOfTab((current + step + count) % count))
        activateDocumentWindow(child);
}

void MainWindow::fillTabMenu(QMenu& menu, int index)
{
    DocumentWindow* child = documentWindowOfTab(index);
    if (!child)
        return;
    const QPointer<DocumentWindow> target(child);
    menu.addAction(QStringLiteral("&Close"), this, [target] {
        if (target)
            target->close();
    });
    QAction* closeOthers = menu.addAction(QStringLiteral("Close &Others"), this, [this, target] {
        const std::vector<DocumentWindow*> children = m_children;
        for (DocumentWindow* other : children)
            if (other != target)
                other->close();
    });
    closeOthers->setEnabled(m_children.size() > 1);
    const QString path = QDir::toNativeSeparators(QFileInfo(child->path()).absoluteFilePath());
    menu.addAction(QStringLiteral("Copy &Path"), this,
                   [path] { QGuiApplication::clipboard()->setText(path); });
    menu.addAction(QStringLiteral("Open Containing &Folder"), this,
                   [this, path] { showUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath())); });
}

void MainWindow::showTabMenu(int index, const QPoint& globalPosition)
{
    QMenu menu(this);
    fillTabMenu(menu, index);
    if (!menu.isEmpty())
        menu.exec(globalPosition);
}

bool MainWindow::openDroppedFiles(const QMimeData* data)
{
    const QStringList files = localFiles(data);
    for (const QString& file : files)
        m_app.openDocumentFile(file);
    return !files.isEmpty();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    if (openDroppedFiles(event->mimeData()))
        event->acceptProposedAction();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The tab strip takes drops of its own, so that files dropped on it open.
    if (watched == m_tabBar->tabs()) {
        if (event->type() == QEvent::DragEnter) {
            dragEnterEvent(static_cast<QDragEnterEvent*>(event));
            return event->isAccepted();
        }
        if (event->type() == QEvent::Drop) {
            dropEvent(static_cast<QDropEvent*>(event));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::restoreSession()
{
    int active = -1;
    const std::vector<SessionWindow> windows = storedSession(m_app.profile(), active);
    reopenWindows(windows, active);
}

std::vector<SessionWindow> MainWindow::openWindows(int& active) const
{
    std::vector<SessionWindow> windows;
    active = -1;
    for (DocumentWindow* child : m_children) {
        if (!child->isLoaded())
            continue;
        if (child == activeDocumentWindow())
            active = static_cast<int>(windows.size());
        windows.push_back({child->positionKey(), child->readingPosition()});
    }
    return windows;
}

void MainWindow::applySettings()
{
    // Every document is composed afresh from the new settings in its own
    // window, where the reader was, its history kept.
    for (DocumentWindow* child : m_children)
        child->settingsApplied();
}

void MainWindow::reopenWindows(const std::vector<SessionWindow>& windows, int active)
{
    // Every window opened writes the settings (recent files, positions):
    // one write for the whole restore instead of one for each window.
    ProfileBatch batch(m_app.profile());
    DocumentWindow* activeChild = nullptr;
    for (size_t i = 0; i < windows.size(); ++i) {
        const QString path = QFile::decodeName(windows[i].path.c_str());
        // A file gone since is skipped without a word: the session is no request.
        if (!canOpenForReading(windows[i].path))
            continue;
        RfcDocument* document = m_app.openDocumentFile(path);
        for (DocumentWindow* child : m_children)
            if (document && child->document() == document) {
                child->setReadingPosition(windows[i].position);
                if (static_cast<int>(i) == active)
                    activeChild = child;
            }
    }
    activateDocumentWindow(activeChild);
}

ErrataService& MainWindow::errata()
{
    if (!m_errata)
        m_errata = std::make_unique<ErrataService>(m_app);
    return *m_errata;
}

void MainWindow::errataFilterChanged()
{
    for (DocumentWindow* child : m_children)
        child->errataFilterChanged();
}

CitedByService& MainWindow::citedBy()
{
    // Beside the settings file in use, like everything else the program keeps.
    if (!m_citedBy)
        m_citedBy = std::make_unique<CitedByService>(m_app,
                                                     QFileInfo(QString::fromStdString(m_app.profile().path()))
                                                         .absoluteDir()
                                                         .filePath(QStringLiteral("CitedBy.cache"))
                                                         .toStdString());
    return *m_citedBy;
}

void MainWindow::showFindInRfcs()
{
    if (!m_findInRfcs) {
        m_findInRfcs = new FindInRfcsDock(*this, m_app);
        addDockWidget(Qt::BottomDockWidgetArea, m_findInRfcs);
    }
    // The reader's selection, when short, is what to look for.
    QString text;
    if (DocumentWindow* child = activeDocumentWindow(); child && child->view())
        text = child->view()->textCursor().selectedText();
    m_findInRfcs->showWith(text.size() <= 100 ? text.trimmed() : QString());
}

void MainWindow::scheduleSessionSave()
{
    if (!m_closing)
        m_sessionSave->start();
}

void MainWindow::saveSession()
{
    m_sessionSave->stop();
    int active = -1;
    const std::vector<SessionWindow> windows = openWindows(active);
    storeSession(m_app.profile(), windows, active);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    saveBarState();
    saveSession();
    // The windows closing now are no change of the session.
    m_closing = true;
    m_mdiArea->closeAllSubWindows();
    event->accept();
}

int MainWindow::runDialog(QDialog& dialog)
{
    const int result = dialogs().runModal(dialog);
    focusActiveText();
    return result;
}

void MainWindow::focusActiveText()
{
    if (DocumentWindow* child = activeDocumentWindow())
        child->view()->setFocus(Qt::OtherFocusReason);
}

} // namespace parchly
