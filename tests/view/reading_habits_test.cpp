// A reader clicking, pointing and typing in an RFC: contents entries,
// citations and RFC numbers as links under each link setting; the position
// pane and the Navigator following every caret move; lines that are the
// file's counted from 1; the history over jumps; the find bar, zoom, the
// context menu; files that are not RFCs. Links across RFCs: every link
// shape of the links fixture followed by a click, Back across windows, the
// index bar and the Requirements tab.
#include "frame/index_bar.h"
#include "platform/char_format.h"
#include "reading_fixture.h"
#include "settings/profile.h"
#include "support/file_faults.h"
#include "support/fixture_cases.h"
#include "support/temp_folder.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextDocumentFragment>
#include <QTreeWidgetItemIterator>
#include <QWheelEvent>

namespace parchly {
namespace {

// File lines (1-based) of tests/fixtures/reading/rfc9991.txt.
constexpr int kIntroductionHeading = 28;
constexpr int kProtocolHeading = 50;
constexpr int kReferencesHeading = 77;
constexpr int kClosingFiller6 = 90;

class ReadingTest : public test::ReadingFixture {
protected:
    ReadingTest() { atStart = AtStart::ShownAtPageSize; }

    // Copies a fixture of tests/fixtures/reading as `name` and opens it.
    ReadingView& openRfc(const QString& name = "rfc9991.txt", const QString& fixture = "rfc9991.txt")
    {
        ReadingView* view = open(copyReading(fixture, name));
        EXPECT_NE(view, nullptr);
        return *view;
    }

    QString pane() { return frame().positionPane(); }
    QString structureItem()
    {
        TreeView* tree = frame().activeDocumentWindow()->navigatorBar()->firstTree();
        return tree->currentItem() ? tree->currentItem()->text(0) : QString();
    }

    // The text of a contents entry, left of which its indentation stands.
    static int contentsText(const ReadingView& view, const QString& title)
    {
        return find(view, title, find(view, "Table of Contents"));
    }
};

// The RFC open in `view`.
class OpenRfcTest : public ReadingTest {
protected:
    void SetUp() override
    {
        ReadingTest::SetUp();
        view = &openRfc();
    }

    ReadingView* view = nullptr;
};

// Links across RFCs, from the links text open in `child`.
class CrossLinksTest : public ReadingTest {
protected:
    void SetUp() override
    {
        ReadingTest::SetUp();
        installLinksCollection();
        ASSERT_NE(openLinks(), nullptr);
        child = frame().activeDocumentWindow();
    }

    DocumentWindow* child = nullptr;
};

// ---- Links across RFCs ----

// The link settings a case of reading/link-settings.txt may switch.
const std::map<std::string, bool RfcSettings::*> kLinkSwitches = {
    {"DisableInvalidContentEntryLink", &RfcSettings::DisableInvalidContentEntryLink},
    {"DisableReferenceLink", &RfcSettings::DisableReferenceLink},
    {"DisableContentEntryLink", &RfcSettings::DisableContentEntryLink},
    {"UseOnlyDefaultText", &RfcSettings::UseOnlyDefaultText}};

Qt::CursorShape linkShape(bool link)
{
    return link ? Qt::PointingHandCursor : Qt::IBeamCursor;
}

// Runs `check` on a fresh copy of the RFC opened under each link setting.
class LinkSettingsTest : public ReadingTest {
protected:
    void forEachLinkSetting(const std::function<void(const test::FixtureCase&, ReadingView&)>& check)
    {
        const RfcSettings defaults = app->settings();
        int opened = 9992;
        for (const test::FixtureCase& c : test::readFixtureCases("reading/link-settings.txt")) {
            SCOPED_TRACE(c.title);
            app->settings() = defaults;
            const std::string& change = c["switch"];
            if (!change.empty())
                app->settings().*kLinkSwitches.at(change.substr(0, change.find('='))) = change.back() == '1';
            check(c, openRfc(QStringLiteral("rfc%1.txt").arg(opened++)));
        }
    }
};

// Every move of the caret shows in the pane, counted from 1 in lines of the
// file whatever is cut, and moves the Structure tree as F3 does; a chosen
// line goes to the top, others to the upper third, unless the view can
// scroll no further. Go To records no history and gives the keys back;
// Back and Forward by command, key and mouse button walk the jumps, kept
// as file lines while headers and footers are cut.
class CaretTest : public OpenRfcTest {
protected:
    struct Move {
        const char* name;
        std::function<void()> run;
        int line, column; // column 0: not checked
        const char* item; // null: not checked
        bool top;
        bool middle = false; // a find match: in the middle of the view
    };

