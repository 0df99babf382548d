// The main window: menus, the Standard, Edit and View toolbars, the
// document tab bar, the status bar with its mode and position panes, and
// the MDI area in which every document has its child frame. Commands from
// menus, toolbars and accelerators are routed from here: active view, its
// document, its child frame, this frame, the application.
#ifndef PARCHLY_FRAME_MAIN_WINDOW_H
#define PARCHLY_FRAME_MAIN_WINDOW_H

#include <QMainWindow>
#include <QPointer>
#include <QUrl>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "frame/command_table.h"
#include "frame/reading_positions.h"
#include "view/command_target.h"
#include "view/reading_session.h"

class QAction;
class QDialog;
class QLabel;
class QMdiArea;
class QMenu;
class QMimeData;
class QTimer;
class QToolBar;

namespace parchly {

class DocumentWindow;
class FrameHost;
class ReadingView;
class RfcDocument;
class DocumentTabBar;
class WelcomePanel;
class FindInRfcsDock;
class NewRfcsNotice;
class CitedByService;
class ErrataService;

class MainWindow : public QMainWindow, public CommandTarget {
    Q_OBJECT
public:
    explicit MainWindow(FrameHost& app);
    ~MainWindow() override;

    // The document manager's part of opening: the window of `path` when it
    // is already open (activated), else a new child frame composed at once.
    RfcDocument* openDocument(const QString& path);

    // The open document windows, in the order they were opened.
    const std::vector<DocumentWindow*>& documentWindows() const { return m_children; }
    DocumentWindow* activeDocumentWindow() const;
    // Whether a window shows the RFC index: only one may, and Open RFC
    // Index activates it.
    bool indexDocumentOpen() const;
    void activateDocumentWindow(DocumentWindow* child);

    // The menu bar shown: NoDocument while no document is open.
    MenuSet menuSet() const { return m_menuSet; }

    QAction* commandAction(int id) const;
    QToolBar* toolbar(int index) const { return m_toolbars.at(index); }
    DocumentTabBar* documentTabBar() const { return m_tabBar; }
    QMdiArea* mdiArea() const { return m_mdiArea; }
    WelcomePanel* welcomePanel() const { return m_welcome; }

    void setModePane(const QString& text);
    void setPositionPane(const QString& text);
    QString modePane() const;
    QString positionPane() const;

    // Routes a command along the active view, document, child frame, this
    // frame and the application; false when nobody handles it.
    bool routeCommand(int id);
    // Brings every action's enabled and checked state up to date.
    void updateCommands();
    // Shows the welcome, centred, while no document is open and the RFC
    // folder has no index; hides it otherwise.
    void updateWelcome();
    // The status bar's notice of new RFCs and their check.
    NewRfcsNotice* newRfcsNotice() const { return m_newRfcsNotice; }

    // The help file shown by Help Contents and Help Index; empty when there
    // is none.
    QString helpFile() const;

    // How a web address or the help file is shown; tests replace it.
    std::function<bool(const QUrl&)> urlOpener;

    bool updateCommand(int id, CommandState& state) override;
    bool runCommand(int id) override;

    // Reopens the windows of the stored session, each at its reading
    // position, and activates the one that was active.
    void restoreSession();
    // Writes the open windows and their positions as the session now, as
    // a change does after a short rest.
    void saveSession();
    // The Options changed: every open window shows the new settings.
    void applySettings();

    // Opens the RFC index at the entry of RFC `number`; false when the index
    // is missing (reported) or lists no such RFC.
    bool showIndexEntry(int number);
    // Opens RFC `number` as a link does: its local file, else its entry in
    // the RFC index, else a message. Its view, or null.
    ReadingView* openRfc(int number);
    // The view of the window that shows `document`, or null.
    ReadingView* viewOf(const RfcDocument* document) const;
    // The RFC index was read again: every window shows what it says now.
    void indexStatusChanged();

    // Runs a modal dialog through the program's dialogs and then gives the
    // keyboard focus back to the active document's text, so that the keys
    // a reader types next (Shift+Down, Ctrl+W) act on the document at once.
    int runDialog(QDialog& dialog);
    void focusActiveText();

