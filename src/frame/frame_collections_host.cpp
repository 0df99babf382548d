#include "frame/frame_collections_host.h"

#include "frame/frame_host.h"
#include "frame/document_window.h"
#include "frame/document_tab_bar.h"
#include "frame/main_window.h"
#include "platform/tab_strip.h"
#include "view/rfc_document.h"
#include "view/reading_view.h"

#include <algorithm>

namespace parchly {

ReadingView* FrameCollectionsHost::activeView() const
{
    DocumentWindow* child = m_frame.activeDocumentWindow();
    return child ? child->view() : nullptr;
}

QString FrameCollectionsHost::activeDocumentPath() const
{
    ReadingView* view = activeView();
    return view && view->rfcDocument() ? view->rfcDocument()->pathName() : QString();
}

void FrameCollectionsHost::activeCaretLineColumn(int& line, int& column) const
{
    line = 0;
    column = 0;
    if (ReadingView* view = activeView())
        view->caretLineColumn(line, column);
}

void FrameCollectionsHost::setActiveCaretLineColumn(int line, int column)
{
    ReadingView* view = activeView();
    if (!view)
        return;
    const int start = view->lineStart(line);
    if (start < 0)
        return;
    // A column past the end of a shorter line stops at the line's end.
    QString text = view->lineText(line);
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    const int length = static_cast<int>(text.size());
    const int position = start + std::clamp(column, 0, length);
    view->setSelection(position, position);
    view->ensureCursorVisible();
    view->selectNavigatorNode();
    view->updatePositionStatus();
}

QStringList FrameCollectionsHost::openDocumentPaths() const
{
    QStringList paths;
    for (DocumentWindow* child : m_frame.documentWindows())
        paths << child->path();
    return paths;
}

bool FrameCollectionsHost::hasDocumentTabs() const
{
    return m_frame.documentTabBar()->tabs()->count() > 0;
}

bool FrameCollectionsHost::openDocument(const QString& path)
{
    return m_app.openDocumentFile(path) != nullptr;
}

} // namespace parchly