    void SetUp() override
    {
        OpenRfcTest::SetUp();
        count = view->rfcDocument()->text().lineCount;
    }

    void TearDown() override
    {
        EXPECT_EQ(dialogs.messages, expectedMessages);
        OpenRfcTest::TearDown();
    }

    // Runs each move and checks where the caret went.
    void walk(const std::vector<Move>& moves)
    {
        for (const Move& move : moves) {
            SCOPED_TRACE(move.name);
            frame().updateCommands(); // as the idle refresh does
            move.run();
            const QString at = QStringLiteral("Ln %1, Col ").arg(move.line);
            EXPECT_TRUE(move.column ? pane() == at + QString::number(move.column) : pane().startsWith(at))
                << pane().toStdString();
            if (move.item) {
                EXPECT_EQ(structureItem(), move.item);
            }
            const int shown = caretLine(*view) - view->firstVisibleLine();
            EXPECT_GE(shown, 0);
            const int visible = view->viewport()->height() / view->cursorRect().height();
            if (move.middle) {
                EXPECT_LE(shown, visible / 2 + 2);
            } else if (view->verticalScrollBar()->value() < view->verticalScrollBar()->maximum()) {
                EXPECT_LT(shown, move.top ? 1 : visible / 3);
            }
        }
    }

    void goToLine(int line)
    {
        const std::size_t recorded = view->history().entries().size();
        goTo(0, line);
        EXPECT_EQ(view->history().entries().size(), recorded);
        EXPECT_TRUE(view->hasFocus());
    }

    std::function<void()> route(std::vector<int> ids)
    {
        return [this, ids] {
            for (int id : ids)
                ASSERT_TRUE(frame().routeCommand(id));
        };
    }

    // Jumps to 2. Protocol and then 4. References, and cuts headers and
    // footers.
    void jumpTwiceAndCut()
    {
        view->rfcDocument()->goToContentsEntry(1);
        view->rfcDocument()->goToContentsEntry(3);
        route({kCmdHeaders, kCmdFooters})();
    }

