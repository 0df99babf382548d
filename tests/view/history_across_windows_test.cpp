// Back and Forward between the windows a link joined, and jumps to a
// bookmark in the history.
#include "frame/frame_bookmarks_host.h"
#include "reading_fixture.h"

namespace parchly {
namespace {

class HistoryAcrossWindowsTest : public test::ReadingFixture {
protected:
    void SetUp() override
    {
        atStart = AtStart::ShownAtPageSize;
        ReadingFixture::SetUp();
        installLinksCollection();
    }

    // Opens the links text and follows its link into rfc9110.txt.
    ReadingView& followLinkToRfc9110()
    {
        ReadingView* view = openLinks();
        EXPECT_NE(view, nullptr);
        clickAt(*view, scrollTo(*view, QStringLiteral("Section 4 and Section 5.1")) + 1);
        EXPECT_EQ(activeFile(), "rfc9110.txt");
        return *view;
    }
};

// Back into the linking window offers Forward there, which Alt+Right and
// the mouse's Forward button take back to the linked place.
TEST_F(HistoryAcrossWindowsTest, ForwardInTheLinkingWindowReturnsToTheLinkedPlace)
{
    const std::pair<const char*, std::function<void(ReadingView&)>> forwards[] = {
        {"AltRightInTheLinkingWindowReturnsToTheLinkedPlace",
         [](ReadingView& linking) { QTest::keyClick(linking.viewport(), Qt::Key_Right, Qt::AltModifier); }},
        {"MouseForwardButtonInTheLinkingWindowReturnsToTheLinkedWindow",
         [](ReadingView& linking) { click(linking, QPoint(5, 5), Qt::ForwardButton); }},
    };
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    for (const auto& [name, forward] : forwards) {
        SCOPED_TRACE(name);
        ReadingView& linking = followLinkToRfc9110();
        ReadingView* linked = frame().activeDocumentWindow()->view();
        frame().routeCommand(kCmdGoBack);
        ASSERT_EQ(activeFile(), "rfc9995.txt");
        EXPECT_TRUE(linking.history().canGoForward()) << "ForwardIsOfferedAfterBackIntoTheLinkingWindow";
        forward(linking);
        EXPECT_EQ(activeFile(), "rfc9110.txt");
        EXPECT_TRUE(caretLineText(*linked).trimmed().startsWith("4.  References"));
    }
}

TEST_F(HistoryAcrossWindowsTest, BackReturnsFromABookmarkJump)
{
    ReadingView* view = openLinks();
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
