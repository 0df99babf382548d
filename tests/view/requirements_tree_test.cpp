// The Requirements tree as data: counts first, then the sections in text
// order with one leaf per keyword occurrence.
#include "analysis/rfc_text.h"
#include "view/tree_building.h"

#include <gtest/gtest.h>

namespace parchly {
namespace {

TEST(RequirementsTree, CountsThenSectionsWithTheirSentences)
{
    RfcText text;
    text.sectionAnchors = {{10, "2", "Protocol"}, {20, "2.1", "Details"}};
    const std::string longSentence = "The client MAY send " + std::string(80, 'x') + ".";
    text.requirements = {
        {"MUST", 3, 0, 3, 0, -1, "Before any MUST."},
        {"MUST", 11, 4, 11, 0, 0, "It MUST send, \"quoted\"."},
        {"SHOULD NOT", 12, 4, 12, 0, 0, "It SHOULD NOT wait."},
        {"MAY", 21, 4, 21, 0, 1, longSentence},
    };
    struct Expected {
        int parent;
        const char* label;
        int32_t data;
    };
    const Expected expected[] = {
        {-1, "MUST (2)", -1},
        {-1, "SHOULD NOT (1)", -1},
        {-1, "MAY (1)", -1},
        {-1, "Before the first section", -1},
        {3, "MUST: Before any MUST.", 0},
        {-1, "2. Protocol", -1},
        {5, "MUST: It MUST send, \"quoted\".", 1},
        {5, "SHOULD NOT: It SHOULD NOT wait.", 2},
        {-1, "2.1. Details", -1},
        {8, "MAY: The client MAY send xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...", 3},
    };
    const TreeModel model = requirementsTree(text);
    ASSERT_EQ(model.nodes.size(), std::size(expected));
    for (std::size_t i = 0; i < model.nodes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(model.nodes[i].parent, expected[i].parent);
        EXPECT_EQ(model.nodes[i].label.toStdString(), expected[i].label);
        EXPECT_EQ(model.nodes[i].data, expected[i].data);
    }
    EXPECT_TRUE(requirementsTree(RfcText()).nodes.empty());
}

} // namespace
} // namespace parchly
