#include "ui/dock_bar.h"

#include <QApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPointer>
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

TEST(SizingControlBar, DocksOnEverySideAndAsksForItsDefaultSize)
{
    QMainWindow frame;
    auto* bar = new RecordingBar(&frame, true);
    EXPECT_EQ(bar->allowedAreas(), Qt::AllDockWidgetAreas);
    EXPECT_EQ(bar->sizeHint(), QSize(180, 100));
    for (Qt::DockWidgetArea area : {Qt::TopDockWidgetArea, Qt::RightDockWidgetArea,
                                    Qt::BottomDockWidgetArea, Qt::LeftDockWidgetArea}) {
        frame.addDockWidget(area, bar);
        EXPECT_EQ(frame.dockWidgetArea(bar), area);
    }
}

TEST(SizingControlBar, CannotBeMadeSmallerThanItsMinimum)
{
    QMainWindow frame;
    auto* bar = new RecordingBar(&frame, true);
    frame.addDockWidget(Qt::LeftDockWidgetArea, bar);
    frame.show();
    bar->setFloating(true);
    bar->resize(5, 5);
    EXPECT_GE(bar->width(), DockBar::kMinimumWidth);
    EXPECT_GE(bar->height(), DockBar::kMinimumHeight);
}

TEST(SizingControlBar, CloseBoxHidesWithoutDestroying)
{
    QMainWindow frame;
    QPointer<RecordingBar> bar = new RecordingBar(&frame, true);
    frame.addDockWidget(Qt::LeftDockWidgetArea, bar);
    frame.show();
    EXPECT_TRUE(bar->features() & QDockWidget::DockWidgetClosable);
    bar->close();
    QApplication::processEvents();
    ASSERT_FALSE(bar.isNull());
    EXPECT_FALSE(bar->isVisible());
}

TEST(SizingControlBar, DoubleClickInTheClientAreaTogglesFloating)
{
    QMainWindow frame;
    auto* bar = new RecordingBar(&frame, true);
    frame.addDockWidget(Qt::LeftDockWidgetArea, bar);
    frame.show();
    ASSERT_FALSE(bar->isFloating());
    doubleClick(bar->clientArea());
    EXPECT_TRUE(bar->isFloating());
    doubleClick(bar->clientArea());
    EXPECT_FALSE(bar->isFloating());
}

TEST(SizingControlBar, LaysOutItsClientOnEveryResizeAndHasNoTitleWithoutGripper)
{
    QMainWindow frame;
    auto* bar = new RecordingBar(&frame, false);
    frame.addDockWidget(Qt::LeftDockWidgetArea, bar);
    frame.resize(600, 400);
    frame.show();
    QApplication::processEvents();
    EXPECT_EQ(bar->lastClientSize, bar->clientArea()->size());
    EXPECT_FALSE(bar->lastClientSize.isEmpty());
    // Without a gripper the client area starts at the bar's top edge.
    EXPECT_LT(bar->clientArea()->y(), 5);
}

} // namespace
} // namespace parchly
