#include "frame/main_window.h"

#include "frame/app_fixture.h"
#include "frame/document_tab_bar.h"
#include "frame/document_window.h"
#include "frame/find_in_rfcs_dock.h"
#include "frame/frame_bookmarks_host.h"
#include "support/fixture_cases.h"
#include "platform/tab_strip.h"
#include "platform/tree_view.h"
#include "view/command_ids.h"
#include "view/print_setup_dialog.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace parchly {
namespace {

QStringList texts(const QList<QAction*>& actions)
{
    QStringList result;
    for (QAction* action : actions)
        result << action->text();
    return result;
}

class MainWindowTest : public test::AppFixture {
protected:
    TabStrip* tabs() { return frame().documentTabBar()->tabs(); }

    // The state of command `id` as the menus and toolbars show it.
    QAction* command(int id)
    {
        frame().updateCommands();
        return frame().commandAction(id);
    }

    // The tab texts in order and the active window's title.
    std::string tabsAndActive()
    {
        QStringList shown;
        for (int i = 0; i < tabs()->count(); ++i)
            shown << tabs()->tabText(i);
        DocumentWindow* active = frame().activeDocumentWindow();
        return (shown.join(QLatin1Char(' ')) + " > " + (active ? active->windowTitle() : QString()))
            .toStdString();
    }

    FrameBookmarksHost host() { return FrameBookmarksHost(frame(), *app); }
    std::pair<int, int> caret()
    {
        int line = -1, column = -1;
        host().activeCaretLineColumn(line, column);
        return {line, column};
    }

    void closeChild(DocumentWindow* child)
    {
        child->close();
        settle();
    }
};

// The view commands as the menus show them: Structure, Page, Headers,
// Footers, Page Separators, Navigator, Open RFC Index; "+" enabled, "-"
// disabled, "v" checked. The Navigator shows the tree of its tab.
class ViewCommandsTest : public MainWindowTest {
protected:
    std::string states()
    {
        std::string result;
        for (int id : {kCmdStructure, kCmdPage, kCmdHeaders, kCmdFooters, kCmdPageSeparators, kCmdNavigator,
                       kCmdOpenRfcIndex}) {
            QAction* action = command(id);
            result += std::string(result.empty() ? "" : " ") + (action->isEnabled() ? "+" : "-")
                + (action->isCheckable() && action->isChecked() ? "v" : "");
        }
        return result;
    }

    // Whether the Navigator, where shown, shows the tree of its tab.
    bool navigatorShowsItsTabsTree()
    {
        DocumentWindow* child = frame().activeDocumentWindow();
        NavigatorBar* bar = child->navigatorBar();
        TreeView* tree = bar->tabs()->currentIndex() == 1 ? bar->secondTree() : bar->firstTree();
        return !bar->isVisibleTo(child->innerWindow()) || tree->isVisibleTo(child);
    }

    // Headers, footers, page separators and the Navigator as the document
    // holds them: "HFSN", "-" for each not shown.
    std::string documentState()
    {
        DocumentWindow* child = frame().activeDocumentWindow();
        const ViewState& state = child->document()->viewState();
        return std::string(state.cuts.headers ? "-" : "H") + (state.cuts.footers ? "-" : "F")
            + (state.pageSeparators ? "S" : "-")
            + (child->navigatorBar()->isVisibleTo(child->innerWindow()) ? "N" : "-");
    }

    // A run of its own, from an empty settings file, with rfc1.txt open.
    void openRfc()
    {
        app.reset();
        QFile(pathOf("Parchly.ini")).resize(0);
        makeApp();
        frame().show();
        openCopies({"rfc1.txt"});
    }
};

// What a run leaves for the next: the open documents and the active one
// (those gone since skipped without a word), each document's reading
// position (also when it is opened again), the Navigator width the user
// dragged, and the toolbars, whose switches win over the stored layout.
class SessionTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        atStart = AtStart::Started;
        openAtStart = {"rfc1.txt", "rfc2.txt", "rfc3.txt"};
        MainWindowTest::SetUp();
        QApplication::processEvents();
        children = frame().documentWindows();
    }

    // The user drags the Navigator's edge of `child` `by` pixels to the
    // right; gives the width before.
    int dragNavigatorEdge(DocumentWindow* child, int by)
    {
        frame().activateDocumentWindow(child);
        QApplication::processEvents();
        QMainWindow* inner = child->innerWindow();
        const int before = child->navigatorWidth();
        const int extent = inner->style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, inner);
        const QRect bar = child->navigatorBar()->geometry();
        const QPoint edge(bar.right() + 1 + extent / 2, bar.center().y());
        const QPoint to = edge + QPoint(by, 0);
        QTest::mousePress(inner, Qt::LeftButton, Qt::NoModifier, edge);
        QMouseEvent move(QEvent::MouseMove, to, inner->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(inner, &move);
        QApplication::processEvents(); // the edge follows on a timer
        QTest::mouseRelease(inner, Qt::LeftButton, Qt::NoModifier, to);
        QApplication::processEvents();
        return before;
    }

    // Ends the run with `active` active and starts the next.
    void nextRun(DocumentWindow* active)
    {
        frame().activateDocumentWindow(active);
        frame().close();
        settle();
        makeApp();
        QApplication::processEvents();
    }

    std::vector<DocumentWindow*> children;
};

