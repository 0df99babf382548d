// The reading view's pointer and keyboard handling: following links, the
// hand over links and where they lead, the context menu, and the refresh
// steps that end every handler.
#include "view/reading_view.h"

#include "analysis/line_mapping.h"
#include "analysis/rfc_text.h"
#include "analysis/section_anchors.h"
#include "view/command_ids.h"
#include "settings/settings.h"
#include "index/index_view.h"
#include "view/hyperlinks.h"
#include "view/line_placement.h"
#include "view/rfc_document.h"
#include "view/view_context_menu.h"
#include "view/view_host.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QUrl>
#include <QWheelEvent>

namespace parchly {

namespace {

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
    if (rfc().isIndex)
        return;
    // Where the link leads, as a tooltip and in the status bar; a series
    // names its RFCs. Off a link, an erratum's marker tells its status,
    // type and correction.
    QString where;
    if (link) {
        const LinkMark* mark = hitLink(*this, point);
        where = mark ? seriesToolTip(*mark, m_host->indexStatus()) : QString();
        if (where.isEmpty())
            where = linkTargetText(*this, rfcLinkTargetAt(*this, settings(), m_host->indexStatus(), point));
    }
    if (where != m_linkStatus)
        m_host->showStatusMessage(where);
    m_linkStatus = where;
    const int erratum = link ? -1 : m_errataMarkers.erratumAt(point);
    viewport()->setToolTip(erratum >= 0 ? erratumToolTip(m_document->errata()[std::size_t(erratum)].erratum)
                                        : where);
}

void ReadingView::followLinkAt(const QPoint& point)
{
    if (rfc().isIndex) {
        followIndexLink(point);
        return;
    }
    const LinkTarget target = rfcLinkTargetAt(*this, settings(), m_host->indexStatus(), point);
    if (!target.url.isEmpty()) {
        QDesktopServices::openUrl(QUrl(target.url));
        return;
    }
    if (target.rfcNumber > 0)
        followToRfc(target.rfcNumber, target.section);
    if (target.shownLine >= 0)
        jumpToShownLine(target.shownLine);
}

void ReadingView::followToRfc(int number, const std::string& section)
{
    HistoryEntry from = m_positions.current();
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
        target->m_document->history().record(from);
    if (line >= 0)
        target->jumpToShownLine(line);
    else if (target != this)
        target->positions().record();
}

void ReadingView::jumpToShownLine(int line)
{
    putLineAtTop(*this, line);
    caretMoved();
    m_positions.record();
}

void ReadingView::mousePressEvent(QMouseEvent* event)
{
    // The mouse's back and forward buttons walk the history, as in a browser.
    if (event->button() == Qt::BackButton || event->button() == Qt::ForwardButton) {
        if (event->button() == Qt::BackButton)
            m_positions.goBack();
        else
            m_positions.goForward();
        event->accept();
        return;
    }
    TextView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    m_positions.record();
    const QPoint point = event->position().toPoint();
    // A click on an erratum's marker (not on a link in it) shows the
    // erratum in the Navigator.
    if (!rfc().isIndex && !isRfcLinkAt(*this, settings(), m_host->indexStatus(), point)) {
        if (const int erratum = m_errataMarkers.erratumAt(point); erratum >= 0)
            m_host->erratumChosen(erratum);
    }
    followLinkAt(point);
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
        m_positions.record();
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

void ReadingView::showContextMenu(const QPoint& globalPosition)
{
    if (!m_contextMenu)
        m_contextMenu = new ViewContextMenu(*this);
    m_contextMenu->popup(globalPosition);
}

QMenu* ReadingView::contextMenu() const
{
    return m_contextMenu ? m_contextMenu->menu() : nullptr;
}

} // namespace parchly
