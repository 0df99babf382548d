// The Navigator's Structure and Page trees of an RFC, built as plain data
// from the analysis record so that they can be checked without widgets;
// the reading view then puts them into its tree controls.
#ifndef PARCHLY_VIEW_TREE_BUILDING_H
#define PARCHLY_VIEW_TREE_BUILDING_H

#include <QString>
#include <cstdint>
#include <vector>

namespace parchly {

struct RfcText;

struct TreeNode {
    int parent = -1; // index of the parent node, -1 at the top level
    QString label;
    int32_t data = -1; // heading, contents entry, reference or line
};

struct TreeModel {
    // Parents always come before their children.
    std::vector<TreeNode> nodes;
    // Nodes selected one after the other once the tree is filled; the last
    // one stays selected.
    std::vector<int> selections;
};

// Headings up to the Table of Contents (unless the structure came from the
// text itself), the contents entries nested by their numbers, and the
// references under their section. Renumbers relatively numbered
// subsections in `text` as it goes. `hideInvalid` leaves out entries whose
// heading was not found.
TreeModel structureTree(RfcText& text, bool hideInvalid);

// One node per page, its data the page's first line (1-based).
TreeModel pageTree(const RfcText& text);

// The requirement sentences: first one node per keyword used with its
// count ("MUST (12)") listing that keyword's sentences, then each section
// that holds requirements with one leaf per keyword occurrence. A leaf is
// "MUST: " and the start of its sentence, its data the index into
// `requirements`; a keyword's node has keywordRowData() of its keyword;
// -1 for every other node.
TreeModel requirementsTree(const RfcText& text);

// The data of the requirements tree's node of keyword `k` (an index into
// kRequirementKeywords), and back: the keyword of a node's data, null for
// any other node.
int32_t keywordRowData(size_t k);
const char* keywordOfRow(int32_t data);

} // namespace parchly

#endif
