// The reading view's history of positions, the Go TO command and the caret
// as line and column.
#include "view/parchly_view.h"

#include "analysis/line_mapping.h"
#include "analysis/rfc_text.h"
#include "platform/dialogs.h"
#include "view/goto_dialog.h"
#include "view/hyperlinks.h"
#include "view/parchly_doc.h"
#include "view/shown_lines.h"
#include "view/text_geometry.h"

#include <algorithm>

namespace parchly {

HistoryEntry CParchlyView::currentPosition() const
{
    const TextSelection selection = GetSelection();
    const RfcText& text = rfc();
    const int startLine = LineFromPosition(selection.start);
    const int endLine = LineFromPosition(selection.end);
    return {displayLineToFile(text, startLine + 1) - 1, selection.start - LineStart(startLine),
            displayLineToFile(text, endLine + 1) - 1, selection.end - LineStart(endLine)};
}

void CParchlyView::RecordPosition()
{
    m_history.record(currentPosition());
}

void CParchlyView::restorePosition(const HistoryEntry& entry)
{
    const RfcText& text = rfc();
    auto position = [this, &text](int32_t fileLine, int32_t column) {
        const int start = LineStart(ShownLineOfFileIndex(text, fileLine));
        return start < 0 ? -1 : start + column;
    };
    SetSelection(position(entry.startLine, entry.startColumn), position(entry.endLine, entry.endColumn));
    UpdateCurrentIndexEntry(-1);
}

void CParchlyView::GoBack()
{
    if (const HistoryEntry* entry = m_history.goBack())
        restorePosition(*entry);
}

void CParchlyView::GoForward()
{
    if (const HistoryEntry* entry = m_history.goForward())
        restorePosition(*entry);
}

void CParchlyView::GoTo()
{
    const RfcText& text = rfc();
    CGotoDlg dialog(gotoKinds(LineCount(), text.pageCount, text.isIndex), this);
    if (dialogs().runModal(dialog) != QDialog::Accepted)
        return;
    const GotoChoice choice = dialog.choice();
    int line = 0;
    if (choice.kind == kGotoLine) {
        // The line count itself names no 0-based line: it goes to the last.
        line = std::min(choice.number, LineCount() - 1);
    } else {
        const std::vector<int32_t>& boundaries = boundaryTable(text);
        if (choice.number < 1 || choice.number > static_cast<int>(text.pageEnds.size()) ||
            choice.number > static_cast<int>(boundaries.size()))
            return;
        line = boundaries[choice.number - 1] + 1;
    }
    showLineAtTop(line);
    UpdateCurrentIndexEntry(-1);
    SelectNavigatorNode();
}

void CParchlyView::SetCaretLineColumn(int line, int column)
{
    const int start = LineStart(line);
    if (start < 0)
        return;
    const int length = LengthWithoutLineEnd(LineText(line));
    const int position = start + std::clamp(column, 0, length);
    SetSelection(position, position);
}

} // namespace parchly
