#include "frame/main_window.h"

#include "analysis/rfc_text.h"
#include "settings/command_ids.h"
#include "frame/app_fixture.h"
#include "frame/document_window.h"
#include "frame/document_tab_bar.h"
#include "platform/tab_strip.h"
#include "platform/tree_view.h"
#include "view/rfc_document.h"
#include "view/reading_view.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMainWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyle>
#include <QTest>
#include <QTreeWidgetItemIterator>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace parchly {
namespace {

QStringList menuTitles(MainWindow& frame)
{
    QStringList titles;
    for (QAction* action : frame.menuBar()->actions())
        titles << action->text();
    return titles;
}

QStringList tabTexts(MainWindow& frame)
{
    QStringList texts;
    TabStrip* tabs = frame.documentTabBar()->tabs();
    for (int i = 0; i < tabs->count(); ++i)
        texts << tabs->tabText(i);
    return texts;
}

class MainWindowTest : public test::AppFixture {
protected:
    MainWindow& frame() { return *app->mainWindow(); }

    // The state of command `id` as the menus and toolbars show it.
    QAction* command(int id)
    {
        frame().updateCommands();
        return frame().commandAction(id);
    }

    // Copies of the fixture RFC under the given names, opened in order.
    void openCopies(const QStringList& names)
    {
        for (const QString& name : names)
            ASSERT_NE(app->openDocumentFile(copyFixture(QStringLiteral("rfc9901.txt"), name)), nullptr);
    }

    void closeChild(DocumentWindow* child)
    {
        child->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(MainWindowTest, TabBarFollowsOpeningActivatingAndClosing)
{
    makeApp();
    openCopies({"rfc1.txt", "rfc2.txt", "rfc3.txt"});
    TabStrip* tabs = frame().documentTabBar()->tabs();
    EXPECT_EQ(tabTexts(frame()), QStringList({"rfc1.txt", "rfc2.txt", "rfc3.txt"}));
    EXPECT_EQ(tabs->currentIndex(), 2);

    const std::vector<DocumentWindow*> children = frame().documentWindows();
    frame().activateDocumentWindow(children[0]);
    EXPECT_EQ(tabs->currentIndex(), 0);

    // The user picks the third tab: the third document's window comes up.
    tabs->setCurrentIndex(2);
    EXPECT_EQ(frame().activeDocumentWindow(), children[2]);

    // Opening a file that is already open activates its window.
    ASSERT_EQ(app->openDocumentFile(pathOf("rfc2.txt")), children[1]->document());
    EXPECT_EQ(frame().documentWindows().size(), 3u);
    EXPECT_EQ(frame().activeDocumentWindow(), children[1]);
    EXPECT_EQ(tabs->currentIndex(), 1);

    closeChild(children[1]);
    EXPECT_EQ(tabTexts(frame()), QStringList({"rfc1.txt", "rfc3.txt"}));
    tabs->setCurrentIndex(1);
    EXPECT_EQ(frame().activeDocumentWindow(), children[2]);
}

TEST_F(MainWindowTest, AnOpenedRfcShowsItsFirstLineWithTheCaretThere)
{
    makeApp();
    frame().show();
    openCopies({"rfc1.txt"});
    QApplication::processEvents();
    ReadingView* view = frame().activeDocumentWindow()->view();
    ASSERT_GT(view->lineCount(), 20);
    EXPECT_EQ(view->firstVisibleLine(), 0);
    EXPECT_EQ(view->selectedRange().end, 0);
}

TEST_F(MainWindowTest, MenusSwitchWithTheFirstAndLastDocument)
{
    makeApp();
    EXPECT_EQ(frame().menuSet(), MenuSet::NoDocument);
    EXPECT_EQ(menuTitles(frame()), QStringList({"&File", "&View", "&Tools", "&Help"}));
    openCopies({"rfc1.txt", "rfc2.txt"});
    EXPECT_EQ(frame().menuSet(), MenuSet::Document);
    EXPECT_EQ(menuTitles(frame()), QStringList({"&File", "&Edit", "&View", "&Tools", "&Window", "&Help"}));
    closeChild(frame().documentWindows()[0]);
    EXPECT_EQ(frame().menuSet(), MenuSet::Document);
    closeChild(frame().documentWindows()[0]);
    EXPECT_EQ(frame().menuSet(), MenuSet::NoDocument);
    EXPECT_TRUE(frame().modePane().isEmpty());
}

TEST_F(MainWindowTest, WindowMenuListsTheWindowsAndActivatesTheChosenOne)
{
    makeApp();
    openCopies({"rfc1.txt", "rfc2.txt"});
    QMenu* windowMenu = nullptr;
    for (QAction* action : frame().menuBar()->actions())
        if (action->text() == QLatin1String("&Window"))
            windowMenu = action->menu();
    ASSERT_NE(windowMenu, nullptr);
    emit windowMenu->aboutToShow();
    emit windowMenu->aboutToShow(); // the list is made anew, not appended
    QList<QAction*> entries;
    for (QAction* action : windowMenu->actions())
        if (action->text().startsWith(QLatin1Char('&')) && action->text().contains(QLatin1String("rfc")))
            entries << action;
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0]->text(), QStringLiteral("&1 rfc1.txt"));
    EXPECT_FALSE(entries[0]->isChecked());
    EXPECT_TRUE(entries[1]->isChecked());

