// Back and Forward between the windows a link joined, and jumps to a
// bookmark in the history.
#include "frame/frame_bookmarks_host.h"
#include "reading_fixture.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace parchly {
namespace {

class HistoryAcrossWindowsTest : public test::ReadingFixture {
protected:
    void SetUp() override
    {
        ReadingFixture::SetUp();
        showApp();
        installLinksCollection();
    }

    // Opens the links text and follows its link into rfc9110.txt.
    ReadingView& followLinkToRfc9110()
    {
        ReadingView* view = open(copyReading(kLinks, "rfc9995.txt"));
        EXPECT_NE(view, nullptr);
        const int at = find(*view, QStringLiteral("Section 4 and Section 5.1"));
        view->scrollLines(view->lineFromPosition(at) - 5 - view->firstVisibleLine());
        clickAt(*view, at + 1);
        EXPECT_EQ(activeFile(), "rfc9110.txt");
        return *view;
    }
};

TEST_F(HistoryAcrossWindowsTest, ForwardIsOfferedAfterBackIntoTheLinkingWindow)
{
    ReadingView& linking = followLinkToRfc9110();
    frame().routeCommand(kCmdGoBack);
    ASSERT_EQ(activeFile(), "rfc9995.txt");
    EXPECT_TRUE(linking.history().canGoForward());
}

TEST_F(HistoryAcrossWindowsTest, AltRightInTheLinkingWindowReturnsToTheLinkedPlace)
{
    ReadingView& linking = followLinkToRfc9110();
    ReadingView* linked = frame().activeDocumentWindow()->view();
    frame().routeCommand(kCmdGoBack);
    ASSERT_EQ(activeFile(), "rfc9995.txt");
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    QTest::keyClick(linking.viewport(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(activeFile(), "rfc9110.txt");
    EXPECT_TRUE(caretLineText(*linked).trimmed().startsWith("4.  References"));
}

TEST_F(HistoryAcrossWindowsTest, MouseForwardButtonInTheLinkingWindowReturnsToTheLinkedWindow)
{
    ReadingView& linking = followLinkToRfc9110();
    frame().routeCommand(kCmdGoBack);
    ASSERT_EQ(activeFile(), "rfc9995.txt");
    click(linking, QPoint(5, 5), Qt::ForwardButton);
    EXPECT_EQ(activeFile(), "rfc9110.txt");
}

TEST_F(HistoryAcrossWindowsTest, BackReturnsFromABookmarkJump)
{
    ReadingView* view = open(copyReading(kLinks, "rfc9995.txt"));
    ASSERT_NE(view, nullptr);
    view->setCaretLineColumn(3, 0);
    FrameBookmarksHost host(frame(), *app);
    host.setActiveCaretLineColumn(60, 0);
    ASSERT_EQ(caretLine(*view), 60);
    frame().routeCommand(kCmdGoBack);
    EXPECT_EQ(caretLine(*view), 3);
}

} // namespace
} // namespace parchly
