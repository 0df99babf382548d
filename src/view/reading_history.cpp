#include "view/reading_history.h"

#include "view/line_placement.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"
#include "view/view_host.h"

#include <QFile>

namespace parchly {

ReadingHistory::ReadingHistory(ReadingView& view, RfcDocument& document, ViewHost& host)
    : m_view(view)
    , m_document(document)
    , m_host(host)
{
}

HistoryEntry ReadingHistory::current() const
{
    const TextSelection selection = m_view.selectedRange();
    const int startLine = m_view.lineFromPosition(selection.start);
    const int endLine = m_view.lineFromPosition(selection.end);
    HistoryEntry entry{m_document.fileLineOf(ShownLine::atIndex(startLine)).index(),
                       selection.start - m_view.lineStart(startLine),
                       m_document.fileLineOf(ShownLine::atIndex(endLine)).index(),
                       selection.end - m_view.lineStart(endLine)};
    entry.topLine = m_document.fileLineOf(ShownLine::atIndex(m_view.firstVisibleLine())).index();
    return entry;
}

void ReadingHistory::record()
{
    m_document.history().record(current());
}

void ReadingHistory::restore(const HistoryEntry& entry)
{
    if (!entry.document.empty()) {
        // The reader came from another window: it comes forward, nothing closes.
        ReadingView* origin = m_host.showDocumentView(QFile::decodeName(entry.document.c_str()));
        if (origin && origin != &m_view) {
            HistoryEntry there = entry;
            there.document.clear();
            origin->positions().restore(there);
        }
        return;
    }
    auto position = [this](int32_t fileLine, int32_t column) {
        const int start = m_view.lineStart(m_document.shownLineOf(FileLine::atIndex(fileLine)).index());
        return start < 0 ? -1 : start + column;
    };
    m_view.setSelection(position(entry.startLine, entry.startColumn),
                        position(entry.endLine, entry.endColumn));
    // The text stands where the reader left it, not only the caret's line.
    const int top = entry.topLine < 0 ? -1 : m_document.shownLineOf(FileLine::atIndex(entry.topLine)).index();
    if (top >= 0)
        m_view.scrollLines(top - m_view.firstVisibleLine());
    else
        bringIntoUpperThird(m_view, m_view.lineFromPosition(m_view.selectedRange().end));
    m_view.caretMoved();
}

void ReadingHistory::goBack()
{
    HistoryEntry here = current();
    here.document = QFile::encodeName(m_document.pathName()).toStdString();
    const HistoryEntry* entry = m_document.history().goBack();
    if (!entry)
        return;
    const HistoryEntry back = *entry;
    if (back.document.empty()) {
        restore(back);
        return;
    }
    // Back into the window a link came from: its Forward leads here again.
    ReadingView* origin = m_host.showDocumentView(QFile::decodeName(back.document.c_str()));
    if (!origin || origin == &m_view)
        return;
    HistoryEntry there = back;
    there.document.clear();
    origin->positions().restore(there);
    origin->rfcDocument()->history().recordAhead(here);
}

void ReadingHistory::goForward()
{
    const HistoryEntry* entry = m_document.history().goForward();
    if (!entry)
        return;
    const HistoryEntry ahead = *entry;
    if (ahead.document.empty()) {
        restore(ahead);
        return;
    }
    // Forward into the window the reader went back from: where it was.
    ReadingView* target = m_host.showDocumentView(QFile::decodeName(ahead.document.c_str()));
    if (!target || target == &m_view)
        return;
    if (target->rfcDocument()->history().canGoForward()) {
        target->positions().goForward();
        return;
    }
    HistoryEntry there = ahead;
    there.document.clear();
    target->positions().restore(there);
}

} // namespace parchly
