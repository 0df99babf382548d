#include "reading_fixture.h"

#include <gtest/gtest.h>

namespace parchly {

using namespace parchly::test;

namespace {

// The labels of an item's children (of the top level for null), in order.
QStringList childLabels(TreeView& tree, TreeView::Item parent)
{
    QStringList labels;
    for (TreeView::Item item = parent ? tree.firstChild(parent) : tree.topLevelItem(0); item;
         item = tree.nextSibling(item))
        labels << tree.itemText(item);
    return labels;
}

TreeView::Item childNamed(TreeView& tree, TreeView::Item parent, const QString& label)
{
    for (TreeView::Item item = parent ? tree.firstChild(parent) : tree.topLevelItem(0); item;
         item = tree.nextSibling(item)) {
        if (tree.itemText(item) == label)
            return item;
    }
    return nullptr;
}

class Trees : public ::testing::Test {
protected:
    Trees()
        : opened(fixtureRfcPath())
    {
    }

    TreeView& structure() { return *opened.host.structureTree; }
    TreeView& pages() { return *opened.host.pageTree; }

    ScriptedDialogs dialogs;
    OpenedView opened;
};

} // namespace

TEST_F(Trees, StructureTreeNestsSectionsAndReferencesUnderTheContents)
{
    opened.open();
    EXPECT_EQ(childLabels(structure(), nullptr),
              QStringList({"Status of This Memo", "Abstract", "Table of Contents"}));
    TreeView::Item contents = childNamed(structure(), nullptr, "Table of Contents");
    ASSERT_TRUE(contents);
    EXPECT_EQ(structure().itemData(contents), 2) << "the heading's index";
    EXPECT_EQ(childLabels(structure(), contents),
              QStringList({"1. Introduction", "2. Protocol", "3. References", "Appendix A.  Examples"}));

    TreeView::Item introduction = childNamed(structure(), contents, "1. Introduction");
    EXPECT_EQ(childLabels(structure(), introduction), QStringList({"1. Purpose", "2. Terms"}));
    EXPECT_EQ(structure().itemData(structure().firstChild(introduction)), 1);

    TreeView::Item references = childNamed(structure(), contents, "3. References");
    EXPECT_EQ(childLabels(structure(), references),
              QStringList({"[RFC2119] Key words for use in RFCs...", "[RFC2616] Hypertext Transfer..."}));
    EXPECT_EQ(structure().itemData(structure().nextSibling(structure().firstChild(references))), 1);

    EXPECT_EQ(structure().itemText(structure().currentItem()), QString("Abstract"));
    EXPECT_FALSE(introduction->icon(0).isNull() || pages().topLevelItem(0)->icon(0).isNull());

    // One Page item per page, its data the line where the page begins.
    ASSERT_EQ(childLabels(pages(), nullptr), QStringList({"Page 1", "Page 2", "Page 3"}));
    for (int page : {0, 1, 2})
        EXPECT_EQ(pages().itemData(pages().topLevelItem(page)), (QList<int>{0, 26, 43}[page]));
}

TEST_F(Trees, ChoosingAnItemPutsItsLineAtTheTop)
{
    ReadingView& view = opened.open();
    const auto topLine = [&] { return view.lineText(view.firstVisibleLine()); };
    view.goToContentsEntry(1);
    EXPECT_TRUE(topLine().startsWith("1.1.  Purpose"));
    int line = 0;
    int column = -1;
    view.caretLineColumn(line, column);
    EXPECT_EQ(line, view.firstVisibleLine());
    EXPECT_EQ(column, 0);
    view.goToSectionHeading(1);
    EXPECT_TRUE(topLine().startsWith("Abstract"));
    view.goToFileLine(pages().itemData(pages().topLevelItem(2)));
    EXPECT_TRUE(topLine().startsWith("RFC 9990")) << "page 3 begins with its header";

    const int before = view.firstVisibleLine();
    view.goToContentsEntry(99);
    view.goToSectionHeading(-1);
    view.goToFileLine(10000);
    EXPECT_EQ(view.firstVisibleLine(), before) << "items that lead nowhere move nothing";

    // With headers and footers cut, the same choices find the same text.
    view.setHeadersAndFootersCut(true, true);
    view.goToContentsEntry(3);
    EXPECT_TRUE(topLine().startsWith("2.  Protocol"));
    view.goToFileLine(pages().itemData(pages().topLevelItem(1)));
    EXPECT_TRUE(topLine().startsWith("1.  Introduction")) << "the first shown line of page 2";
}

TEST_F(Trees, TheCaretSelectsItsItemInTheTreeOfTheSelectedTab)
{
    ReadingView& view = opened.open();
    int termsLine = -1;
    for (int line = 0; line < view.lineCount() && termsLine < 0; ++line) {
        if (view.lineText(line).startsWith("   Terms text."))
            termsLine = line;
    }
    ASSERT_GE(termsLine, 0);
    view.setSelection(view.lineStart(termsLine) + 4, view.lineStart(termsLine) + 4);

    // A collapsed section stands for its subsections; an expanded one shows
    // the subsection itself.
    view.selectNavigatorNode();
    TreeView::Item introduction = structure().currentItem();
    EXPECT_EQ(structure().itemText(introduction), QString("1. Introduction"));
    introduction->setExpanded(true);
    view.selectNavigatorNode();
    EXPECT_EQ(structure().itemText(structure().currentItem()), QString("2. Terms"));
    view.showNavigatorMode();
    EXPECT_EQ(opened.host.modePane, QString("Structure View"));

    opened.host.tabs->selectTab(1);
    view.selectNavigatorNode();
    EXPECT_EQ(pages().itemText(pages().currentItem()), QString("Page 2"));
    view.showNavigatorMode();
    EXPECT_EQ(opened.host.modePane, QString("Page View"));
}

} // namespace parchly
