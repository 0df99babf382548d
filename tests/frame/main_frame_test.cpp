#include "frame/main_frame.h"

#include "analysis/rfc_text.h"
#include "app/command_ids.h"
#include "frame/app_fixture.h"
#include "frame/child_frame.h"
#include "frame/document_tab_bar.h"
#include "platform/tab_strip.h"
#include "platform/tree_view.h"
#include "view/parchly_doc.h"
#include "view/parchly_view.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace parchly {
namespace {

QStringList menuTitles(CMainFrame& frame)
{
    QStringList titles;
    for (QAction* action : frame.menuBar()->actions())
        titles << action->text();
    return titles;
}

QStringList tabTexts(CMainFrame& frame)
{
    QStringList texts;
    TabStrip* tabs = frame.documentTabBar()->tabs();
    for (int i = 0; i < tabs->TabCount(); ++i)
        texts << tabs->tabText(i);
    return texts;
}

class MainFrameTest : public test::AppFixture {
protected:
    CMainFrame& frame() { return *app->mainFrame(); }

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
            ASSERT_NE(app->OpenDocumentFile(copyFixture(QStringLiteral("rfc9901.txt"), name)), nullptr);
    }

    void closeChild(CChildFrame* child)
    {
        child->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(MainFrameTest, TabBarFollowsOpeningActivatingAndClosing)
{
    makeApp();
    openCopies({"rfc1.txt", "rfc2.txt", "rfc3.txt"});
    TabStrip* tabs = frame().documentTabBar()->tabs();
    EXPECT_EQ(tabTexts(frame()), QStringList({"rfc1.txt", "rfc2.txt", "rfc3.txt"}));
    EXPECT_EQ(tabs->GetSelectedTab(), 2);

    const std::vector<CChildFrame*> children = frame().childFrames();
    frame().activateChildFrame(children[0]);
    EXPECT_EQ(tabs->GetSelectedTab(), 0);

    // The user picks the third tab: the third document's window comes up.
    tabs->setCurrentIndex(2);
    EXPECT_EQ(frame().activeChildFrame(), children[2]);

    // Opening a file that is already open activates its window.
    ASSERT_EQ(app->OpenDocumentFile(pathOf("rfc2.txt")), children[1]->document());
    EXPECT_EQ(frame().childFrames().size(), 3u);
    EXPECT_EQ(frame().activeChildFrame(), children[1]);
    EXPECT_EQ(tabs->GetSelectedTab(), 1);

    closeChild(children[1]);
    EXPECT_EQ(tabTexts(frame()), QStringList({"rfc1.txt", "rfc3.txt"}));
    tabs->setCurrentIndex(1);
    EXPECT_EQ(frame().activeChildFrame(), children[2]);
}

TEST_F(MainFrameTest, AnOpenedRfcShowsItsFirstLineWithTheCaretThere)
{
    makeApp();
    frame().show();
    openCopies({"rfc1.txt"});
    QApplication::processEvents();
    CParchlyView* view = frame().activeChildFrame()->view();
    ASSERT_GT(view->LineCount(), 20);
    EXPECT_EQ(view->FirstVisibleLine(), 0);
    EXPECT_EQ(view->GetSelection().end, 0);
}

TEST_F(MainFrameTest, MenusSwitchWithTheFirstAndLastDocument)
{
    makeApp();
    EXPECT_EQ(frame().menuResource(), 128);
    EXPECT_EQ(menuTitles(frame()), QStringList({"&File", "&View", "&Tools", "&Help"}));
    openCopies({"rfc1.txt", "rfc2.txt"});
    EXPECT_EQ(frame().menuResource(), 129);
    EXPECT_EQ(menuTitles(frame()), QStringList({"&File", "&Edit", "&View", "&Tools", "&Window", "&Help"}));
    closeChild(frame().childFrames()[0]);
    EXPECT_EQ(frame().menuResource(), 129);
    closeChild(frame().childFrames()[0]);
    EXPECT_EQ(frame().menuResource(), 128);
    EXPECT_TRUE(frame().modePane().isEmpty());
}

TEST_F(MainFrameTest, WindowMenuListsTheWindowsAndActivatesTheChosenOne)
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
    EXPECT_EQ(frame().activeChildFrame(), frame().childFrames()[0]);
    EXPECT_EQ(frame().documentTabBar()->tabs()->GetSelectedTab(), 0);
}

TEST_F(MainFrameTest, ChildCommandsAreDisabledWithoutADocument)
{
    makeApp();
    for (int id : {kCmdStructure, kCmdPage, kCmdHeaders, kCmdFooters, kCmdPageSeparators, kCmdNavigator})
        EXPECT_FALSE(command(id)->isEnabled()) << id;
    EXPECT_TRUE(command(kCmdOpenRfcIndex)->isEnabled());
    EXPECT_TRUE(command(kCmdAbout)->isEnabled());
}

TEST_F(MainFrameTest, ViewCommandsFollowTheDocumentsState)
{
    makeApp();
    openCopies({"rfc9901.txt"});
    CChildFrame* child = frame().activeChildFrame();
    ASSERT_NE(child, nullptr);
    const RfcText& text = child->document()->text();
    ASSERT_EQ(child->navigatorBar()->tabs()->GetSelectedTab(), 0);

    EXPECT_FALSE(command(kCmdStructure)->isEnabled());
    EXPECT_TRUE(command(kCmdPage)->isEnabled());
    EXPECT_EQ(frame().modePane(), QStringLiteral("Structure View"));
    frame().routeCommand(kCmdPage);
    EXPECT_EQ(child->navigatorBar()->tabs()->GetSelectedTab(), 1);
    EXPECT_TRUE(child->navigatorBar()->secondTree()->isVisibleTo(child));
    EXPECT_TRUE(command(kCmdStructure)->isEnabled());
    EXPECT_FALSE(command(kCmdPage)->isEnabled());
    EXPECT_EQ(frame().modePane(), QStringLiteral("Page View"));
    frame().routeCommand(kCmdStructure);
    EXPECT_EQ(child->navigatorBar()->tabs()->GetSelectedTab(), 0);
    EXPECT_TRUE(child->navigatorBar()->firstTree()->isVisibleTo(child));

    EXPECT_TRUE(command(kCmdHeaders)->isEnabled());
    EXPECT_TRUE(command(kCmdHeaders)->isChecked());
    frame().routeCommand(kCmdHeaders);
    EXPECT_TRUE(text.hideHeaders);
    EXPECT_FALSE(command(kCmdHeaders)->isChecked());
    EXPECT_TRUE(command(kCmdFooters)->isChecked());
    frame().routeCommand(kCmdFooters);
    EXPECT_TRUE(text.hideFooters);
    EXPECT_FALSE(command(kCmdFooters)->isChecked());
    frame().routeCommand(kCmdHeaders);
    EXPECT_FALSE(text.hideHeaders);
    EXPECT_TRUE(command(kCmdHeaders)->isChecked());

    EXPECT_FALSE(command(kCmdPageSeparators)->isChecked());
    frame().routeCommand(kCmdPageSeparators);
    EXPECT_TRUE(text.showPageSeparators);
    EXPECT_TRUE(command(kCmdPageSeparators)->isChecked());

    EXPECT_TRUE(command(kCmdNavigator)->isChecked());
    frame().routeCommand(kCmdNavigator);
    EXPECT_FALSE(child->navigatorBar()->isVisibleTo(child->innerWindow()));
    EXPECT_TRUE(command(kCmdNavigator)->isEnabled());
    EXPECT_FALSE(command(kCmdNavigator)->isChecked());
}

TEST_F(MainFrameTest, TheUsersTreeChoiceMovesTheViewAndTheProgramsDoesNot)
{
    makeApp();
    openCopies({"rfc9901.txt"});
    CChildFrame* child = frame().activeChildFrame();
    CParchlyView* view = child->view();
    TreeView* pages = child->navigatorBar()->secondTree();
    frame().routeCommand(kCmdPage);
    // Two form feeds: pages 1 and 2 end at them.
    ASSERT_EQ(pages->topLevelItemCount(), 2);
    const int firstLine = view->FirstVisibleLine();
    const int pageLine = pages->GetItemData(pages->topLevelItem(1));
    ASSERT_NE(pageLine, firstLine);

    // The program following the caret selects an item: the view stays.
    pages->SelectItem(pages->topLevelItem(1));
    EXPECT_EQ(view->FirstVisibleLine(), firstLine);
    pages->SelectItem(pages->topLevelItem(0));

    // The user steps down to page 2 with the keyboard: its first line comes up.
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(pages, &down);
    ASSERT_EQ(pages->currentItem(), pages->topLevelItem(1));
    EXPECT_EQ(view->FirstVisibleLine(), pageLine);
    EXPECT_EQ(view->LineFromPosition(view->GetSelection().end), pageLine);
}

TEST_F(MainFrameTest, HeaderAndFooterTogglesAreDisabledWhenHiddenEverywhere)
{
    makeApp();
    app->settings().DisableHeaderAndFooterInAllFiles = true;
    openCopies({"rfc9901.txt"});
    const RfcText& text = frame().activeChildFrame()->document()->text();
    EXPECT_FALSE(command(kCmdHeaders)->isEnabled());
    EXPECT_FALSE(command(kCmdFooters)->isEnabled());
    // The check marks still tell the document's state.
    EXPECT_EQ(command(kCmdHeaders)->isChecked(), !text.hideHeaders);
    EXPECT_EQ(command(kCmdFooters)->isChecked(), !text.hideFooters);
    EXPECT_FALSE(frame().routeCommand(kCmdHeaders));
    EXPECT_TRUE(command(kCmdPageSeparators)->isEnabled());
}

TEST_F(MainFrameTest, IndexDocumentDisablesTheRfcCommands)
{
    makeApp();
    openCopies({"rfc9901.txt"});
    frame().activeChildFrame()->document()->text().isIndex = true;
    for (int id : {kCmdStructure, kCmdPage, kCmdHeaders, kCmdFooters, kCmdPageSeparators})
        EXPECT_FALSE(command(id)->isEnabled()) << id;
    EXPECT_FALSE(command(kCmdHeaders)->isChecked());
    EXPECT_FALSE(command(kCmdFooters)->isChecked());
    EXPECT_TRUE(command(kCmdNavigator)->isEnabled());
}

TEST_F(MainFrameTest, OpenRfcIndexReportsAMissingFile)
{
    makeApp();
    frame().routeCommand(kCmdOpenRfcIndex);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0], pathOf("rfc-index.txt") + QStringLiteral(" does NOT exist!"));
    EXPECT_TRUE(frame().childFrames().empty());

    app->settings().RfcRootPath.clear();
    if (QFileInfo::exists(QStringLiteral("/rfc-index.txt")))
        GTEST_SKIP() << "/rfc-index.txt exists on this machine";
    frame().routeCommand(kCmdViewIndex);
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages[1], QStringLiteral("/rfc-index.txt does NOT exist!"));
}

