// A reader clicking, pointing and typing in an RFC: contents entries,
// citations and RFC numbers as links under each link setting, the history
// over jumps, Go TO, the status pane and the context menu.
#include "settings/command_ids.h"
#include "platform/tab_strip.h"
#include "reading_fixture.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <gtest/gtest.h>

namespace parchly {
namespace {

class LinksTest : public test::ReadingFixture {
protected:
    void SetUp() override
    {
        ReadingFixture::SetUp();
        makeApp();
        app->mainWindow()->resize(1000, 700);
        rfcPath = copyReading("rfc9991.txt", "rfc9991.txt");
    }

    ReadingView& openRfc()
    {
        ReadingView* view = open(rfcPath);
        EXPECT_NE(view, nullptr);
        return *view;
    }

    // The text of a contents entry, left of which its indentation stands.
    int contentsText(const ReadingView& view, const QString& title)
    {
        return find(view, title, find(view, "Table of Contents"));
    }

    QString rfcPath;
    // Shown lines of the fixture (0-based) as long as nothing is hidden.
    static constexpr int kIntroductionHeading = 27;
    static constexpr int kProtocolHeading = 49;
    static constexpr int kSecondReference = 81;
};

TEST_F(LinksTest, AContentsEntryJumpsToItsHeadingButItsMarginDoesNot)
{
    ReadingView& view = openRfc();
    const int entry = contentsText(view, "Introduction");
    click(view, pointAt(view, view.lineStart(view.lineFromPosition(entry)) + 1)); // the margin
    EXPECT_EQ(view.firstVisibleLine(), 0);

    clickAt(view, entry + 3);
    EXPECT_EQ(view.firstVisibleLine(), kIntroductionHeading);
    EXPECT_EQ(view.selectedRange().start, view.lineStart(kIntroductionHeading));
    EXPECT_EQ(view.selectedRange().end, view.selectedRange().start);
    EXPECT_EQ(app->mainWindow()->positionPane(),
              QStringLiteral("Ln %1, Col 1").arg(kIntroductionHeading + 1));
}

TEST_F(LinksTest, AnRfcNumberInAReferenceOpensThatRfc)
{
    ReadingView& view = openRfc();
    view.scrollLines(view.lineCount());
    const int number = find(view, "2119, March");
    clickAt(view, number + 1);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0], "Cannot open file: " + pathOf("rfc2119.txt") + ".");
    EXPECT_EQ(app->mainWindow()->documentWindows().size(), 1u);

    copyReading("rfc9991.txt", "rfc2119.txt");
    clickAt(view, number + 1);
    ASSERT_EQ(app->mainWindow()->documentWindows().size(), 2u);
    EXPECT_EQ(app->mainWindow()->activeDocumentWindow()->path(), pathOf("rfc2119.txt"));
    // The words around the number are no link.
    EXPECT_EQ(pointerAt(view, pointAt(view, find(view, "March 1997"))), Qt::IBeamCursor);
}

// Under each link setting, the hand shows over exactly what a click follows.
TEST_F(LinksTest, EachLinkSettingDecidesWhatIsALink)
{
    struct Case {
        const char* name;
        void (*change)(RfcSettings&);
        bool entry, lostEntry, citation;
    };
    const Case cases[] = {
        {"defaults", [](RfcSettings&) {}, true, false, true},
        {"invalid entries allowed", [](RfcSettings& s) { s.DisableInvalidContentEntryLink = false; }, true,
         true, true},
        {"reference links off", [](RfcSettings& s) { s.DisableReferenceLink = true; }, true, false, false},
        {"contents links off", [](RfcSettings& s) { s.DisableContentEntryLink = true; }, false, false, true},
    };
    const RfcSettings defaults = app->settings();
    const auto shape = [](bool link) { return link ? Qt::PointingHandCursor : Qt::IBeamCursor; };
    int opened = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app->settings() = defaults;
        c.change(app->settings());
        ReadingView* shown =
            open(copyReading("rfc9991.txt", QStringLiteral("rfc%1.txt").arg(9992 + opened++)));
        ASSERT_NE(shown, nullptr);
        ReadingView& view = *shown;
        const int entry = contentsText(view, "Protocol");
        const int lost = contentsText(view, "Lost Section");
        const int citation = find(view, "[RFC2119]") + 1;
        EXPECT_EQ(pointerAt(view, pointAt(view, entry)), shape(c.entry));
        EXPECT_EQ(pointerAt(view, pointAt(view, lost)), shape(c.lostEntry));
        EXPECT_EQ(pointerAt(view, pointAt(view, citation)), shape(c.citation));
        EXPECT_EQ(pointerAt(view, pointAt(view, find(view, "describes links"))), Qt::IBeamCursor);

        // A contents entry without its heading leads nowhere, link or not.
        clickAt(view, lost);
        EXPECT_EQ(view.firstVisibleLine(), 0);
        EXPECT_EQ(caretLine(view), view.lineFromPosition(lost));
        clickAt(view, citation);
        EXPECT_EQ(caretLine(view) != view.lineFromPosition(citation), c.citation);
        QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
        clickAt(view, entry);
        EXPECT_EQ(view.firstVisibleLine() == kProtocolHeading, c.entry);
        // RFC numbers in references are links under every one of them.
        view.scrollLines(view.lineCount());
        clickAt(view, find(view, "2119, March"));
        EXPECT_EQ(dialogs.messages.size(), opened);
    }
}

