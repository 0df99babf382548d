// The Navigator's trees as data, without widgets.
#include "analysis/rfc_text.h"
#include "view/tree_building.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace parchly {
namespace {

ContentEntry entry(const std::string& number, const std::string& title, int32_t headingLine = 10)
{
    ContentEntry made;
    made.number = number;
    made.title = title;
    made.headingLine = headingLine;
    return made;
}

QStringList labels(const TreeModel& model)
{
    QStringList result;
    for (const TreeNode& node : model.nodes)
        result << QString::number(node.parent) + QLatin1Char(' ') + node.label;
    return result;
}

TEST(TreeBuilding, HeadingsThenContentsNestedByNumberWithReferencesUnderTheirSection)
{
    RfcText text;
    text.headings = {{5, "", "Abstract"}, {9, "", "Table of Contents"}, {40, "", "After"}};
    text.contents = {entry("1", "Intro"), entry("1.1", "Terms"), entry("2", "References")};
    ReferenceEntry reference;
    reference.label = "[RFC791]";
    reference.title = "Internet Protocol";
    reference.section = 2;
    text.references = {reference};

    const TreeModel model = structureTree(text, false);
    EXPECT_EQ(labels(model),
              QStringList({"-1 Abstract", "-1 Table of Contents", "1 1. Intro", "2 1. Terms",
                           "1 2. References", "4 [RFC791] Internet Protocol"}));
    // The first entry is selected while filling, the Abstract in the end.
    EXPECT_EQ(model.selections, std::vector<int>({2, 0}));
    EXPECT_EQ(model.nodes[3].data, 1);
    EXPECT_EQ(model.nodes[5].data, 0);
}

TEST(TreeBuilding, RelativeSubsectionsAreRenumberedAndUnfoundEntriesCanBeLeftOut)
{
    RfcText text;
    text.structureFromText = true;
    text.contents = {entry("3", "Body"), entry("1", "Part"), entry("2", "Other", 0)};

    const TreeModel all = structureTree(text, false);
    EXPECT_EQ(labels(all), QStringList({"-1 Table of Contents", "0 3. Body", "1 1. Part", "1 2. Other"}));
    EXPECT_EQ(text.contents[1].number, "3.1");
    EXPECT_EQ(all.selections, std::vector<int>({1, 0}));

    RfcText again;
    again.structureFromText = true;
    again.contents = {entry("3", "Body"), entry("1", "Part"), entry("2", "Other", 0)};
    EXPECT_EQ(labels(structureTree(again, true)),
              QStringList({"-1 Table of Contents", "0 3. Body", "1 1. Part"}));
}

TEST(TreeBuilding, OnePageNodePerPageStartingAtItsFirstLine)
{
    RfcText text;
    text.pageEnds = {0, 58, 116, 130};
    const TreeModel model = pageTree(text);
    EXPECT_EQ(labels(model), QStringList({"-1 Page 1", "-1 Page 2", "-1 Page 3"}));
    EXPECT_EQ(model.nodes[1].data, 59);
    EXPECT_TRUE(model.selections.empty());
}

} // namespace
} // namespace parchly
