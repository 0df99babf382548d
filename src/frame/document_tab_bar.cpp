#include "frame/document_tab_bar.h"

#include "platform/tab_strip.h"

namespace parchly {

DocumentTabBar::DocumentTabBar(QWidget* parent)
    : QToolBar(QStringLiteral("Documents"), parent), m_tabs(new TabStrip(this))
{
    setObjectName(QStringLiteral("DocumentTabBar"));
    setMovable(false);
    setFloatable(false);
    setAllowedAreas(Qt::TopToolBarArea);
    // Part of the frame, not a toolbar the user switches off.
    toggleViewAction()->setVisible(false);
    m_tabs->setExpanding(false);
    m_tabs->setDocumentMode(true);
    m_tabs->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    addWidget(m_tabs);
    connect(m_tabs, &TabStrip::tabChangedByUser, this, &DocumentTabBar::tabChosen);
}

void DocumentTabBar::addViewTab(const QString& title, QWidget* view)
{
    const int index = m_tabs->insertDataTab(m_tabs->count(), title,
                                       QVariant::fromValue(reinterpret_cast<quintptr>(view)));
    m_tabs->selectTab(index);
}

void DocumentTabBar::removeViewTab(QWidget* view)
{
    const int index = indexOfView(view);
    if (index >= 0)
        m_tabs->deleteTab(index);
}

void DocumentTabBar::selectViewTab(QWidget* view)
{
    const int index = indexOfView(view);
    if (index >= 0)
        m_tabs->selectTab(index);
}

QWidget* DocumentTabBar::viewOfTab(int index) const
{
    if (index < 0 || index >= m_tabs->count())
        return nullptr;
    return reinterpret_cast<QWidget*>(m_tabs->tabData(index).value<quintptr>());
}

int DocumentTabBar::indexOfView(QWidget* view) const
{
    for (int i = 0; i < m_tabs->count(); ++i)
        if (viewOfTab(i) == view)
            return i;
    return -1;
}

} // namespace parchly
