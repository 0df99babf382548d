// Find in RFCs and the Cited by tab through the real windows.
#include "frame/app_fixture.h"
#include "frame/cited_by.h"
#include "frame/document_window.h"
#include "frame/find_in_rfcs_dock.h"
#include "platform/tab_strip.h"
#include "support/corpus.h"
#include "support/temp_folder.h"
#include "view/find.h"
#include "view/reading_view.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTreeWidget>

namespace parchly {
namespace {

using FindInRfcsWindows = test::AppFixture;

void doubleClick(QTreeWidget* tree, QTreeWidgetItem* item)
{
    tree->scrollToItem(item);
    const QPoint at = tree->visualItemRect(item).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
}

// Three small RFCs, two with hits of "0-RTT", and the Find in RFCs dock
// opened by its key with "0-RTT" typed.
class FindInRfcsSearch : public test::AppFixture {
protected:
    void SetUp() override
    {
        atStart = AtStart::Shown;
        AppFixture::SetUp();
        for (const auto& [name, text] :
             {std::pair{"rfc7.txt", "Title\n\nEarly data is 0-RTT data.\nAgain 0-RTT and 0-RTTX.\n"},
              std::pair{"rfc12.txt", "Only one 0-RTT here.\n"}, std::pair{"rfc30.txt", "Nothing.\n"}})
            test::writeFile(pathOf(name).toStdString(), text);
        MainWindow& window = *app->mainWindow();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        dock = window.findInRfcsDock();
        ASSERT_TRUE(dock && dock->isVisible());
        QTest::keyClicks(dock->textEdit(), "0-RTT");
    }

    // Runs the search and gives its results once it has finished.
    QTreeWidget* search()
    {
        QSignalSpy finished(dock, &FindInRfcsDock::searchFinished);
        QTest::keyClick(dock->textEdit(), Qt::Key_Return);
        EXPECT_TRUE(finished.wait(10000));
        return dock->results();
    }

    FindInRfcsDock* dock = nullptr;
};

// A single word is a whole word unless the user says otherwise.
TEST_F(FindInRfcsSearch, ASingleWordIsSearchedAsAWholeWord)
{
    EXPECT_TRUE(dock->wholeWordBox()->isChecked());
}

TEST_F(FindInRfcsSearch, HitsStreamInSortedByRfcWithTheirCounts)
{
    QTreeWidget* results = search();
    ASSERT_EQ(results->topLevelItemCount(), 2);
    EXPECT_EQ(results->topLevelItem(0)->text(0), "RFC 7");
    EXPECT_EQ(results->topLevelItem(0)->text(3), "2");
    EXPECT_EQ(results->topLevelItem(1)->text(0), "RFC 12");
    EXPECT_TRUE(dock->statusLabel()->text().startsWith("3 hits in 2 RFCs"))
        << dock->statusLabel()->text().toStdString();
}

// The second hit of RFC 7 opens with the hit selected and every match marked.
TEST_F(FindInRfcsSearch, AHitOpensItsRfcWithTheHitSelectedAndEveryMatchMarked)
{
    QTreeWidget* results = search();
    ASSERT_EQ(results->topLevelItemCount(), 2);
    QTreeWidgetItem* hit = results->topLevelItem(0)->child(1);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->text(1), "Again 0-RTT and 0-RTTX.");
    doubleClick(results, hit);
    DocumentWindow* child = app->mainWindow()->activeDocumentWindow();
    ASSERT_TRUE(child && child->view());
    EXPECT_TRUE(child->path().endsWith("rfc7.txt"));
    const QTextCursor cursor = child->view()->textCursor();
    EXPECT_EQ(cursor.selectedText(), "0-RTT");
    EXPECT_EQ(cursor.block().text(), "Again 0-RTT and 0-RTTX.");
    EXPECT_TRUE(child->view()->finder().bar() && child->view()->finder().bar()->isVisible());
    EXPECT_EQ(child->view()->extraSelections().size(), 2);
}

TEST_F(FindInRfcsWindows, CitedByTabListsCitingRfcsAndOpensTheirReference)
{
    PARCHLY_REQUIRE_CORPUS_FILE(rfc2119, "rfc2119.txt");
    PARCHLY_REQUIRE_CORPUS_FILE(rfc8446, "rfc8446.txt");
    ASSERT_TRUE(QFile::copy(QString::fromStdString(rfc2119.string()), pathOf("rfc2119.txt")));
    ASSERT_TRUE(QFile::copy(QString::fromStdString(rfc8446.string()), pathOf("rfc8446.txt")));
    ParchlyApplication& app = makeApp();
    MainWindow& window = *app.mainWindow();
    window.show();
    ASSERT_TRUE(app.openDocumentFile(pathOf("rfc2119.txt")));
    DocumentWindow* child = window.activeDocumentWindow();
    TabStrip* tabs = child->navigatorBar()->tabs();
    // Contents, Pages, Requirements, then "Cited by" and "Errata".
    ASSERT_EQ(tabs->count(), 5);
    EXPECT_EQ(tabs->tabText(3), "Cited by");
    EXPECT_EQ(tabs->tabText(4), "Errata");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(3).center());
    auto* page = child->navigatorBar()->findChild<CitedByPage*>();
    ASSERT_TRUE(page && page->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(page->list()->topLevelItemCount(), 1, 20000);
    EXPECT_TRUE(page->list()->topLevelItem(0)->text(0).startsWith("RFC 8446  "));
    EXPECT_EQ(window.statusBar()->currentMessage(), "Cited by 1 RFCs");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QString::fromStdString(window.citedBy().cachePath())), 5000);

    doubleClick(page->list(), page->list()->topLevelItem(0));
    DocumentWindow* citing = window.activeDocumentWindow();
    ASSERT_TRUE(citing && citing->view());
    EXPECT_TRUE(citing->path().endsWith("rfc8446.txt"));
    // The top line of the view opens the reference to RFC 2119.
    const QString top = citing->view()->cursorForPosition(QPoint(2, 2)).block().text();
    EXPECT_TRUE(top.trimmed().startsWith("[RFC2119]")) << top.toStdString();
}

} // namespace
} // namespace parchly
