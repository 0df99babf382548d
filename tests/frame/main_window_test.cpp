#include "frame/main_window.h"

#include "frame/app_fixture.h"
#include "frame/document_tab_bar.h"
#include "frame/document_window.h"
#include "frame/frame_collections_host.h"
#include "platform/tab_strip.h"
#include "platform/tree_view.h"
#include "settings/command_ids.h"
#include "view/print_setup_dialog.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDropEvent>
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
    MainWindow& frame() { return *app->mainWindow(); }
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

    FrameCollectionsHost host() { return FrameCollectionsHost(frame(), *app); }
    std::pair<int, int> caret()
    {
        int line = -1, column = -1;
        host().activeCaretLineColumn(line, column);
        return {line, column};
    }

    // A closed window goes at the next turn of the event loop.
    static void settle() { QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void closeChild(DocumentWindow* child)
    {
        child->close();
        settle();
    }
};

// The tab bar follows opening, activating and closing; tabs close by their
// button, a middle click, their menu and the keyboard; files dropped on the
// window or the tab bar open, other addresses are refused. The menus switch
// with the first and last document; the Window menu lists the windows, made
// anew each time, and activates the chosen one.
TEST_F(MainWindowTest, TabsMenusAndCommandStatesFollowOpeningActivatingAndClosing)
{
    makeApp();
    frame().show();
    openCopies({"rfc1.txt", "rfc2.txt", "rfc3.txt", "rfc4.txt"});
    EXPECT_EQ(tabsAndActive(), "rfc1.txt rfc2.txt rfc3.txt rfc4.txt > rfc4.txt");
    EXPECT_EQ(texts(frame().menuBar()->actions()),
              QStringList({"&File", "&Edit", "&View", "&Tools", "&Window", "&Help"}));
    const std::vector<DocumentWindow*> children = frame().documentWindows();
    QMenu* windowMenu = frame().menuBar()->actions()[4]->menu();
    emit windowMenu->aboutToShow();
    emit windowMenu->aboutToShow();
    QList<QAction*> entries;
    for (QAction* action : windowMenu->actions())
        if (action->text().startsWith(QLatin1Char('&')) && action->text().contains(QLatin1String("rfc")))
            entries << action;
    ASSERT_EQ(entries.size(), 4);
    EXPECT_EQ(entries[0]->text(), QStringLiteral("&1 rfc1.txt"));
    EXPECT_TRUE(!entries[0]->isChecked() && entries[3]->isChecked());
    entries[0]->trigger();
    EXPECT_EQ(frame().activeDocumentWindow(), children[0]);
    EXPECT_EQ(tabs()->currentIndex(), 0);
    tabs()->setCurrentIndex(2); // the user picks the third tab
    EXPECT_EQ(frame().activeDocumentWindow(), children[2]);
    // Opening a file that is already open activates its window.
    ASSERT_EQ(app->openDocumentFile(pathOf("rfc2.txt")), children[1]->document());
    EXPECT_EQ(tabsAndActive(), "rfc1.txt rfc2.txt rfc3.txt rfc4.txt > rfc2.txt");
    EXPECT_EQ(tabs()->currentIndex(), 1);

    qobject_cast<QAbstractButton*>(tabs()->tabButton(1, QTabBar::RightSide))->click();
    settle();
    EXPECT_EQ(QString::fromStdString(tabsAndActive()).section(" > ", 0, 0), "rfc1.txt rfc3.txt rfc4.txt");
    tabs()->setCurrentIndex(2);
    EXPECT_EQ(frame().activeDocumentWindow(), children[3]);
    QTest::mouseClick(tabs(), Qt::MiddleButton, Qt::NoModifier, tabs()->tabRect(0).center());
    settle();
    EXPECT_EQ(tabsAndActive(), "rfc3.txt rfc4.txt > rfc4.txt");

    QMenu menu;
    frame().fillTabMenu(menu, 0);
    ASSERT_EQ(texts(menu.actions()),
              QStringList({"&Close", "Close &Others", "Copy &Path", "Open Containing &Folder"}));
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
    settle();
    EXPECT_EQ(tabsAndActive(), "rfc3.txt > rfc3.txt");

    const struct {
        QWidget* target;
        QList<QUrl> urls;
        const char* shown; // empty: refused
    } drops[] = {
        {&frame(), {QUrl(QStringLiteral("https://example.org/rfc1.txt"))}, ""},
        {&frame(), {QUrl::fromLocalFile(pathOf("rfc1.txt"))}, "rfc3.txt rfc1.txt > rfc1.txt"},
        {tabs(),
         {QUrl::fromLocalFile(pathOf("rfc3.txt")), QUrl::fromLocalFile(pathOf("rfc2.txt"))},
         "rfc3.txt rfc1.txt rfc2.txt > rfc2.txt"},
    };
    for (const auto& drop : drops) {
        QMimeData data;
        data.setUrls(drop.urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(drop.target, &enter);
        EXPECT_EQ(enter.isAccepted(), *drop.shown != 0) << drop.shown;
        if (enter.isAccepted()) {
            QDropEvent event(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(drop.target, &event);
            EXPECT_EQ(tabsAndActive(), drop.shown);
        }
    }

    // Ctrl+PageDown and Ctrl+PageUp step round in tab order; closing goes
    // on with the tab beside the closed one.
    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_PageDown, "rfc3.txt rfc1.txt rfc2.txt > rfc3.txt"},
        {Qt::Key_PageDown, "rfc3.txt rfc1.txt rfc2.txt > rfc1.txt"},
        {Qt::Key_PageUp, "rfc3.txt rfc1.txt rfc2.txt > rfc3.txt"},
        {Qt::Key_PageUp, "rfc3.txt rfc1.txt rfc2.txt > rfc2.txt"},
        {Qt::Key_W, "rfc3.txt rfc1.txt > rfc1.txt"},
        {Qt::Key_F4, "rfc3.txt > rfc3.txt"},
        {Qt::Key_W, " > "},
    };
    for (const auto& [key, shown] : keys) {
        QTest::keyClick(frame().activeDocumentWindow()->view()->viewport(), key, Qt::ControlModifier);
        settle();
        EXPECT_EQ(tabsAndActive(), shown) << key;
        EXPECT_EQ(frame().menuSet(), *shown == ' ' ? MenuSet::NoDocument : MenuSet::Document) << key;
    }
    EXPECT_TRUE(frame().modePane().isEmpty());

    // The view commands as the menus show them after each step: Structure,
    // Page, Headers, Footers, Page Separators, Navigator, Open RFC Index; "+"
    // enabled, "-" disabled, "v" checked. The Navigator shows the tree of its
    // tab, and the user's choice in it moves the view.
    const auto route = [this](int id) { return [this, id] { frame().routeCommand(id); }; };
    const struct {
        const char* step;
        std::function<void()> act;
        const char* states;
        const char* modePane;
    } steps[] = {
        {"no document", [] {}, "- - - - - - +", ""},
        {"an RFC", [this] { openCopies({"rfc1.txt"}); }, "- + +v +v + +v +", "Structure View"},
        // The user steps down to page 2 of the Page tree: its first line
        // comes up (the copies of the fixture have two pages).
        {"Page",
         [this] {
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
         },
         "+ - +v +v + +v +", "Page View"},
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
        // The Structure and Page states above tell the tab; its tree shows.
        if (DocumentWindow* child = frame().activeDocumentWindow()) {
            NavigatorBar* bar = child->navigatorBar();
            TreeView* tree = bar->tabs()->currentIndex() == 1 ? bar->secondTree() : bar->firstTree();
            EXPECT_TRUE(!bar->isVisibleTo(child->innerWindow()) || tree->isVisibleTo(child)) << step.step;
        }
    }
    const DocumentWindow* first = frame().documentWindows()[0];
    EXPECT_FALSE(first->navigatorBar()->isVisibleTo(first->innerWindow()));
    const ViewState& shown = first->document()->viewState();
    EXPECT_TRUE(!shown.cuts.headers && shown.cuts.footers && shown.pageSeparators);
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
    EXPECT_EQ(tabsAndActive(), "rfc2.txt > rfc2.txt");
    QFile::remove(pathOf("rfc5.txt"));
    frame().routeCommand(kCmdRecentFile1 + 1);
    EXPECT_EQ(dialogs.messages,
              QStringList({QStringLiteral("Cannot open file: %1.").arg(pathOf("rfc5.txt"))}));
    expected.erase(expected.begin() + 1);
    EXPECT_EQ(app->recentFiles().paths(), expected);
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
    settle();
    EXPECT_EQ(app->profile().readInt("Toolbar", "EditVisible", -1), 0);
    EXPECT_EQ(app->profile().readInt("Toolbar", "ViewVisible", -1), 1);
    EXPECT_FALSE(app->profile().readString("Toolbar", "State", "").empty());
    QFile::remove(pathOf("rfc1.txt"));

    makeApp();
    QApplication::processEvents();
    EXPECT_EQ(tabsAndActive(), "rfc2.txt rfc3.txt > rfc2.txt");
    const ReadingPosition restored = frame().activeDocumentWindow()->readingPosition();
    EXPECT_EQ(std::tuple(restored.topLine, restored.caretLine, restored.caretColumn),
              std::tuple(moved.topLine, 56, 3));
    EXPECT_EQ(frame().activeDocumentWindow()->navigatorWidth(), chosen);
    EXPECT_FALSE(frame().toolbar(1)->isVisibleTo(&frame()));
    EXPECT_TRUE(frame().toolbar(2)->isVisibleTo(&frame()));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // The switches are applied after the stored layout, which has the Edit
    // toolbar hidden and the View toolbar shown. Large buttons carry their
    // short texts.
    app->profile().writeInt("Toolbar", "EditVisible", 1);
    app->profile().writeInt("Toolbar", "ViewVisible", 0);
    app->profile().writeInt("settings", "LargeToolBarButtonWithText", 1);
    makeApp();
    EXPECT_TRUE(frame().toolbar(1)->isVisibleTo(&frame()));
    EXPECT_FALSE(frame().toolbar(2)->isVisibleTo(&frame()));
    const QWidget* button = frame().toolbar(0)->widgetForAction(frame().commandAction(kCmdOpenRfcIndex));
    ASSERT_TRUE(qobject_cast<const QToolButton*>(button));
    EXPECT_EQ(static_cast<const QToolButton*>(button)->text(), QStringLiteral("Index"));
    EXPECT_EQ(button->size(), QSize(50, 40));
}

