// The reading view's pointer and keyboard handling: following links,
// the hand over links, the context menu, and the refresh steps that end
// every handler.
#include "view/reading_view.h"

#include "analysis/line_mapping.h"
#include "analysis/rfc_text.h"
#include "analysis/section_anchors.h"
#include "view/command_ids.h"
#include "settings/settings.h"
#include "index/index_view.h"
#include "view/hyperlinks.h"
#include "view/rfc_document.h"
#include "view/view_host.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QWheelEvent>

namespace parchly {

namespace {

// The items of the context menu in their groups; 0 separates groups.
struct ContextItem {
    int id;
    const char* text;
};

const ContextItem kContextItems[] = {
    {kCmdCopy, "&Copy"},
    {kCmdSelectAll, "Select A&ll"},
    {0, nullptr},
    {kCmdFind, "&Find..."},
    {kCmdFindNext, "F&ind Next"},
    {0, nullptr},
    {kCmdGoTo, "&Go To..."},
    {kCmdGoForward, "Go For&ward"},
    {kCmdGoBack, "Go &Back"},
    {0, nullptr},
    {kCmdViewIndex, "&Index"},
    {kCmdStructure, "&Structure"},
    {kCmdPage, "&Page"},
    {0, nullptr},
    {kCmdHeaders, "RFC &Headers"},
    {kCmdFooters, "RFC &Footers"},
    {kCmdPageSeparators, "Page &Separator"},
};

int squared(int value)
{
    return value * value;
}

} // namespace

void ReadingView::updateLinkCursor(const QPoint& point)
{
    bool link = false;
    if (rfc().isIndex)
        link = m_index && (m_index->hitIndexTitle(point) >= 0 || m_index->hitIndexNumber(point) >= 0);
    else
        link = isRfcLinkAt(*this, settings(), m_host->indexStatus(), point);
    viewport()->setCursor(link ? Qt::PointingHandCursor : Qt::IBeamCursor);
    // A series names its RFCs in a tooltip.
    const LinkMark* mark = link && !rfc().isIndex ? hitLink(*this, point) : nullptr;
    viewport()->setToolTip(mark ? seriesToolTip(*mark, m_host->indexStatus()) : QString());
}

void ReadingView::followLinkAt(const QPoint& point)
{
    if (rfc().isIndex) {
        followIndexLink(point);
        return;
    }
    const LinkTarget target = rfcLinkTargetAt(*this, settings(), m_host->indexStatus(), point);
    if (target.rfcNumber > 0)
        followToRfc(target.rfcNumber, target.section);
    if (target.shownLine >= 0)
        jumpToShownLine(target.shownLine);
}

void ReadingView::followToRfc(int number, const std::string& section)
{
    HistoryEntry from = currentPosition();
    from.document = QFile::encodeName(m_document->pathName()).toStdString();
    ReadingView* target = m_host->openRfcView(number);
    if (!target || !target->isLoaded())
        return;
    int line = -1;
    if (!section.empty()) {
        const int heading = sectionHeadingLine(target->rfc(), section);
        if (heading > 0)
            line = target->m_document->shownLineOf(FileLine::atNumber(heading)).index();
    }
    if (target != this)
        target->m_history.record(from);
    if (line >= 0)
        target->jumpToShownLine(line);
    else if (target != this)
        target->recordPosition();
}

void ReadingView::jumpToShownLine(int line)
{
    showLineAtTop(line);
    recordPosition();
}

void ReadingView::mousePressEvent(QMouseEvent* event)
{
    // The mouse's back and forward buttons walk the history, as in a browser.
    if (event->button() == Qt::BackButton || event->button() == Qt::ForwardButton) {
        if (event->button() == Qt::BackButton)
            goBack();
        else
            goForward();
        event->accept();
        return;
    }
    TextView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    recordPosition();
    followLinkAt(event->position().toPoint());
    announceCaretLine();
    updateCurrentIndexEntry(-1);
    updatePositionStatus();
}

void ReadingView::mouseReleaseEvent(QMouseEvent* event)
{
    TextView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    // The end of the selection nearer the pointer decides the entry.
    const TextSelection selection = selectedRange();
    const int y = event->position().toPoint().y();
    const int startDistance = squared(positionToPoint(selection.start).y() - y);
    const int endDistance = squared(positionToPoint(selection.end).y() - y);
    const int nearer = startDistance < endDistance ? selection.start : selection.end;
    updateCurrentIndexEntry(lineFromPosition(nearer));
    updatePositionStatus();
}

void ReadingView::mouseMoveEvent(QMouseEvent* event)
{
    TextView::mouseMoveEvent(event);
    updateLinkCursor(event->position().toPoint());
    updatePositionStatus();
}

void ReadingView::wheelEvent(QWheelEvent* event)
{
    // Ctrl+wheel zooms as the zoom keys do, all formats together.
    if (event->modifiers() & Qt::ControlModifier) {
        if (const int delta = event->angleDelta().y(); delta != 0)
            runCommand(delta > 0 ? kCmdZoomIn : kCmdZoomOut);
        event->accept();
        return;
    }
    TextView::wheelEvent(event);
    updateCurrentIndexEntry(-1);
}

void ReadingView::resizeEvent(QResizeEvent* event)
{
    TextView::resizeEvent(event);
    if (m_initialised)
        updateCurrentIndexEntry(-1);
}

void ReadingView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        const QPoint caret = positionToPoint(selectedRange().end);
        showContextMenu(viewport()->mapToGlobal(caret));
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
        // Enter follows the link at the caret, as a click on it would.
        const int caret = selectedRange().end;
        const QPoint point = positionToPoint(caret) + QPoint(1, cursorRect().height() / 2);
        recordPosition();
        followLinkAt(point);
        caretMoved();
        event->accept();
        return;
    }
    TextView::keyPressEvent(event);
    announceCaretLine();
    updateCurrentIndexEntry(-1);
    updatePositionStatus();
}

