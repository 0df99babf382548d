// The commands the reading view handles itself: copy, select all, find,
// find next, Go TO, going back and forward, printing.
#include "view/parchly_view.h"

#include "app/command_ids.h"
#include "view/find.h"
#include "view/printing.h"

#include <QApplication>
#include <QLineEdit>

namespace parchly {

bool CParchlyView::updateCommand(int id, CommandState& state)
{
    switch (id) {
    case kCmdCopy:
        state.enabled = GetSelection().start != GetSelection().end;
        return true;
    case kCmdSelectAll:
    case kCmdFind:
    case kCmdGoto:
    case kCmdPrint:
    case kCmdPrintPreview:
        state.enabled = true;
        return true;
    case kCmdFindNext:
        state.enabled = m_findUsed;
        return true;
    case kCmdGoBack:
        state.enabled = m_history.canGoBack();
        return true;
    case kCmdGoForward:
        state.enabled = m_history.canGoForward();
        return true;
    default:
        return false;
    }
}

bool CParchlyView::runCommand(int id)
{
    switch (id) {
    case kCmdCopy: copy(); return true;
    case kCmdSelectAll: selectAll(); return true;
    case kCmdFind: Find(); return true;
    case kCmdFindNext: FindNext(); return true;
    case kCmdGoto: GoTo(); return true;
    case kCmdGoBack: GoBack(); return true;
    case kCmdGoForward: GoForward(); return true;
    case kCmdPrint: PrintView(*this); return true;
    case kCmdPrintPreview: PrintPreviewView(*this); return true;
    default: return false;
    }
}

void CParchlyView::Find()
{
    m_findUsed = true;
    const QString selected = textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        m_find.text = selected;
    if (!m_findDialog) {
        m_findDialog = new CFindDialog(m_find, this);
        connect(m_findDialog, &CFindDialog::findRequested, this, [this](const FindRequest& request) {
            m_find = request;
            findNextMatch();
        });
    } else {
        m_findDialog->textEdit()->setText(m_find.text);
    }
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
}

void CParchlyView::FindNext()
{
    if (m_find.text.isEmpty())
        Find();
    else
        findNextMatch();
}

void CParchlyView::findNextMatch()
{
    if (!FindText(*this, m_find)) {
        QApplication::beep();
        return;
    }
    SelectNavigatorNode();
    UpdateCurrentIndexEntry(-1);
    UpdatePositionStatus();
}

} // namespace parchly