TEST_F(LinksTest, OnlyDefaultTextTurnsContentsLinksOffInEveryRfc)
{
    ReadingView& first = openRfc();
    app->settings().UseOnlyDefaultText = true;
    copyReading("rfc9991.txt", "rfc9992.txt");
    ASSERT_NE(open(pathOf("rfc9992.txt")), nullptr);
    EXPECT_TRUE(app->mainWindow()->readingSession().contentLinksOff);
    app->mainWindow()->activateDocumentWindow(app->mainWindow()->documentWindows().front());
    const int entry = contentsText(first, "Protocol");
    EXPECT_EQ(pointerAt(first, pointAt(first, entry)), Qt::IBeamCursor);
    clickAt(first, entry);
    EXPECT_EQ(first.firstVisibleLine(), 0);
}

TEST_F(LinksTest, BackAndForwardOverThreeJumpsAndANewClickDropsTheForwardPart)
{
    ReadingView& view = openRfc();
    clickAt(view, contentsText(view, "Protocol")); // to the heading of 2
    clickAt(view, find(view, "[RFC2119]", view.lineStart(kProtocolHeading))); // to reference 1
    ASSERT_TRUE(view.lineText(caretLine(view)).contains("[RFC2119]  Bradner"));
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    clickAt(view, contentsText(view, "Introduction")); // to the heading of 1
    ASSERT_EQ(caretLine(view), kIntroductionHeading);

    EXPECT_FALSE(view.history().canGoForward());
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdGoBack));
    EXPECT_TRUE(caretLineText(view).contains("1.  Introduction ...")); // where the click was
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdGoBack));
    EXPECT_TRUE(caretLineText(view).contains("[RFC2119]  Bradner"));
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdGoForward));
    EXPECT_TRUE(caretLineText(view).contains("1.  Introduction ..."));
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdGoBack));

    const std::size_t before = view.history().entries().size();
    clickAt(view, find(view, "Requirement Levels"));
    EXPECT_EQ(view.history().entries().size(), before - 1);
    EXPECT_FALSE(view.history().canGoForward());
    EXPECT_FALSE(app->mainWindow()->routeCommand(kCmdGoForward));
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdGoBack));
    EXPECT_TRUE(caretLineText(view).contains("[RFC2119]  Bradner"));
}

TEST_F(LinksTest, PositionsSurviveHidingTheHeaders)
{
    ReadingView& view = openRfc();
    clickAt(view, contentsText(view, "Protocol"));
    clickAt(view, find(view, "[RFC2119]", view.lineStart(kProtocolHeading)));
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdHeaders));
    ASSERT_TRUE(view.rfcDocument()->cuts().headers);

    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdGoBack));
    EXPECT_TRUE(caretLineText(view).contains("Protocol text cites"));
    ASSERT_TRUE(app->mainWindow()->routeCommand(kCmdGoBack));
    EXPECT_TRUE(caretLineText(view).startsWith("2.  Protocol"));
    EXPECT_LT(caretLine(view), kProtocolHeading);

    // Links still lead to their targets' text where it is shown now.
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    clickAt(view, find(view, "[RFC2616]") + 2);
    EXPECT_TRUE(caretLineText(view).contains("[RFC2616]  Fielding"));
    EXPECT_LT(caretLine(view), kSecondReference);
}