    int count = 0;
    QStringList expectedMessages;
};

// Each link shape leads where it names and the hand shows over it alone.
TEST_F(CrossLinksTest, EachLinkShapeLeadsWhereItNames)
{
    for (const test::FixtureCase& c : test::readFixtureCases("reading/cross-links.txt")) {
        SCOPED_TRACE(c.title);
        ReadingView& view = *openLinks();
        const int at = scrollTo(view, QString::fromStdString(c["text"]));
        ASSERT_GE(at, 0);
        const int line = view.lineFromPosition(at);
        EXPECT_EQ(pointerAt(view, pointAt(view, at + 1)), linkShape(c.number("link")));
        if (c.parts.count("tip")) {
            EXPECT_EQ(view.viewport()->toolTip().toStdString(), c["tip"]);
        }
        const qsizetype messages = dialogs.messages.size();
        clickAt(view, at + 1);
        EXPECT_EQ(activeFile().toStdString(), c["file"]);
        ReadingView* shown = frame().activeDocumentWindow()->view();
        if (c.parts.count("caret line")) {
            EXPECT_TRUE(caretLineText(*shown).trimmed().startsWith(QString::fromStdString(c["caret line"])))
                << caretLineText(*shown).toStdString();
        } else if (shown == &view) {
            EXPECT_EQ(caretLine(view), line);
        }
        EXPECT_EQ(dialogs.messages.size() - messages, c.parts.count("messages") ? c.number("messages") : 0);
        for (DocumentWindow* child : std::vector<DocumentWindow*>(frame().documentWindows()))
            child->close();
        QApplication::processEvents();
    }
}

// Back from another RFC's window brings the clicked line again without
// closing that window, whose Forward goes to its place again.
TEST_F(CrossLinksTest, BackFromAnotherRfcsWindowReturnsToTheClickAndForwardGoesAgain)
{
    ReadingView& view = *child->view();
    const int at = scrollTo(view, QStringLiteral("Section 4 and Section 5.1"));
    ASSERT_GE(at, 0);
    const int line = view.lineFromPosition(at);
    clickAt(view, at + 1);
    ReadingView* shown = frame().activeDocumentWindow()->view();
    ASSERT_EQ(activeFile(), QStringLiteral("rfc9110.txt"));
    ASSERT_TRUE(frame().routeCommand(kCmdGoBack));
    QApplication::processEvents();
    EXPECT_EQ(activeFile(), QStringLiteral("rfc9995.txt"));
    EXPECT_EQ(caretLine(view), line);
    EXPECT_EQ(frame().documentWindows().size(), 2u) << "Back closes nothing";
    frame().activateDocumentWindow(frame().documentWindows().back());
    ASSERT_TRUE(frame().routeCommand(kCmdGoForward));
    EXPECT_TRUE(caretLineText(*shown).trimmed().startsWith(QStringLiteral("4.  References")));
}

// ---- The Requirements tab and the index bar ----

// The Requirements tab: its leaves lead to their sentences, the keywords
// take their colour and the command writes them as CSV (whose fields the
// analysis tests check).
TEST_F(CrossLinksTest, RequirementsTabShowsItsModeAndALeafLeadsToItsSentence)
{
    NavigatorBar* navigator = child->navigatorBar();
    navigator->tabs()->selectTab(kRequirementsTab);
    navigator->showNavigatorTab(kRequirementsTab);
    EXPECT_EQ(frame().modePane(), QStringLiteral("Requirements View"));
    TreeView* tree = navigator->requirementsTree();
    tree->expandAll();
    QTreeWidgetItem* leaf = nullptr;
    // The sentence as listed under its section (it is under its keyword too).
    for (QTreeWidgetItemIterator it(tree); *it && !leaf; ++it)
        if ((*it)->text(0).startsWith(QStringLiteral("SHOULD NOT: "))
            && tree->itemText(tree->parentItem(*it)) == QStringLiteral("2. Protocol"))
            leaf = *it;
    ASSERT_NE(leaf, nullptr);
    tree->scrollToItem(leaf);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualItemRect(leaf).center());
    QApplication::processEvents();
    EXPECT_EQ(child->view()->selectedRange().end, find(*child->view(), "A server SHOULD NOT"));
}

TEST_F(CrossLinksTest, RequirementKeywordsTakeTheirColourAndTheTextAroundThemDoesNot)
{
    ReadingView& view = *child->view();
    const int must = find(view, "A client MUST send") + 9;
    const QColor keyword =
        toCharFormat(app->settings().Formats[kFormatRequirementKeywords]).foreground().color();
    EXPECT_EQ(test::charFormatAt(view, must).foreground().color(), keyword);
    EXPECT_NE(test::charFormatAt(view, must - 3).foreground().color(), keyword);
}

TEST_F(CrossLinksTest, ExportRequirementsWritesTheChosenCsvFile)
{
    const QString csv = pathOf("requirements.csv");
    dialogs.paths.push_back(csv);
    ASSERT_TRUE(frame().routeCommand(kCmdExportRequirements));
    const QString written = QString::fromStdString(test::readFile(csv.toStdString()));
    EXPECT_TRUE(written.contains(QStringLiteral("9995,2,Protocol,SHOULD NOT,")));
}

// The index bar says what the index says of the RFC.
TEST_F(CrossLinksTest, IndexBarSaysTheStatusSuccessorsUpdatesAndSeries)
{
    const QString text = QTextDocumentFragment::fromHtml(child->indexBar()->text()).toPlainText();
    EXPECT_TRUE(child->indexBar()->isVisibleTo(child));
    for (const char* part :
         {"PROPOSED STANDARD", "Obsoleted by RFC 9996, RFC 9997", "Updated by RFC 9998", "Also BCP 14"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(part))) << part << " in " << text.toStdString();
}

// A narrow window cuts the bar at the right instead of stacking its words;
// the tool tip says all of it.
TEST_F(CrossLinksTest, IndexBarStaysOneLineInANarrowWindow)
{
    child->showNormal();
    child->resize(260, 400);
    QApplication::processEvents();
    IndexBar* bar = child->indexBar();
    ASSERT_TRUE(bar->isVisibleTo(child));
    EXPECT_LT(bar->height(), 2 * bar->fontMetrics().lineSpacing());
    EXPECT_TRUE(bar->toolTip().contains(QStringLiteral("Obsoleted by RFC 9996, RFC 9997")));
}

// Obsoleted: the bar takes the format's colour; not obsoleted: the
// window's own look.
TEST_F(CrossLinksTest, IndexBarOfAnObsoletedRfcAloneTakesTheObsoletedColour)
{
    EXPECT_TRUE(child->indexBar()->styleSheet().contains(
        toCharFormat(app->settings().Formats[kFormatObsoleted]).foreground().color().name()));
    ASSERT_NE(open(pathOf("rfc9110.txt")), nullptr);
    EXPECT_TRUE(frame().activeDocumentWindow()->indexBar()->styleSheet().isEmpty());
}

TEST_F(CrossLinksTest, IndexBarsSuccessorLinkOpensIt)
{
    IndexBar* bar = child->indexBar();
    ASSERT_TRUE(bar->text().contains(QStringLiteral("href=\"rfc:9996\">RFC 9996<")));
    copyReading(kLinks, "rfc9996.txt");
    emit bar->linkActivated(QStringLiteral("rfc:9996"));
    QApplication::processEvents();
    EXPECT_EQ(activeFile(), QStringLiteral("rfc9996.txt"));
}

TEST_F(CrossLinksTest, IndexBarCommandHidesTheBarAndIsStored)
{
    ASSERT_TRUE(frame().routeCommand(kCmdIndexBar));
    EXPECT_FALSE(child->indexBar()->isVisibleTo(child));
    RfcSettings stored;
    stored.loadSettings(app->profile());
    EXPECT_FALSE(stored.ShowIndexBar);
    ASSERT_TRUE(frame().routeCommand(kCmdIndexBar));
    EXPECT_TRUE(child->indexBar()->isVisibleTo(child));
}

// The index's own window has none; without the index no window has one.
TEST_F(CrossLinksTest, IndexBarIsAbsentFromTheIndexAndWithoutTheIndex)
{
    ASSERT_NE(open(pathOf("rfc-index.txt")), nullptr);
    DocumentWindow* indexWindow = frame().activeDocumentWindow();
    EXPECT_FALSE(indexWindow->indexBar()->isVisibleTo(indexWindow));
    QFile::remove(pathOf("rfc-index.txt"));
    app->reloadIndexStatus();
    EXPECT_FALSE(child->indexBar()->isVisibleTo(child));
}

// Export Requirements on a full disk or onto something that is no file:
// the old export stays whole, no temporary file is left, and the failure
// is said; before, the file was emptied and nothing was said.
TEST_F(CrossLinksTest, AnExportThatCannotBeWrittenKeepsTheOldFileAndSaysSo)
{
    const QString csv = pathOf("requirements.csv");
    test::writeFile(csv.toStdString(), "the export of last week\n");
    const QStringList before = QDir(folder.path()).entryList(QDir::Files);
    {
        const test::FileSizeLimit full(64);
        dialogs.paths.push_back(csv);
        ASSERT_TRUE(frame().routeCommand(kCmdExportRequirements));
    }
    EXPECT_EQ(test::readFile(csv.toStdString()), "the export of last week\n");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), before);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].startsWith(QStringLiteral("Cannot write file: %1.").arg(csv)))
        << dialogs.messages[0].toStdString();

    dialogs.paths.push_back(QStringLiteral("/dev/full"));
    ASSERT_TRUE(frame().routeCommand(kCmdExportRequirements));
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_TRUE(dialogs.messages[1].startsWith(QStringLiteral("Cannot write file: /dev/full.")));
}