    // The document window of tab `index` of the document tab bar, or null.
    DocumentWindow* documentWindowOfTab(int index) const;
    // Fills the context menu of tab `index`: Close, Close Others, Copy Path,
    // Open Containing Folder.
    void fillTabMenu(QMenu& menu, int index);
    // Opens every local file of a drop; false when it holds none.
    bool openDroppedFiles(const QMimeData* data);

    // The window list of the Window menu and the other child frame hooks.
    void documentWindowActivated(DocumentWindow* child);
    // Before a window closes (while it may still be the active one), and after.
    void documentWindowClosing(DocumentWindow* child);
    void documentWindowClosed(DocumentWindow* child);

    // What the reading views of this window share while the program runs.
    ReadingSession& readingSession() { return m_readingSession; }

    // The whole local collection: the Find in RFCs dock (null until first
    // used) and the cited-by graph shared by every document window.
    FindInRfcsDock* findInRfcsDock() const { return m_findInRfcs; }
    CitedByService& citedBy();
    // The errata database of the RFC folder, shared by every document window.
    ErrataService& errata();
    // The errata status filter changed in one window: every window follows.
    void errataFilterChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<CommandTarget*> commandRoute();
    void createActions();
    void createToolbars();
    void createStatusBar();
    void restoreBarState();
    void saveBarState();
    void installHandlers();
    void buildMenus(MenuSet set);
    void fillMenu(QMenu* menu, const std::vector<int>& items);
    void fillRecentFiles(QMenu* menu);
    // The favourite RFCs, each with its title where the index has it, and
    // the command that manages them.
    void fillFavorites(QMenu* menu);
    void refreshRecentFileActions();
    void fillWindowList(QMenu* menu);
    void openRfcIndex();
    void toggleBar(QWidget* bar);
    void arrangeIcons();
    void openHelp(const QString& fragment);
    void showUrl(const QUrl& url);
    void documentTabChosen(int index);
    void closeTab(int index);
    void showTabMenu(int index, const QPoint& globalPosition);
    void stepTab(int step);
    void navigatorWidthChosen(int width);
    std::vector<SessionWindow> openWindows(int& active) const;
    void reopenWindows(const std::vector<SessionWindow>& windows, int active);
    // The notice pane for `child` active (none: no document).
    void showNotice(DocumentWindow* child);

    FrameHost& m_app;
    QMdiArea* m_mdiArea;
    WelcomePanel* m_welcome;
    DocumentTabBar* m_tabBar = nullptr;
    std::vector<QToolBar*> m_toolbars;
    std::map<int, QAction*> m_actions;
    std::map<int, std::function<void()>> m_handlers;
    QLabel* m_modePane = nullptr;
    QLabel* m_positionPane = nullptr;
    // "Not recognised as an RFC" while the active document is no RFC.
    QLabel* m_noticePane = nullptr;
    NewRfcsNotice* m_newRfcsNotice = nullptr;
    std::vector<DocumentWindow*> m_children;
    MenuSet m_menuSet = MenuSet::None;
    std::map<MenuSet, std::vector<QMenu*>> m_menus;
    ReadingSession m_readingSession;
    int m_navigatorWidth = 0; // chosen by the user; 0 while none is
    // Set by the welcome's download or folder: the index opens when it comes.
    bool m_openIndexWhenItArrives = false;
    FindInRfcsDock* m_findInRfcs = nullptr;
    std::unique_ptr<CitedByService> m_citedBy;
    std::unique_ptr<ErrataService> m_errata;
    void showFindInRfcs();
    void scheduleSessionSave();
    QTimer* m_sessionSave = nullptr;
    bool m_closing = false;
    // The window whose activation the status bar last followed.
    DocumentWindow* m_lastActivated = nullptr;
    // The tab beside the active window that is closing: active next.
    QPointer<DocumentWindow> m_closingNeighbour;
};

} // namespace parchly

#endif
