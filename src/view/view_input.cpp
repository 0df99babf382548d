// The reading view's pointer and keyboard handling: the mouse's buttons,
// the keys that follow links or open the context menu, the zoom wheel, and
// the refresh steps that end every handler.
#include "view/reading_view.h"

#include "analysis/rfc_text.h"
#include "view/command_ids.h"
#include "view/hyperlinks.h"
#include "view/rfc_document.h"
#include "view/view_context_menu.h"
#include "view/view_host.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QWheelEvent>

namespace parchly {

namespace {

int squared(int value)
{
    return value * value;
}

} // namespace

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
    if (!m_document->text().isIndex
        && !isRfcLinkAt(*this, m_host->settings(), m_host->indexStatus(), point)) {
        if (const int erratum = m_errataMarkers.erratumAt(point); erratum >= 0)
            m_host->erratumChosen(erratum);
    }
    m_links.followAt(point);
    caretMoved();
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
    m_links.pointAt(event->position().toPoint());
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
        QContextMenuEvent request(QContextMenuEvent::Keyboard, caret, viewport()->mapToGlobal(caret));
        contextMenuEvent(&request);
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
        // Enter follows the link at the caret, as a click on it would.
        const int caret = selectedRange().end;
        const QPoint point = positionToPoint(caret) + QPoint(1, cursorRect().height() / 2);
        m_positions.record();
        m_links.followAt(point);
        caretMoved();
        event->accept();
        return;
    }
    TextView::keyPressEvent(event);
    caretMoved();
}

void ReadingView::focusInEvent(QFocusEvent* event)
{
    TextView::focusInEvent(event);
    if (m_initialised)
        updatePositionStatus();
}

void ReadingView::contextMenuEvent(QContextMenuEvent* event)
{
    // Made at its first use: most views never show it.
    if (!m_contextMenu)
        m_contextMenu = new ViewContextMenu(*this);
    m_contextMenu->popup(event->globalPos());
}

} // namespace parchly