// ---- Link settings ----

// Under each link setting, the hand shows over exactly what a click
// follows; a contents entry without its heading leads nowhere, link or not.
TEST_F(LinkSettingsTest, EachLinkSettingDecidesWhatIsALink)
{
    forEachLinkSetting([this](const test::FixtureCase& c, ReadingView& view) {
        const int entry = contentsText(view, "Protocol");
        const int lost = contentsText(view, "Lost Section");
        const int citation = find(view, "[RFC2119]") + 1;
        EXPECT_EQ(pointerAt(view, pointAt(view, entry)), linkShape(c.number("entry")));
        EXPECT_EQ(pointerAt(view, pointAt(view, lost)), linkShape(c.number("lost entry")));
        EXPECT_EQ(pointerAt(view, pointAt(view, citation)), linkShape(c.number("citation")));
        EXPECT_EQ(pointerAt(view, pointAt(view, find(view, "describes links"))), Qt::IBeamCursor);
        EXPECT_EQ(pointerAt(view, pointAt(view, view.lineStart(view.lineFromPosition(entry)) + 1)),
                  Qt::IBeamCursor)
            << "an entry's margin";
        clickAt(view, lost);
        EXPECT_EQ(view.firstVisibleLine(), 0);
        EXPECT_EQ(caretLine(view), view.lineFromPosition(lost));
        clickAt(view, citation);
        EXPECT_EQ(caretLine(view) != view.lineFromPosition(citation), c.number("citation") == 1);
        QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
        clickAt(view, entry);
        EXPECT_EQ(view.firstVisibleLine() == kProtocolHeading - 1, c.number("entry") == 1);
        if (c.number("entry")) {
            EXPECT_EQ(pane(), QStringLiteral("Ln %1, Col 1").arg(kProtocolHeading));
        }
    });
}

