// What the bookmarks and favourites dialogs see of the main frame: the open
// documents, the active view's caret, and opening files.
#ifndef PARCHLY_FRAME_FRAME_COLLECTIONS_HOST_H
#define PARCHLY_FRAME_FRAME_COLLECTIONS_HOST_H

#include "collections/collections_host.h"

namespace parchly {

class CMainFrame;
class CParchlyApp;
class CParchlyView;

class FrameCollectionsHost : public CollectionsHost {
public:
    FrameCollectionsHost(CMainFrame& frame, CParchlyApp& app) : frame_(frame), app_(app) {}

    QString activeDocumentPath() const override;
    void activeCaretLineColumn(int& line, int& column) const override;
    void setActiveCaretLineColumn(int line, int column) override;
    QStringList openDocumentPaths() const override;
    bool hasDocumentTabs() const override;
    bool openDocument(const QString& path) override;

private:
    CParchlyView* activeView() const;

    CMainFrame& frame_;
    CParchlyApp& app_;
};

} // namespace parchly

#endif
