// The Index tree of the RFC index's Navigator: the entries grouped into
// ranges of RFC numbers, level by level, with one leaf per entry.
#ifndef PARCHLY_INDEX_INDEX_TREE_H
#define PARCHLY_INDEX_INDEX_TREE_H

#include <cstdint>
#include <vector>

namespace parchly {

class TreeView;
struct RfcText;

// Empties `tree` and fills it from the index's entries: groups with images
// 2/3 whose data is the index of the entry that made them (0 for the very
// first group), leaves "%04d: title" with images 4/5 and the entry's index.
// Entries with an empty title are passed over; without counts the tree
// stays empty.
void fillIndexTree(TreeView* tree, const RfcText& index, const std::vector<int32_t>& levelCounts);

// Selects the leaf of entry `entry` (or, for an entry without a leaf, the
// group it falls in), opening the groups down to it; nothing for -1.
void selectIndexTreeEntry(TreeView* tree, int32_t entry);

} // namespace parchly

#endif
