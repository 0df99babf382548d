// The reading view's history of positions, the Go TO command and the caret
// as line and column.
#include "view/reading_view.h"
#include "view/reading_session.h"

#include "analysis/line_mapping.h"
#include "analysis/rfc_text.h"
#include "platform/dialogs.h"
#include "view/goto_dialog.h"
#include "view/hyperlinks.h"
#include "view/rfc_document.h"
#include "platform/shown_lines.h"
#include "platform/text_geometry.h"

#include <algorithm>

namespace parchly {

HistoryEntry ReadingView::currentPosition() const
{
    const TextSelection selection = selectedRange();
    const RfcText& text = rfc();
    const int startLine = lineFromPosition(selection.start);
    const int endLine = lineFromPosition(selection.end);
    return {displayLineToFile(text, startLine + 1) - 1, selection.start - lineStart(startLine),
            displayLineToFile(text, endLine + 1) - 1, selection.end - lineStart(endLine)};
}

void ReadingView::recordPosition()
{
    m_history.record(currentPosition());
}

void ReadingView::restorePosition(const HistoryEntry& entry)
{
    const RfcText& text = rfc();
    auto position = [this, &text](int32_t fileLine, int32_t column) {
        const int start = lineStart(shownLineOfFileIndex(text, fileLine));
        return start < 0 ? -1 : start + column;
    };
    setSelection(position(entry.startLine, entry.startColumn), position(entry.endLine, entry.endColumn));
    updateCurrentIndexEntry(-1);
}

void ReadingView::goBack()
{
    if (const HistoryEntry* entry = m_history.goBack())
        restorePosition(*entry);
}

void ReadingView::goForward()
{
    if (const HistoryEntry* entry = m_history.goForward())
        restorePosition(*entry);
}

void ReadingView::openGoToDialog()
{
    const RfcText& text = rfc();
    GoToDialog dialog(gotoKinds(lineCount(), text.pageCount, text.isIndex), session().lastGotoChoice, this);
    if (dialogs().runModal(dialog) != QDialog::Accepted)
        return;
    const GotoChoice choice = dialog.choice();
    int line = 0;
    if (choice.kind == kGotoLine) {
        // The line count itself names no 0-based line: it goes to the last.
        line = std::min(choice.number, lineCount() - 1);
    } else {
        const std::vector<int32_t>& boundaries = boundaryTable(text);
        if (choice.number < 1 || choice.number > static_cast<int>(text.pageEnds.size()) ||
            choice.number > static_cast<int>(boundaries.size()))
            return;
        line = boundaries[choice.number - 1] + 1;
    }
    showLineAtTop(line);
    updateCurrentIndexEntry(-1);
    selectNavigatorNode();
}

void ReadingView::setCaretLineColumn(int line, int column)
{
    const int start = lineStart(line);
    if (start < 0)
        return;
    const int length = lengthWithoutLineEnd(lineText(line));
    const int position = start + std::clamp(column, 0, length);
    setSelection(position, position);
}

} // namespace parchly