TEST_F(LinksTest, GoToALineAndAPage)
{
    ReadingView& view = openRfc();
    const std::size_t recorded = view.history().entries().size();
    goTo(0, 40);
    EXPECT_EQ(dialogs.dialogTitles.last(), "Go To");
    EXPECT_EQ(view.firstVisibleLine(), 39); // lines are typed counted from 1
    EXPECT_EQ(caretLine(view), 39);
    EXPECT_EQ(view.history().entries().size(), recorded);

    goTo(1, 2);
    EXPECT_EQ(caretLine(view), 24); // the line after the form feed ending page 1
    EXPECT_EQ(view.lineText(23), "\f\n");

    // The file's last line is the last one offered; beyond it is refused.
    const int count = view.rfcDocument()->text().lineCount;
    goTo(0, count);
    EXPECT_EQ(caretLine(view), count - 1);
    goTo(0, count + 1);
    EXPECT_EQ(dialogs.messages.value(0), QStringLiteral("'Line Number' must be between 1 and %1").arg(count));
    EXPECT_EQ(caretLine(view), count - 1);
}

TEST_F(LinksTest, StatusPaneFollowsTheCaretAndAColumnPastTheLineEndIsHeld)
{
    ReadingView& view = openRfc();
    const int organisation = find(view, "Example Org");
    clickAt(view, organisation + 4);
    EXPECT_EQ(app->mainWindow()->positionPane(),
              QStringLiteral("Ln 2, Col %1").arg(organisation - view.lineStart(1) + 5));
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_TRUE(app->mainWindow()->positionPane().startsWith("Ln 3, Col "));

    view.setCaretLineColumn(5, 500);
    int line = 0;
    int column = 0;
    view.caretLineColumn(line, column);
    EXPECT_EQ(line, 5);
    EXPECT_EQ(column, view.lineText(5).size() - 1);
}

QAction* menuItem(QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

TEST_F(LinksTest, ContextMenuItemsFollowTheirRules)
{
    ReadingView& view = openRfc();
    // The right button's press asks for the menu where the pointer is.
    const QPoint point = pointAt(view, find(view, "Abstract"));
    QContextMenuEvent request(QContextMenuEvent::Mouse, point, view.viewport()->mapToGlobal(point));
    QApplication::sendEvent(view.viewport(), &request);
    QMenu* menu = view.contextMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    QStringList texts;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            texts << action->text();
    EXPECT_EQ(
        texts,
        QStringList({"&Copy", "Select A&ll", "&Find...", "F&ind Next", "&Goto...", "Go For&ward", "Go &Back",
                     "&Index", "&Structure", "&Page", "RFC &Headers", "RFC &Footers", "Page &Separator"}));
    for (const char* item : {"&Copy", "F&ind Next", "Go &Back", "&Structure"}) // the Structure tab is shown
        EXPECT_FALSE(menuItem(menu, item)->isEnabled()) << item;
    EXPECT_TRUE(menuItem(menu, "&Page")->isEnabled());
    EXPECT_TRUE(menuItem(menu, "RFC &Headers")->isChecked());
    EXPECT_FALSE(menuItem(menu, "Page &Separator")->isChecked());
    menu->hide();

    clickAt(view, contentsText(view, "Protocol"));
    view.setSelection(0, 7);
    view.runCommand(kCmdFind);
    QTest::keyClick(&view, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(menu->isVisible());
    for (const char* item : {"&Copy", "F&ind Next", "Go &Back"})
        EXPECT_TRUE(menuItem(menu, item)->isEnabled()) << item;
    EXPECT_FALSE(menuItem(menu, "Go For&ward")->isEnabled());

    // Choosing an item runs its command, the view's own or its frame's.
    menuItem(menu, "RFC &Headers")->trigger();
    EXPECT_TRUE(view.rfcDocument()->cuts().headers);
    menuItem(menu, "&Page")->trigger();
    EXPECT_EQ(app->mainWindow()->activeDocumentWindow()->navigatorBar()->tabs()->currentIndex(), 1);
    EXPECT_EQ(app->mainWindow()->modePane(), "Page View");
    menu->hide();
}

} // namespace
} // namespace parchly
