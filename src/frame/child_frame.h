// The window of one open document inside the main frame's MDI area: the
// document's reading view in the middle and its Navigator docked at the
// left. It handles the per-document View commands and is the host the view
// reaches the rest of the program through.
#ifndef PARCHLY_FRAME_CHILD_FRAME_H
#define PARCHLY_FRAME_CHILD_FRAME_H

#include <QMdiSubWindow>
#include <memory>
#include <vector>

#include "app/command_target.h"
#include "frame/navigator_bar.h"
#include "view/view_host.h"

class QMainWindow;

namespace parchly {

class CMainFrame;
class CParchlyApp;

class CChildFrame : public QMdiSubWindow, public CommandTarget, public ViewHost, public NavigatorClient {
    Q_OBJECT
public:
    // Creates the document of `path`, its view and the Navigator; nothing is
    // read until initialUpdate().
    CChildFrame(CMainFrame& mainFrame, CParchlyApp& app, const QString& path);
    ~CChildFrame() override;

    const QString& path() const { return path_; }
    CParchlyDoc* document() const { return document_.get(); }
    CParchlyView* view() const { return view_; }
    QWidget* viewWidget() const;
    NavigatorBar* navigatorBar() const { return navigator_; }
    QMainWindow* innerWindow() const { return inner_; }
    bool isIndexDocument() const;

    // The first showing of the view: it reads and composes its document.
    void initialUpdate();
    // The window became the active one: the view refreshes the status panes.
    void frameActivated();
    // The view and this frame, in routing order.
    std::vector<CommandTarget*> commandRoute();

    bool updateCommand(int id, CommandState& state) override;
    bool runCommand(int id) override;

    const RfcSettings& settings() const override;
    NavigatorTrees navigator() override;
    void setModePane(const QString& text) override;
    void setPositionPane(const QString& text) override;
    void addDocumentTab(const QString& title, CParchlyView* view) override;
    void removeDocumentTab(CParchlyView* view) override;
    CParchlyDoc* openRfcNumber(int number) override;
    void runFrameCommand(int id) override;

    const RfcText* navigatorText() const override;
    void goToSectionHeading(int heading) override;
    void goToContentsEntry(int entry) override;
    void goToFileLine(int line) override;
    void navigatorTabShown() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showNavigatorTabByCommand(int tab);

    CMainFrame& mainFrame_;
    CParchlyApp& app_;
    QString path_;
    std::unique_ptr<CParchlyDoc> document_;
    QMainWindow* inner_;
    NavigatorBar* navigator_;
    CParchlyView* view_ = nullptr;
    bool initialised_ = false;
    bool closed_ = false;
};

} // namespace parchly

#endif
