// What DockBar adds to QDockWidget: a double click toggles floating, the
// client is laid out on every resize, a minimum size, no title without a
// gripper.
#include "ui/dock_bar.h"

#include <QApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace parchly {
namespace {

class RecordingBar : public DockBar {
public:
    RecordingBar(QWidget* parent, bool gripper)
        : DockBar(QStringLiteral("Bar"), parent, QSize(180, 100), gripper)
    {
    }
    QSize lastClientSize;

protected:
    void layoutClient(const QSize& size) override { lastClientSize = size; }
};

void doubleClick(QWidget* target)
{
    const QPointF point(target->width() / 2.0, target->height() / 2.0);
    QMouseEvent event(QEvent::MouseButtonDblClick, point, target->mapToGlobal(point), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

TEST(DockBar, DoubleClickTogglesFloatingAndTheClientFollowsEveryResize)
{
    QMainWindow frame;
    auto* bar = new RecordingBar(&frame, false);
    frame.addDockWidget(Qt::LeftDockWidgetArea, bar);
    frame.resize(600, 400);
    frame.show();
    QApplication::processEvents();
    EXPECT_EQ(bar->sizeHint(), QSize(180, 100));
    EXPECT_EQ(bar->lastClientSize, bar->clientArea()->size());
    EXPECT_FALSE(bar->lastClientSize.isEmpty());
    EXPECT_LT(bar->clientArea()->y(), 5) << "without a gripper there is no title bar";

    doubleClick(bar->clientArea());
    EXPECT_TRUE(bar->isFloating());
    bar->resize(5, 5);
    EXPECT_GE(bar->width(), DockBar::kMinimumWidth);
    EXPECT_GE(bar->height(), DockBar::kMinimumHeight);
    doubleClick(bar->clientArea());
    EXPECT_FALSE(bar->isFloating());
}

} // namespace
} // namespace parchly
