#include "index/index_tree.h"

#include "analysis/rfc_text.h"
#include "index/index_groups.h"
#include "platform/text_decoding.h"
#include "platform/tree_images.h"
#include "platform/tree_view.h"

namespace parchly {

namespace {

// The chain of groups that the last entry went into, one per level.
struct OpenGroup {
    IndexGroupRange range;
    TreeView::Item item;
};

TreeView::Item insertGroup(TreeView* tree, TreeView::Item parent, const IndexGroupRange& range, int32_t data)
{
    TreeView::Item item = tree->insertItem(parent, decodeRfcText(indexGroupLabel(range)).text);
    tree->setItemData(item, data);
    tree->setItemImages(item, kIndexGroupImage, kIndexGroupImage + 1);
    return item;
}

// Brings `open` to the groups of `path`, creating every group from the
// first level that differs.
void openPath(TreeView* tree, std::vector<OpenGroup>& open, const std::vector<IndexGroupRange>& path,
              int32_t data)
{
    std::size_t level = 0;
    while (level < open.size() && level < path.size() && open[level].range == path[level])
        ++level;
    open.resize(level);
    for (; level < path.size(); ++level) {
        TreeView::Item parent = level == 0 ? nullptr : open[level - 1].item;
        open.push_back({path[level], insertGroup(tree, parent, path[level], data)});
    }
}

} // namespace

void fillIndexTree(TreeView* tree, const RfcText& index, const std::vector<int32_t>& levelCounts)
{
    if (!tree)
        return;
    tree->setUpdatesEnabled(false);
    tree->clear();
    tree->setImageList(treeImages());
    const std::vector<int32_t> counts = usableLevelCounts(levelCounts);
    if (!counts.empty()) {
        // The first group of every level stands ready for the lowest numbers.
        std::vector<OpenGroup> open;
        openPath(tree, open, indexGroupPath(1, counts), 0);
        const auto& entries = index.indexEntries;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const RfcIndexEntry& entry = entries[i];
            if (entry.title.empty())
                continue;
            const int32_t data = static_cast<int32_t>(i);
            if (entry.number > open.back().range.last)
                openPath(tree, open, indexGroupPath(entry.number, counts), data);
            TreeView::Item leaf = tree->insertItem(
                open.back().item, decodeRfcText(indexEntryLabel(entry.number, entry.title)).text);
            tree->setItemData(leaf, data);
            tree->setItemImages(leaf, kIndexEntryImage, kIndexEntryImage + 1);
        }
    }
    tree->setUpdatesEnabled(true);
}

void selectIndexTreeEntry(TreeView* tree, int32_t entry)
{
    if (!tree || entry < 0)
        return;
    // On each level the entry lies in the last item made at or before it.
    TreeView::Item found = nullptr;
    for (TreeView::Item item = tree->topLevelItem(0); item;) {
        TreeView::Item holder = nullptr;
        for (; item && tree->itemData(item) <= entry; item = tree->nextSibling(item))
            holder = item;
        if (!holder)
            break;
        found = holder;
        item = tree->firstChild(holder);
    }
    if (found && found != tree->currentItem())
        tree->selectItem(found);
}

} // namespace parchly
