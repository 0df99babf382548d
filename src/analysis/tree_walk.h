// Keeping the Navigator's Structure and Page trees in step with the caret.
// The walk works on any tree that offers the few operations below, so the
// windows plug their own tree control in through an adapter.
#ifndef PARCHLY_ANALYSIS_TREE_WALK_H
#define PARCHLY_ANALYSIS_TREE_WALK_H

#include "analysis/line_mapping.h"
#include "analysis/rfc_text.h"

#include <cstdint>
#include <string>
#include <vector>

namespace parchly {

// An opaque handle of a tree item; nullptr is no item.
using TreeItem = const void*;

class NavigatorTree {
public:
    virtual ~NavigatorTree() = default;

    virtual TreeItem firstTopLevelItem() const = 0;
    virtual TreeItem parent(TreeItem item) const = 0;
    virtual TreeItem firstChild(TreeItem item) const = 0;
    virtual TreeItem nextSibling(TreeItem item) const = 0;
    // The item below `item` as the tree is shown (children of expanded
    // items included), or nullptr after the last one.
    virtual TreeItem nextVisible(TreeItem item) const = 0;
    virtual bool isExpanded(TreeItem item) const = 0;
    virtual int64_t data(TreeItem item) const = 0;
    virtual std::string text(TreeItem item) const = 0;
    virtual bool isSelected(TreeItem item) const = 0;
    virtual void select(TreeItem item) = 0;
};

// The top-level item "Table of Contents", or nullptr.
TreeItem findContentsRoot(const NavigatorTree& tree);

// Selects the Structure tree item of the section (or reference) that holds
// shown line `line` (under `cuts`) and returns it; nullptr when there is none.
TreeItem syncStructureTree(const RfcText& text, const LineCuts& cuts, NavigatorTree& tree, ShownLine line);

// Among Page tree items whose data are `itemData` in order (the 0-based file
// line where each page begins, -1 for none), the one that holds file line
// `line`: the first whose data is not -1 and at most `line` and whose next
// item is missing or begins after `line`. -1 when none does.
int32_t pageItemForLine(const std::vector<int64_t>& itemData, FileLine line);

// Selects the Page tree item that holds file line `line` unless it is
// already selected; nothing for the index. Returns the item, or nullptr.
TreeItem syncPageTree(const RfcText& text, NavigatorTree& tree, FileLine line);

} // namespace parchly

#endif