    entries[0]->trigger();
    EXPECT_EQ(frame().activeDocumentWindow(), frame().documentWindows()[0]);
    EXPECT_EQ(frame().documentTabBar()->tabs()->currentIndex(), 0);
}

TEST_F(MainWindowTest, ChildCommandsAreDisabledWithoutADocument)
{
    makeApp();
    for (int id : {kCmdStructure, kCmdPage, kCmdHeaders, kCmdFooters, kCmdPageSeparators, kCmdNavigator})
        EXPECT_FALSE(command(id)->isEnabled()) << id;
    EXPECT_TRUE(command(kCmdOpenRfcIndex)->isEnabled());
    EXPECT_TRUE(command(kCmdAbout)->isEnabled());
}

TEST_F(MainWindowTest, ViewCommandsFollowTheDocumentsState)
{
    makeApp();
    openCopies({"rfc9901.txt"});
    DocumentWindow* child = frame().activeDocumentWindow();
    ASSERT_NE(child, nullptr);
    const ViewState& shown = child->document()->viewState();
    ASSERT_EQ(child->navigatorBar()->tabs()->currentIndex(), 0);

    EXPECT_FALSE(command(kCmdStructure)->isEnabled());
    EXPECT_TRUE(command(kCmdPage)->isEnabled());
    EXPECT_EQ(frame().modePane(), QStringLiteral("Structure View"));
    frame().routeCommand(kCmdPage);
    EXPECT_EQ(child->navigatorBar()->tabs()->currentIndex(), 1);
    EXPECT_TRUE(child->navigatorBar()->secondTree()->isVisibleTo(child));
    EXPECT_TRUE(command(kCmdStructure)->isEnabled());
    EXPECT_FALSE(command(kCmdPage)->isEnabled());
    EXPECT_EQ(frame().modePane(), QStringLiteral("Page View"));
    frame().routeCommand(kCmdStructure);
    EXPECT_EQ(child->navigatorBar()->tabs()->currentIndex(), 0);
    EXPECT_TRUE(child->navigatorBar()->firstTree()->isVisibleTo(child));

    EXPECT_TRUE(command(kCmdHeaders)->isEnabled());
    EXPECT_TRUE(command(kCmdHeaders)->isChecked());
    frame().routeCommand(kCmdHeaders);
    EXPECT_TRUE(shown.cuts.headers);
    EXPECT_FALSE(command(kCmdHeaders)->isChecked());
    EXPECT_TRUE(command(kCmdFooters)->isChecked());
    frame().routeCommand(kCmdFooters);
    EXPECT_TRUE(shown.cuts.footers);
    EXPECT_FALSE(command(kCmdFooters)->isChecked());
    frame().routeCommand(kCmdHeaders);
    EXPECT_FALSE(shown.cuts.headers);
    EXPECT_TRUE(command(kCmdHeaders)->isChecked());

    EXPECT_FALSE(command(kCmdPageSeparators)->isChecked());
    frame().routeCommand(kCmdPageSeparators);
    EXPECT_TRUE(shown.pageSeparators);
    EXPECT_TRUE(command(kCmdPageSeparators)->isChecked());

    EXPECT_TRUE(command(kCmdNavigator)->isChecked());
    frame().routeCommand(kCmdNavigator);
    EXPECT_FALSE(child->navigatorBar()->isVisibleTo(child->innerWindow()));
    EXPECT_TRUE(command(kCmdNavigator)->isEnabled());
    EXPECT_FALSE(command(kCmdNavigator)->isChecked());
}

TEST_F(MainWindowTest, TheUsersTreeChoiceMovesTheViewAndTheProgramsDoesNot)
{
    makeApp();
    openCopies({"rfc9901.txt"});
    DocumentWindow* child = frame().activeDocumentWindow();
    ReadingView* view = child->view();
    TreeView* pages = child->navigatorBar()->secondTree();
    frame().routeCommand(kCmdPage);
    // Two form feeds: pages 1 and 2 end at them.
    ASSERT_EQ(pages->topLevelItemCount(), 2);
    const int firstLine = view->firstVisibleLine();
    const int pageLine = pages->itemData(pages->topLevelItem(1));
    ASSERT_NE(pageLine, firstLine);

    // The program following the caret selects an item: the view stays.
    pages->selectItem(pages->topLevelItem(1));
    EXPECT_EQ(view->firstVisibleLine(), firstLine);
    pages->selectItem(pages->topLevelItem(0));

    // The user steps down to page 2 with the keyboard: its first line comes up.
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(pages, &down);
    ASSERT_EQ(pages->currentItem(), pages->topLevelItem(1));
    EXPECT_EQ(view->firstVisibleLine(), pageLine);
    EXPECT_EQ(view->lineFromPosition(view->selectedRange().end), pageLine);
}

TEST_F(MainWindowTest, HeaderAndFooterTogglesAreDisabledWhenHiddenEverywhere)
{
    makeApp();
    app->settings().DisableHeaderAndFooterInAllFiles = true;
    openCopies({"rfc9901.txt"});
    const ViewState& shown = frame().activeDocumentWindow()->document()->viewState();
    EXPECT_FALSE(command(kCmdHeaders)->isEnabled());
    EXPECT_FALSE(command(kCmdFooters)->isEnabled());
    // The check marks still tell the document's state.
    EXPECT_EQ(command(kCmdHeaders)->isChecked(), !shown.cuts.headers);
    EXPECT_EQ(command(kCmdFooters)->isChecked(), !shown.cuts.footers);
    EXPECT_FALSE(frame().routeCommand(kCmdHeaders));
    EXPECT_TRUE(command(kCmdPageSeparators)->isEnabled());
}

TEST_F(MainWindowTest, IndexDocumentDisablesTheRfcCommands)
{
    makeApp();
    openCopies({"rfc9901.txt"});
    frame().activeDocumentWindow()->document()->text().isIndex = true;
    for (int id : {kCmdStructure, kCmdPage, kCmdHeaders, kCmdFooters, kCmdPageSeparators})
        EXPECT_FALSE(command(id)->isEnabled()) << id;
    EXPECT_FALSE(command(kCmdHeaders)->isChecked());
    EXPECT_FALSE(command(kCmdFooters)->isChecked());
    EXPECT_TRUE(command(kCmdNavigator)->isEnabled());
}

TEST_F(MainWindowTest, OpenRfcIndexReportsAMissingFile)
{
    makeApp();
    frame().routeCommand(kCmdOpenRfcIndex);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0], pathOf("rfc-index.txt") + QStringLiteral(" does NOT exist!"));
    EXPECT_TRUE(frame().documentWindows().empty());

    app->settings().RfcRootPath.clear();
    if (QFileInfo::exists(QStringLiteral("/rfc-index.txt")))
        GTEST_SKIP() << "/rfc-index.txt exists on this machine";
    frame().routeCommand(kCmdViewIndex);
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages[1], QStringLiteral("/rfc-index.txt does NOT exist!"));
}

