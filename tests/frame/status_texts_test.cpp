// The status bar says only what is true of the window in front and of the
// control under the pointer.
#include "frame/app_fixture.h"
#include "frame/document_window.h"
#include "frame/navigator_bar.h"
#include "platform/tab_strip.h"
#include "view/command_ids.h"
#include "view/reading_view.h"

#include <QEnterEvent>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

namespace parchly {
namespace {

class StatusTextsTest : public test::AppFixture {
protected:
    StatusTextsTest() { atStart = AtStart::Shown; }

    QString message() { return frame().statusBar()->currentMessage(); }
};

TEST_F(StatusTextsTest, MessageOfOneWindowGoesWhenAnotherIsActivated)
{
    openCopies({"rfc1.txt", "rfc2.txt"});
    ReadingView* view = frame().activeDocumentWindow()->view();
    frame().routeCommand(kCmdFind);
    view->finder().bar()->textEdit()->setText("no such words");
    QTest::keyClick(view->finder().bar()->textEdit(), Qt::Key_Return);
    ASSERT_EQ(message(), "\"no such words\" not found");
    frame().activateDocumentWindow(frame().documentWindows()[0]);
    EXPECT_EQ(message(), "");
}

TEST_F(StatusTextsTest, ModePaneNamesTheCitedByTab)
{
    openCopies({"rfc1.txt"});
    TabStrip* tabs = frame().activeDocumentWindow()->navigatorBar()->tabs();
    int citedBy = -1;
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->tabText(i) == QLatin1String("Cited by"))
            citedBy = i;
    ASSERT_GE(citedBy, 0);
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(citedBy).center());
    ASSERT_EQ(tabs->currentIndex(), citedBy);
    EXPECT_EQ(frame().modePane(), "Cited by");
}

TEST_F(StatusTextsTest, ToolbarHintGoesWhenThePointerLeaves)
{
    QAction* open = frame().commandAction(kCmdFileOpen);
    QWidget* button = frame().toolbar(0)->widgetForAction(open);
    ASSERT_NE(button, nullptr);
    QEnterEvent enter(QPointF(2, 2), button->mapToGlobal(QPointF(2, 2)), button->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(button, &enter);
    ASSERT_EQ(message(), open->statusTip());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_EQ(message(), "");
}

} // namespace
} // namespace parchly
