#include "frame/navigator_bar.h"

#include "analysis/rfc_text.h"
#include "platform/tab_strip.h"
#include "platform/tree_view.h"
#include "settings/settings.h"
#include "view/rfc_document.h"

#include <QApplication>
#include <QMainWindow>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <string>

namespace parchly {
namespace {

using Calls = std::vector<std::string>;

// Moves the tree's selection onto `item` the way a user does, with a key.
void chooseByKeyboard(TreeView* tree, QTreeWidgetItem* item)
{
    tree->expandAll();
    QTreeWidgetItem* above = tree->itemAbove(item);
    tree->setCurrentItem(above ? above : tree->itemBelow(item));
    QTest::keyClick(tree, above ? Qt::Key_Down : Qt::Key_Up);
    ASSERT_EQ(tree->currentItem(), item);
}

class NavigatorBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bar = new NavigatorBar(&frame, document, settings);
        // What the Navigator asks of its document and its window, in order:
        // a move as the shown line's number, a mode, an RFC to open.
        QObject::connect(&document, &RfcDocument::moveRequested, [this](const DocumentPlace& place) {
            calls.push_back("line " + std::to_string(place.line.number()));
        });
        QObject::connect(bar, &NavigatorBar::modeChanged,
                         [this](const QString& mode) { calls.push_back("mode " + mode.toStdString()); });
        QObject::connect(bar, &NavigatorBar::rfcChosen,
                         [this](int number) { calls.push_back("open " + std::to_string(number)); });
        frame.addDockWidget(Qt::LeftDockWidgetArea, bar);
        frame.resize(500, 400);
        frame.show();
    }

    RfcText& text() { return document.text(); }

    // The document and the settings outlive the frame that holds the bar.
    RfcDocument document{QStringLiteral("rfc9999.txt")};
    RfcSettings settings{"./"};
    QMainWindow frame;
    NavigatorBar* bar = nullptr;
    Calls calls;
};

// ---- An RFC's trees ----

// Structure tree of an RFC: Abstract, then the contents with a section, a
// subsection, the references section, one reference and one without a
// target; the Page tree of three pages.
class RfcTreesTest : public NavigatorBarTest {
protected:
    void SetUp() override
    {
        NavigatorBarTest::SetUp();
        // Nothing is cut: each target's shown line is its file line.
        text().headings.resize(1);
        text().headings[0].line = 3;
        text().contents.resize(5);
        text().contents[1].headingLine = 21;
        text().contents[4].headingLine = 44;
        text().references.resize(2);
        text().references[1].firstLine = 87; // counted from 0
        for (ReferenceEntry& reference : text().references)
            reference.section = 4;
        TreeView* tree = bar->firstTree();
        abstract = add(tree, nullptr, "Abstract", 0);
        contents = add(tree, nullptr, "Table of Contents", -1);
        introduction = add(tree, contents, "1. Introduction", 0);
        terminology = add(tree, introduction, "1. Terminology", 1);
        references = add(tree, contents, "3. References", 4);
        reference = add(tree, references, "[RFC2119]", 1);
        noTarget = add(tree, references, "[GONE]", -1);
        for (int page = 0; page < 3; ++page)
            pages[page] = add(bar->secondTree(), nullptr, QStringLiteral("Page %1").arg(page + 1), page * 50);
        bar->tabs()->insertDataTab(0, QStringLiteral("Structure"));
        bar->tabs()->insertDataTab(1, QStringLiteral("Page"));
    }

    static QTreeWidgetItem* add(TreeView* tree, QTreeWidgetItem* parent, const QString& label, int data)
    {
        QTreeWidgetItem* item = tree->insertItem(parent, label);
        tree->setItemData(item, data);
        return item;
    }

    QTreeWidgetItem *abstract, *contents, *introduction, *terminology, *references, *reference, *noTarget;
    QTreeWidgetItem* pages[3];
};

TEST_F(RfcTreesTest, SelectionsTheProgramMakesMoveNothingButAreMadeVisible)
{
    bar->firstTree()->selectItem(terminology);
    bar->firstTree()->selectItem(reference);
    bar->secondTree()->selectItem(pages[1]);
    EXPECT_EQ(calls, Calls());
    EXPECT_TRUE(introduction->isExpanded());
}

// The user's choice goes to a front-matter section, a contents entry, the
// references heading as a contents entry, a reference at its first line;
// without a target, nowhere; by keyboard or mouse alike.
TEST_F(RfcTreesTest, TheUsersChoiceByKeyOrMouseGoesToItsTarget)
{
    for (QTreeWidgetItem* item : {abstract, terminology, references, reference, noTarget, contents})
        chooseByKeyboard(bar->firstTree(), item);
    QTest::mouseClick(bar->firstTree()->viewport(), Qt::LeftButton, {},
                      bar->firstTree()->visualItemRect(references).center());
    EXPECT_EQ(calls, Calls({"line 3", "line 21", "line 44", "line 88", "line 44"}));
}

