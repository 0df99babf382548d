#include "frame/main_frame.h"

#include "app/command_ids.h"
#include "app/parchly_app.h"
#include "collections/bookmarks_dialog.h"
#include "collections/favorite_rfcs_dialog.h"
#include "download/download_commands.h"
#include "frame/child_frame.h"
#include "frame/command_icons.h"
#include "frame/command_table.h"
#include "frame/document_tab_bar.h"
#include "frame/frame_collections_host.h"
#include "platform/dialogs.h"
#include "platform/profile.h"
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

CMainFrame::CMainFrame(CParchlyApp& app)
    : app_(app), mdiArea_(new QMdiArea(this))
{
    urlOpener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    setWindowTitle(QStringLiteral("Parchly Standard"));
    resize(1000, 720);
    mdiArea_->setBackground(kMdiBackground);
    setCentralWidget(mdiArea_);

    createActions();
    installHandlers();
    createToolbars();
    createStatusBar();
    setDockOptions(dockOptions() | QMainWindow::AllowNestedDocks);
    addToolBarBreak(Qt::TopToolBarArea);
    tabBar_ = new DocumentTabBar(this);
    addToolBar(Qt::TopToolBarArea, tabBar_);
    connect(tabBar_, &DocumentTabBar::tabChosen, this, &CMainFrame::documentTabChosen);
    restoreBarState();
    buildMenus(128);

    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (auto* child = qobject_cast<CChildFrame*>(window))
            childFrameActivated(child);
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

CMainFrame::~CMainFrame()
{
    // The child frames' views remove their tabs from the tab bar as they go,
    // so they go first; closed ones may still wait for their deletion.
    children_.clear();
    for (CChildFrame* child : mdiArea_->findChildren<CChildFrame*>())
        delete child;
}

void CMainFrame::createActions()
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
        actions_[info.id] = action;
    }
    for (int i = 0; i < kRecentFileCount; ++i) {
        auto* action = new QAction(this);
        action->setData(kCmdRecentFile1 + i);
        action->setStatusTip(QStringLiteral("Open this document"));
        connect(action, &QAction::triggered, this, [this, i] { routeCommand(kCmdRecentFile1 + i); });
        actions_[kCmdRecentFile1 + i] = action;
    }
}

void CMainFrame::createToolbars()
{
    const bool withText = app_.settings().LargeToolBarButtonWithText;
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
            QAction* action = actions_.at(id);
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
        toolbars_.push_back(bar);
    }
}

void CMainFrame::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->addWidget(new QLabel(QStringLiteral("Ready"), bar), 1);
    modePane_ = new QLabel(bar);
    positionPane_ = new QLabel(bar);
    const QFontMetrics metrics(bar->font());
    modePane_->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("Structure View")) + 6);
    positionPane_->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("Ln 65535, Col 65535")) + 6);
    bar->addPermanentWidget(modePane_);
    bar->addPermanentWidget(positionPane_);
}

void CMainFrame::restoreBarState()
{
    Profile& profile = app_.profile();
    const std::string state = profile.readString(kBarSection, "State", "");
    if (!state.empty())
        restoreState(QByteArray::fromBase64(QByteArray::fromStdString(state)));
    // The two switches win over the stored layout.
    toolbars_[kEditToolbar]->setVisible(profile.readInt(kBarSection, "EditVisible", 1) != 0);
    toolbars_[kViewToolbar]->setVisible(profile.readInt(kBarSection, "ViewVisible", 1) != 0);
}

void CMainFrame::saveBarState()
{
    Profile& profile = app_.profile();
    ProfileBatch batch(profile);
    profile.writeString(kBarSection, "State", saveState().toBase64().toStdString());
    profile.writeInt(kBarSection, "EditVisible", toolbars_[kEditToolbar]->isVisibleTo(this) ? 1 : 0);
    profile.writeInt(kBarSection, "ViewVisible", toolbars_[kViewToolbar]->isVisibleTo(this) ? 1 : 0);
}