TEST_F(MainWindowTest, OpenRfcIndexTwiceActivatesTheOpenIndex)
{
    makeApp();
    copyFixture(QStringLiteral("rfc-index.txt"), QStringLiteral("rfc-index.txt"));
    frame().routeCommand(kCmdOpenRfcIndex);
    ASSERT_EQ(frame().documentWindows().size(), 1u);
    DocumentWindow* index = frame().documentWindows()[0];
    ASSERT_TRUE(index->isIndexDocument());
    EXPECT_TRUE(app->mainWindow()->indexDocumentOpen());

    openCopies({"rfc9901.txt"});
    frame().routeCommand(kCmdOpenRfcIndex);
    EXPECT_EQ(frame().documentWindows().size(), 2u);
    EXPECT_EQ(frame().activeDocumentWindow(), index);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    closeChild(index);
    EXPECT_FALSE(app->mainWindow()->indexDocumentOpen());
    frame().routeCommand(kCmdOpenRfcIndex);
    EXPECT_EQ(frame().documentWindows().size(), 2u);
}

TEST_F(MainWindowTest, BarLayoutIsSavedOnCloseAndTheSwitchesWinAtStart)
{
    makeApp();
    frame().routeCommand(kCmdEditToolbar);
    EXPECT_FALSE(command(kCmdEditToolbar)->isChecked());
    EXPECT_TRUE(command(kCmdViewToolbar)->isChecked());
    frame().close();
    EXPECT_EQ(app->profile().readInt("Toolbar", "EditVisible", -1), 0);
    EXPECT_EQ(app->profile().readInt("Toolbar", "ViewVisible", -1), 1);
    EXPECT_FALSE(app->profile().readString("Toolbar", "State", "").empty());

    makeApp();
    EXPECT_FALSE(frame().toolbar(1)->isVisibleTo(&frame()));
    EXPECT_TRUE(frame().toolbar(2)->isVisibleTo(&frame()));

    // The switches are applied after the stored layout, which has the Edit
    // toolbar hidden and the View toolbar shown.
    app->profile().writeInt("Toolbar", "EditVisible", 1);
    app->profile().writeInt("Toolbar", "ViewVisible", 0);
    makeApp();
    EXPECT_TRUE(frame().toolbar(1)->isVisibleTo(&frame()));
    EXPECT_FALSE(frame().toolbar(2)->isVisibleTo(&frame()));
}

