// The Index tree's groups and the live entry of the index view: what is
// underlined, what follows the caret, and what the pointer hits.
#include "index/index_groups.h"
#include "index/index_tree.h"
#include "index_view_support.h"
#include "platform/tree_view.h"

#include <gtest/gtest.h>

namespace parchly {
namespace {

const std::string kIndexFixture = PARCHLY_FIXTURES_DIR "/reading/rfc-index.txt";

class IndexViewTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(shown.load(kIndexFixture)); }

    int entryOf(int number) const
    {
        for (std::size_t i = 0; i < shown.index.indexEntries.size(); ++i)
            if (shown.index.indexEntries[i].number == number)
                return static_cast<int>(i);
        return -1;
    }

    test::ShownIndex shown;
};

QStringList childTexts(const TreeView& tree, QTreeWidgetItem* parent)
{
    QStringList texts;
    for (QTreeWidgetItem* item = parent ? tree.GetChild(parent) : tree.GetRoot(); item;
         item = tree.GetNextSibling(item))
        texts << tree.GetItemText(item);
    return texts;
}

QTreeWidgetItem* childNamed(const TreeView& tree, QTreeWidgetItem* parent, const QString& text)
{
    for (QTreeWidgetItem* item = parent ? tree.GetChild(parent) : tree.GetRoot(); item;
         item = tree.GetNextSibling(item))
        if (tree.GetItemText(item) == text)
            return item;
    return nullptr;
}

TEST_F(IndexViewTest, DefaultCountsGroupEntriesInRangesOf500And50)
{
    TreeView tree;
    FillIndexTree(&tree, shown.index, {500, 50});
    EXPECT_EQ(childTexts(tree, nullptr),
              QStringList({"1 - 500", "501 - 1000", "1001 - 1500", "12001 - 12500"}));

    QTreeWidgetItem* first = childNamed(tree, nullptr, "1 - 500");
    ASSERT_EQ(childTexts(tree, first), QStringList({"1 - 50"}));
    QTreeWidgetItem* fifty = tree.GetChild(first);
    EXPECT_EQ(childTexts(tree, fifty),
              QStringList({"0001: Host Software", "0003: Documentation conventions",
                           "0010: Documentation conventions"}));
    EXPECT_EQ(tree.GetItemData(first), 0);
    EXPECT_EQ(tree.GetItemData(tree.GetChild(fifty)), 0);

    // 550 closes the group 501 - 550; 551 opens 551 - 600; 1000 stays in 951 - 1000.
    QTreeWidgetItem* second = childNamed(tree, nullptr, "501 - 1000");
    EXPECT_EQ(childTexts(tree, second), QStringList({"501 - 550", "551 - 600", "951 - 1000"}));
    QTreeWidgetItem* group551 = childNamed(tree, second, "551 - 600");
    EXPECT_EQ(tree.GetItemData(group551), entryOf(551));
    EXPECT_EQ(tree.GetItemData(tree.GetChild(group551)), entryOf(551));

    QTreeWidgetItem* fiveDigits = childNamed(tree, nullptr, "12001 - 12500");
    EXPECT_EQ(childTexts(tree, fiveDigits), QStringList({"12301 - 12350"}));
    EXPECT_EQ(childTexts(tree, tree.GetChild(fiveDigits)),
              QStringList({"12345: A five-digit request with a very long title that goes on and on"}));
}

TEST_F(IndexViewTest, OneLevelOf1000HangsEntriesDirectlyUnderTheirGroup)
{
    TreeView tree;
    FillIndexTree(&tree, shown.index, {1000});
    EXPECT_EQ(childTexts(tree, nullptr), QStringList({"1 - 1000", "1001 - 2000", "12001 - 13000"}));
    const QStringList first = childTexts(tree, tree.GetRoot());
    ASSERT_EQ(first.size(), 6);
    EXPECT_EQ(first.last(), "1000: Request For Comments reference guide");
    EXPECT_FALSE(tree.GetChild(tree.GetChild(tree.GetRoot())));

    FillIndexTree(&tree, shown.index, {});
    EXPECT_EQ(tree.topLevelItemCount(), 0);
}

TEST(IndexGroupsTest, RangesAndLabels)
{
    EXPECT_EQ(indexGroupPath(1000, {1000}), (std::vector<IndexGroupRange>{{1, 1000}}));
    EXPECT_EQ(indexGroupPath(1001, {500, 50}), (std::vector<IndexGroupRange>{{1001, 1500}, {1001, 1050}}));
    // A count below 1 ends the list instead of dividing by zero.
    EXPECT_EQ(indexGroupPath(7, {0, 50}), std::vector<IndexGroupRange>{});
    EXPECT_EQ(indexGroupPath(75, {100, 0}), (std::vector<IndexGroupRange>{{1, 100}}));

    const std::string longTitle(300, 'x');
    EXPECT_EQ(indexEntryLabel(7, longTitle), "0007: " + std::string(256, 'x'));
    // A two-byte character across the cut is left out whole.
    const std::string accented = std::string(255, 'a') + "\xC3\xA9" + "b";
    EXPECT_EQ(indexEntryLabel(12345, accented), "12345: " + std::string(255, 'a'));
}

