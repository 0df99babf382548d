// The main window: menus, the Standard, Edit and View toolbars, the
// document tab bar, the status bar with its mode and position panes, and
// the MDI area in which every document has its child frame. Commands from
// menus, toolbars and accelerators are routed from here: active view, its
// document, its child frame, this frame, the application.
#ifndef PARCHLY_FRAME_MAIN_WINDOW_H
#define PARCHLY_FRAME_MAIN_WINDOW_H

#include <QMainWindow>
#include <QUrl>
#include <functional>
#include <map>
#include <vector>

#include "settings/command_target.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace parchly {

class DocumentWindow;
class FrameHost;
class RfcDocument;
class DocumentTabBar;
class WelcomePanel;

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

    // 128 while no document is open, 129 while one is.
    int menuResource() const { return m_menuResource; }

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

    // The help file shown by Help Contents and Help Index; empty when there
    // is none.
    QString helpFile() const;

    // How a web address or the help file is shown; tests replace it.
    std::function<bool(const QUrl&)> urlOpener;

    bool updateCommand(int id, CommandState& state) override;
    bool runCommand(int id) override;

    // The window list of the Window menu and the other child frame hooks.
    void documentWindowActivated(DocumentWindow* child);
    void documentWindowClosed(DocumentWindow* child);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::vector<CommandTarget*> commandRoute();
    void createActions();
    void createToolbars();
    void createStatusBar();
    void restoreBarState();
    void saveBarState();
    void installHandlers();
    void buildMenus(int resource);
    void fillMenu(QMenu* menu, const std::vector<int>& items);
    void fillRecentFiles(QMenu* menu);
    void refreshRecentFileActions();
    void fillWindowList(QMenu* menu);
    void openRfcIndex();
    void toggleBar(QWidget* bar);
    void arrangeIcons();
    void openHelp(const QString& fragment);
    void documentTabChosen(int index);

    FrameHost& m_app;
    QMdiArea* m_mdiArea;
    WelcomePanel* m_welcome;
    DocumentTabBar* m_tabBar = nullptr;
    std::vector<QToolBar*> m_toolbars;
    std::map<int, QAction*> m_actions;
    std::map<int, std::function<void()>> m_handlers;
    QLabel* m_modePane = nullptr;
    QLabel* m_positionPane = nullptr;
    std::vector<DocumentWindow*> m_children;
    int m_menuResource = 0;
};

} // namespace parchly

#endif
