#include "ui/dock_bar.h"

#include <QEvent>
#include <QMouseEvent>
#include <QResizeEvent>

namespace parchly {

namespace {

// The client area asks for the bar's default size: the dock layout sizes a
// bar by its content when it is first docked or floated.
class ClientArea : public QWidget {
public:
    ClientArea(QSize defaultSize, QWidget* parent)
        : QWidget(parent)
        , m_defaultSize(defaultSize)
    {
    }
    QSize sizeHint() const override { return m_defaultSize; }

private:
    QSize m_defaultSize;
};

} // namespace

DockBar::DockBar(const QString& title, QWidget* parent, QSize defaultSize, bool gripper)
    : QDockWidget(title, parent)
    , m_client(new ClientArea(defaultSize, this))
    , m_defaultSize(defaultSize)
{
    setAllowedAreas(Qt::AllDockWidgetAreas);
    // The close box hides the bar; it is never destroyed by it.
    setFeatures(DockWidgetClosable | DockWidgetMovable | DockWidgetFloatable);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    if (!gripper)
        setTitleBarWidget(new QWidget(this));
    m_client->setMinimumSize(0, 0);
    m_client->installEventFilter(this);
    setWidget(m_client);
}

QSize DockBar::sizeHint() const
{
    return m_defaultSize.expandedTo(QSize(kMinimumWidth, kMinimumHeight));
}

void DockBar::layoutClient(const QSize&) { }

void DockBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        setFloating(!isFloating());
        event->accept();
        return;
    }
    QDockWidget::mouseDoubleClickEvent(event);
}

bool DockBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_client) {
        if (event->type() == QEvent::Resize)
            layoutClient(static_cast<QResizeEvent*>(event)->size());
        else if (event->type() == QEvent::MouseButtonDblClick) {
            // A double click on the client area itself, not on a control in it.
            mouseDoubleClickEvent(static_cast<QMouseEvent*>(event));
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}

} // namespace parchly