// RFC numbers in references are links under every setting: a missing RFC
// is reported, one that is there opens; the words around it are no link.
TEST_F(LinkSettingsTest, AReferencesRfcNumberIsALinkUnderEverySetting)
{
    forEachLinkSetting([this](const test::FixtureCase&, ReadingView& view) {
        view.scrollLines(view.lineCount());
        const qsizetype messages = dialogs.messages.size();
        clickAt(view, find(view, "2119, March"));
        EXPECT_EQ(dialogs.messages.size(), messages + 1);
        EXPECT_EQ(dialogs.messages.value(0), "Cannot open file: " + pathOf("rfc2119.txt") + ".");
    });
}

TEST_F(ReadingTest, AReferencesRfcNumberOpensItsRfcOnceThere)
{
    ReadingView& view = openRfc();
    copyReading("rfc9991.txt", "rfc2119.txt");
    view.scrollLines(view.lineCount());
    // The number stands far right on its line: scrolled into the view,
    // however narrow the Navigator leaves it.
    QTextCursor cursor(view.document());
    cursor.setPosition(find(view, "2119, March") + 4);
    view.setTextCursor(cursor);
    view.ensureCursorVisible();
    clickAt(view, find(view, "2119, March") + 1);
    EXPECT_EQ(frame().activeDocumentWindow()->path(), pathOf("rfc2119.txt"));
    EXPECT_EQ(pointerAt(view, pointAt(view, find(view, "March 1997"))), Qt::IBeamCursor);
}

// Only default text turns contents links off in every open RFC.
TEST_F(ReadingTest, OnlyDefaultTextTurnsContentsLinksOffInEveryOpenRfc)
{
    ReadingView& first = openRfc();
    app->settings().UseOnlyDefaultText = true;
    openRfc(QStringLiteral("rfc9992.txt"));
    frame().activateDocumentWindow(frame().documentWindows().front());
    EXPECT_EQ(pointerAt(first, pointAt(first, contentsText(first, "Protocol"))), Qt::IBeamCursor);
}

// ---- The caret, Go To and the history ----

TEST_F(CaretTest, AClickAndAKeyShowInThePane)
{
    EXPECT_EQ(pane(), "Ln 1, Col 1");
    walk({
        {"click", [&] { clickAt(*view, find(*view, "Example Org") + 4); }, 2, 65, nullptr, false},
        {"Down key", [&] { QTest::keyClick(view, Qt::Key_Down); }, 3, 0, nullptr, false},
    });
}

TEST_F(CaretTest, GoToPutsTheLineOrPageAtTheTopWithoutHistory)
{
    walk({
        {"Go To line", [&] { goToLine(40); }, 40, 1, "1. Introduction", true},
        {"Go To page", [&] { goTo(1, 2); }, 25, 1, nullptr, true}, // after the form feed
    });
}

TEST_F(CaretTest, ContentsEntriesByEnterOrTreeLeadToTheirHeadingAtTheTop)
{
    walk({
        {"Enter on a link",
         [&] {
             const int entry = contentsText(*view, "Protocol") + 2;
             view->setSelection(entry, entry);
             QTest::keyClick(view, Qt::Key_Return);
         },
         kProtocolHeading, 1, "2. Protocol", true},
        {"tree", [&] { view->rfcDocument()->goToContentsEntry(1); }, kProtocolHeading, 1, "2. Protocol",
         true},
        {"tree again", [&] { view->rfcDocument()->goToContentsEntry(3); }, kReferencesHeading, 1,
         "4. References", true},
        {"cut", route({kCmdHeaders, kCmdFooters}), kReferencesHeading, 1, "4. References", false},
    });
}

