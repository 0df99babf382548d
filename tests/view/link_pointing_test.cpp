// Pointing at links and using them as in other viewers: where a link leads
// as a tooltip and in the status bar, web addresses opened in the desktop's
// browser, "Copy Link" and "Open in New Window" on a link, and Back putting
// the text where it stood, not only the caret's line.
#include "reading_fixture.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QMenu>
#include <QStatusBar>
#include <QUrl>

namespace parchly {
namespace {

// Takes the addresses the program hands to the desktop's browser.
class BrowserStandIn : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
    Q_INVOKABLE void open(const QUrl& url) { opened << url; }
};

// The links text as RFC 9995, RFC 9110 beside it.
class LinkPointingTest : public test::ReadingFixture {
protected:
    void SetUp() override
    {
        atStart = AtStart::ShownAtPageSize;
        ReadingFixture::SetUp();
        installLinksCollection();
        for (const char* scheme : {"http", "https", "ftp", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &browser, "open");
    }

    void TearDown() override
    {
        for (const char* scheme : {"http", "https", "ftp", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        ReadingFixture::TearDown();
    }

    // Opens the links fixture with `text` in view; gives the point on its
    // second character.
    QPoint openAt(const QString& text)
    {
        view = openLinks();
        EXPECT_NE(view, nullptr);
        const int at = scrollTo(*view, text);
        EXPECT_GE(at, 0);
        return pointAt(*view, at + 1);
    }

    // The context menu the right button asks for at `point`.
    QMenu& menuAt(const QPoint& point)
    {
        QContextMenuEvent request(QContextMenuEvent::Mouse, point, view->viewport()->mapToGlobal(point));
        QApplication::sendEvent(view->viewport(), &request);
        return *view->findChild<QMenu*>();
    }

    BrowserStandIn browser;
    ReadingView* view = nullptr;
};

TEST_F(LinkPointingTest, PointingAtALinkShowsWhereItLeadsAsTooltipAndInTheStatusBar)
{
    const QPoint link = openAt(QStringLiteral("Section 8.3 agree"));
    pointerAt(*view, link);
    EXPECT_EQ(view->viewport()->toolTip(), QStringLiteral("RFC 9110, Section 8.3"));
    EXPECT_EQ(frame().statusBar()->currentMessage(), QStringLiteral("RFC 9110, Section 8.3"));
}

TEST_F(LinkPointingTest, LeavingTheLinkTakesBackTheTooltipAndTheStatusText)
{
    const QPoint link = openAt(QStringLiteral("Section 8.3 agree"));
    pointerAt(*view, link);
    pointerAt(*view, pointAt(*view, find(*view, QStringLiteral("agree."))));
    EXPECT_EQ(view->viewport()->toolTip(), QString());
    EXPECT_EQ(frame().statusBar()->currentMessage(), QString());
}

TEST_F(LinkPointingTest, AJumpWithinTheRfcShowsTheLineItLeadsTo)
{
    pointerAt(*view, openAt(QStringLiteral("Section 2.1, Sections")));
    EXPECT_EQ(view->viewport()->toolTip(), QStringLiteral("2.1. Details"));
}

TEST_F(LinkPointingTest, AWebAddressInTheTextOpensInTheDesktopsBrowser)
{
    const QPoint address = openAt(QStringLiteral("https://www.rfc-editor.org/info/rfc9110"));
    EXPECT_EQ(pointerAt(*view, address), Qt::PointingHandCursor);
    click(*view, address);
    EXPECT_EQ(browser.opened, QList<QUrl>{QUrl(QStringLiteral("https://www.rfc-editor.org/info/rfc9110"))});
    EXPECT_EQ(activeFile(), QStringLiteral("rfc9995.txt")) << "the RFC number inside is no RFC link";
}

TEST_F(LinkPointingTest, CopyLinkGivesTheRfcEditorsAddressOfTheSection)
{
    QMenu& menu = menuAt(openAt(QStringLiteral("Section 8.3 agree")));
    ASSERT_NE(actionNamed(&menu, QStringLiteral("Copy &Link")), nullptr);
    actionNamed(&menu, QStringLiteral("Copy &Link"))->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("https://www.rfc-editor.org/rfc/rfc9110#section-8.3"));
    menu.hide();
}

TEST_F(LinkPointingTest, OpenInNewWindowOpensTheRfcAndKeepsThisOne)
{
    QMenu& menu = menuAt(openAt(QStringLiteral("Section 8.3 agree")));
    const int line = caretLine(*view);
    ASSERT_NE(actionNamed(&menu, QStringLiteral("&Open in New Window")), nullptr);
    actionNamed(&menu, QStringLiteral("&Open in New Window"))->trigger();
    QApplication::processEvents();
    EXPECT_EQ(activeFile(), QStringLiteral("rfc9110.txt"));
    EXPECT_EQ(frame().documentWindows().size(), 2u);
    EXPECT_EQ(caretLine(*view), line);
    menu.hide();
}

TEST_F(LinkPointingTest, OffALinkTheMenuHasNoLinkItems)
{
    view = openLinks();
    ASSERT_NE(view, nullptr);
    QMenu& menu = menuAt(pointAt(*view, 0)); // "Network Working Group"
    EXPECT_EQ(actionNamed(&menu, QStringLiteral("Copy &Link")), nullptr);
    EXPECT_EQ(actionNamed(&menu, QStringLiteral("&Open in New Window")), nullptr);
    menu.hide();
}

// ---- Back and Forward ----

TEST_F(LinkPointingTest, BackPutsTheTextWhereItStoodNotOnlyTheCaretsLine)
{
    view = openLinks();
    const int clicked = find(*view, QStringLiteral("Section 2.1, Sections"));
    view->scrollLines(view->lineFromPosition(clicked) - 12 - view->firstVisibleLine());
    const int top = view->firstVisibleLine();
    clickAt(*view, clicked + 1); // a jump to "2.1.  Details", 26 lines down
    ASSERT_NE(view->firstVisibleLine(), top);
    ASSERT_TRUE(frame().routeCommand(kCmdGoBack));
    EXPECT_EQ(view->firstVisibleLine(), top);
    EXPECT_EQ(caretLine(*view), view->lineFromPosition(clicked));
}

} // namespace
} // namespace parchly

#include "link_pointing_test.moc"
