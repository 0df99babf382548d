// The Index tree's number groups and labels, and where the index view finds
// an entry's title.
#include "index/index_groups.h"
#include "index/index_tree.h"
#include "index/index_view.h"
#include "index_test_support.h"
#include "platform/tree_view.h"

namespace parchly {
namespace {

// The texts of the children of `parent` (none for null).
QStringList childTexts(QTreeWidgetItem* parent)
{
    QStringList texts;
    for (int row = 0; parent && row < parent->childCount(); ++row)
        texts << parent->child(row)->text(0);
    return texts;
}

TEST(IndexTree, GroupsEntriesByTheLevelCounts)
{
    const RfcText index = test::readIndexFrom(test::readFixture("reading/rfc-index.txt"));
    ASSERT_EQ(index.indexEntries.size(), 8u);
    TreeView tree;
    fillIndexTree(&tree, index, {500, 50});
    ASSERT_EQ(childTexts(tree.invisibleRootItem()),
              QStringList({"1 - 500", "501 - 1000", "1001 - 1500", "12001 - 12500"}));
    QTreeWidgetItem* fifty = tree.topLevelItem(0)->child(0);
    EXPECT_EQ(childTexts(fifty),
              QStringList({"0001: Host Software", "0003: Documentation conventions",
                           "0010: Documentation conventions"}));
    EXPECT_EQ(tree.itemData(fifty->child(2)), 2);
    // 550 closes the group 501 - 550; 551 opens 551 - 600, whose data is
    // its first entry; 1000 stays in 951 - 1000.
    QTreeWidgetItem* second = tree.topLevelItem(1);
    EXPECT_EQ(childTexts(second), QStringList({"501 - 550", "551 - 600", "951 - 1000"}));
    EXPECT_EQ(tree.itemData(second->child(1)), 4);
    QTreeWidgetItem* fiveDigits = tree.topLevelItem(3);
    ASSERT_EQ(childTexts(fiveDigits), QStringList({"12301 - 12350"}));
    EXPECT_EQ(childTexts(fiveDigits->child(0)),
              QStringList({"12345: A five-digit request with a very long title that goes on and on"}));

    // One level of 1000 hangs the entries directly under their group.
    fillIndexTree(&tree, index, {1000});
    ASSERT_EQ(childTexts(tree.invisibleRootItem()),
              QStringList({"1 - 1000", "1001 - 2000", "12001 - 13000"}));
    const QStringList first = childTexts(tree.topLevelItem(0));
    ASSERT_EQ(first.size(), 6);
    EXPECT_EQ(first.last(), "1000: Request For Comments reference guide");
    EXPECT_EQ(tree.topLevelItem(0)->child(0)->childCount(), 0);

    fillIndexTree(&tree, index, {});
    EXPECT_EQ(tree.topLevelItemCount(), 0);
}

TEST(IndexTree, CountsBelowOneEndTheLevelsAndLabelsKeepCharactersWhole)
{
    EXPECT_EQ(indexGroupPath(7, {0, 50}), std::vector<IndexGroupRange>{});
    EXPECT_EQ(indexGroupPath(75, {100, 0}), (std::vector<IndexGroupRange>{{1, 100}}));
    EXPECT_EQ(indexGroupPath(2147483647, {1000000000}),
              (std::vector<IndexGroupRange>{{2000000001, 2147483647}}));

    EXPECT_EQ(indexEntryLabel(7, std::string(300, 'x')), "0007: " + std::string(256, 'x'));
    const std::string accented = std::string(255, 'a') + "\xC3\xA9" + "b";
    EXPECT_EQ(indexEntryLabel(12345, accented), "12345: " + std::string(255, 'a'));
}

TEST(IndexTitleSpans, TitleEndsAtAPeriodFollowedByABlankOrTheLineEnd)
{
    auto spans = indexTitleSpans({"12345 Runs to the\n", "   line end.\n", "   Author.\n"});
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].start, 6);
    EXPECT_EQ(spans[0].end, 17);
    EXPECT_EQ(spans[1].start, 3);
    EXPECT_EQ(spans[1].end, 11);

    // Without a period the title runs up to the blank line.
    spans = indexTitleSpans({"7 No period\n", "  at all\n", "\n", "8 Next\n"});
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[1].end, 8);

    // One byte per character, so that the parse's offsets are columns.
    EXPECT_EQ(indexEntryParseText({"1 Caf\u00e9.\n"}), "1 Caf?.\n");
}

} // namespace
} // namespace parchly
