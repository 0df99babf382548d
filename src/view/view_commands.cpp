// The commands the reading view handles itself: copy, select all, find,
// find next and previous (find bar or dialog), Go TO, going back and
// forward, printing, zoom.
#include "view/reading_view.h"

#include "view/command_ids.h"
#include "view/find.h"
#include "view/printing.h"
#include "view/view_host.h"

#include "settings/settings.h"

#include <QApplication>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <vector>

namespace parchly {

bool ReadingView::updateCommand(int id, CommandState& state)
{
    switch (id) {
    case kCmdCopy:
        state.enabled = selectedRange().start != selectedRange().end;
        return true;
    case kCmdSelectAll:
    case kCmdFind:
    case kCmdGoTo:
    case kCmdPrint:
    case kCmdPrintPreview:
        state.enabled = true;
        return true;
    case kCmdFindNext:
    case kCmdFindPrevious:
        state.enabled = m_findUsed;
        return true;
    case kCmdGoBack:
        state.enabled = m_history.canGoBack();
        return true;
    case kCmdGoForward:
        state.enabled = m_history.canGoForward();
        return true;
    case kCmdZoomIn:
        state.enabled = m_zoomSteps < kZoomInLimit;
        return true;
    case kCmdZoomOut:
        state.enabled = m_zoomSteps > kZoomOutLimit;
        return true;
    case kCmdZoomReset:
        state.enabled = m_zoomSteps != 0;
        return true;
    case kCmdEscape:
        // Escape closes the find bar; otherwise it is the frame's.
        if (!m_findBar || !m_findBar->isVisible())
            return false;
        state.enabled = true;
        return true;
    default:
        return false;
    }
}

bool ReadingView::runCommand(int id)
{
    switch (id) {
    case kCmdCopy:
        copy();
        return true;
    case kCmdSelectAll:
        selectAll();
        return true;
    case kCmdFind:
        openFindDialog();
        return true;
    case kCmdFindNext:
        findNext();
        return true;
    case kCmdFindPrevious:
        findPrevious();
        return true;
    case kCmdGoTo:
        openGoToDialog();
        return true;
    case kCmdGoBack:
        goBack();
        return true;
    case kCmdGoForward:
        goForward();
        return true;
    case kCmdPrint:
        printView(*this, settings());
        return true;
    case kCmdPrintPreview:
        printPreviewView(*this, settings());
        return true;
    case kCmdZoomIn:
        setZoomSteps(m_zoomSteps + 1);
        m_host->storeZoomSteps(m_zoomSteps);
        return true;
    case kCmdZoomOut:
        setZoomSteps(m_zoomSteps - 1);
        m_host->storeZoomSteps(m_zoomSteps);
        return true;
    case kCmdZoomReset:
        setZoomSteps(0);
        m_host->storeZoomSteps(m_zoomSteps);
        return true;
    case kCmdEscape:
        if (!m_findBar || !m_findBar->isVisible())
            return false;
        m_findBar->dismiss();
        return true;
    default:
        return false;
    }
}

void ReadingView::setFindBar(FindBar* bar)
{
    m_findBar = bar;
    if (!bar)
        return;
    connect(bar, &FindBar::searchRequested, this, &ReadingView::runFindBarSearch);
    connect(bar, &FindBar::requestChanged, this, &ReadingView::highlightMatches);
    connect(bar, &FindBar::closed, this, [this] {
        stopMatchScan();
        setFocus();
    });
}

void ReadingView::openFindDialog()
{
    m_findUsed = true;
    const QString selected = textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        m_find.text = selected;
    if (m_findBar) {
        m_findBar->open(m_find.text);
        highlightMatches();
        return;
    }
    if (!m_findDialog) {
        m_findDialog = new FindDialog(m_find, this);
        connect(m_findDialog, &FindDialog::findRequested, this, [this](const FindRequest& request) {
            m_find = request;
            findNextMatch();
        });
        // The keys go back to the text once the dialog is done with.
        connect(m_findDialog, &QDialog::finished, this, [this] { setFocus(); });
    } else {
        m_findDialog->textEdit()->setText(m_find.text);
    }
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
}

void ReadingView::findNext()
{
    if (m_findBar && !m_findBar->textEdit()->text().isEmpty())
        runFindBarSearch(true);
    else if (m_find.text.isEmpty())
        openFindDialog();
    else
        findNextMatch();
}

void ReadingView::findPrevious()
{
    if (m_findBar && !m_findBar->textEdit()->text().isEmpty()) {
        runFindBarSearch(false);
        return;
    }
    if (m_find.text.isEmpty()) {
        openFindDialog();
        return;
    }
    const bool down = m_find.down;
    m_find.down = !down;
    findNextMatch();
    m_find.down = down;
}

void ReadingView::runFindBarSearch(bool down)
{
    m_findUsed = true;
    m_find = m_findBar->request(down);
    findNextMatch();
}

FindOutcome ReadingView::findNextMatch()
{
    const FindOutcome outcome = selectNextMatch(m_find);
    m_host->showStatusMessage(findOutcomeText(outcome, m_find));
    if (outcome == kNotFound) {
        QApplication::beep();
        return outcome;
    }
    centreLine(lineFromPosition(selectedRange().end));
    caretMoved();
    showMatchCount();
    return outcome;
}

qreal zoomScale(int steps)
{
    return std::pow(1.1, steps);
}

void ReadingView::setZoomSteps(int steps)
{
    steps = std::clamp(steps, kZoomOutLimit, kZoomInLimit);
    if (steps == m_zoomSteps)
        return;
    // Each step is a tenth more or less, as in the usual viewers; the
    // factor goes from the old scale to the new one.
    const qreal factor = zoomScale(steps) / zoomScale(m_zoomSteps);
    m_zoomSteps = steps;
    applyZoomFactor(factor);
}

void ReadingView::applyZoomFactor(qreal factor)
{
    const int top = firstVisibleLine();
    QTextDocument* text = document();
    QFont font = text->defaultFont();
    font.setPointSizeF(font.pointSizeF() * factor);
    text->setDefaultFont(font);
    // The formats that carry a size of their own scale with the default;
    // the runs are listed first, as changing them rearranges the fragments.
    struct Run {
        int start;
        int end;
        qreal size;
    };
    std::vector<Run> runs;
    for (QTextBlock block = text->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextFragment part = fragment.fragment();
            const QTextCharFormat format = part.charFormat();
            if (format.hasProperty(QTextFormat::FontPointSize))
                runs.push_back({part.position(), part.position() + part.length(), format.fontPointSize()});
        }
    }
    QTextCursor cursor(text);
    cursor.beginEditBlock();
    for (const Run& run : runs) {
        QTextCharFormat scaled;
        scaled.setFontPointSize(run.size * factor);
        cursor.setPosition(run.start);
        cursor.setPosition(run.end, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(scaled);
    }
    cursor.endEditBlock();
    clearModified();
    scrollLines(top - firstVisibleLine());
}

} // namespace parchly