TEST_F(MainWindowTest, LargeButtonsCarryTheirTexts)
{
    makeApp(false);
    app->settings().LargeToolBarButtonWithText = true;
    ASSERT_TRUE(app->start());
    QToolBar* standard = frame().toolbar(0);
    auto* index =
        qobject_cast<QToolButton*>(standard->widgetForAction(frame().commandAction(kCmdOpenRfcIndex)));
    ASSERT_NE(index, nullptr);
    EXPECT_EQ(index->text(), QStringLiteral("Index"));
    EXPECT_EQ(index->size(), QSize(50, 40));
    auto* separators = qobject_cast<QToolButton*>(
        frame().toolbar(2)->widgetForAction(frame().commandAction(kCmdPageSeparators)));
    ASSERT_NE(separators, nullptr);
    EXPECT_EQ(separators->text(), QStringLiteral("P Separ"));
    // The menu keeps its own text.
    EXPECT_EQ(frame().commandAction(kCmdOpenRfcIndex)->text(), QStringLiteral("Open RFC &Index\tCtrl+I"));
}

TEST_F(MainWindowTest, HelpOpensTheManualOnlyWhenThereIsOne)
{
    makeApp();
    QList<QUrl> opened;
    frame().urlOpener = [&opened](const QUrl& url) {
        opened << url;
        return true;
    };
    if (frame().helpFile().isEmpty()) {
        frame().routeCommand(kCmdHelpContents);
        EXPECT_TRUE(opened.isEmpty());
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_TRUE(dialogs.messages[0].endsWith(QStringLiteral("/manual/index.html was not found.")));
        dialogs.messages.clear();
    }
    QDir().mkpath(pathOf("manual"));
    QFile manual(pathOf("manual/index.html"));
    ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
    manual.close();
    frame().routeCommand(kCmdHelpContents);
    frame().routeCommand(kCmdHelpIndex);
    app->settings().HomepageUrl = "https://example.org/parchly";
    frame().routeCommand(kCmdHomepage);
    ASSERT_EQ(opened.size(), 3);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(pathOf("manual/index.html")));
    EXPECT_EQ(opened[1].fragment(), QStringLiteral("index"));
    EXPECT_EQ(opened[2], QUrl(QStringLiteral("https://example.org/parchly")));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // Without a browser each of the three says what it could not show.
    frame().urlOpener = [](const QUrl&) { return false; };
    for (int command : {kCmdHelpContents, kCmdHelpIndex, kCmdHomepage})
        frame().routeCommand(command);
    ASSERT_EQ(dialogs.messages.size(), 3);
    EXPECT_EQ(dialogs.messages[0],
              QStringLiteral("No web browser could be started to show %1.")
                  .arg(QDir::toNativeSeparators(pathOf("manual/index.html"))));
    EXPECT_TRUE(dialogs.messages[1].endsWith(QStringLiteral("index.html.")));
    EXPECT_EQ(dialogs.messages[2],
              QStringLiteral("No web browser could be started to show https://example.org/parchly."));
}

