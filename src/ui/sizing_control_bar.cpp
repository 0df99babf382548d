#include "ui/sizing_control_bar.h"

#include <QEvent>
#include <QMouseEvent>
#include <QResizeEvent>

namespace parchly {

namespace {

// The client area asks for the bar's default size: the dock layout sizes a
// bar by its content when it is first docked or floated.
class ClientArea : public QWidget {
public:
    ClientArea(QSize defaultSize, QWidget* parent) : QWidget(parent), defaultSize_(defaultSize) {}
    QSize sizeHint() const override { return defaultSize_; }

private:
    QSize defaultSize_;
};

} // namespace

CSizingControlBar::CSizingControlBar(const QString& title, QWidget* parent, QSize defaultSize,
                                     bool gripper, int controlId)
    : QDockWidget(title, parent), client_(new ClientArea(defaultSize, this)), defaultSize_(defaultSize),
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
