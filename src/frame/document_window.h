// The window of one open document inside the main frame's MDI area: the
// document's reading view in the middle and its Navigator docked at the
// left, both observers of the document. It handles the per-document View
// commands and is the host the view reaches the rest of the program through.
#ifndef PARCHLY_FRAME_DOCUMENT_WINDOW_H
#define PARCHLY_FRAME_DOCUMENT_WINDOW_H

#include <QMdiSubWindow>
#include <memory>
#include <vector>

#include "view/command_target.h"
#include "frame/navigator_bar.h"
#include "frame/reading_positions.h"
#include "view/view_host.h"

class QMainWindow;

namespace parchly {

class MainWindow;
class FrameHost;
class IndexBar;
class ErrataPage;

class DocumentWindow : public QMdiSubWindow, public CommandTarget, public ViewHost {
    Q_OBJECT
public:
    // Creates the document of `path`, its view and the Navigator; nothing is
    // read until initialUpdate().
    DocumentWindow(MainWindow& mainWindow, FrameHost& app, const QString& path);
    ~DocumentWindow() override;

    const QString& path() const { return m_path; }
    RfcDocument* document() const { return m_document.get(); }
    ReadingView* view() const { return m_view; }
    QWidget* viewWidget() const;
    NavigatorBar* navigatorBar() const { return m_navigator; }
    QMainWindow* innerWindow() const { return m_inner; }
    bool isIndexDocument() const;
    // Whether the document has been loaded into the view.
    bool isLoaded() const { return m_initialised; }

    // The first showing of the view: it reads and composes its document.
    void initialUpdate();
    // Shows or hides the index bar for what the RFC index says now.
    void updateIndexBar();
    IndexBar* indexBar() const { return m_indexBar; }
    // The window became the active one: the view refreshes the status panes.
    void frameActivated();
    // The reading position in file lines; setting one clamps it to the text.
    ReadingPosition readingPosition() const;
    void setReadingPosition(const ReadingPosition& position);
    // The path under which the reading position is kept.
    std::string positionKey() const;

    // The Navigator's width while it is docked at a side; 0 otherwise.
    int navigatorWidth() const;
    void setNavigatorWidth(int width);
    // Called before Tile or Cascade: once the window has its new size, the
    // Navigator takes a third of it at most; maximized again, the window
    // gives it back its width.
    void shareNavigatorWidthAfterArranging();

    // The view and this frame, in routing order.
    std::vector<CommandTarget*> commandRoute();

    bool updateCommand(int id, CommandState& state) override;
    bool runCommand(int id) override;

    const RfcSettings& settings() const override;
    ReadingSession& session() override;
    int navigatorTab() const override;
    void setPositionPane(const QString& text) override;
    void addDocumentTab(const QString& title, ReadingView* view) override;
    void removeDocumentTab(ReadingView* view) override;
    RfcDocument* openRfcNumber(int number) override;
    void runFrameCommand(int id) override;
    void showStatusMessage(const QString& text) override;
    void storeZoomSteps(int steps) override;
    ReadingView* openRfcView(int number) override;
    bool fetchMissingRfc(int number) override;
    ReadingView* showDocumentView(const QString& path) override;
    const RfcIndexStatus* indexStatus() const override;

    void erratumChosen(int index) override;
    QString errataCountsOf(int number) const override;

    // The errata of the document's RFC as the errata database has them now:
    // in the text, the Errata tab and the index bar.
    void showErrata();
    // The status filter changed: the tab and the markers follow it.
    void errataFilterChanged();
    // The Options changed: the document is composed afresh in place.
    void settingsApplied();
    ErrataPage* errataPage() const { return m_errataPage; }

signals:
    // The user dragged the Navigator's edge to `width`.
    void navigatorWidthChosen(int width);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showNavigatorTabByCommand(int tab);
    // A leaf of the Index tree: open the file of RFC `number`, or say that
    // it does not exist.
    void openIndexedRfc(int number);
    // File > Export Requirements...: the requirements as CSV, where the
    // save dialog says.
    void exportRequirements();

    MainWindow& m_mainWindow;
    FrameHost& m_app;
    QString m_path;
    std::unique_ptr<RfcDocument> m_document;
    QMainWindow* m_inner;
    NavigatorBar* m_navigator;
    ReadingView* m_view = nullptr;
    IndexBar* m_indexBar = nullptr;
    ErrataPage* m_errataPage = nullptr;
    bool m_initialised = false;
    bool m_closed = false;
    int m_chosenNavigatorWidth = 0; // the width when the drag began
    int m_widthBeforeArranging = 0; // to give back when maximized; 0: none
};

} // namespace parchly

#endif
