// The reading view's history of positions, the Go TO command and the caret
// as line and column.
#include "view/reading_view.h"
#include "view/reading_session.h"

#include "analysis/line_mapping.h"
#include "analysis/rfc_text.h"
#include "platform/dialogs.h"
#include "view/go_to_dialog.h"
#include "view/hyperlinks.h"
#include "view/view_host.h"
#include "view/rfc_document.h"
#include "platform/shown_lines.h"
#include "platform/text_geometry.h"

#include <QFile>
#include <algorithm>

namespace parchly {

HistoryEntry ReadingView::currentPosition() const
{
    const TextSelection selection = selectedRange();
    const int startLine = lineFromPosition(selection.start);
    const int endLine = lineFromPosition(selection.end);
    HistoryEntry entry{
        m_document->fileLineOf(ShownLine::atIndex(startLine)).index(), selection.start - lineStart(startLine),
        m_document->fileLineOf(ShownLine::atIndex(endLine)).index(), selection.end - lineStart(endLine)};
    entry.topLine = m_document->fileLineOf(ShownLine::atIndex(firstVisibleLine())).index();
    return entry;
}

void ReadingView::recordPosition()
{
    m_history.record(currentPosition());
}

void ReadingView::restorePosition(const HistoryEntry& entry)
{
    if (!entry.document.empty()) {
        // The reader came from another window: it comes forward, nothing closes.
        ReadingView* origin = m_host->showDocumentView(QFile::decodeName(entry.document.c_str()));
        if (origin && origin != this) {
            HistoryEntry there = entry;
            there.document.clear();
            origin->restorePosition(there);
        }
        return;
    }
    auto position = [this](int32_t fileLine, int32_t column) {
        const int start = lineStart(m_document->shownLineOf(FileLine::atIndex(fileLine)).index());
        return start < 0 ? -1 : start + column;
    };
    setSelection(position(entry.startLine, entry.startColumn), position(entry.endLine, entry.endColumn));
    // The text stands where the reader left it, not only the caret's line.
    const int top =
        entry.topLine < 0 ? -1 : m_document->shownLineOf(FileLine::atIndex(entry.topLine)).index();
    if (top >= 0)
        scrollLines(top - firstVisibleLine());
    else
        placeInUpperThird(lineFromPosition(selectedRange().end));
    caretMoved();
}

void ReadingView::goBack()
{
    HistoryEntry here = currentPosition();
    here.document = QFile::encodeName(m_document->pathName()).toStdString();
    const HistoryEntry* entry = m_history.goBack();
    if (!entry)
        return;
    const HistoryEntry back = *entry;
    if (back.document.empty()) {
        restorePosition(back);
        return;
    }
    // Back into the window a link came from: its Forward leads here again.
    ReadingView* origin = m_host->showDocumentView(QFile::decodeName(back.document.c_str()));
    if (!origin || origin == this)
        return;
    HistoryEntry there = back;
    there.document.clear();
    origin->restorePosition(there);
    origin->m_history.recordAhead(here);
}

void ReadingView::goForward()
{
    const HistoryEntry* entry = m_history.goForward();
    if (!entry)
        return;
    const HistoryEntry ahead = *entry;
    if (ahead.document.empty()) {
        restorePosition(ahead);
        return;
    }
    // Forward into the window the reader went back from: where it was.
    ReadingView* target = m_host->showDocumentView(QFile::decodeName(ahead.document.c_str()));
    if (!target || target == this)
        return;
    if (target->m_history.canGoForward()) {
        target->goForward();
        return;
    }
    HistoryEntry there = ahead;
    there.document.clear();
    target->restorePosition(there);
}

void ReadingView::openGoToDialog()
{
    const RfcText& text = rfc();
    // Lines are the file's, counted from 1, whatever is hidden.
    const int fileLines = std::max(1, std::max(int(text.lineCount), text.isIndex ? lineCount() : 0));
    GoToDialog dialog(goToKinds(fileLines, text.pageCount, text.isIndex), session().lastGoToChoice, this);
    const int answer = dialogs().runModal(dialog);
    setFocus();
    if (answer != QDialog::Accepted)
        return;
    const GoToChoice choice = dialog.choice();
    int line = 0;
    if (choice.kind == kGoToLine) {
        line = std::clamp(m_document->shownLineOf(FileLine::atNumber(choice.number)).index(), 0,
                          std::max(lineCount() - 1, 0));
    } else {
        const std::vector<int32_t>& boundaries = shownPageEnds(text, cuts());
        if (choice.number < 1 || choice.number > static_cast<int>(text.pageEnds.size())
            || choice.number > static_cast<int>(boundaries.size()))
            return;
        line = boundaries[choice.number - 1] + 1;
    }
    showLineAtTop(line);
}

void ReadingView::setCaretLineColumn(int line, int column)
{
    const int shown = m_document->shownLineOf(FileLine::atIndex(line)).index();
    const int start = lineStart(shown);
    if (shown < 0 || start < 0)
        return;
    const int length = lengthWithoutLineEnd(lineText(shown));
    const int position = start + std::clamp(column, 0, length);
    setSelection(position, position);
    placeInUpperThird(shown);
    caretMoved();
}

} // namespace parchly