void CMainFrame::installHandlers()
{
    // The main frame's commands; each is enabled while it has a handler here.
    handlers_[kCmdOpenRfcIndex] = [this] { openRfcIndex(); };
    handlers_[kCmdViewIndex] = [this] { openRfcIndex(); };
    handlers_[kCmdHelpContents] = [this] { openHelp(QString()); };
    handlers_[kCmdHelpIndex] = [this] { openHelp(QStringLiteral("index")); };
    handlers_[kCmdStandardToolbar] = [this] { toggleBar(toolbars_[0]); };
    handlers_[kCmdEditToolbar] = [this] { toggleBar(toolbars_[kEditToolbar]); };
    handlers_[kCmdViewToolbar] = [this] { toggleBar(toolbars_[kViewToolbar]); };
    handlers_[kCmdStatusBar] = [this] { toggleBar(statusBar()); };
    handlers_[kCmdHomepage] = [this] {
        urlOpener(QUrl::fromUserInput(QString::fromStdString(app_.settings().HomepageUrl)));
    };
    handlers_[kCmdExit] = [this] { close(); };
    handlers_[kCmdCascade] = [this] { mdiArea_->cascadeSubWindows(); };
    handlers_[kCmdTile] = [this] { mdiArea_->tileSubWindows(); };
    handlers_[kCmdArrangeIcons] = [this] { arrangeIcons(); };
    handlers_[kCmdTipOfTheDay] = [this] {
        CTipDlg tip(app_.appDirectory(), app_.profile(), this);
        tip.exec();
    };
    handlers_[kCmdBookmarks] = [this] {
        FrameCollectionsHost host(*this, app_);
        CBookmarksDlg bookmarks(host, app_.profile(), this);
        bookmarks.exec();
    };
    handlers_[kCmdFavoriteRfcs] = [this] {
        FrameCollectionsHost host(*this, app_);
        CFavoriteRfcsDlg favorites(host, app_.profile(), this);
        favorites.exec();
    };
    handlers_[kCmdUpdateRfcIndex] = [this] { updateRfcIndex(this, app_.settings()); };
    handlers_[kCmdDownloadRfc] = [this] { downloadRfc(this, app_.settings()); };
    handlers_[kCmdDownloadCollection] = [this] { downloadRfcCollection(this, app_.settings()); };
}

void CMainFrame::buildMenus(int resource)
{
    if (resource == menuResource_)
        return;
    menuResource_ = resource;
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

void CMainFrame::fillMenu(QMenu* menu, const std::vector<int>& items)
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
                menu->addAction(actions_.at(kCmdRecentFile1 + i));
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
            menu->addAction(actions_.at(id));
            break;
        }
    }
}

void CMainFrame::fillRecentFiles(QMenu* menu)
{
    const std::vector<std::string>& paths = app_.recentFiles().paths();
    for (QAction* action : menu->actions())
        if (action->objectName() == QLatin1String("RecentFilePlaceholder"))
            action->setVisible(paths.empty());
    refreshRecentFileActions();
}

void CMainFrame::refreshRecentFileActions()
{
    const std::vector<std::string>& paths = app_.recentFiles().paths();
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* action = actions_.at(kCmdRecentFile1 + i);
        const bool used = i < static_cast<int>(paths.size());
        action->setVisible(used);
        if (used)
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QFile::decodeName(paths[i].c_str())));
    }
}