// Tiled or cascaded, each window gives its Navigator a third of its width
// at most; maximized again, the width comes back.
class ArrangedWindowsTest : public SessionTest {
protected:
    // Runs Tile or Cascade and lets the windows lay out their new sizes.
    void arrange(int command)
    {
        ASSERT_TRUE(frame().routeCommand(command));
        for (int pass = 0; pass < 3; ++pass)
            QApplication::processEvents();
    }

    static bool leavesTheText(DocumentWindow* child)
    {
        const int width = child->navigatorWidth();
        return width > 0 && width <= child->innerWindow()->width() / 3 + 1;
    }
};

// The open documents in opening order; bookmarks store the file's lines,
// whatever the view hides, and put the caret on a shown line only.
class BookmarksHostTest : public MainWindowTest {
protected:
    BookmarksHostTest() { atStart = AtStart::Started; }

    // rfc2.txt and then rfc1.txt opened; gives rfc1.txt's view.
    ReadingView* openTwo()
    {
        second = copyRfc(QStringLiteral("rfc2.txt"));
        first = copyRfc(QStringLiteral("rfc1.txt"));
        EXPECT_TRUE(host().openDocument(second));
        EXPECT_TRUE(host().openDocument(first));
        return frame().activeDocumentWindow()->view();
    }

    QString first, second;
};

// The focus is back in the text when a modal dialog closes; while it is
// open the Navigator's tree stands in for the dialog taking the focus.
class DialogFocusTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        atStart = AtStart::Started;
        openAtStart = {"rfc1.txt"};
        MainWindowTest::SetUp();
        frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
        child = frame().activeDocumentWindow();
        elsewhere = child->navigatorBar()->firstTree();
    }

    // Answers the next dialog with `answer` after `inside` ran in it.
    void answerNext(int answer, std::function<void(QDialog&)> inside = {})
    {
        dialogs.dialogScripts.push_back([this, answer, inside](QDialog& dialog) {
            if (inside)
                inside(dialog);
            elsewhere->setFocus();
            dialog.done(answer);
            return answer;
        });
    }

    DocumentWindow* child = nullptr;
    QWidget* elsewhere = nullptr;
};

class IndexCommandTest : public MainWindowTest {
protected:
    IndexCommandTest()
    {
        atStart = AtStart::Started;
        openAtStart = {"rfc1.txt", "rfc2.txt"};
    }
};

// Help opens the manual only when there is one, and without a browser each
// of the three help commands says what it could not show.
class HelpCommandTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        atStart = AtStart::Started;
        MainWindowTest::SetUp();
        frame().urlOpener = [this](const QUrl& url) {
            opened << url;
            return browser;
        };
    }

    // A manual in the folder; gives its path.
    QString writeManual()
    {
        QDir().mkpath(pathOf("manual"));
        QFile(pathOf("manual/index.html")).open(QIODevice::WriteOnly);
        app->settings().HomepageUrl = "https://example.org/parchly";
        return pathOf("manual/index.html");
    }

    void runHelpCommands()
    {
        for (int command : {kCmdHelpContents, kCmdHelpIndex, kCmdHomepage})
            frame().routeCommand(command);
    }

    QList<QUrl> opened;
    bool browser = true;
};

// ---- Tabs, the Window menu and drops ----

// Four copies of the fixture RFC opened in order, the frame shown.
class MainWindowTabsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        atStart = AtStart::Shown;
        openAtStart = {"rfc1.txt", "rfc2.txt", "rfc3.txt", "rfc4.txt"};
        MainWindowTest::SetUp();
        children = frame().documentWindows();
    }

    // The entries of the Window menu naming a window, as it is about to show
    // (twice: it is made anew each time).
    QList<QAction*> windowMenuEntries()
    {
        QMenu* windowMenu = frame().menuBar()->actions()[4]->menu();
        emit windowMenu->aboutToShow();
        emit windowMenu->aboutToShow();
        QList<QAction*> entries;
        for (QAction* action : windowMenu->actions())
            if (action->text().startsWith(QLatin1Char('&')) && action->text().contains(QLatin1String("rfc")))
                entries << action;
        return entries;
    }

    // Sends a drag of `urls` onto `target` and drops them when accepted;
    // gives whether it was accepted.
    static bool drop(QWidget* target, const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (enter.isAccepted()) {
            QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &event);
        }
        return enter.isAccepted();
    }

    // The entries of the third tab's menu.
    QList<QAction*> tabMenu()
    {
        frame().fillTabMenu(menu, 2);
        return menu.actions();
    }

    std::vector<DocumentWindow*> children;
    QMenu menu;
};

