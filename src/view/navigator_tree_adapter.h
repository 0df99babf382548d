// A Navigator tree control as the tree the analysis walks to follow the caret.
#ifndef PARCHLY_VIEW_NAVIGATOR_TREE_ADAPTER_H
#define PARCHLY_VIEW_NAVIGATOR_TREE_ADAPTER_H

#include "analysis/tree_walk.h"

namespace parchly {

class TreeView;

class NavigatorTreeAdapter : public NavigatorTree {
public:
    explicit NavigatorTreeAdapter(TreeView& tree)
        : m_tree(tree)
    {
    }

    TreeItem firstTopLevelItem() const override;
    TreeItem parent(TreeItem item) const override;
    TreeItem firstChild(TreeItem item) const override;
    TreeItem nextSibling(TreeItem item) const override;
    TreeItem nextVisible(TreeItem item) const override;
    bool isExpanded(TreeItem item) const override;
    int64_t data(TreeItem item) const override;
    std::string text(TreeItem item) const override;
    bool isSelected(TreeItem item) const override;
    void select(TreeItem item) override;

private:
    TreeView& m_tree;
};

} // namespace parchly

#endif