void CMainFrame::fillWindowList(QMenu* menu)
{
    // The entries after the marker are made anew each time the menu opens.
    bool afterMarker = false;
    for (QAction* action : menu->actions()) {
        if (afterMarker)
            delete action;
        else if (action->objectName() == QLatin1String("WindowList"))
            afterMarker = true;
    }
    CChildFrame* active = activeChildFrame();
    int number = 1;
    for (CChildFrame* child : children_) {
        QAction* entry = menu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(child->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(child == active);
        connect(entry, &QAction::triggered, this, [this, child] { activateChildFrame(child); });
    }
}

QAction* CMainFrame::commandAction(int id) const
{
    auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

CChildFrame* CMainFrame::activeChildFrame() const
{
    // currentSubWindow also answers while the program is not the active one.
    return qobject_cast<CChildFrame*>(mdiArea_->currentSubWindow());
}

void CMainFrame::activateChildFrame(CChildFrame* child)
{
    if (!child)
        return;
    mdiArea_->setActiveSubWindow(child);
    childFrameActivated(child);
}

void CMainFrame::setModePane(const QString& text)
{
    modePane_->setText(text);
}

void CMainFrame::setPositionPane(const QString& text)
{
    positionPane_->setText(text);
}

QString CMainFrame::modePane() const
{
    return modePane_->text();
}

QString CMainFrame::positionPane() const
{
    return positionPane_->text();
}

CParchlyDoc* CMainFrame::openDocument(const QString& path)
{
    for (CChildFrame* child : children_)
        if (samePath(child->path(), path)) {
            activateChildFrame(child);
            return child->document();
        }
    auto* child = new CChildFrame(*this, app_, path);
    mdiArea_->addSubWindow(child);
    children_.push_back(child);
    buildMenus(129);
    child->showMaximized();
    activateChildFrame(child);
    child->initialUpdate();
    updateCommands();
    return child->document();
}

void CMainFrame::childFrameActivated(CChildFrame* child)
{
    if (std::find(children_.begin(), children_.end(), child) == children_.end())
        return;
    child->frameActivated();
    tabBar_->selectViewTab(child->viewWidget());
    setWindowTitle(QStringLiteral("Parchly Standard - %1").arg(child->windowTitle()));
    updateCommands();
}

void CMainFrame::childFrameClosed(CChildFrame* child)
{
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
    setModePane(QString());
    if (children_.empty()) {
        buildMenus(128);
        setWindowTitle(QStringLiteral("Parchly Standard"));
    }
    updateCommands();
}

std::vector<CommandTarget*> CMainFrame::commandRoute()
{
    std::vector<CommandTarget*> route;
    if (CChildFrame* child = activeChildFrame())
        route = child->commandRoute();
    route.push_back(this);
    route.push_back(&app_);
    return route;
}

bool CMainFrame::routeCommand(int id)
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

void CMainFrame::updateCommands()
{
    // A hidden action is a disabled one: show the used entries first.
    refreshRecentFileActions();
    const std::vector<CommandTarget*> route = commandRoute();
    for (const auto& [id, action] : actions_) {
        CommandState state;
        for (CommandTarget* target : route)
            if (target->updateCommand(id, state))
                break;
        action->setEnabled(state.enabled);
        action->setCheckable(state.checkable);
        if (state.checkable)
            action->setChecked(state.checked);
    }
}

bool CMainFrame::updateCommand(int id, CommandState& state)
{
    if (id >= kCmdRecentFile1 && id < kCmdRecentFile1 + kRecentFileCount) {
        state.enabled = id - kCmdRecentFile1 < static_cast<int>(app_.recentFiles().paths().size());
        return true;
    }
    if (!handlers_.count(id))
        return false;
    state.enabled = true;
    QWidget* bar = nullptr;
    switch (id) {
    case kCmdStandardToolbar: bar = toolbars_[0]; break;
    case kCmdEditToolbar: bar = toolbars_[kEditToolbar]; break;
    case kCmdViewToolbar: bar = toolbars_[kViewToolbar]; break;
    case kCmdStatusBar: bar = statusBar(); break;
    case kCmdCascade:
    case kCmdTile:
    case kCmdArrangeIcons: state.enabled = !children_.empty(); break;
    default: break;
    }
    if (bar) {
        state.checkable = true;
        state.checked = bar->isVisibleTo(this);
    }
    return true;
}

bool CMainFrame::runCommand(int id)
{
    if (id >= kCmdRecentFile1 && id < kCmdRecentFile1 + kRecentFileCount) {
        app_.OpenRecentFile(id - kCmdRecentFile1);
        return true;
    }
    auto handler = handlers_.find(id);
    if (handler == handlers_.end())
        return false;
    handler->second();
    return true;
}

void CMainFrame::openRfcIndex()
{
    if (!app_.indexDocumentOpen) {
        const std::string path = app_.settings().RfcRootPath + "/rfc-index.txt";
        const QString shownPath = QFile::decodeName(path.c_str());
        if (!canOpenForReading(path)) {
            dialogs().message(this, shownPath + QStringLiteral(" does NOT exist!"));
            return;
        }
        app_.OpenDocumentFile(shownPath);
        return;
    }
    for (CChildFrame* child : children_)
        if (child->isIndexDocument() && child->viewWidget()) {
            activateChildFrame(child);
            return;
        }
}

void CMainFrame::toggleBar(QWidget* bar)
{
    bar->setVisible(!bar->isVisibleTo(this));
}

void CMainFrame::arrangeIcons()
{
    // Minimised windows line up along the bottom of the MDI area.
    int x = 0;
    for (QMdiSubWindow* window : mdiArea_->subWindowList())
        if (window->isMinimized()) {
            const QSize size = window->size();
            window->move(x, mdiArea_->viewport()->height() - size.height());
            x += size.width();
        }
}

QString CMainFrame::helpFile() const
{
    const QStringList candidates = {
        QString::fromStdString(app_.appDirectory()) + QStringLiteral("manual/index.html"),
        QCoreApplication::applicationDirPath() + QStringLiteral("/manual/index.html"),
    };
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isFile())
            return candidate;
    return QString();
}

void CMainFrame::openHelp(const QString& fragment)
{
    const QString file = helpFile();
    if (file.isEmpty())
        return;
    QUrl url = QUrl::fromLocalFile(file);
    if (!fragment.isEmpty())
        url.setFragment(fragment);
    urlOpener(url);
}

void CMainFrame::documentTabChosen(int index)
{
    // Tabs stand in the order the documents were opened.
    if (index < 0 || index >= static_cast<int>(children_.size()))
        return;
    CChildFrame* child = children_[index];
    if (child->viewWidget())
        activateChildFrame(child);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    saveBarState();
    mdiArea_->closeAllSubWindows();
    event->accept();
}

} // namespace parchly