TEST_F(MainWindowTest, RecentFilesOpenFromTheMenuAndDropWhatIsGone)
{
    makeApp();
    openCopies({"rfc1.txt", "rfc2.txt"});
    QAction* first = command(kCmdRecentFile1);
    EXPECT_TRUE(first->isEnabled());
    EXPECT_FALSE(command(kCmdRecentFile1 + 2)->isEnabled());

    closeChild(frame().documentWindows()[1]);
    frame().routeCommand(kCmdRecentFile1);
    EXPECT_EQ(frame().documentWindows().size(), 2u);

    QFile::remove(pathOf("rfc1.txt"));
    closeChild(frame().documentWindows()[0]);
    frame().routeCommand(kCmdRecentFile1 + 1);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0], QStringLiteral("Cannot open file: %1.").arg(pathOf("rfc1.txt")));
    EXPECT_EQ(app->recentFiles().paths(), std::vector<std::string>({pathOf("rfc2.txt").toStdString()}));
}

// The window titles in tab order and the active one's.
std::string tabsAndActive(MainWindow& frame)
{
    DocumentWindow* active = frame.activeDocumentWindow();
    return (tabTexts(frame).join(QLatin1Char(' ')) + QStringLiteral(" > ")
            + (active ? active->windowTitle() : QString()))
        .toStdString();
}