// A reference under a heading of its own words (RFC 1035's "REFERENCES
// and BIBLIOGRAPHY") still goes to its line, not to a contents entry.
TEST_F(RfcTreesTest, AReferenceUnderAnyTitleGoesToItsLine)
{
    references->setText(0, QStringLiteral("9. REFERENCES and BIBLIOGRAPHY"));
    chooseByKeyboard(bar->firstTree(), reference);
    EXPECT_EQ(calls, Calls({"line 88"}));
}

TEST_F(RfcTreesTest, TheUsersTabChangeShowsItsTree)
{
    ASSERT_TRUE(bar->firstTree()->isVisible());
    ASSERT_FALSE(bar->secondTree()->isVisible());
    QTest::mouseClick(bar->tabs(), Qt::LeftButton, {}, bar->tabs()->tabRect(1).center());
    EXPECT_TRUE(bar->secondTree()->isVisible());
    EXPECT_FALSE(bar->firstTree()->isVisible());
    EXPECT_EQ(calls, Calls({"mode Page View"}));
}

// Under the Page tab a top-level item of either tree goes to its file
// line: the selected tab decides.
TEST_F(RfcTreesTest, UnderThePageTabATopLevelItemGoesToItsFileLine)
{
    QTest::mouseClick(bar->tabs(), Qt::LeftButton, {}, bar->tabs()->tabRect(1).center());
    calls.clear();
    chooseByKeyboard(bar->secondTree(), pages[1]);
    chooseByKeyboard(bar->firstTree(), abstract);
    EXPECT_EQ(calls, Calls({"line 51", "line 1"}));
}

TEST_F(RfcTreesTest, TabsTheProgramDeletesAddsOrSelectsAreNoUsersChoice)
{
    bar->tabs()->deleteTab(1);
    bar->tabs()->insertDataTab(1, QStringLiteral("Page"));
    bar->tabs()->selectTab(1);
    EXPECT_EQ(calls, Calls());
}

// ---- The index's tree ----

// An index: a group, an entry in it and an entry at the top.
class IndexTreeTest : public NavigatorBarTest {
protected:
    void SetUp() override
    {
        NavigatorBarTest::SetUp();
        text().isIndex = true;
        text().indexEntries.resize(200);
        text().indexEntries[6] = RfcIndexEntry{9999, 70, 72, "Seven"};
        text().indexEntries[199].firstLine = 2000;
        tree = bar->firstTree();
        group = tree->insertItem(nullptr, QStringLiteral("RFC 1 - 100"));
        entry = tree->insertItem(group, QStringLiteral("RFC 7"));
        tree->setItemData(entry, 6);
        leaf = tree->insertItem(nullptr, QStringLiteral("RFC 200"));
        tree->setItemData(leaf, 199);
    }

    TreeView* tree = nullptr;
    QTreeWidgetItem *group = nullptr, *entry = nullptr, *leaf = nullptr;
};

// An index routes its entries (not its groups) from its single tree.
TEST_F(IndexTreeTest, RoutesItsEntriesNotItsGroupsFromItsSingleTree)
{
    for (QTreeWidgetItem* item : {group, entry, leaf})
        chooseByKeyboard(tree, item);
    bar->showNavigatorTab(1);
    EXPECT_TRUE(tree->isVisible());
    EXPECT_EQ(calls, Calls({"line 70", "line 2000"}));
}

// A double click on an entry, never a group nor in an RFC, opens its RFC
// (the window opens the file or says it does not exist).
TEST_F(IndexTreeTest, ADoubleClickOnAnEntryOpensItsRfc)
{
    tree->selectItem(group);
    emit tree->itemDoubleClicked(group, 0);
    tree->selectItem(entry);
    emit tree->itemDoubleClicked(entry, 0);
    text().isIndex = false;
    emit tree->itemDoubleClicked(entry, 0);
    EXPECT_EQ(calls, Calls({"open 9999"}));
}

// ---- The bar ----

// The trees fill the client area under the tab strip, and only the strip
// shows when the bar is low.
TEST_F(NavigatorBarTest, TheTreesFillTheAreaUnderTheTabStrip)
{
    bar->clientArea()->resize(200, 300);
    EXPECT_EQ(bar->tabs()->geometry(), QRect(0, 0, 200, NavigatorBar::kTabStripHeight));
    EXPECT_EQ(bar->firstTree()->geometry(), QRect(0, 22, 200, 278));
    EXPECT_EQ(bar->secondTree()->geometry(), bar->firstTree()->geometry());
    bar->clientArea()->resize(200, 15);
    EXPECT_EQ(bar->tabs()->geometry(), QRect(0, 0, 200, 15));
    EXPECT_EQ(bar->firstTree()->height(), 0);
}

// A double click on the bar's own area floats it and docks it again.
TEST_F(NavigatorBarTest, ADoubleClickOnTheBarFloatsItAndDocksItAgain)
{
    for (bool floating : {true, false}) {
        const QPointF point(10, 5);
        QMouseEvent click(QEvent::MouseButtonDblClick, point, bar->clientArea()->mapToGlobal(point),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar->clientArea(), &click);
        EXPECT_EQ(bar->isFloating(), floating);
    }
}

} // namespace
} // namespace parchly
