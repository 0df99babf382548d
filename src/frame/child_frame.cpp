#include "frame/child_frame.h"

#include "analysis/rfc_text.h"
#include "app/command_ids.h"
#include "app/parchly_app.h"
#include "frame/document_tab_bar.h"
#include "frame/main_frame.h"
#include "platform/tab_strip.h"
#include "view/parchly_doc.h"
#include "view/parchly_view.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMainWindow>

namespace parchly {

CChildFrame::CChildFrame(CMainFrame& mainFrame, CParchlyApp& app, const QString& path)
    : mainFrame_(mainFrame), app_(app), path_(path), document_(std::make_unique<CParchlyDoc>(path)),
      inner_(new QMainWindow(this)), navigator_(new NavigatorBar(inner_, *this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QFileInfo(path).fileName());
    // A main window inside the MDI child lets the Navigator dock at its edges.
    inner_->setWindowFlags(Qt::Widget);
    inner_->setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);
    view_ = new CParchlyView(document_.get(), this, inner_);
    inner_->setCentralWidget(view_);
    inner_->addDockWidget(Qt::LeftDockWidgetArea, navigator_);
    setWidget(inner_);
}

CChildFrame::~CChildFrame()
{
    // The view reaches its host while it goes, so it goes first.
    delete view_;
    view_ = nullptr;
    // Only one index document can be open: Open RFC Index activates it.
    if (isIndexDocument())
        app_.indexDocumentOpen = false;
}

QWidget* CChildFrame::viewWidget() const
{
    return view_;
}

bool CChildFrame::isIndexDocument() const
{
    return document_ && document_->text().isIndex;
}

void CChildFrame::initialUpdate()
{
    if (initialised_ || !view_)
        return;
    initialised_ = true;
    view_->OnInitialUpdate();
    if (isIndexDocument())
        app_.indexDocumentOpen = true;
    mainFrame_.childFrameActivated(this);
}

void CChildFrame::frameActivated()
{
    if (!view_ || !initialised_)
        return;
    view_->UpdatePositionStatus();
    view_->ShowNavigatorMode();
}

std::vector<CommandTarget*> CChildFrame::commandRoute()
{
    std::vector<CommandTarget*> route;
    if (auto* target = dynamic_cast<CommandTarget*>(view_))
        route.push_back(target);
    // The document is a plain record without commands of its own; its
    // framework command Close is handled by this frame.
    route.push_back(this);
    return route;
}

bool CChildFrame::updateCommand(int id, CommandState& state)
{
    const RfcText* text = document_ ? &document_->text() : nullptr;
    const bool rfc = text && !text->isIndex;
    const bool headerFooterToggles = rfc && !app_.settings().DisableHeaderAndFooterInAllFiles;
    switch (id) {
    case kCmdStructure:
        state.enabled = rfc && navigator_->tabs()->GetSelectedTab() != 0;
        return true;
    case kCmdPage:
        state.enabled = rfc && navigator_->tabs()->GetSelectedTab() != 1;
        return true;
    case kCmdHeaders:
        state.enabled = headerFooterToggles;
        state.checkable = true;
        state.checked = rfc && !text->hideHeaders;
        return true;
    case kCmdFooters:
        state.enabled = headerFooterToggles;
        state.checkable = true;
        state.checked = rfc && !text->hideFooters;
        return true;
    case kCmdPageSeparators:
        state.enabled = rfc;
        state.checkable = true;
        state.checked = rfc && text->showPageSeparators;
        return true;
    case kCmdNavigator:
        state.enabled = true;
        state.checkable = true;
        state.checked = navigator_->isVisibleTo(inner_);
        return true;
    case kCmdFileClose:
        state.enabled = true;
        return true;
    default:
        return false;
    }
}

bool CChildFrame::runCommand(int id)
{
    const RfcText* text = document_ ? &document_->text() : nullptr;
    switch (id) {
    case kCmdStructure:
        showNavigatorTabByCommand(0);
        return true;
    case kCmdPage:
        showNavigatorTabByCommand(1);
        return true;
    case kCmdHeaders:
        if (text && view_)
            view_->ShowHeadersAndFooters(!text->hideHeaders, text->hideFooters);
        return true;
    case kCmdFooters:
        if (text && view_)
            view_->ShowHeadersAndFooters(text->hideHeaders, !text->hideFooters);
        return true;
    case kCmdPageSeparators:
        if (text && view_)
            view_->ShowPageSeparators(!text->showPageSeparators);
        return true;
    case kCmdNavigator:
        navigator_->setVisible(!navigator_->isVisibleTo(inner_));
        return true;
    case kCmdFileClose:
        close();
        return true;
    default:
        return false;
    }
}

void CChildFrame::showNavigatorTabByCommand(int tab)
{
    if (isIndexDocument())
        return;
    navigator_->tabs()->SelectTab(tab);
    navigator_->ShowNavigatorTab(tab);
}

const RfcSettings& CChildFrame::settings() const
{
    return app_.settings();
}

NavigatorTrees CChildFrame::navigator()
{
    return navigator_->trees();
}

void CChildFrame::setModePane(const QString& text)
{
    mainFrame_.setModePane(text);
}

void CChildFrame::setPositionPane(const QString& text)
{
    mainFrame_.setPositionPane(text);
}

void CChildFrame::addDocumentTab(const QString& title, CParchlyView* view)
{
    mainFrame_.documentTabBar()->addViewTab(title, view);
}

void CChildFrame::removeDocumentTab(CParchlyView* view)
{
    mainFrame_.documentTabBar()->removeViewTab(view);
}

CParchlyDoc* CChildFrame::openRfcNumber(int number)
{
    return app_.OpenRfcNumber(number);
}

void CChildFrame::runFrameCommand(int id)
{
    mainFrame_.routeCommand(id);
}

const RfcText* CChildFrame::navigatorText() const
{
    return document_ ? &document_->text() : nullptr;
}

void CChildFrame::goToSectionHeading(int heading)
{
    if (view_)
        view_->GoToSectionHeading(heading);
}

void CChildFrame::goToContentsEntry(int entry)
{
    if (view_)
        view_->GoToContentsEntry(entry);
}

void CChildFrame::goToFileLine(int line)
{
    if (view_)
        view_->GoToFileLine(line);
}

void CChildFrame::navigatorTabShown()
{
    if (!view_)
        return;
    view_->SelectNavigatorNode();
    view_->ShowNavigatorMode();
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted() && !closed_) {
        closed_ = true;
        mainFrame_.childFrameClosed(this);
    }
}

} // namespace parchly