TEST_F(CaretTest, BackAndForwardByCommandKeyAndButtonWalkTheJumpsWhileCut)
{
    jumpTwiceAndCut();
    const auto key = [this](Qt::Key k) { return [this, k] { QTest::keyClick(view, k, Qt::AltModifier); }; };
    const auto button = [this](Qt::MouseButton b) { return [this, b] { click(*view, QPoint(5, 5), b); }; };
    walk({
        {"Back", route({kCmdGoBack}), kProtocolHeading, 1, "2. Protocol", false},
        {"Forward", route({kCmdGoForward}), kReferencesHeading, 1, "4. References", false},
        {"Alt+Left", key(Qt::Key_Left), kProtocolHeading, 1, "2. Protocol", false},
        {"Alt+Right", key(Qt::Key_Right), kReferencesHeading, 1, "4. References", false},
        {"Back button", button(Qt::BackButton), kProtocolHeading, 1, "2. Protocol", false},
        {"Forward button", button(Qt::ForwardButton), kReferencesHeading, 1, "4. References", false},
        {"Back again", route({kCmdGoBack}), kProtocolHeading, 1, "2. Protocol", false},
    });
}

// A citation leads to its reference where it is shown now, and the new jump
// drops the forward part.
TEST_F(CaretTest, ACitationJumpDropsTheForwardPartAndBackReturnsToTheClick)
{
    jumpTwiceAndCut();
    route({kCmdGoBack})();
    walk({
        {"citation",
         [&] {
             clickAt(*view, find(*view, "text cites [RFC2119]") + 12);
             EXPECT_FALSE(frame().routeCommand(kCmdGoForward));
         },
         kReferencesHeading + 2, 0, "4. References", false},
        {"Back to the click", route({kCmdGoBack}), kProtocolHeading + 2, 0, "2. Protocol", false},
    });
}

// The Navigator's own choices leave its selection to the Navigator.
TEST_F(CaretTest, APageItemWhileCutGoesToThePagesFirstShownLine)
{
    jumpTwiceAndCut();
    walk({
        {"page item",
         [&] {
             TreeView* pages = frame().activeDocumentWindow()->navigatorBar()->secondTree();
             view->rfcDocument()->goToFileLine(FileLine::atIndex(pages->itemData(pages->topLevelItem(1))));
         },
         kIntroductionHeading, 1, nullptr, true},
    });
}

TEST_F(CaretTest, GoToWhileCutCountsTheFilesLines)
{
    route({kCmdHeaders, kCmdFooters})();
    walk({
        {"cut Go To line", [&] { goToLine(41); }, 41, 1, "1. Introduction", true},
        {"cut Go To page", [&] { goTo(1, 2); }, kIntroductionHeading, 1, "1. Introduction", true},
    });
}

TEST_F(CaretTest, GoToTheLastLineGoesThereAndBeyondItIsRefused)
{
    expectedMessages = {QStringLiteral("'Line Number' must be between 1 and %1").arg(count)};
    walk({
        {"Go To the last line", [&] { goToLine(count); }, count, 1, nullptr, true},
        {"Go To beyond it", [&] { goTo(0, count + 1); }, count, 1, nullptr, true},
    });
}

TEST_F(CaretTest, AHeadingGoesToTheTopAndPlacesThatDoNotExistLeaveTheCaret)
{
    walk({
        {"heading", [&] { view->rfcDocument()->goToSectionHeading(1); }, 12, 1, nullptr, true},
        {"nowhere",
         [&] {
             view->rfcDocument()->goToContentsEntry(99);
             view->rfcDocument()->goToSectionHeading(-1);
             view->rfcDocument()->goToFileLine(FileLine::atIndex(10000));
         },
         12, 1, nullptr, true},
    });
}

TEST_F(CaretTest, AFindWhileCutShowsTheFileLineAndKeepsItWhenHeadersReturn)
{
    route({kCmdHeaders, kCmdFooters})();
    walk({
        {"find", [&] { typeInFindBar(*view, "Protocol filler line 9").searchRequested(true); }, 61, 26,
         "2. Protocol", false, true},
        {"headers back", route({kCmdHeaders}), 61, 0, nullptr, false, true},
    });
}

// A new window shows its own caret, and the pane follows the active one.
TEST_F(CaretTest, ThePaneFollowsTheActiveWindowsCaret)
{
    view->setCaretLineColumn(60, 3);
    ReadingView& second = openRfc("rfc9992.txt");
    EXPECT_EQ(pane(), "Ln 1, Col 1");
    second.setCaretLineColumn(2, 3);
    EXPECT_EQ(pane(), "Ln 3, Col 4");
    frame().activateDocumentWindow(frame().documentWindows().front());
    EXPECT_TRUE(pane().startsWith("Ln 61, Col ")) << pane().toStdString();
}