TEST_F(MainFrameTest, OpenRfcIndexTwiceActivatesTheOpenIndex)
{
    makeApp();
    copyFixture(QStringLiteral("rfc-index.txt"), QStringLiteral("rfc-index.txt"));
    frame().routeCommand(kCmdOpenRfcIndex);
    ASSERT_EQ(frame().childFrames().size(), 1u);
    CChildFrame* index = frame().childFrames()[0];
    ASSERT_TRUE(index->isIndexDocument());
    EXPECT_TRUE(app->indexDocumentOpen);

    openCopies({"rfc9901.txt"});
    frame().routeCommand(kCmdOpenRfcIndex);
    EXPECT_EQ(frame().childFrames().size(), 2u);
    EXPECT_EQ(frame().activeChildFrame(), index);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    closeChild(index);
    EXPECT_FALSE(app->indexDocumentOpen);
    frame().routeCommand(kCmdOpenRfcIndex);
    EXPECT_EQ(frame().childFrames().size(), 2u);
}

TEST_F(MainFrameTest, BarLayoutIsSavedOnCloseAndTheSwitchesWinAtStart)
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

TEST_F(MainFrameTest, LargeButtonsCarryTheirTexts)
{
    makeApp(false);
    app->settings().LargeToolBarButtonWithText = true;
    ASSERT_TRUE(app->InitInstance());
    QToolBar* standard = frame().toolbar(0);
    auto* index = qobject_cast<QToolButton*>(standard->widgetForAction(frame().commandAction(kCmdOpenRfcIndex)));
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

TEST_F(MainFrameTest, HelpOpensTheManualOnlyWhenThereIsOne)
{
    makeApp();
    QList<QUrl> opened;
    frame().urlOpener = [&opened](const QUrl& url) { opened << url; return true; };
    if (frame().helpFile().isEmpty()) {
        frame().routeCommand(kCmdHelpContents);
        EXPECT_TRUE(opened.isEmpty());
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
}

TEST_F(MainFrameTest, RecentFilesOpenFromTheMenuAndDropWhatIsGone)
{
    makeApp();
    openCopies({"rfc1.txt", "rfc2.txt"});
    QAction* first = command(kCmdRecentFile1);
    EXPECT_TRUE(first->isEnabled());
    EXPECT_FALSE(command(kCmdRecentFile1 + 2)->isEnabled());

    closeChild(frame().childFrames()[1]);
    frame().routeCommand(kCmdRecentFile1);
    EXPECT_EQ(frame().childFrames().size(), 2u);

    QFile::remove(pathOf("rfc1.txt"));
    closeChild(frame().childFrames()[0]);
    frame().routeCommand(kCmdRecentFile1 + 1);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0], QStringLiteral("Cannot open file: %1.").arg(pathOf("rfc1.txt")));
    EXPECT_EQ(app->recentFiles().paths(), std::vector<std::string>({pathOf("rfc2.txt").toStdString()}));
}

} // namespace
} // namespace parchly
