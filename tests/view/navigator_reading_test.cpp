// The Navigator beside a reader: wide enough for its tabs, each Structure
// item with its section's whole number and, when cut, its whole title as a
// tooltip, and a selection that follows the reading position or goes.
#include "frame/navigator_bar.h"
#include "reading_fixture.h"

#include <QMainWindow>
#include <QScrollBar>
#include <QTreeWidgetItemIterator>

namespace parchly {
namespace {

class NavigatorReadingTest : public test::ReadingFixture {
protected:
    NavigatorReadingTest() { atStart = AtStart::ShownAtPageSize; }

    NavigatorBar& navigator() { return *frame().activeDocumentWindow()->navigatorBar(); }
    TreeView& structure() { return *navigator().firstTree(); }

    // The text of the selected Structure item; empty when none is selected.
    QString selectedItem()
    {
        const QList<QTreeWidgetItem*> selected = structure().selectedItems();
        return selected.isEmpty() ? QString() : selected.front()->text(0);
    }

    QTreeWidgetItem* itemStarting(const QString& start)
    {
        structure().expandAll();
        for (QTreeWidgetItemIterator it(&structure()); *it; ++it)
            if ((*it)->text(0).startsWith(start))
                return *it;
        return nullptr;
    }

    ReadingView& openRfc(const QString& fixture = "rfc9991.txt")
    {
        ReadingView* view = open(copyReading(fixture, QFileInfo(fixture).fileName()));
        EXPECT_NE(view, nullptr);
        return *view;
    }
};

TEST_F(NavigatorReadingTest, TheDefaultWidthShowsEveryTabWhole)
{
    openRfc();
    TabStrip* tabs = navigator().tabs();
    ASSERT_GE(tabs->count(), 4) << "Structure, Page, Requirements, Cited by, ...";
    EXPECT_LE(tabs->tabRect(tabs->count() - 1).right(), tabs->width());
}

TEST_F(NavigatorReadingTest, ASubsectionShowsItsWholeNumber)
{
    openRfc("../frame/rfc9901.txt");
    QTreeWidgetItem* terminology = itemStarting("1.1");
    ASSERT_NE(terminology, nullptr);
    EXPECT_EQ(terminology->text(0), QStringLiteral("1.1. Terminology"));
    EXPECT_EQ(structure().itemText(structure().parentItem(terminology)), QStringLiteral("1. Introduction"));
}

TEST_F(NavigatorReadingTest, ATitleTheWidthCutsHasItsWholeTextAsTooltip)
{
    openRfc();
    QTreeWidgetItem* item = itemStarting("2. Protocol");
    ASSERT_NE(item, nullptr);
    const QPoint at = structure().visualItemRect(item).center();
    EXPECT_EQ(structure().cutTextAt(at), QString()) << "shown whole";
    frame().activeDocumentWindow()->setNavigatorWidth(60);
    QApplication::processEvents();
    EXPECT_EQ(structure().cutTextAt(structure().visualItemRect(item).center()),
              QStringLiteral("2. Protocol"));
}

TEST_F(NavigatorReadingTest, BackAtTheFirstLineNoSectionStaysSelected)
{
    ReadingView& view = openRfc();
    view.rfcDocument()->goToContentsEntry(1);
    ASSERT_EQ(selectedItem(), QStringLiteral("2. Protocol"));
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(selectedItem(), QString());
}

TEST_F(NavigatorReadingTest, InTheFrontMatterItsHeadingIsSelected)
{
    ReadingView& view = openRfc();
    view.rfcDocument()->goToContentsEntry(1);
    view.setCaretLineColumn(13, 0); // "   This document describes links"
    EXPECT_EQ(selectedItem(), QStringLiteral("Abstract"));
}

TEST_F(NavigatorReadingTest, ScrolledAwayFromTheCaretItFollowsTheTopOfTheView)
{
    ReadingView& view = openRfc();
    view.rfcDocument()->goToContentsEntry(0);
    ASSERT_EQ(selectedItem(), QStringLiteral("1. Introduction"));
    // The heading "2.  Protocol" (file line 50) at the top; the caret left above.
    view.scrollLines(49 - view.firstVisibleLine());
    QApplication::processEvents();
    ASSERT_EQ(view.firstVisibleLine(), 49);
    EXPECT_EQ(selectedItem(), QStringLiteral("2. Protocol"));
}

TEST_F(NavigatorReadingTest, AFreshlyOpenedRfcSelectsWhatHoldsItsFirstLine)
{
    openRfc();
    EXPECT_EQ(selectedItem(), QString()) << "the title page is no section";
}

// The links fixture says MAY in two sentences.
TEST_F(NavigatorReadingTest, AKeywordsRowStepsThroughItsSentencesRound)
{
    ReadingView* view = openLinks();
    ASSERT_NE(view, nullptr);
    navigator().tabs()->selectTab(kRequirementsTab);
    navigator().showNavigatorTab(kRequirementsTab);
    TreeView* tree = navigator().requirementsTree();
    QTreeWidgetItem* row = nullptr;
    for (int i = 0; i < tree->topLevelItemCount() && !row; ++i)
        if (tree->topLevelItem(i)->text(0).startsWith(QStringLiteral("MAY (")))
            row = tree->topLevelItem(i);
    ASSERT_NE(row, nullptr);
    QStringList reached;
    for (int click = 0; click < 3; ++click) {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                          tree->visualItemRect(row).center());
        QApplication::processEvents();
        reached << view->lineText(caretLine(*view))
                       .mid(view->selectedRange().end - view->lineStart(caretLine(*view)), 12);
    }
    EXPECT_EQ(reached, QStringList({"A server SHO", "It is NOT RE", "A server SHO"}));
    EXPECT_EQ(row->childCount(), 2) << "the row lists its sentences";
    EXPECT_TRUE(row->isExpanded());
}

} // namespace
} // namespace parchly
