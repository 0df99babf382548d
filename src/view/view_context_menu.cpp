#include "view/view_context_menu.h"

#include "analysis/rfc_text.h"
#include "view/command_ids.h"
#include "settings/settings.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"
#include "view/view_host.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QUrl>

namespace parchly {

namespace {

// The items of the view's commands in their groups; 0 separates groups.
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

} // namespace

ViewContextMenu::ViewContextMenu(ReadingView& view)
    : QObject(&view)
    , m_view(view)
    , m_menu(new QMenu(&view))
{
}

void ViewContextMenu::popup(const QPoint& globalPosition)
{
    m_menu->clear();
    const QPoint point = m_view.viewport()->mapFromGlobal(globalPosition);
    const RfcDocument& document = *m_view.rfcDocument();
    m_link = document.text().isIndex
        ? LinkTarget()
        : rfcLinkTargetAt(m_view, m_view.host()->settings(), m_view.host()->indexStatus(), point);
    if (m_link.leadsAnywhere())
        addLinkItems();
    for (const ContextItem& item : kContextItems) {
        if (item.id == 0) {
            m_menu->addSeparator();
            continue;
        }
        QAction* action = m_menu->addAction(QString::fromLatin1(item.text));
        const CommandState state = commandState(item.id);
        action->setEnabled(state.enabled);
        action->setCheckable(state.checkable);
        action->setChecked(state.checked);
        action->setData(item.id);
        connect(action, &QAction::triggered, this, [this, id = item.id] { runCommand(id); });
    }
    m_menu->popup(globalPosition);
}

void ViewContextMenu::addLinkItems()
{
    const LinkTarget link = m_link;
    connect(m_menu->addAction(QStringLiteral("Copy &Link")), &QAction::triggered, this,
            [this, link] { QGuiApplication::clipboard()->setText(linkAddress(m_view, link)); });
    // A jump within this RFC has no window of its own to open.
    QAction* open = m_menu->addAction(QStringLiteral("&Open in New Window"));
    open->setEnabled(!link.url.isEmpty() || link.rfcNumber > 0);
    connect(open, &QAction::triggered, this, [this, link] {
        if (!link.url.isEmpty())
            QDesktopServices::openUrl(QUrl(link.url));
        else
            m_view.links().followToRfc(link.rfcNumber, link.section);
    });
    m_menu->addSeparator();
}

CommandState ViewContextMenu::commandState(int id)
{
    const RfcDocument& document = *m_view.rfcDocument();
    const bool isRfc = !document.text().isIndex;
    const int tab = m_view.host()->navigatorTab();
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
        state.enabled = isRfc && !m_view.host()->settings().DisableHeaderAndFooterInAllFiles;
        state.checkable = true;
        state.checked = !isRfc || !(id == kCmdHeaders ? document.cuts().headers : document.cuts().footers);
        break;
    case kCmdPageSeparators:
        state.enabled = isRfc;
        state.checkable = true;
        state.checked = document.viewState().pageSeparators;
        break;
    default:
        m_view.updateCommand(id, state);
        break;
    }
    return state;
}

void ViewContextMenu::runCommand(int id)
{
    const LineCuts now = m_view.rfcDocument()->cuts();
    switch (id) {
    case kCmdHeaders:
        m_view.rfcDocument()->cutHeadersAndFooters(!now.headers, now.footers);
        break;
    case kCmdFooters:
        m_view.rfcDocument()->cutHeadersAndFooters(now.headers, !now.footers);
        break;
    case kCmdPageSeparators:
        m_view.rfcDocument()->showPageSeparators(!m_view.rfcDocument()->viewState().pageSeparators);
        break;
    case kCmdViewIndex:
    case kCmdStructure:
    case kCmdPage:
        m_view.host()->runFrameCommand(id);
        break;
    default:
        m_view.runCommand(id);
        break;
    }
}

} // namespace parchly
