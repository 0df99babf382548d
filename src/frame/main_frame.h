// The main window: menus, the Standard, Edit and View toolbars, the
// document tab bar, the status bar with its mode and position panes, and
// the MDI area in which every document has its child frame. Commands from
// menus, toolbars and accelerators are routed from here: active view, its
// document, its child frame, this frame, the application.
#ifndef PARCHLY_FRAME_MAIN_FRAME_H
#define PARCHLY_FRAME_MAIN_FRAME_H

#include <QMainWindow>
#include <QUrl>
#include <functional>
#include <map>
#include <vector>

#include "app/command_target.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace parchly {

class CChildFrame;
class CParchlyApp;
class CParchlyDoc;
class DocumentTabBar;

class CMainFrame : public QMainWindow, public CommandTarget {
    Q_OBJECT
public:
    explicit CMainFrame(CParchlyApp& app);
    ~CMainFrame() override;

    // The document manager's part of opening: the window of `path` when it
    // is already open (activated), else a new child frame composed at once.
    CParchlyDoc* openDocument(const QString& path);

    // The open document windows, in the order they were opened.
    const std::vector<CChildFrame*>& childFrames() const { return children_; }
    CChildFrame* activeChildFrame() const;
    void activateChildFrame(CChildFrame* child);

    // 128 while no document is open, 129 while one is.
    int menuResource() const { return menuResource_; }

    QAction* commandAction(int id) const;
    QToolBar* toolbar(int index) const { return toolbars_.at(index); }
    DocumentTabBar* documentTabBar() const { return tabBar_; }
    QMdiArea* mdiArea() const { return mdiArea_; }

    void setModePane(const QString& text);
    void setPositionPane(const QString& text);
    QString modePane() const;
    QString positionPane() const;

    // Routes a command along the active view, document, child frame, this
    // frame and the application; false when nobody handles it.
    bool routeCommand(int id);
    // Brings every action's enabled and checked state up to date.
    void updateCommands();

    // The help file shown by Help Contents and Help Index; empty when there
    // is none.
    QString helpFile() const;

    // How a web address or the help file is shown; tests replace it.
    std::function<bool(const QUrl&)> urlOpener;

    bool updateCommand(int id, CommandState& state) override;
    bool runCommand(int id) override;

    // The window list of the Window menu and the other child frame hooks.
    void childFrameActivated(CChildFrame* child);
    void childFrameClosed(CChildFrame* child);

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

    CParchlyApp& app_;
    QMdiArea* mdiArea_;
    DocumentTabBar* tabBar_ = nullptr;
    std::vector<QToolBar*> toolbars_;
    std::map<int, QAction*> actions_;
    std::map<int, std::function<void()>> handlers_;
    QLabel* modePane_ = nullptr;
    QLabel* positionPane_ = nullptr;
    std::vector<CChildFrame*> children_;
    int menuResource_ = 0;
};

} // namespace parchly

#endif
