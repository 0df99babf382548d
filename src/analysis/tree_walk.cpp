#include "analysis/tree_walk.h"

#include "analysis/line_mapping.h"
#include "analysis/references.h"
#include "analysis/section_lookup.h"

#include <cstddef>

namespace parchly {

namespace {

// A references section is the parent of reference leaves: the contents
// entry that the record's references name as their section.
bool isReferencesLeaf(const RfcText& text, const NavigatorTree& tree, TreeItem item)
{
    if (item == nullptr || tree.firstChild(item) != nullptr)
        return false;
    const TreeItem section = tree.parent(item);
    return section != nullptr && holdsReferences(text, tree.data(section));
}

void selectOnce(NavigatorTree& tree, TreeItem item)
{
    if (!tree.isSelected(item))
        tree.select(item);
}

const ReferenceEntry* referenceOf(const RfcText& text, const NavigatorTree& tree, TreeItem item)
{
    const int64_t index = tree.data(item);
    if (index < 0 || static_cast<std::size_t>(index) >= text.references.size())
        return nullptr;
    return &text.references[static_cast<std::size_t>(index)];
}

// The reference child whose shown range holds `line`, or the section.
TreeItem referenceAtLine(const RfcText& text, const LineCuts& cuts, const NavigatorTree& tree,
                         TreeItem section, ShownLine line)
{
    for (TreeItem child = tree.firstChild(section); child != nullptr; child = tree.nextSibling(child)) {
        const ReferenceEntry* reference = referenceOf(text, tree, child);
        if (reference == nullptr)
            continue;
        const TreeItem next = tree.nextSibling(child);
        const ReferenceEntry* following = next ? referenceOf(text, tree, next) : nullptr;
        // The reference records count their lines from 0 where the
        // contents count from 1; the walk has always compared them as
        // the contents' numbers, so a reference begins one line early.
        const ShownLine end =
            following ? shownLineOf(text, cuts, FileLine::atNumber(following->firstLine)) : line;
        if (shownLineOf(text, cuts, FileLine::atNumber(reference->firstLine)) <= line && line <= end)
            return child;
    }
    return section;
}

} // namespace

TreeItem findContentsRoot(const NavigatorTree& tree)
{
    for (TreeItem item = tree.firstTopLevelItem(); item != nullptr; item = tree.nextSibling(item)) {
        if (tree.text(item) == "Table of Contents")
            return item;
    }
    return nullptr;
}

TreeItem syncStructureTree(const RfcText& text, const LineCuts& cuts, NavigatorTree& tree, ShownLine line)
{
    const TreeItem start = text.isIndex ? tree.firstTopLevelItem() : findContentsRoot(tree);
    int32_t section = -1;
    if (start == nullptr || !findSectionAtLine(text, cuts, line, section))
        return nullptr;

    for (TreeItem item = start; item != nullptr;) {
        TreeItem next = tree.nextVisible(item);
        bool referencesSection = false;
        if (isReferencesLeaf(text, tree, next)) {
            // Walk over the references, which hold reference indexes.
            next = tree.nextSibling(item);
            referencesSection = true;
        }
        const int64_t data = tree.data(item);
        if (data != -1 && data <= section && (next == nullptr || tree.data(next) > section)) {
            const TreeItem target = referencesSection && tree.isExpanded(item)
                ? referenceAtLine(text, cuts, tree, item, line)
                : item;
            selectOnce(tree, target);
            return target;
        }
        item = next;
    }
    return nullptr;
}

int32_t pageItemForLine(const std::vector<int64_t>& itemData, FileLine line)
{
    for (std::size_t i = 0; i < itemData.size(); ++i) {
        const int64_t data = itemData[i];
        const bool last = i + 1 == itemData.size();
        if (data != -1 && data <= line.index() && (last || itemData[i + 1] > line.index()))
            return static_cast<int32_t>(i);
    }
    return -1;
}

TreeItem syncPageTree(const RfcText& text, NavigatorTree& tree, FileLine line)
{
    if (text.isIndex)
        return nullptr;
    std::vector<TreeItem> items;
    std::vector<int64_t> itemData;
    for (TreeItem item = tree.firstTopLevelItem(); item != nullptr; item = tree.nextSibling(item)) {
        items.push_back(item);
        itemData.push_back(tree.data(item));
    }
    const int32_t page = pageItemForLine(itemData, line);
    if (page < 0)
        return nullptr;
    selectOnce(tree, items[static_cast<std::size_t>(page)]);
    return items[static_cast<std::size_t>(page)];
}

} // namespace parchly