TEST_F(MainWindowTabsTest, TabsFollowTheOpeningOrderAndTheLastOpenedIsActive)
{
    EXPECT_EQ(tabsAndActive(), "rfc1.txt rfc2.txt rfc3.txt rfc4.txt > rfc4.txt");
}

TEST_F(MainWindowTabsTest, MenuBarHasTheDocumentMenus)
{
    EXPECT_EQ(texts(frame().menuBar()->actions()),
              QStringList({"&File", "&Edit", "&View", "&Tools", "&Window", "&Help"}));
}

TEST_F(MainWindowTabsTest, WindowMenuListsTheWindowsNumberedWithTheActiveChecked)
{
    const QList<QAction*> entries = windowMenuEntries();
    ASSERT_EQ(entries.size(), 4);
    EXPECT_EQ(entries[0]->text(), QStringLiteral("&1 rfc1.txt"));
    EXPECT_TRUE(!entries[0]->isChecked() && entries[3]->isChecked());
}

TEST_F(MainWindowTabsTest, WindowMenuEntryActivatesItsWindowAndTab)
{
    const QList<QAction*> entries = windowMenuEntries();
    ASSERT_EQ(entries.size(), 4);
    entries[0]->trigger();
    EXPECT_EQ(frame().activeDocumentWindow(), children[0]);
    EXPECT_EQ(tabs()->currentIndex(), 0);
}

TEST_F(MainWindowTabsTest, OpeningAnOpenFileActivatesItsWindowAndTab)
{
    tabs()->setCurrentIndex(2);
    ASSERT_EQ(app->openDocumentFile(pathOf("rfc2.txt")), children[1]->document());
    EXPECT_EQ(tabsAndActive(), "rfc1.txt rfc2.txt rfc3.txt rfc4.txt > rfc2.txt");
    EXPECT_EQ(tabs()->currentIndex(), 1);
}

TEST_F(MainWindowTabsTest, ATabsCloseButtonClosesItsWindow)
{
    tabs()->setCurrentIndex(1);
    qobject_cast<QAbstractButton*>(tabs()->tabButton(1, QTabBar::RightSide))->click();
    settle();
    EXPECT_EQ(tabsAndActive(), "rfc1.txt rfc3.txt rfc4.txt > rfc3.txt") << "the tab to its right";
    tabs()->setCurrentIndex(2);
    EXPECT_EQ(frame().activeDocumentWindow(), children[3]);
}

TEST_F(MainWindowTabsTest, AMiddleClickClosesTheTabAndKeepsTheActiveWindow)
{
    QTest::mouseClick(tabs(), Qt::MiddleButton, Qt::NoModifier, tabs()->tabRect(0).center());
    settle();
    EXPECT_EQ(tabsAndActive(), "rfc2.txt rfc3.txt rfc4.txt > rfc4.txt");
}

TEST_F(MainWindowTabsTest, TabMenuOffersCloseOthersCopyPathAndTheFolder)
{
    EXPECT_EQ(texts(tabMenu()),
              QStringList({"&Close", "Close &Others", "Copy &Path", "Open Containing &Folder"}));
}

TEST_F(MainWindowTabsTest, TabMenuCopiesThePathAndOpensTheContainingFolder)
{
    ASSERT_EQ(tabMenu().size(), 4);
    QList<QUrl> opened;
    frame().urlOpener = [&opened](const QUrl& url) {
        opened << url;
        return true;
    };
    menu.actions()[2]->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QDir::toNativeSeparators(pathOf("rfc3.txt")));
    menu.actions()[3]->trigger();
    EXPECT_EQ(opened, QList<QUrl>({QUrl::fromLocalFile(QDir(folder.path()).absolutePath())}));
}

TEST_F(MainWindowTabsTest, TabMenuClosesTheOtherTabs)
{
    ASSERT_EQ(tabMenu().size(), 4);
    menu.actions()[1]->trigger();
    settle();
    EXPECT_EQ(tabsAndActive(), "rfc3.txt > rfc3.txt");
}