TEST_F(MainWindowTest, TabShortcutsStepInTabOrderAndClose)
{
    makeApp();
    openCopies({"rfc1.txt", "rfc2.txt", "rfc3.txt"});
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    struct Step {
        Qt::Key key;
        const char* expected;
    };
    const Step steps[] = {
        {Qt::Key_PageDown, "rfc1.txt rfc2.txt rfc3.txt > rfc1.txt"}, // round from the last
        {Qt::Key_PageDown, "rfc1.txt rfc2.txt rfc3.txt > rfc2.txt"},
        {Qt::Key_PageUp, "rfc1.txt rfc2.txt rfc3.txt > rfc1.txt"},
        {Qt::Key_PageUp, "rfc1.txt rfc2.txt rfc3.txt > rfc3.txt"},
        // Closing goes back to the window active before, as the MDI area does.
        {Qt::Key_W, "rfc1.txt rfc2.txt > rfc1.txt"},
        {Qt::Key_F4, "rfc2.txt > rfc2.txt"},
    };
    for (const Step& step : steps) {
        QTest::keyClick(frame().activeDocumentWindow()->view()->viewport(), step.key, Qt::ControlModifier);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(tabsAndActive(frame()), step.expected) << step.key;
    }
}

TEST_F(MainWindowTest, TabsCloseByButtonMiddleClickAndContextMenu)
{
    makeApp();
    openCopies({"rfc1.txt", "rfc2.txt", "rfc3.txt", "rfc4.txt"});
    TabStrip* tabs = frame().documentTabBar()->tabs();
    auto* closeButton = qobject_cast<QAbstractButton*>(tabs->tabButton(1, QTabBar::RightSide));
    ASSERT_NE(closeButton, nullptr);
    closeButton->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(tabTexts(frame()), QStringList({"rfc1.txt", "rfc3.txt", "rfc4.txt"}));

    QTest::mouseClick(tabs, Qt::MiddleButton, Qt::NoModifier, tabs->tabRect(2).center());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(tabTexts(frame()), QStringList({"rfc1.txt", "rfc3.txt"}));

    QMenu menu;
    frame().fillTabMenu(menu, 1);
    QStringList texts;
    for (QAction* action : menu.actions())
        texts << action->text();
    ASSERT_EQ(texts, QStringList({"&Close", "Close &Others", "Copy &Path", "Open Containing &Folder"}));
    QList<QUrl> opened;
    frame().urlOpener = [&opened](const QUrl& url) {
        opened << url;
        return true;
    };
    menu.actions()[2]->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QDir::toNativeSeparators(pathOf("rfc3.txt")));
    menu.actions()[3]->trigger();
    EXPECT_EQ(opened, QList<QUrl>({QUrl::fromLocalFile(QDir(folder.path()).absolutePath())}));
    menu.actions()[1]->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(tabTexts(frame()), QStringList({"rfc3.txt"}));
}

TEST_F(MainWindowTest, FilesDroppedOnTheWindowOrTheTabBarOpen)
{
    makeApp();
    const QString first = copyFixture(QStringLiteral("rfc9901.txt"), QStringLiteral("rfc1.txt"));
    const QString second = copyFixture(QStringLiteral("rfc9901.txt"), QStringLiteral("rfc2.txt"));
    struct Drop {
        QWidget* target;
        QList<QUrl> urls;
        bool accepted;
        int windows;
    };
    const Drop drops[] = {
        {&frame(), {QUrl(QStringLiteral("https://example.org/rfc1.txt"))}, false, 0},
        {&frame(), {QUrl::fromLocalFile(first)}, true, 1},
        {frame().documentTabBar()->tabs(),
         {QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)},
         true,
         2},
    };
    for (const Drop& drop : drops) {
        QMimeData data;
        data.setUrls(drop.urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(drop.target, &enter);
        EXPECT_EQ(enter.isAccepted(), drop.accepted) << drop.windows;
        if (enter.isAccepted()) {
            QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(drop.target, &event);
        }
        EXPECT_EQ(frame().documentWindows().size(), size_t(drop.windows));
    }
    EXPECT_EQ(tabsAndActive(frame()), "rfc1.txt rfc2.txt > rfc2.txt");
}

