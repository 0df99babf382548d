#include "frame/document_tab_bar.h"

#include "platform/tab_strip.h"

namespace parchly {

DocumentTabBar::DocumentTabBar(QWidget* parent)
    : QToolBar(QStringLiteral("Documents"), parent), tabs_(new TabStrip(this))
{
    setObjectName(QStringLiteral("DocumentTabBar"));
    setMovable(false);
    setFloatable(false);
    setAllowedAreas(Qt::TopToolBarArea);
    // Part of the frame, not a toolbar the user switches off.
    toggleViewAction()->setVisible(false);
    tabs_->setExpanding(false);
    tabs_->setDocumentMode(true);
    tabs_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    addWidget(tabs_);
    connect(tabs_, &TabStrip::tabChangedByUser, this, &DocumentTabBar::tabChosen);
}

void DocumentTabBar::addViewTab(const QString& title, QWidget* view)
{
    const int index = tabs_->InsertTab(tabs_->TabCount(), title,
                                       QVariant::fromValue(reinterpret_cast<quintptr>(view)));
    tabs_->SelectTab(index);
}

void DocumentTabBar::removeViewTab(QWidget* view)
{
    const int index = indexOfView(view);
    if (index >= 0)
        tabs_->DeleteTab(index);
}

void DocumentTabBar::selectViewTab(QWidget* view)
{
    const int index = indexOfView(view);
    if (index >= 0)
        tabs_->SelectTab(index);
}

QWidget* DocumentTabBar::viewOfTab(int index) const
{
    if (index < 0 || index >= tabs_->TabCount())
        return nullptr;
    return reinterpret_cast<QWidget*>(tabs_->GetTabData(index).value<quintptr>());
}

int DocumentTabBar::indexOfView(QWidget* view) const
{
    for (int i = 0; i < tabs_->TabCount(); ++i)
        if (viewOfTab(i) == view)
            return i;
    return -1;
}

} // namespace parchly