TEST_F(MainWindowTabsTest, DroppedLocalFilesOpenAndOtherAddressesAreRefused)
{
    closeChild(children[0]);
    closeChild(children[1]);
    closeChild(children[3]);
    EXPECT_FALSE(drop(&frame(), {QUrl(QStringLiteral("https://example.org/rfc1.txt"))}));
    EXPECT_EQ(tabsAndActive(), "rfc3.txt > rfc3.txt");
    EXPECT_TRUE(drop(&frame(), {QUrl::fromLocalFile(pathOf("rfc1.txt"))}));
    EXPECT_EQ(tabsAndActive(), "rfc3.txt rfc1.txt > rfc1.txt");
    EXPECT_TRUE(
        drop(tabs(), {QUrl::fromLocalFile(pathOf("rfc3.txt")), QUrl::fromLocalFile(pathOf("rfc2.txt"))}));
    EXPECT_EQ(tabsAndActive(), "rfc3.txt rfc1.txt rfc2.txt > rfc2.txt");
}

// Ctrl+PageDown and Ctrl+PageUp step round in tab order; closing goes on
// with the tab beside the closed one; the menus switch with the last
// document.
TEST_F(MainWindowTabsTest, CtrlKeysStepRoundTheTabsAndCloseToTheNeighbour)
{
    closeChild(children[3]);
    tabs()->setCurrentIndex(1);
    tabs()->setCurrentIndex(2);
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_PageDown, "rfc1.txt rfc2.txt rfc3.txt > rfc1.txt"},
        {Qt::Key_PageDown, "rfc1.txt rfc2.txt rfc3.txt > rfc2.txt"},
        {Qt::Key_PageUp, "rfc1.txt rfc2.txt rfc3.txt > rfc1.txt"},
        {Qt::Key_PageUp, "rfc1.txt rfc2.txt rfc3.txt > rfc3.txt"},
        {Qt::Key_W, "rfc1.txt rfc2.txt > rfc2.txt"},
        {Qt::Key_F4, "rfc1.txt > rfc1.txt"},
        {Qt::Key_W, " > "},
    };
    for (const auto& [key, shown] : keys) {
        QTest::keyClick(frame().activeDocumentWindow()->view()->viewport(), key, Qt::ControlModifier);
        settle();
        EXPECT_EQ(tabsAndActive(), shown) << key;
        EXPECT_EQ(frame().menuSet(), *shown == ' ' ? MenuSet::NoDocument : MenuSet::Document) << key;
    }
    EXPECT_TRUE(frame().modePane().isEmpty());
}

