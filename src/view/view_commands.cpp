// The commands the reading view handles itself: copy, select all, Go To,
// going back and forward, printing; find and zoom through their own
// classes.
#include "view/reading_view.h"

#include "view/command_ids.h"
#include "view/go_to.h"
#include "view/rfc_document.h"
#include "view/printing.h"
#include "view/view_host.h"

#include "settings/settings.h"

namespace parchly {

bool ReadingView::updateCommand(int id, CommandState& state)
{
    if (m_finder.updateCommand(id, state) || m_zoom.updateCommand(id, state))
        return true;
    switch (id) {
    case kCmdCopy:
        state.enabled = selectedRange().start != selectedRange().end;
        return true;
    case kCmdSelectAll:
    case kCmdGoTo:
    case kCmdPrint:
    case kCmdPrintPreview:
        state.enabled = true;
        return true;
    case kCmdGoBack:
        state.enabled = m_document->history().canGoBack();
        return true;
    case kCmdGoForward:
        state.enabled = m_document->history().canGoForward();
        return true;
    default:
        return false;
    }
}

bool ReadingView::runCommand(int id)
{
    if (m_finder.runCommand(id))
        return true;
    if (m_zoom.runCommand(id)) {
        m_host->storeZoomSteps(m_zoom.steps());
        return true;
    }
    switch (id) {
    case kCmdCopy:
        copy();
        return true;
    case kCmdSelectAll:
        selectAll();
        return true;
    case kCmdGoTo:
        askAndGoTo(*this);
        return true;
    case kCmdGoBack:
        m_positions.goBack();
        return true;
    case kCmdGoForward:
        m_positions.goForward();
        return true;
    case kCmdPrint:
        printView(*this, m_host->settings());
        return true;
    case kCmdPrintPreview:
        printPreviewView(*this, m_host->settings());
        return true;
    default:
        return false;
    }
}

} // namespace parchly
