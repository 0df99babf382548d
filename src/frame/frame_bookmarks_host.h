// What the bookmarks and favourites dialogs see of the main frame: the open
// documents, the active view's caret, and opening files.
#ifndef PARCHLY_FRAME_FRAME_BOOKMARKS_HOST_H
#define PARCHLY_FRAME_FRAME_BOOKMARKS_HOST_H

#include "bookmarks/bookmarks_host.h"

namespace parchly {

class MainWindow;
class FrameHost;
class ReadingView;

class FrameBookmarksHost : public BookmarksHost {
public:
    FrameBookmarksHost(MainWindow& frame, FrameHost& app)
        : m_frame(frame)
        , m_app(app)
    {
    }

    QString activeDocumentPath() const override;
    void activeCaretLineColumn(int& line, int& column) const override;
    void setActiveCaretLineColumn(int line, int column) override;
    QStringList openDocumentPaths() const override;
    bool hasDocumentTabs() const override;
    bool openDocument(const QString& path) override;
    QString activeSectionTitle() const override;

private:
    ReadingView* activeView() const;

    MainWindow& m_frame;
    FrameHost& m_app;
};

} // namespace parchly

#endif