// Alt and a letter opens the menu of that letter wherever the focus is; no
// button or box of the window's panes takes a menu's letter or another's.
TEST_F(MainWindowTabsTest, NoPaneTakesAMenusAltLetter)
{
    QTest::keyClick(&frame(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    frame().routeCommand(kCmdFind);
    QStringList letters;
    for (QAction* menu : frame().menuBar()->actions())
        letters << QKeySequence::mnemonic(menu->text()).toString();
    for (QAbstractButton* button : frame().findChildren<QAbstractButton*>()) {
        const QString letter = QKeySequence::mnemonic(button->text()).toString();
        if (letter.isEmpty() || !button->isVisibleTo(&frame()))
            continue;
        EXPECT_FALSE(letters.contains(letter)) << button->text().toStdString();
        letters << letter;
    }
}

TEST_F(MainWindowTabsTest, AltFInTheFindInRfcsPaneOpensTheFileMenu)
{
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    QTest::keyClick(&frame(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(frame().findInRfcsDock()->textEdit(), Qt::Key_F, Qt::AltModifier);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup, frame().menuBar()->actions()[0]->menu());
    popup->close();
}

// ---- The view commands ----

TEST_F(ViewCommandsTest, WithoutADocumentOnlyTheIndexCanBeOpened)
{
    makeApp();
    EXPECT_EQ(states(), "- - - - - - +");
    EXPECT_EQ(frame().modePane(), "");
}

// Each command on a freshly opened RFC, as the menus show it and as the
// document holds it.
TEST_F(ViewCommandsTest, EachCommandSwitchesItsStateInTheMenusAndTheDocument)
{
    const std::map<std::string, int> ids = {{"Structure", kCmdStructure},
                                            {"Page", kCmdPage},
                                            {"Headers", kCmdHeaders},
                                            {"Footers", kCmdFooters},
                                            {"Page Separators", kCmdPageSeparators},
                                            {"Navigator", kCmdNavigator}};
    for (const test::FixtureCase& c : test::readFixtureCases("frame/view-commands.txt")) {
        SCOPED_TRACE(c.title);
        openRfc();
        for (const std::string& command : c.items("commands"))
            frame().routeCommand(ids.at(command));
        EXPECT_EQ(states(), c["shown"]);
        EXPECT_EQ(frame().modePane().toStdString(), c["mode"]);
        EXPECT_TRUE(navigatorShowsItsTabsTree());
        EXPECT_EQ(documentState(), c["document"]);
    }
}

// The copies of the fixture have two pages: stepping down to page 2 of the
// Page tree brings its first line up.
TEST_F(ViewCommandsTest, PageShowsThePageTreeWhoseChoiceMovesTheView)
{
    openRfc();
    frame().routeCommand(kCmdPage);
    ReadingView* view = frame().activeDocumentWindow()->view();
    TreeView* pages = frame().activeDocumentWindow()->navigatorBar()->secondTree();
    ASSERT_EQ(pages->topLevelItemCount(), 2);
    pages->selectItem(pages->topLevelItem(0));
    QTest::keyClick(pages, Qt::Key_Down);
    const int pageLine = pages->itemData(pages->topLevelItem(1));
    EXPECT_GT(pageLine, 0);
    EXPECT_EQ(view->firstVisibleLine(), pageLine);
    EXPECT_EQ(view->lineFromPosition(view->selectedRange().end), pageLine);
}

// Hidden in all files: the toggles are off, their marks still tell.
TEST_F(ViewCommandsTest, HeadersAndFootersHiddenInAllFilesCannotBeToggled)
{
    makeApp();
    app->settings().DisableHeaderAndFooterInAllFiles = true;
    openCopies({"rfc2.txt"});
    EXPECT_FALSE(frame().routeCommand(kCmdHeaders));
    EXPECT_EQ(states(), "- + - - + +v +");
}

TEST_F(ViewCommandsTest, TheIndexHasNoViewCommands)
{
    openRfc();
    frame().activeDocumentWindow()->document()->text().isIndex = true;
    EXPECT_EQ(states(), "- - - - - +v +");
    EXPECT_EQ(frame().modePane(), "Structure View");
}

// ---- Recent files and the session ----

// The four latest files are kept in the settings file, the latest first,
// open from the menu, and go from it when they are gone.
TEST_F(MainWindowTest, RecentFilesKeepTheFourLatestAndOpenFromTheMenu)
{
    makeApp();
    EXPECT_FALSE(command(kCmdRecentFile1)->isEnabled());
    openCopies({"rfc1.txt", "rfc2.txt", "rfc3.txt", "rfc4.txt", "rfc5.txt", "rfc2.txt"});
    std::vector<std::string> expected;
    for (const char* name : {"rfc2.txt", "rfc5.txt", "rfc4.txt", "rfc3.txt"})
        expected.push_back(pathOf(name).toStdString());
    EXPECT_EQ(app->recentFiles().paths(), expected);
    EXPECT_EQ(app->profile().readString("Recent File List", "File1", ""), expected[0]);

    makeApp();
    EXPECT_EQ(app->recentFiles().paths(), expected);
    EXPECT_TRUE(command(kCmdRecentFile1 + 3)->isEnabled());
    frame().routeCommand(kCmdRecentFile1);
    EXPECT_EQ(tabsAndActive(), "rfc2.txt > rfc2.txt");
    QFile::remove(pathOf("rfc5.txt"));
    frame().routeCommand(kCmdRecentFile1 + 1);
    EXPECT_EQ(dialogs.messages,
              QStringList({QStringLiteral("Cannot open file: %1.").arg(pathOf("rfc5.txt"))}));
    expected.erase(expected.begin() + 1);
    EXPECT_EQ(app->recentFiles().paths(), expected);
}

// The File menu lists the favourite RFCs, each with its title where the
// index has it (else its file name), and opens the chosen one.
TEST_F(MainWindowTest, TheFavoritesMenuListsTitlesAndOpensTheChosenRfc)
{
    makeApp();
    copyFixture(QStringLiteral("rfc-index.txt"), QStringLiteral("rfc-index.txt"));
    app->reloadIndexStatus();
    app->profile().writeString("FavoriteRFCs", "RFC0", copyRfc(QStringLiteral("rfc2.txt")).toStdString());
    app->profile().writeString("FavoriteRFCs", "RFC1", "\\elsewhere\\notes.txt");
    QMenu* favorites = frame().findChild<QMenu*>(QStringLiteral("FavoritesMenu"));
    ASSERT_NE(favorites, nullptr);
    emit favorites->aboutToShow();
    const QStringList shown = texts(favorites->actions());
    ASSERT_EQ(shown.size(), 4);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("RFC 2: Second Sample Entry"))) << shown[0].toStdString();
    EXPECT_EQ(shown.mid(1), QStringList({"notes.txt", "", "&Favorite RFCs..."}));
    favorites->actions()[0]->trigger();
    EXPECT_EQ(tabsAndActive(), "rfc2.txt > rfc2.txt");
}

TEST_F(SessionTest, AReopenedDocumentComesBackAtItsPosition)
{
    children[2]->setReadingPosition({10, 12, 0});
    closeChild(children[2]);
    ASSERT_NE(app->openDocumentFile(pathOf("rfc3.txt")), nullptr);
    EXPECT_EQ(frame().activeDocumentWindow()->readingPosition().caretLine, 12);
}

TEST_F(SessionTest, APositionReadWithHeadersAndFootersCutReopensAtTheSameFileLine)
{
    DocumentWindow* child = children[2];
    frame().activateDocumentWindow(child);
    QApplication::processEvents();
    ASSERT_TRUE(frame().routeCommand(kCmdHeaders));
    ASSERT_TRUE(frame().routeCommand(kCmdFooters));
    ASSERT_TRUE(child->document()->cuts().headers && child->document()->cuts().footers);
    // The first reference, two page breaks down: the cut lines above it
    // set its shown line well apart from its file line.
    const FileLine reference = FileLine::atNumber(110);
    child->document()->goToFileLine(reference);
    closeChild(child);
    ASSERT_NE(app->openDocumentFile(pathOf("rfc3.txt")), nullptr);
    EXPECT_EQ(FileLine::atIndex(test::caretOf(*frame().activeDocumentWindow()->view()).first).number(),
              reference.number());
}

TEST_F(SessionTest, TheNextRunReopensTheDocumentsAtTheirPositionsSkippingThoseGone)
{
    children[1]->setReadingPosition({40, 56, 3});
    const ReadingPosition moved = children[1]->readingPosition();
    EXPECT_GT(moved.topLine, 1);
    QFile::remove(pathOf("rfc1.txt"));
    nextRun(children[1]);
    EXPECT_EQ(tabsAndActive(), "rfc2.txt rfc3.txt > rfc2.txt");
    const ReadingPosition restored = frame().activeDocumentWindow()->readingPosition();
    EXPECT_EQ(std::tuple(restored.topLine, restored.caretLine, restored.caretColumn),
              std::tuple(moved.topLine, 56, 3));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(SessionTest, ADraggedNavigatorWidthIsStoredAndSharedByEveryWindow)
{
    const int before = dragNavigatorEdge(children[1], 60);
    ASSERT_GT(before, 0);
    const int chosen = children[1]->navigatorWidth();
    EXPECT_NEAR(chosen, before + 60, 2);
    EXPECT_EQ(app->profile().readInt("Navigator", "Width", 0), chosen);
    frame().activateDocumentWindow(children[0]);
    QApplication::processEvents();
    EXPECT_EQ(children[0]->navigatorWidth(), chosen);
}

TEST_F(SessionTest, ADraggedNavigatorWidthComesBackInTheNextRun)
{
    dragNavigatorEdge(children[1], 60);
    const int chosen = children[1]->navigatorWidth();
    nextRun(children[1]);
    EXPECT_EQ(frame().activeDocumentWindow()->navigatorWidth(), chosen);
}

TEST_F(ArrangedWindowsTest, TiledWindowsLeaveMostOfEachToTheText)
{
    arrange(kCmdTile);
    for (DocumentWindow* child : children)
        EXPECT_TRUE(leavesTheText(child))
            << child->navigatorWidth() << " of " << child->innerWindow()->width();
}

TEST_F(ArrangedWindowsTest, CascadedWindowsLeaveMostOfEachToTheText)
{
    arrange(kCmdCascade);
    DocumentWindow* child = frame().activeDocumentWindow();
    EXPECT_TRUE(leavesTheText(child)) << child->navigatorWidth() << " of " << child->innerWindow()->width();
}

TEST_F(ArrangedWindowsTest, AWindowMaximizedAgainTakesItsWidthBack)
{
    DocumentWindow* child = frame().activeDocumentWindow();
    const int before = child->navigatorWidth();
    arrange(kCmdTile);
    ASSERT_LT(child->navigatorWidth(), before);
    child->showMaximized();
    for (int pass = 0; pass < 3; ++pass)
        QApplication::processEvents();
    EXPECT_EQ(child->navigatorWidth(), before);
}

TEST_F(SessionTest, ToolbarSwitchesAreStoredWithTheLayout)
{
    frame().routeCommand(kCmdEditToolbar);
    EXPECT_FALSE(command(kCmdEditToolbar)->isChecked());
    EXPECT_TRUE(command(kCmdViewToolbar)->isChecked());
    frame().close();
    settle();
    EXPECT_EQ(app->profile().readInt("Toolbar", "EditVisible", -1), 0);
    EXPECT_EQ(app->profile().readInt("Toolbar", "ViewVisible", -1), 1);
    EXPECT_FALSE(app->profile().readString("Toolbar", "State", "").empty());
}

TEST_F(SessionTest, AHiddenToolbarStaysHiddenInTheNextRun)
{
    frame().routeCommand(kCmdEditToolbar);
    nextRun(children[0]);
    EXPECT_FALSE(frame().toolbar(1)->isVisibleTo(&frame()));
    EXPECT_TRUE(frame().toolbar(2)->isVisibleTo(&frame()));
}

// The stored layout has the Edit toolbar hidden and the View toolbar shown;
// the switches say the other way.
TEST_F(SessionTest, ToolbarSwitchesWinOverTheStoredLayout)
{
    frame().routeCommand(kCmdEditToolbar);
    frame().close();
    settle();
    app->profile().writeInt("Toolbar", "EditVisible", 1);
    app->profile().writeInt("Toolbar", "ViewVisible", 0);
    makeApp();
    EXPECT_TRUE(frame().toolbar(1)->isVisibleTo(&frame()));
    EXPECT_FALSE(frame().toolbar(2)->isVisibleTo(&frame()));
}

TEST_F(SessionTest, LargeToolbarButtonsCarryTheirShortTexts)
{
    app->profile().writeInt("settings", "LargeToolBarButtonWithText", 1);
    makeApp();
    const QWidget* button = frame().toolbar(0)->widgetForAction(frame().commandAction(kCmdOpenRfcIndex));
    ASSERT_TRUE(qobject_cast<const QToolButton*>(button));
    EXPECT_EQ(static_cast<const QToolButton*>(button)->text(), QStringLiteral("Index"));
    EXPECT_EQ(button->size(), QSize(50, 40));
}

// ---- Documents through the bookmarks' host, dialogs, index and help ----

TEST_F(BookmarksHostTest, WithoutDocumentsThereIsNoTabPathOrCaret)
{
    EXPECT_FALSE(host().hasDocumentTabs());
    EXPECT_TRUE(host().activeDocumentPath().isEmpty());
    EXPECT_EQ(caret(), std::make_pair(0, 0));
}

TEST_F(BookmarksHostTest, DocumentsAreListedInOpeningOrderAndAMissingFileIsRefused)
{
    openTwo();
    EXPECT_FALSE(host().openDocument(pathOf("rfc404.txt")));
    EXPECT_TRUE(host().hasDocumentTabs());
    EXPECT_EQ(host().openDocumentPaths(), QStringList({second, first}));
    EXPECT_EQ(host().activeDocumentPath(), first);
}

// On a blank line any column is the line's start; a line past the end
// leaves the caret where it was.
TEST_F(BookmarksHostTest, CaretOnABlankLineGoesToItsStartAndPastTheEndStays)
{
    ReadingView* view = openTwo();
    ASSERT_EQ(view->lineText(12), QStringLiteral("\n"));
    for (int line : {12, view->lineCount() + 10}) {
        host().setActiveCaretLineColumn(line, 4);
        EXPECT_EQ(caret(), std::make_pair(12, 0)) << line;
    }
}

// Page 2, its header hidden: file line 60 is shown higher up.
TEST_F(BookmarksHostTest, CaretLinesAreFileLinesWhateverTheViewHides)
{
    ReadingView* view = openTwo();
    frame().routeCommand(kCmdHeaders);
    host().setActiveCaretLineColumn(60, 7);
    EXPECT_EQ(caret(), std::make_pair(60, 7));
    const int shown = view->lineFromPosition(view->selectedRange().end);
    EXPECT_TRUE(view->lineText(shown).startsWith(QStringLiteral("   The key words"))) << shown;
}

// The caret's section by its number and title, a subsection's in full.
TEST_F(BookmarksHostTest, TheActiveSectionIsTheCaretsWithItsNumber)
{
    openTwo();
    const std::pair<int, const char*> carets[] = {{55, "1. Introduction"}, {60, "1.1. Terminology"}, {2, ""}};
    for (const auto& [line, title] : carets) {
        host().setActiveCaretLineColumn(line, 0);
        EXPECT_EQ(host().activeSectionTitle(), QString::fromLatin1(title)) << line;
    }
}

TEST_F(DialogFocusTest, TheTextHasTheFocusAfterEachModalDialog)
{
    const std::pair<int, int> steps[] = {
        {kCmdOptions, QDialog::Rejected},      {kCmdBookmarks, QDialog::Rejected},
        {kCmdFavoriteRfcs, QDialog::Rejected}, {kCmdAbout, QDialog::Accepted},
        {kCmdPrintSetup, QDialog::Rejected},   {kCmdPrintSetup, QDialog::Accepted},
    };
    for (const auto& [command, answer] : steps) {
        answerNext(answer);
        ASSERT_TRUE(frame().routeCommand(command)) << command;
        EXPECT_TRUE(dialogs.dialogScripts.empty()) << command << " ran through the dialogs";
        EXPECT_EQ(QApplication::focusWidget(), child->view()) << command;
    }
}

TEST_F(DialogFocusTest, TheTextHasTheFocusAfterTheSystemsPrintDialogs)
{
    for (int command : {kCmdPrint, kCmdPrintPreview}) {
        elsewhere->setFocus();
        ASSERT_TRUE(frame().routeCommand(command)) << command;
        EXPECT_EQ(QApplication::focusWidget(), child->view()) << command;
    }
    EXPECT_EQ(dialogs.printDialogs + dialogs.previews, 2);
}

// Print Setup keeps the screen colours when accepted, and offers the
// system's page setup.
TEST_F(DialogFocusTest, PrintSetupStoresTheScreenColoursAndOffersThePageSetup)
{
    answerNext(QDialog::Accepted, [](QDialog& dialog) {
        auto* setup = dynamic_cast<PrintSetupDialog*>(&dialog);
        ASSERT_NE(setup, nullptr);
        EXPECT_FALSE(setup->screenColoursBox()->isChecked());
        setup->screenColoursBox()->setChecked(true);
        setup->pageButton()->click();
    });
    ASSERT_TRUE(frame().routeCommand(kCmdPrintSetup));
    EXPECT_EQ(dialogs.pageSetups, 1);
    EXPECT_TRUE(app->settings().PrintScreenColours);
    EXPECT_EQ(Profile(pathOf("Parchly.ini").toStdString()).readInt("Print", "ScreenColours", 0), 1);
}

// ---- The index and help commands ----

TEST_F(IndexCommandTest, OpenRfcIndexReportsAMissingIndex)
{
    frame().routeCommand(kCmdOpenRfcIndex);
    EXPECT_EQ(dialogs.messages, QStringList({pathOf("rfc-index.txt") + QStringLiteral(" does NOT exist!")}));
    EXPECT_EQ(frame().documentWindows().size(), 2u);
}

TEST_F(IndexCommandTest, ViewIndexWithoutAnRfcFolderReportsTheIndexAtTheRoot)
{
    if (QFileInfo::exists(QStringLiteral("/rfc-index.txt")))
        GTEST_SKIP() << "/rfc-index.txt exists";
    app->settings().RfcRootPath.clear();
    frame().routeCommand(kCmdViewIndex);
    EXPECT_EQ(dialogs.messages, QStringList({QStringLiteral("/rfc-index.txt does NOT exist!")}));
}

TEST_F(IndexCommandTest, OpenRfcIndexOpensTheIndexOnceAndThenActivatesIt)
{
    copyFixture(QStringLiteral("rfc-index.txt"), QStringLiteral("rfc-index.txt"));
    frame().routeCommand(kCmdOpenRfcIndex);
    ASSERT_EQ(frame().documentWindows().size(), 3u);
    DocumentWindow* index = frame().documentWindows()[2];
    ASSERT_TRUE(index->isIndexDocument());
    openCopies({"rfc9901.txt"});
    frame().routeCommand(kCmdOpenRfcIndex);
    EXPECT_EQ(frame().documentWindows().size(), 4u);
    EXPECT_EQ(frame().activeDocumentWindow(), index);
    closeChild(index);
    frame().routeCommand(kCmdOpenRfcIndex);
    EXPECT_EQ(frame().documentWindows().size(), 4u);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(HelpCommandTest, ContentsWithoutAManualSaysSoAndOpensNothing)
{
    if (!frame().helpFile().isEmpty())
        GTEST_SKIP() << "a manual is installed";
    frame().routeCommand(kCmdHelpContents);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(dialogs.messages.value(0).endsWith(QStringLiteral("/manual/index.html was not found.")));
}

TEST_F(HelpCommandTest, HelpCommandsOpenTheManualItsIndexAndTheHomepage)
{
    const QUrl manual = QUrl::fromLocalFile(writeManual());
    QUrl indexPage = manual;
    indexPage.setFragment(QStringLiteral("index"));
    runHelpCommands();
    EXPECT_EQ(opened, QList<QUrl>({manual, indexPage, QUrl(QStringLiteral("https://example.org/parchly"))}));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(HelpCommandTest, WithoutABrowserEachHelpCommandSaysWhatItCouldNotShow)
{
    const QString manual = QDir::toNativeSeparators(writeManual());
    browser = false;
    runHelpCommands();
    const QString noBrowser = QStringLiteral("No web browser could be started to show %1.");
    EXPECT_EQ(dialogs.messages,
              QStringList({noBrowser.arg(manual), noBrowser.arg(manual),
                           noBrowser.arg(QStringLiteral("https://example.org/parchly"))}));
}

} // namespace
} // namespace parchly