// The open documents in opening order; bookmarks store the file's lines,
// whatever the view hides, and put the caret on a shown line only. The
// focus is back in the text when a modal dialog closes. The index and the
// help commands report missing files or open them.
TEST_F(MainWindowTest, OpenDocumentsCaretFocusAfterDialogsAndTheIndexAndHelpCommands)
{
    makeApp();
    EXPECT_FALSE(host().hasDocumentTabs());
    EXPECT_TRUE(host().activeDocumentPath().isEmpty());
    EXPECT_EQ(caret(), std::make_pair(0, 0));

    const QString second = copyRfc(QStringLiteral("rfc2.txt"));
    const QString first = copyRfc(QStringLiteral("rfc1.txt"));
    ASSERT_TRUE(host().openDocument(second));
    ASSERT_TRUE(host().openDocument(first));
    EXPECT_FALSE(host().openDocument(pathOf("rfc404.txt")));
    EXPECT_TRUE(host().hasDocumentTabs());
    EXPECT_EQ(host().openDocumentPaths(), QStringList({second, first}));
    EXPECT_EQ(host().activeDocumentPath(), first);

    // On a blank line any column is the line's start; a line past the end
    // leaves the caret where it was.
    ReadingView* view = frame().activeDocumentWindow()->view();
    ASSERT_EQ(view->lineText(12), QStringLiteral("\n"));
    for (int line : {12, view->lineCount() + 10}) {
        host().setActiveCaretLineColumn(line, 4);
        EXPECT_EQ(caret(), std::make_pair(12, 0)) << line;
    }

    // Page 2, its header hidden: file line 60 is shown higher up.
    frame().routeCommand(kCmdHeaders);
    host().setActiveCaretLineColumn(60, 7);
    EXPECT_EQ(caret(), std::make_pair(60, 7));
    const int shown = view->lineFromPosition(view->selectedRange().end);
    EXPECT_TRUE(view->lineText(shown).startsWith(QStringLiteral("   The key words"))) << shown;

    frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    DocumentWindow* child = frame().activeDocumentWindow();
    // A dialog takes the focus while it is open; the tree stands in for it.
    QWidget* elsewhere = child->navigatorBar()->firstTree();
    const std::pair<int, int> steps[] = {
        {kCmdOptions, QDialog::Rejected},      {kCmdBookmarks, QDialog::Rejected},
        {kCmdFavoriteRfcs, QDialog::Rejected}, {kCmdAbout, QDialog::Accepted},
        {kCmdPrintSetup, QDialog::Rejected},   {kCmdPrintSetup, QDialog::Accepted},
    };
    for (const auto& [command, answer] : steps) {
        dialogs.dialogScripts.push_back([elsewhere, answer = answer](QDialog& dialog) {
            // Print Setup keeps the screen colours when accepted, and offers
            // the system's page setup.
            auto* setup = dynamic_cast<PrintSetupDialog*>(&dialog);
            if (setup && answer == QDialog::Accepted) {
                EXPECT_FALSE(setup->screenColoursBox()->isChecked());
                setup->screenColoursBox()->setChecked(true);
                setup->pageButton()->click();
            }
            elsewhere->setFocus();
            dialog.done(answer);
            return answer;
        });
        ASSERT_TRUE(frame().routeCommand(command)) << command;
        EXPECT_TRUE(dialogs.dialogScripts.empty()) << command << " ran through the dialogs";
        EXPECT_EQ(QApplication::focusWidget(), child->view()) << command;
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

    // Open RFC Index reports a missing file, opens the index once and then
    // activates its window; Help opens the manual, when there is one.
    dialogs.messages.clear(); // the missing rfc404.txt's
    frame().routeCommand(kCmdOpenRfcIndex);
    EXPECT_EQ(dialogs.messages, QStringList({pathOf("rfc-index.txt") + QStringLiteral(" does NOT exist!")}));
    if (!QFileInfo::exists(QStringLiteral("/rfc-index.txt"))) {
        const std::string root = app->settings().RfcRootPath;
        app->settings().RfcRootPath.clear();
        frame().routeCommand(kCmdViewIndex);
        EXPECT_EQ(dialogs.messages.value(1), QStringLiteral("/rfc-index.txt does NOT exist!"));
        app->settings().RfcRootPath = root;
    }
    EXPECT_EQ(frame().documentWindows().size(), 2u);
    dialogs.messages.clear();

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

    // Help opens the manual only when there is one, and without a browser
    // each of the three help commands says what it could not show.
    QList<QUrl> opened;
    bool browser = true;
    frame().urlOpener = [&](const QUrl& url) {
        opened << url;
        return browser;
    };
    if (frame().helpFile().isEmpty()) {
        frame().routeCommand(kCmdHelpContents);
        EXPECT_TRUE(opened.isEmpty());
        EXPECT_TRUE(dialogs.messages.value(0).endsWith(QStringLiteral("/manual/index.html was not found.")));
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
    QUrl indexPage = QUrl::fromLocalFile(pathOf("manual/index.html"));
    indexPage.setFragment(QStringLiteral("index"));
    const QUrl manualPage = QUrl::fromLocalFile(pathOf("manual/index.html")),
               home(app->settings().HomepageUrl.c_str());
    EXPECT_EQ(opened, QList<QUrl>({manualPage, indexPage, home, manualPage, indexPage, home}));
    const QString noBrowser = QStringLiteral("No web browser could be started to show %1.");
    EXPECT_EQ(dialogs.messages,
              QStringList({noBrowser.arg(manual), noBrowser.arg(manual), noBrowser.arg(home.toString())}));
}

} // namespace
} // namespace parchly
