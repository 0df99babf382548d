#include "frame/frame_bookmarks_host.h"

#include "frame/frame_host.h"
#include "analysis/section_lookup.h"
#include "frame/document_window.h"
#include "frame/document_tab_bar.h"
#include "frame/main_window.h"
#include "platform/tab_strip.h"
#include "view/rfc_document.h"
#include "view/reading_view.h"

#include <algorithm>

namespace parchly {

ReadingView* FrameBookmarksHost::activeView() const
{
    DocumentWindow* child = m_frame.activeDocumentWindow();
    return child ? child->view() : nullptr;
}

QString FrameBookmarksHost::activeDocumentPath() const
{
    ReadingView* view = activeView();
    return view && view->rfcDocument() ? view->rfcDocument()->pathName() : QString();
}

void FrameBookmarksHost::activeCaretLineColumn(int& line, int& column) const
{
    line = 0;
    column = 0;
    if (ReadingView* view = activeView())
        view->caretLineColumn(line, column);
}

QString FrameBookmarksHost::activeSectionTitle() const
{
    const ReadingView* view = activeView();
    const RfcDocument* document = view ? view->rfcDocument() : nullptr;
    if (!document || document->text().isIndex)
        return QString();
    int32_t index = -1;
    const ShownLine caret = ShownLine::atIndex(view->lineFromPosition(view->selectedRange().end));
    if (!findSectionAtLine(document->text(), document->cuts(), caret, index))
        return QString();
    const ContentEntry& entry = document->text().contents.at(static_cast<std::size_t>(index));
    // The number as the heading prints it: "1.1." before the title.
    QString number = QString::fromStdString(entry.number);
    if (!number.isEmpty() && !number.endsWith(QLatin1Char('.')))
        number += QLatin1Char('.');
    return (number + QLatin1Char(' ') + QString::fromStdString(entry.title)).simplified();
}

void FrameBookmarksHost::setActiveCaretLineColumn(int line, int column)
{
    // Stored lines are the file's: the view maps them to what it shows.
    // A bookmark is a jump like a link: Back returns from it.
    if (ReadingView* view = activeView()) {
        view->positions().record();
        view->setCaretLineColumn(line, column);
        view->positions().record();
    }
}

QStringList FrameBookmarksHost::openDocumentPaths() const
{
    QStringList paths;
    for (DocumentWindow* child : m_frame.documentWindows())
        paths << child->path();
    return paths;
}

bool FrameBookmarksHost::hasDocumentTabs() const
{
    return m_frame.documentTabBar()->tabs()->count() > 0;
}

bool FrameBookmarksHost::openDocument(const QString& path)
{
    return m_app.openDocumentFile(path) != nullptr;
}

} // namespace parchly