TEST_F(MainWindowTest, ANavigatorWidthDraggedByTheUserHoldsForEveryWindowAndRun)
{
    makeApp();
    openCopies({"rfc1.txt", "rfc2.txt"});
    QApplication::processEvents();
    DocumentWindow* second = frame().documentWindows()[1];
    QMainWindow* inner = second->innerWindow();
    const int before = second->navigatorWidth();
    ASSERT_GT(before, 0);
    // The user drags the Navigator's edge 60 pixels to the right.
    const int extent = inner->style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, inner);
    const QRect bar = second->navigatorBar()->geometry();
    const QPoint edge(bar.right() + 1 + extent / 2, bar.center().y());
    const QPoint to = edge + QPoint(60, 0);
    QTest::mousePress(inner, Qt::LeftButton, Qt::NoModifier, edge);
    QMouseEvent move(QEvent::MouseMove, to, inner->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(inner, &move);
    QApplication::processEvents(); // the edge follows on a timer
    QTest::mouseRelease(inner, Qt::LeftButton, Qt::NoModifier, to);
    QApplication::processEvents();
    const int chosen = second->navigatorWidth();
    EXPECT_NEAR(chosen, before + 60, 2);
    EXPECT_EQ(app->profile().readInt("Navigator", "Width", 0), chosen);
    frame().activateDocumentWindow(frame().documentWindows()[0]);
    QApplication::processEvents();
    EXPECT_EQ(frame().documentWindows()[0]->navigatorWidth(), chosen);

    makeApp();
    openCopies({"rfc3.txt"});
    QApplication::processEvents();
    EXPECT_EQ(frame().documentWindows()[0]->navigatorWidth(), chosen);
}

TEST_F(MainWindowTest, ReferenceItemsShowTheirLabelAndTheStartOfTheirTitle)
{
    makeApp();
    // One reference without a quoted title leaves the others theirs.
    QFile fixture(QStringLiteral(PARCHLY_FIXTURES_DIR "/frame/rfc9901.txt"));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    QFile copy(pathOf("rfc1.txt"));
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    copy.write(fixture.readAll().replace("\"Frames\"", "Frames"));
    copy.close();
    ASSERT_NE(app->openDocumentFile(pathOf("rfc1.txt")), nullptr);
    TreeView* tree = frame().activeDocumentWindow()->navigatorBar()->firstTree();
    QStringList references;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->text(0).startsWith(QLatin1Char('[')))
            references << (*it)->text(0);
    EXPECT_EQ(references, QStringList({"[RFC2119] Key words for use in RFCs...", "[FRAMES]"}));
}

TEST_F(MainWindowTest, TheSessionAndEachDocumentsReadingPositionComeBack)
{
    makeApp();
    openCopies({"rfc1.txt", "rfc2.txt", "rfc3.txt"});
    const std::vector<DocumentWindow*> children = frame().documentWindows();
    const ReadingPosition far{40, 56, 3};
    children[1]->setReadingPosition(far);
    children[2]->setReadingPosition({10, 12, 0});
    const ReadingPosition moved = children[1]->readingPosition();
    EXPECT_EQ(moved.caretLine, 56);
    EXPECT_EQ(moved.caretColumn, 3);
    EXPECT_GT(moved.topLine, 1);

    // A document closed and opened again comes back where it was left.
    closeChild(children[2]);
    ASSERT_NE(app->openDocumentFile(pathOf("rfc3.txt")), nullptr);
    EXPECT_EQ(frame().activeDocumentWindow()->readingPosition().caretLine, 12);

    frame().activateDocumentWindow(frame().documentWindows()[1]);
    frame().close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QFile::remove(pathOf("rfc1.txt")); // gone since: skipped without a word

    makeApp();
    EXPECT_EQ(tabsAndActive(frame()), "rfc2.txt rfc3.txt > rfc2.txt");
    const ReadingPosition restored = frame().activeDocumentWindow()->readingPosition();
    EXPECT_EQ(restored.topLine, moved.topLine);
    EXPECT_EQ(restored.caretLine, 56);
    EXPECT_EQ(restored.caretColumn, 3);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

} // namespace
} // namespace parchly
