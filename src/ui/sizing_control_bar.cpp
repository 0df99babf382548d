#include "ui/sizing_control_bar.h"

#include <QEvent>
#include <QMouseEvent>
#include <QResizeEvent>

namespace parchly {

CSizingControlBar::CSizingControlBar(const QString& title, QWidget* parent, QSize defaultSize,
                                     bool gripper, int controlId)
    : QDockWidget(title, parent), client_(new QWidget(this)), defaultSize_(defaultSize),
      controlId_(controlId)
{
    setAllowedAreas(Qt::AllDockWidgetAreas);
    // The close box hides the bar; it is never destroyed by it.
    setFeatures(DockWidgetClosable | DockWidgetMovable | DockWidgetFloatable);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    if (!gripper)
        setTitleBarWidget(new QWidget(this));
    client_->setMinimumSize(0, 0);
    client_->installEventFilter(this);
    setWidget(client_);
}

QSize CSizingControlBar::sizeHint() const
{
    return defaultSize_.expandedTo(QSize(kMinimumWidth, kMinimumHeight));
}

void CSizingControlBar::layoutClient(const QSize&)
{
}

void CSizingControlBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        setFloating(!isFloating());
        event->accept();
        return;
    }
    QDockWidget::mouseDoubleClickEvent(event);
}

bool CSizingControlBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == client_) {
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
