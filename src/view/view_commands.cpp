// The commands the reading view handles itself: copy, select all, find,
// find next, Go TO, going back and forward, printing.
#include "view/reading_view.h"

#include "settings/command_ids.h"
#include "view/find.h"
#include "view/printing.h"

#include <QApplication>
#include <QLineEdit>

namespace parchly {

bool ReadingView::updateCommand(int id, CommandState& state)
{
    switch (id) {
    case kCmdCopy:
        state.enabled = selectedRange().start != selectedRange().end;
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

bool ReadingView::runCommand(int id)
{
    switch (id) {
    case kCmdCopy: copy(); return true;
    case kCmdSelectAll: selectAll(); return true;
    case kCmdFind: openFindDialog(); return true;
    case kCmdFindNext: findNext(); return true;
    case kCmdGoto: openGoToDialog(); return true;
    case kCmdGoBack: goBack(); return true;
    case kCmdGoForward: goForward(); return true;
    case kCmdPrint: printView(*this); return true;
    case kCmdPrintPreview: printPreviewView(*this); return true;
    default: return false;
    }
}

void ReadingView::openFindDialog()
{
    m_findUsed = true;
    const QString selected = textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        m_find.text = selected;
    if (!m_findDialog) {
        m_findDialog = new FindDialog(m_find, this);
        connect(m_findDialog, &FindDialog::findRequested, this, [this](const FindRequest& request) {
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

void ReadingView::findNext()
{
    if (m_find.text.isEmpty())
        openFindDialog();
    else
        findNextMatch();
}

void ReadingView::findNextMatch()
{
    if (!findText(*this, m_find)) {
        QApplication::beep();
        return;
    }
    selectNavigatorNode();
    updateCurrentIndexEntry(-1);
    updatePositionStatus();
}

} // namespace parchly
