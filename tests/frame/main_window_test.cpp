#include "frame/main_window.h"

#include "analysis/rfc_text.h"
#include "settings/command_ids.h"
#include "frame/app_fixture.h"
#include "frame/document_window.h"
#include "frame/document_tab_bar.h"
#include "platform/tab_strip.h"
#include "platform/tree_view.h"
#include "settings/profile.h"
#include "view/print_setup_dialog.h"
#include "view/rfc_document.h"
#include "view/reading_view.h"
#include "support/temp_folder.h"

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
#include <QCheckBox>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <functional>

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

    void closeChild(DocumentWindow* child)
    {
        child->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(MainWindowTest, TabBarFollowsOpeningActivatingAndClosing)
{
    makeApp();
    frame().show();
    openCopies({"rfc1.txt", "rfc2.txt", "rfc3.txt"});
    TabStrip* tabs = frame().documentTabBar()->tabs();
    EXPECT_EQ(tabTexts(frame()), QStringList({"rfc1.txt", "rfc2.txt", "rfc3.txt"}));
    EXPECT_EQ(tabs->currentIndex(), 2);
    // An opened RFC shows its first line with the caret there.
    QApplication::processEvents();
    ReadingView* view = frame().activeDocumentWindow()->view();
    ASSERT_GT(view->lineCount(), 20);
    EXPECT_EQ(view->firstVisibleLine(), 0);
    EXPECT_EQ(view->selectedRange().end, 0);

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

// The menus switch with the first and last document; the Window menu lists
// the windows, made anew each time, and activates the chosen one.
TEST_F(MainWindowTest, MenusSwitchWithTheDocumentsAndTheWindowMenuListsThem)
{
    makeApp();
    EXPECT_EQ(frame().menuSet(), MenuSet::NoDocument);
    EXPECT_EQ(menuTitles(frame()), QStringList({"&File", "&View", "&Tools", "&Help"}));
    openCopies({"rfc1.txt", "rfc2.txt"});
    EXPECT_EQ(frame().menuSet(), MenuSet::Document);
    EXPECT_EQ(menuTitles(frame()), QStringList({"&File", "&Edit", "&View", "&Tools", "&Window", "&Help"}));

    QMenu* windowMenu = frame().menuBar()->actions()[4]->menu();
    emit windowMenu->aboutToShow();
    emit windowMenu->aboutToShow();
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

    closeChild(frame().documentWindows()[0]);
    EXPECT_EQ(frame().menuSet(), MenuSet::Document);
    closeChild(frame().documentWindows()[0]);
    EXPECT_EQ(frame().menuSet(), MenuSet::NoDocument);
    EXPECT_TRUE(frame().modePane().isEmpty());
}

// The view commands as the menus show them after each step: Structure,
// Page, Headers, Footers, Page Separators, Navigator, Open RFC Index; "+"
// enabled, "-" disabled, "v" checked. The Navigator shows the tree of its tab.
TEST_F(MainWindowTest, CommandStatesFollowTheActiveDocument)
{
    makeApp();
    const auto route = [this](int id) { return [this, id] { frame().routeCommand(id); }; };
    const struct {
        const char* step;
        std::function<void()> act;
        const char* states;
        const char* modePane;
    } steps[] = {
        {"no document", [] {}, "- - - - - - +", ""},
        {"an RFC", [this] { openCopies({"rfc1.txt"}); }, "- + +v +v + +v +", "Structure View"},
        {"Page", route(kCmdPage), "+ - +v +v + +v +", "Page View"},
        {"Structure", route(kCmdStructure), "- + +v +v + +v +", "Structure View"},
        {"Headers", route(kCmdHeaders), "- + + +v + +v +", "Structure View"},
        {"Footers", route(kCmdFooters), "- + + + + +v +", "Structure View"},
        {"Headers again", route(kCmdHeaders), "- + +v + + +v +", "Structure View"},
        {"Page Separators", route(kCmdPageSeparators), "- + +v + +v +v +", "Structure View"},
        {"Navigator", route(kCmdNavigator), "- + +v + +v + +", "Structure View"},
        // Hidden in all files: the toggles are off, their marks still tell.
        {"hidden everywhere",
         [this] {
             app->settings().DisableHeaderAndFooterInAllFiles = true;
             openCopies({"rfc2.txt"});
             const LineCuts& cuts = frame().activeDocumentWindow()->document()->cuts();
             EXPECT_TRUE(cuts.headers && cuts.footers);
             EXPECT_FALSE(frame().routeCommand(kCmdHeaders));
         },
         "- + - - + +v +", "Structure View"},
        {"the index", [this] { frame().activeDocumentWindow()->document()->text().isIndex = true; },
         "- - - - - +v +", "Structure View"},
    };
    for (const auto& step : steps) {
        step.act();
        std::string states;
        for (int id : {kCmdStructure, kCmdPage, kCmdHeaders, kCmdFooters, kCmdPageSeparators, kCmdNavigator,
                       kCmdOpenRfcIndex}) {
            QAction* action = command(id);
            states += std::string(states.empty() ? "" : " ") + (action->isEnabled() ? "+" : "-")
                + (action->isCheckable() && action->isChecked() ? "v" : "");
        }
        EXPECT_EQ(states, step.states) << step.step;
        EXPECT_EQ(frame().modePane(), step.modePane) << step.step;
        if (DocumentWindow* child = frame().activeDocumentWindow()) {
            NavigatorBar* bar = child->navigatorBar();
            const bool pageTab = std::string(step.step) == "Page";
            EXPECT_EQ(bar->tabs()->currentIndex(), pageTab ? 1 : 0) << step.step;
            EXPECT_TRUE(!bar->isVisibleTo(child->innerWindow())
                        || (pageTab ? bar->secondTree() : bar->firstTree())->isVisibleTo(child))
                << step.step;
        }
    }
    const DocumentWindow* first = frame().documentWindows()[0];
    EXPECT_FALSE(first->navigatorBar()->isVisibleTo(first->innerWindow()));
    const ViewState& shown = first->document()->viewState();
    EXPECT_TRUE(!shown.cuts.headers && shown.cuts.footers && shown.pageSeparators);
}

// The Navigator is wired to its window's view (the bar's own routing and the
// view's moves have tests of their own).
TEST_F(MainWindowTest, TheUsersTreeChoiceMovesTheView)
{
    makeApp();
    openCopies({"rfc9901.txt"});
    DocumentWindow* child = frame().activeDocumentWindow();
    ReadingView* view = child->view();
    TreeView* pages = child->navigatorBar()->secondTree();
    frame().routeCommand(kCmdPage);
    // Two form feeds: pages 1 and 2 end at them.
    ASSERT_EQ(pages->topLevelItemCount(), 2);
    const int pageLine = pages->itemData(pages->topLevelItem(1));
    ASSERT_NE(pageLine, view->firstVisibleLine());
    pages->selectItem(pages->topLevelItem(0));
    // The user steps down to page 2 with the keyboard: its first line comes up.
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(pages, &down);
    ASSERT_EQ(pages->currentItem(), pages->topLevelItem(1));
    EXPECT_EQ(view->firstVisibleLine(), pageLine);
    EXPECT_EQ(view->lineFromPosition(view->selectedRange().end), pageLine);
}

// Open RFC Index reports a missing file, opens the index once and then
// activates its window.
TEST_F(MainWindowTest, OpenRfcIndexReportsAMissingFileAndActivatesAnOpenIndex)
{
    makeApp();
    frame().routeCommand(kCmdOpenRfcIndex);
    EXPECT_EQ(dialogs.messages, QStringList({pathOf("rfc-index.txt") + QStringLiteral(" does NOT exist!")}));
    if (!QFileInfo::exists(QStringLiteral("/rfc-index.txt"))) {
        const std::string root = app->settings().RfcRootPath;
        app->settings().RfcRootPath.clear();
        frame().routeCommand(kCmdViewIndex);
        EXPECT_EQ(dialogs.messages.value(1), QStringLiteral("/rfc-index.txt does NOT exist!"));
        app->settings().RfcRootPath = root;
    }
    EXPECT_TRUE(frame().documentWindows().empty());
    dialogs.messages.clear();

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

    closeChild(index);
    EXPECT_FALSE(app->mainWindow()->indexDocumentOpen());
    frame().routeCommand(kCmdOpenRfcIndex);
    EXPECT_EQ(frame().documentWindows().size(), 2u);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(MainWindowTest, LargeButtonsCarryTheirTexts)
{
    makeApp(false);
    app->settings().LargeToolBarButtonWithText = true;
    ASSERT_TRUE(app->start());
    const auto button = [this](int bar, int id) {
        return qobject_cast<QToolButton*>(frame().toolbar(bar)->widgetForAction(frame().commandAction(id)));
    };
    ASSERT_TRUE(button(0, kCmdOpenRfcIndex) && button(2, kCmdPageSeparators));
    EXPECT_EQ(button(0, kCmdOpenRfcIndex)->text(), QStringLiteral("Index"));
    EXPECT_EQ(button(0, kCmdOpenRfcIndex)->size(), QSize(50, 40));
    EXPECT_EQ(button(2, kCmdPageSeparators)->text(), QStringLiteral("P Separ"));
    // The menu keeps its own text.
    EXPECT_EQ(frame().commandAction(kCmdOpenRfcIndex)->text(), QStringLiteral("Open RFC &Index\tCtrl+I"));
}

// Help opens the manual only when there is one, and without a browser each
// of the three help commands says what it could not show.
TEST_F(MainWindowTest, HelpOpensTheManualOnlyWhenThereIsOne)
{
    makeApp();
    QList<QUrl> opened;
    bool browser = true;
    frame().urlOpener = [&](const QUrl& url) {
        opened << url;
        return browser;
    };
    if (frame().helpFile().isEmpty()) {
        frame().routeCommand(kCmdHelpContents);
        EXPECT_TRUE(opened.isEmpty());
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_TRUE(dialogs.messages[0].endsWith(QStringLiteral("/manual/index.html was not found.")));
        dialogs.messages.clear();
    }
    QDir().mkpath(pathOf("manual"));
    QFile(pathOf("manual/index.html")).open(QIODevice::WriteOnly);
    app->settings().HomepageUrl = "https://example.org/parchly";
    const QString manual = QDir::toNativeSeparators(pathOf("manual/index.html"));
    for (bool withBrowser : {true, false}) {
        browser = withBrowser;
        for (int command : {kCmdHelpContents, kCmdHelpIndex, kCmdHomepage})
            frame().routeCommand(command);
    }
    ASSERT_EQ(opened.size(), 6);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(pathOf("manual/index.html")));
    EXPECT_EQ(opened[1].fragment(), QStringLiteral("index"));
    EXPECT_EQ(opened[2], QUrl(QStringLiteral("https://example.org/parchly")));
    const QString noBrowser = QStringLiteral("No web browser could be started to show %1.");
    ASSERT_EQ(dialogs.messages.size(), 3);
    EXPECT_EQ(dialogs.messages[0], noBrowser.arg(manual));
    EXPECT_TRUE(dialogs.messages[1].endsWith(QStringLiteral("index.html.")));
    EXPECT_EQ(dialogs.messages[2], noBrowser.arg(QStringLiteral("https://example.org/parchly")));
}

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
    EXPECT_EQ(tabTexts(frame()), QStringList({"rfc2.txt"}));
    QFile::remove(pathOf("rfc5.txt"));
    frame().routeCommand(kCmdRecentFile1 + 1);
    EXPECT_EQ(dialogs.messages,
              QStringList({QStringLiteral("Cannot open file: %1.").arg(pathOf("rfc5.txt"))}));
    expected.erase(expected.begin() + 1);
    EXPECT_EQ(app->recentFiles().paths(), expected);
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

TEST_F(MainWindowTest, TheFocusIsBackInTheTextWhenAModalDialogCloses)
{
    makeApp();
    openCopies({"rfc1.txt"});
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    DocumentWindow* child = frame().activeDocumentWindow();
    // A dialog takes the focus while it is open; the tree stands in for it.
    QWidget* elsewhere = child->navigatorBar()->firstTree();
    const auto takeFocus = [elsewhere](int answer) {
        return [elsewhere, answer](QDialog& dialog) {
            elsewhere->setFocus();
            dialog.done(answer);
            return answer;
        };
    };
    const struct {
        int command;
        std::function<int(QDialog&)> script;
    } steps[] = {
        {kCmdOptions, takeFocus(QDialog::Rejected)},
        {kCmdBookmarks, takeFocus(QDialog::Rejected)},
        {kCmdFavoriteRfcs, takeFocus(QDialog::Rejected)},
        {kCmdAbout, takeFocus(QDialog::Accepted)},
        {kCmdPrintSetup, takeFocus(QDialog::Rejected)},
        // Print Setup keeps the screen colours when accepted, and offers the
        // system's page setup.
        {kCmdPrintSetup,
         [&](QDialog& dialog) {
             auto& setup = static_cast<PrintSetupDialog&>(dialog);
             EXPECT_FALSE(setup.screenColoursBox()->isChecked());
             setup.screenColoursBox()->setChecked(true);
             setup.pageButton()->click();
             return takeFocus(QDialog::Accepted)(dialog);
         }},
    };
    for (const auto& step : steps) {
        dialogs.dialogScripts.push_back(step.script);
        ASSERT_TRUE(frame().routeCommand(step.command)) << step.command;
        EXPECT_TRUE(dialogs.dialogScripts.empty()) << step.command << " ran through the dialogs";
        EXPECT_EQ(QApplication::focusWidget(), child->view()) << step.command;
    }
    // The system's print dialogs, cancelled or closed.
    for (int command : {kCmdPrint, kCmdPrintPreview}) {
        elsewhere->setFocus();
        ASSERT_TRUE(frame().routeCommand(command)) << command;
        EXPECT_EQ(QApplication::focusWidget(), child->view()) << command;
    }
    EXPECT_EQ(dialogs.printDialogs + dialogs.previews, 2);
    EXPECT_EQ(dialogs.pageSetups, 1);
    EXPECT_TRUE(app->settings().PrintScreenColours);
    EXPECT_EQ(Profile(pathOf("Parchly.ini").toStdString()).readInt("Print", "ScreenColours", 0), 1);
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
    const QString first = copyRfc(QStringLiteral("rfc1.txt"));
    const QString second = copyRfc(QStringLiteral("rfc2.txt"));
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

TEST_F(MainWindowTest, ReferenceItemsShowTheirLabelAndTheStartOfTheirTitle)
{
    makeApp();
    // One reference without a quoted title leaves the others theirs.
    const std::string path = copyRfc(QStringLiteral("rfc1.txt")).toStdString();
    std::string text = test::readFile(path);
    test::writeFile(path, text.replace(text.find("\"Frames\""), 8, "Frames"));
    ASSERT_NE(app->openDocumentFile(QString::fromStdString(path)), nullptr);
    TreeView* tree = frame().activeDocumentWindow()->navigatorBar()->firstTree();
    QStringList references;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->text(0).startsWith(QLatin1Char('[')))
            references << (*it)->text(0);
    EXPECT_EQ(references, QStringList({"[RFC2119] Key words for use in RFCs...", "[FRAMES]"}));
}

// What a run leaves for the next: the open documents and the active one
// (those gone since skipped without a word), each document's reading
// position (also when it is opened again), the Navigator width the user
// dragged, and the toolbars, whose switches win over the stored layout.
TEST_F(MainWindowTest, TheSessionPositionsNavigatorWidthAndBarsComeBack)
{
    makeApp();
    openCopies({"rfc1.txt", "rfc2.txt", "rfc3.txt"});
    QApplication::processEvents();
    const std::vector<DocumentWindow*> children = frame().documentWindows();
    children[1]->setReadingPosition({40, 56, 3});
    children[2]->setReadingPosition({10, 12, 0});
    const ReadingPosition moved = children[1]->readingPosition();
    EXPECT_EQ(moved.caretLine, 56);
    EXPECT_EQ(moved.caretColumn, 3);
    EXPECT_GT(moved.topLine, 1);
    closeChild(children[2]);
    ASSERT_NE(app->openDocumentFile(pathOf("rfc3.txt")), nullptr);
    EXPECT_EQ(frame().activeDocumentWindow()->readingPosition().caretLine, 12);

    // The user drags the second Navigator's edge 60 pixels to the right.
    DocumentWindow* second = children[1];
    frame().activateDocumentWindow(second);
    QApplication::processEvents();
    QMainWindow* inner = second->innerWindow();
    const int before = second->navigatorWidth();
    ASSERT_GT(before, 0);
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

    frame().routeCommand(kCmdEditToolbar);
    EXPECT_FALSE(command(kCmdEditToolbar)->isChecked());
    EXPECT_TRUE(command(kCmdViewToolbar)->isChecked());
    frame().activateDocumentWindow(second);
    frame().close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app->profile().readInt("Toolbar", "EditVisible", -1), 0);
    EXPECT_EQ(app->profile().readInt("Toolbar", "ViewVisible", -1), 1);
    EXPECT_FALSE(app->profile().readString("Toolbar", "State", "").empty());
    QFile::remove(pathOf("rfc1.txt"));

    makeApp();
    QApplication::processEvents();
    EXPECT_EQ(tabsAndActive(frame()), "rfc2.txt rfc3.txt > rfc2.txt");
    const ReadingPosition restored = frame().activeDocumentWindow()->readingPosition();
    EXPECT_EQ(restored.topLine, moved.topLine);
    EXPECT_EQ(restored.caretLine, 56);
    EXPECT_EQ(restored.caretColumn, 3);
    EXPECT_EQ(frame().activeDocumentWindow()->navigatorWidth(), chosen);
    EXPECT_FALSE(frame().toolbar(1)->isVisibleTo(&frame()));
    EXPECT_TRUE(frame().toolbar(2)->isVisibleTo(&frame()));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // The switches are applied after the stored layout, which has the Edit
    // toolbar hidden and the View toolbar shown.
    app->profile().writeInt("Toolbar", "EditVisible", 1);
    app->profile().writeInt("Toolbar", "ViewVisible", 0);
    makeApp();
    EXPECT_TRUE(frame().toolbar(1)->isVisibleTo(&frame()));
    EXPECT_FALSE(frame().toolbar(2)->isVisibleTo(&frame()));
}

} // namespace
} // namespace parchly