TEST_F(ReadingTest, ContextMenuItemsFollowTheirRules)
{
    ReadingView& view = openRfc();
    // The right button's press asks for the menu where the pointer is.
    const QPoint point = pointAt(view, find(view, "Abstract"));
    QContextMenuEvent request(QContextMenuEvent::Mouse, point, view.viewport()->mapToGlobal(point));
    QApplication::sendEvent(view.viewport(), &request);
    QMenu* menu = view.findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    const auto states = [menu] {
        std::string enabled;
        for (const char* item : {"&Copy", "F&ind Next", "Go &Back", "Go For&ward", "&Structure", "&Page"})
            enabled += actionNamed(menu, item)->isEnabled() ? '+' : '-';
        return enabled;
    };
    EXPECT_EQ(states(), "-----+") << "the Structure tab is shown";
    EXPECT_TRUE(actionNamed(menu, "RFC &Headers")->isChecked());
    EXPECT_FALSE(actionNamed(menu, "Page &Separator")->isChecked());
    menu->hide();

    clickAt(view, contentsText(view, "Protocol"));
    view.setSelection(0, 7);
    view.runCommand(kCmdFind);
    QTest::keyClick(&view, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(states(), "+++--+");

    // Choosing an item runs its command, the view's own or its frame's.
    actionNamed(menu, "RFC &Headers")->trigger();
    EXPECT_TRUE(view.rfcDocument()->cuts().headers);
    actionNamed(menu, "&Page")->trigger();
    EXPECT_EQ(frame().activeDocumentWindow()->navigatorBar()->tabs()->currentIndex(), 1);
    EXPECT_EQ(frame().modePane(), "Page View");
    menu->hide();
}

// ---- The find bar and zoom ----

TEST_F(OpenRfcTest, FindOpensTheFindBarNotTheDialog)
{
    EXPECT_TRUE(typeInFindBar(*view, "filler line 1").isVisible());
    EXPECT_FALSE(view->finder().dialog());
}

TEST_F(OpenRfcTest, FindBarCountsAndMarksTheMatchesOfItsOptions)
{
    FindBar& bar = typeInFindBar(*view, "");
    for (const test::FixtureCase& c : test::readFixtureCases("reading/find-bar.txt")) {
        SCOPED_TRACE(c.title);
        bar.matchCaseBox()->setChecked(c["options"].find("case") != std::string::npos);
        bar.wholeWordBox()->setChecked(c["options"].find("word") != std::string::npos);
        bar.textEdit()->setText(QString::fromStdString(c["find"]));
        EXPECT_EQ(bar.countLabel()->text(), QStringLiteral("%1 matches").arg(c.number("count")));
        // Only the matches in view are marked.
        EXPECT_LE(view->extraSelections().size(), c.number("count"));
        EXPECT_EQ(view->extraSelections().isEmpty(), c.number("count") == 0);
    }
}

TEST_F(OpenRfcTest, FindBarsReturnMovesTheCaretToTheOneMatch)
{
    FindBar& bar = typeInFindBar(*view, "Closing filler line 6");
    QTest::keyClick(bar.textEdit(), Qt::Key_Return);
    EXPECT_EQ(pane(), QStringLiteral("Ln %1, Col 25").arg(kClosingFiller6));
    EXPECT_EQ(bar.countLabel()->text(), "1 of 1");
}

TEST_F(OpenRfcTest, F3PastTheLastMatchContinuesFromTheTop)
{
    QTest::keyClick(typeInFindBar(*view, "Closing filler line 6").textEdit(), Qt::Key_Return);
    QTest::keyClick(view, Qt::Key_F3);
    EXPECT_EQ(frame().statusBar()->currentMessage(), "Passed the end, continued from the top");
}

TEST_F(OpenRfcTest, F3AndShiftF3StepForwardAndBackThroughTheMatches)
{
    typeInFindBar(*view, "Protocol filler line 1");
    QTest::keyClick(view, Qt::Key_F3);
    QTest::keyClick(view, Qt::Key_F3);
    EXPECT_TRUE(caretLineText(*view).contains("Protocol filler line 10 "));
    QTest::keyClick(view, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_TRUE(caretLineText(*view).contains("Protocol filler line 1 "));
}

TEST_F(OpenRfcTest, EscapeClosesTheFindBarTakesItsMarksAndGivesTheKeysBack)
{
    FindBar& bar = typeInFindBar(*view, "filler line 1");
    ASSERT_FALSE(view->extraSelections().isEmpty());
    QTest::keyClick(bar.textEdit(), Qt::Key_Escape);
    EXPECT_FALSE(bar.isVisible());
    EXPECT_TRUE(view->extraSelections().isEmpty());
    EXPECT_TRUE(view->hasFocus());
}

// Zoom scales every format of the active window and is kept in the
// settings file for the next window and the next run.
class ZoomTest : public OpenRfcTest {
protected:
    qreal sizeAt(const char* text)
    {
        const QTextCharFormat format = test::charFormatAt(*view, find(*view, text));
        return format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                              : view->document()->defaultFont().pointSizeF();
    }

    void press(Qt::Key key)
    {
        frame().updateCommands();
        QTest::keyClick(view, key, Qt::ControlModifier);
    }
};

TEST_F(ZoomTest, CtrlKeysScaleTheTitleAndTheBodyAlike)
{
    const qreal titleSize = sizeAt("The Parchly Link Protocol");
    const qreal bodySize = sizeAt("This memo");
    const std::pair<Qt::Key, int> steps[] = {
        {Qt::Key_Plus, 1}, {Qt::Key_Equal, 2}, {Qt::Key_Minus, 1}, {Qt::Key_0, 0}, {Qt::Key_Minus, -1}};
    for (const auto& [key, zoom] : steps) {
        press(key);
        EXPECT_EQ(view->zoom().steps(), zoom);
        EXPECT_NEAR(sizeAt("The Parchly Link Protocol"), titleSize * zoomScale(zoom), 0.6);
        EXPECT_NEAR(sizeAt("This memo"), bodySize * zoomScale(zoom), 0.6);
    }
}

TEST_F(ZoomTest, TheZoomIsStoredAndTakenByTheNextWindow)
{
    press(Qt::Key_Minus);
    EXPECT_EQ(app->profile().readInt("View", "TextZoom", 0), -1);
    EXPECT_EQ(openRfc("rfc9992.txt").zoom().steps(), -1);
}

TEST_F(ZoomTest, CtrlWheelZoomsTheWindowUnderThePointer)
{
    press(Qt::Key_Minus);
    openRfc("rfc9992.txt");
    QWheelEvent wheel(QPointF(5, 5), view->viewport()->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    frame().activateDocumentWindow(frame().documentWindows().front());
    QApplication::sendEvent(view->viewport(), &wheel);
    EXPECT_EQ(view->zoom().steps(), 0);
}

const char* const kReadme = "Parchly notes\n=============\n\nContents\n\n1. Introduction ........ 1\n\n"
                            "1. Introduction\n\n   The key words are those of RFC 2119 [RFC2119].\n\n"
                            "[RFC2119] Bradner, S., \"Key words\", RFC 2119, March 1997.\n";

// Files that are not RFCs: shown as plain text in the Default format alone,
// with "Not recognised as an RFC" in the status bar while their window is
// active; RFCs, classic or modern, keep their formats.
TEST_F(ReadingTest, OnlyRfcsAreFormattedAndTheOthersSaySoWhileActive)
{
    const auto notice = [this] { return frame().statusBar()->findChild<QLabel*>("noticePane")->text(); };
    copyReading("../view/rfc9990.txt", "rfc9990.txt");
    const struct {
        QString name;
        const char* text; // none: the file is there already
        bool recognised;
    } cases[] = {
        {QStringLiteral("README"), kReadme, false},
        {QStringLiteral("rfc9990.txt"), nullptr, true},
        {QStringLiteral("rfc9998.txt"), test::kModernRfc, true},
    };
    std::vector<DocumentWindow*> windows;
    for (const auto& item : cases) {
        SCOPED_TRACE(item.name.toStdString());
        if (item.text)
            test::writeFile(pathOf(item.name).toStdString(), item.text);
        if (!item.name.endsWith(QLatin1String(".txt"))) // "It seems that ... is not in txt format, continue?"
            dialogs.answers.push_back(MessageAnswer::Ok);
        ReadingView* view = open(pathOf(item.name));
        ASSERT_NE(view, nullptr);
        windows.push_back(frame().activeDocumentWindow());
        EXPECT_EQ(notice(), item.recognised ? QString() : QStringLiteral("Not recognised as an RFC"));
        bool formatted = false; // a character not in the first one's format
        for (int at = 1; at < view->document()->characterCount() - 1 && !formatted; ++at)
            formatted = test::charFormatAt(*view, at) != test::charFormatAt(*view, 0);
        EXPECT_EQ(formatted, item.recognised);
    }
    // The note follows the active window.
    frame().activateDocumentWindow(windows[0]);
    EXPECT_EQ(notice(), "Not recognised as an RFC");
    frame().activateDocumentWindow(windows[2]);
    EXPECT_EQ(notice(), "");
}

} // namespace
} // namespace parchly