void ReadingView::focusInEvent(QFocusEvent* event)
{
    TextView::focusInEvent(event);
    if (m_initialised)
        updatePositionStatus();
}

void ReadingView::contextMenuEvent(QContextMenuEvent* event)
{
    showContextMenu(event->globalPos());
}

CommandState ReadingView::contextCommandState(int id)
{
    const RfcText& text = rfc();
    const bool isRfc = !text.isIndex;
    const int tab = m_host->navigatorTab();
    CommandState state;
    switch (id) {
    case kCmdViewIndex:
        state.enabled = true;
        break;
    case kCmdStructure:
        state.enabled = isRfc && tab == 1;
        break;
    case kCmdPage:
        state.enabled = isRfc && tab == 0;
        break;
    case kCmdHeaders:
    case kCmdFooters:
        state.enabled = isRfc && !settings().DisableHeaderAndFooterInAllFiles;
        state.checkable = true;
        state.checked = text.isIndex || !(id == kCmdHeaders ? cuts().headers : cuts().footers);
        break;
    case kCmdPageSeparators:
        state.enabled = isRfc;
        state.checkable = true;
        state.checked = m_document->viewState().pageSeparators;
        break;
    default:
        updateCommand(id, state);
        break;
    }
    return state;
}

void ReadingView::runContextCommand(int id)
{
    const LineCuts now = cuts();
    switch (id) {
    case kCmdHeaders:
        setHeadersAndFootersCut(!now.headers, now.footers);
        break;
    case kCmdFooters:
        setHeadersAndFootersCut(now.headers, !now.footers);
        break;
    case kCmdPageSeparators:
        setPageSeparatorsShown(!m_document->viewState().pageSeparators);
        break;
    case kCmdViewIndex:
    case kCmdStructure:
    case kCmdPage:
        m_host->runFrameCommand(id);
        break;
    default:
        runCommand(id);
        break;
    }
}

void ReadingView::showContextMenu(const QPoint& globalPosition)
{
    if (!m_contextMenu)
        m_contextMenu = new QMenu(this);
    m_contextMenu->clear();
    for (const ContextItem& item : kContextItems) {
        if (item.id == 0) {
            m_contextMenu->addSeparator();
            continue;
        }
        QAction* action = m_contextMenu->addAction(QString::fromLatin1(item.text));
        const CommandState state = contextCommandState(item.id);
        action->setEnabled(state.enabled);
        action->setCheckable(state.checkable);
        action->setChecked(state.checked);
        action->setData(item.id);
        connect(action, &QAction::triggered, this, [this, id = item.id] { runContextCommand(id); });
    }
    // Shown without waiting: the menu's choice arrives as a command.
    m_contextMenu->popup(globalPosition);
}

} // namespace parchly