TEST_F(IndexViewTest, FormattingMakesTheFirstEntryCurrentAtTheTop)
{
    const RfcIndexEntry& first = shown.index.indexEntries.front();
    EXPECT_EQ(shown.index.currentEntry, 0);
    EXPECT_EQ(shown.view.GetSelection().start, shown.view.LineStart(first.firstLine - 1));
    EXPECT_FALSE(shown.view.document()->isModified());

    const int title = shown.find("Host Software");
    EXPECT_TRUE(shown.allUnderlined(title, title + 13));
    EXPECT_FALSE(shown.underlined(title + 13)); // the period
    EXPECT_FALSE(shown.underlined(shown.find("Crocker")));
    EXPECT_FALSE(shown.underlined(shown.find("0001"))); // the entry's own number is no link
    EXPECT_FALSE(shown.underlined(shown.find("Documentation")));
}

TEST_F(IndexViewTest, TheCurrentEntryFollowsTheCaretAndOnlyItsLinksAreUnderlined)
{
    const int entry = shown.find("0010 Documentation");
    shown.placeCaret(shown.find("Obsoletes", entry));
    EXPECT_EQ(shown.index.currentEntry, entryOf(10));

    // The old entry is plain again.
    const int oldTitle = shown.find("Host Software");
    EXPECT_TRUE(shown.allUnderlined(oldTitle, oldTitle + 13, false));

    for (const char* number : {"0003)", "0016", "0024", "0027", "0030"}) {
        const int at = shown.find(number, entry);
        EXPECT_TRUE(shown.allUnderlined(at, at + 4)) << number;
        EXPECT_FALSE(shown.underlined(at - 1)) << number;
    }
    EXPECT_FALSE(shown.underlined(shown.find("3108", entry)));
    EXPECT_FALSE(shown.underlined(shown.find("July", entry)));
    // The same numbers in the entry before stay plain.
    EXPECT_FALSE(shown.underlined(shown.find("0010)")));

    // The blank line after the entry still belongs to it.
    const int blankLine = shown.view.LineFromPosition(shown.find("(Status", shown.find("RFC0030"))) + 1;
    shown.part.UpdateCurrentIndexEntry(blankLine);
    EXPECT_EQ(shown.index.currentEntry, entryOf(10));
}

TEST_F(IndexViewTest, AWrappedTitleIsUnderlinedOnBothLinesWithoutIndentation)
{
    const int entry = shown.find("0550 NIC");
    shown.placeCaret(entry);
    const int firstPart = shown.find("NIC parsing", entry);
    const int lineEnd = shown.find("\n", entry);
    EXPECT_TRUE(shown.allUnderlined(firstPart, lineEnd));
    const int secondPart = shown.find("over two lines", entry);
    EXPECT_TRUE(shown.allUnderlined(lineEnd + 1, secondPart, false)); // indentation
    EXPECT_TRUE(shown.allUnderlined(secondPart, secondPart + 14));
    EXPECT_FALSE(shown.underlined(secondPart + 14));

    const QPoint onSecondLine = shown.pointAt(secondPart + 3);
    EXPECT_EQ(shown.part.HitIndexTitle(onSecondLine), entryOf(550));
    EXPECT_EQ(shown.part.HitIndexTitle(shown.pointAt(lineEnd + 1)), -1);
    EXPECT_EQ(shown.part.HitIndexTitle(shown.pointAt(shown.find("Some One", entry))), -1);
}

TEST_F(IndexViewTest, OnlyTheCurrentEntrysTitleAndNumbersAreHit)
{
    const int entry = shown.find("0010 Documentation");
    const QPoint obsoletes = shown.pointAt(shown.find("0003)", entry) + 1);
    const QPoint title = shown.pointAt(shown.find("conventions", entry));
    EXPECT_EQ(shown.part.HitIndexNumber(obsoletes), -1);
    EXPECT_EQ(shown.part.HitIndexTitle(title), -1);

    shown.placeCaret(entry);
    EXPECT_EQ(shown.part.HitIndexNumber(obsoletes), 3);
    EXPECT_EQ(shown.part.HitIndexNumber(shown.pointAt(shown.find("0027", entry) + 3)), 27);
    EXPECT_GT(shown.part.lineHeight(), 0);
    EXPECT_EQ(shown.part.HitIndexTitle(title), entryOf(10));
    // Beside the links: the entry's own number, the format's digits, the date.
    EXPECT_EQ(shown.part.HitIndexTitle(shown.pointAt(entry + 1)), -1);
    EXPECT_EQ(shown.part.HitIndexNumber(shown.pointAt(shown.find("3108", entry))), -1);
    EXPECT_EQ(shown.part.HitIndexNumber(shown.pointAt(shown.find("July", entry))), -1);
    // Outside the text area nothing is hit.
    EXPECT_EQ(shown.part.HitIndexNumber(QPoint(-5, obsoletes.y())), -1);
}

TEST(IndexTitleSpansTest, TitleEndsAtAPeriodFollowedByABlankOrTheLineEnd)
{
    auto spans = indexTitleSpans({"0551 Version 1.0 of nothing. Y. Feinroth.\n", "     more\n"});
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_EQ(spans[0].start, 5);
    EXPECT_EQ(spans[0].end, 27);

    spans = indexTitleSpans({"12345 Runs to the\n", "   line end.\n", "   Author.\n"});
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].start, 6);
    EXPECT_EQ(spans[0].end, 17);
    EXPECT_EQ(spans[1].start, 3);
    EXPECT_EQ(spans[1].end, 11);

    // Without a period the title runs up to the blank line.
    spans = indexTitleSpans({"7 No period\n", "  at all\n", "\n", "8 Next\n"});
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[1].end, 8);

    EXPECT_EQ(indexEntryParseText({"1 Caf\u00e9.\n"}), "1 Caf?.\n");
}

} // namespace
} // namespace parchly
