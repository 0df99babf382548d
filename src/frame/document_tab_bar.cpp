#include "frame/document_tab_bar.h"

#include "platform/tab_strip.h"

#include <QMouseEvent>

namespace parchly {

DocumentTabBar::DocumentTabBar(QWidget* parent)
    : QToolBar(QStringLiteral("Documents"), parent)
    , m_tabs(new TabStrip(this))
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
    m_tabs->setTabsClosable(true);
    connect(m_tabs, &QTabBar::tabCloseRequested, this, &DocumentTabBar::tabCloseRequested);
    m_tabs->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tabs, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        const int index = m_tabs->tabAt(position);
        if (index >= 0)
            emit tabMenuRequested(index, m_tabs->mapToGlobal(position));
    });
    m_tabs->installEventFilter(this);
}

bool DocumentTabBar::eventFilter(QObject* watched, QEvent* event)
{
    // A middle click closes the tab under the pointer, as in a browser.
    if (watched == m_tabs && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::MiddleButton) {
            const int index = m_tabs->tabAt(mouse->position().toPoint());
            if (index >= 0) {
                emit tabCloseRequested(index);
                return true;
            }
        }
    }
    return QToolBar::eventFilter(watched, event);
}

void DocumentTabBar::addViewTab(const QString& title, QWidget* view)
{
    const int index =
        m_tabs->insertDataTab(m_tabs->count(), title, QVariant::fromValue(reinterpret_cast<quintptr>(view)));
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
