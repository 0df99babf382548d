// The Navigator's trees as data, without widgets (the structure and page
// trees of the view fixture are checked item by item in view_composition_test.cpp).
#include "analysis/rfc_text.h"
#include "view/tree_building.h"

#include <QStringList>
#include <QRegularExpression>
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

// Each node as its parent's index, label and data.
QStringList nodes(const TreeModel& model)
{
    QStringList result;
    for (const TreeNode& node : model.nodes)
        result << QStringLiteral("%1 %2 %3").arg(node.parent).arg(node.label).arg(node.data);
    return result;
}

TEST(TreeBuilding, RelativeSubsectionsAreRenumberedAndUnfoundEntriesCanBeLeftOut)
{
    for (const bool hide : {false, true}) {
        RfcText text;
        text.structureFromText = true;
        // Headings found in the text are the entries' own: none shows by itself.
        text.headings = {{30, "", "Unnumbered paragraph between sections"}};
        text.contents = {entry("3", "Body"), entry("1", "Part"), entry("2", "Other", 0)};
        const TreeModel model = structureTree(text, hide);
        QStringList expected{"-1 Table of Contents -1", "0 3. Body 0", "1 3.1. Part 1", "1 3.2. Other 2"};
        EXPECT_EQ(nodes(model), hide ? expected.mid(0, 3) : expected);
        EXPECT_EQ(text.contents[1].number, "3.1");
        EXPECT_EQ(model.selections, std::vector<int>({1, 0}));
    }
}

TEST(TreeBuilding, EveryEntryIsLabelledWithItsWholeNumberUnderItsParent)
{
    RfcText text;
    text.headings = {{3, "", "Abstract"}, {7, "", "Table of Contents"}};
    text.contents = {entry("1", "Introduction"), entry("2", "Overview"), entry("1", "First Part"),
                     entry("2", "Second Part"), entry("A", "Appendix"), entry("A.1", "Details"),
                     entry("B", "Lost", 0), entry("B.1", "Found"), entry("", "Authors' Addresses"),
                     // A paged contents keeps "Appendix C." in the title.
                     entry("", "Appendix C. State Machine"), entry("C.1", "Client")};
    const TreeModel hiding = structureTree(text, true);
    EXPECT_EQ(nodes(hiding),
              QStringList({"-1 Abstract 0", "-1 Table of Contents 1", "1 1. Introduction 0",
                           "1 2. Overview 1", "3 2.1. First Part 2", "3 2.2. Second Part 3",
                           "1 A. Appendix 4", "6 A.1. Details 5", "1 B.1. Found 7", "1 Authors' Addresses 8",
                           "1 Appendix C. State Machine 9", "10 C.1. Client 10"}));
    EXPECT_EQ(text.contents[3].number, "2.2") << "relative numbers are rewritten";
    // Shown as well, the invalid entry keeps its subsection; building again
    // keeps the rewritten numbers.
    const TreeModel showing = structureTree(text, false);
    EXPECT_EQ(nodes(showing).mid(3, 7),
              QStringList({"1 2. Overview 1", "3 2.1. First Part 2", "3 2.2. Second Part 3",
                           "1 A. Appendix 4", "6 A.1. Details 5", "1 B. Lost 6", "8 B.1. Found 7"}));
}

// Counts first, then the sections in text order with one leaf per keyword
// occurrence.
// Requirements of two sections and before the first.
RfcText requirementsText()
{
    RfcText text;
    text.sectionAnchors = {{10, "2", "Protocol"}, {20, "2.1", "Details"}};
    text.requirements = {
        {"MUST", 3, 0, 3, 0, -1, "Before any MUST."},
        {"MUST", 11, 4, 11, 0, 0, "It MUST send, \"quoted\"."},
        {"SHOULD NOT", 12, 4, 12, 0, 0, "It SHOULD NOT wait."},
        {"MAY", 21, 4, 21, 0, 1, "The client MAY send " + std::string(80, 'x') + "."},
    };
    return text;
}

TEST(TreeBuilding, RequirementsCountsThenSectionsWithTheirSentences)
{
    const QStringList shown = nodes(requirementsTree(requirementsText()));
    EXPECT_EQ(shown.filter(QRegularExpression("^-1 ")),
              QStringList({"-1 MUST (2) -3", "-1 SHOULD NOT (1) -7", "-1 MAY (1) -11",
                           "-1 Before the first section -1", "-1 2. Protocol -1", "-1 2.1. Details -1"}));
    EXPECT_EQ(
        shown.mid(7),
        QStringList({"-1 Before the first section -1", "7 MUST: Before any MUST. 0", "-1 2. Protocol -1",
                     "9 MUST: It MUST send, \"quoted\". 1", "9 SHOULD NOT: It SHOULD NOT wait. 2",
                     "-1 2.1. Details -1", "12 MAY: The client MAY send " + QString(40, 'x') + "... 3"}));
    EXPECT_TRUE(requirementsTree(RfcText()).nodes.empty());
}

TEST(TreeBuilding, AKeywordsRowListsItsSentencesAndNamesItsKeyword)
{
    const QStringList shown = nodes(requirementsTree(requirementsText()));
    EXPECT_EQ(
        shown.mid(0, 3),
        QStringList({"-1 MUST (2) -3", "0 MUST: Before any MUST. 0", "0 MUST: It MUST send, \"quoted\". 1"}));
    EXPECT_STREQ(keywordOfRow(-3), "MUST");
    EXPECT_STREQ(keywordOfRow(-7), "SHOULD NOT");
    EXPECT_EQ(keywordOfRow(-1), nullptr) << "a section's row";
    EXPECT_EQ(keywordOfRow(0), nullptr) << "a sentence";
}

} // namespace
} // namespace parchly
