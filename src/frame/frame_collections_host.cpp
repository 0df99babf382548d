#include "frame/frame_collections_host.h"

#include "app/parchly_app.h"
#include "frame/child_frame.h"
#include "frame/document_tab_bar.h"
#include "frame/main_frame.h"
#include "platform/tab_strip.h"
#include "view/parchly_doc.h"
#include "view/parchly_view.h"

#include <algorithm>

namespace parchly {

CParchlyView* FrameCollectionsHost::activeView() const
{
    CChildFrame* child = frame_.activeChildFrame();
    return child ? child->view() : nullptr;
}

QString FrameCollectionsHost::activeDocumentPath() const
{
    CParchlyView* view = activeView();
    return view && view->GetDocument() ? view->GetDocument()->GetPathName() : QString();
}

void FrameCollectionsHost::activeCaretLineColumn(int& line, int& column) const
{
    line = 0;
    column = 0;
    if (CParchlyView* view = activeView())
        view->GetCaretLineColumn(line, column);
}

void FrameCollectionsHost::setActiveCaretLineColumn(int line, int column)
{
    CParchlyView* view = activeView();
    if (!view)
        return;
    const int start = view->LineStart(line);
    if (start < 0)
        return;
    // A column past the end of a shorter line stops at the line's end.
    QString text = view->LineText(line);
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    const int length = static_cast<int>(text.size());
    const int position = start + std::clamp(column, 0, length);
    view->SetSelection(position, position);
    view->ensureCursorVisible();
    view->SelectNavigatorNode();
    view->UpdatePositionStatus();
}

QStringList FrameCollectionsHost::openDocumentPaths() const
{
    QStringList paths;
    for (CChildFrame* child : frame_.childFrames())
        paths << child->path();
    return paths;
}

bool FrameCollectionsHost::hasDocumentTabs() const
{
    return frame_.documentTabBar()->tabs()->TabCount() > 0;
}

bool FrameCollectionsHost::openDocument(const QString& path)
{
    return app_.OpenDocumentFile(path) != nullptr;
}

} // namespace parchly
