// The Navigator's Structure and Page trees of an RFC: filling them, going
// to a chosen item and following the caret.
#include "analysis/line_mapping.h"
#include "analysis/tree_walk.h"
#include "index/index_tree.h"
#include "index/index_view.h"
#include "settings/settings.h"
#include "platform/tab_strip.h"
#include "platform/text_decoding.h"
#include "platform/tree_images.h"
#include "platform/tree_view.h"
#include "view/navigator_tree_adapter.h"
#include "view/reading_view.h"
#include "view/rfc_document.h"
#include "view/tree_building.h"
#include "view/view_host.h"

#include <algorithm>
#include <cstdlib>

namespace parchly {

namespace {

// Replaces the items of `tree` with the nodes of `model`, all drawn with
// `image`, and makes the model's selections.
void fillTree(TreeView& tree, const TreeModel& model, int image)
{
    tree.clear();
    tree.setImageList(treeImages());
    std::vector<TreeView::Item> items;
    items.reserve(model.nodes.size());
    for (const TreeNode& node : model.nodes) {
        TreeView::Item item =
            tree.insertItem(node.parent < 0 ? nullptr : items[size_t(node.parent)], node.label);
        tree.setItemData(item, node.data);
        tree.setItemImages(item, image, image + 1);
        items.push_back(item);
    }
    for (int selected : model.selections)
        tree.selectItem(items[size_t(selected)]);
}

} // namespace

void ReadingView::fillStructureTree(TreeView* tree)
{
    if (tree)
        fillTree(*tree, structureTree(rfc(), settings().HideInvalidContentEntryInTreeView), kStructureImage);
}

void ReadingView::fillPageTree(TreeView* tree)
{
    if (tree)
        fillTree(*tree, pageTree(rfc()), kPageImage);
}

void ReadingView::fillRequirementsTree(TreeView* tree)
{
    if (tree)
        fillTree(*tree, requirementsTree(rfc()), kStructureImage);
}

void ReadingView::goToRequirement(int index)
{
    const RfcText& text = rfc();
    if (index < 0 || size_t(index) >= text.requirements.size())
        return;
    const RequirementSentence& requirement = text.requirements[size_t(index)];
    const int line = m_document->shownLineOf(FileLine::atIndex(requirement.sentenceLine)).index();
    const int start = lineStart(line);
    if (line < 0 || start < 0)
        return;
    const int position = start + charColumn(line, requirement.sentenceColumn);
    setSelection(position, position);
    placeInUpperThird(line);
    caretMoved();
    recordPosition();
}

void ReadingView::showLineAtTop(int line)
{
    const int start = lineStart(line);
    if (start >= 0)
        setSelection(start, start);
    // After the caret, whose move scrolls only as far as needed.
    scrollLines(line - firstVisibleLine());
    caretMoved();
}

void ReadingView::goToSectionHeading(int heading)
{
    const RfcText& text = rfc();
    if (heading < 0 || size_t(heading) >= text.headings.size())
        return;
    // A heading before the text (line 0) leads to the top.
    const FileLine line = FileLine::atNumber(std::max(text.headings[size_t(heading)].line, 1));
    showLineAtTop(m_document->shownLineOf(line).index());
    recordPosition();
}

void ReadingView::goToContentsEntry(int entry)
{
    const RfcText& text = rfc();
    // The index is shown whole: its lines are the file's.
    ShownLine target = ShownLine::atIndex(-1);
    if (text.isIndex) {
        if (entry >= 0 && size_t(entry) < text.indexEntries.size())
            target = ShownLine::atNumber(text.indexEntries[size_t(entry)].firstLine);
    } else if (entry >= 0 && size_t(entry) < text.contents.size()) {
        target = m_document->shownLineOf(FileLine::atNumber(text.contents[size_t(entry)].headingLine));
    }
    if (target.index() < 0)
        return;
    showLineAtTop(target.index());
    updateCurrentIndexEntry(-1);
    recordPosition();
}

void ReadingView::goToFileLine(int line)
{
    const int shown = firstShownLineFrom(rfc(), cuts(), FileLine::atIndex(line)).index();
    if (shown < 0 || shown >= lineCount())
        return;
    showLineAtTop(shown);
    recordPosition();
}

void ReadingView::selectNavigatorNode()
{
    const NavigatorTrees trees = m_host->navigator();
    const int tab = trees.tabs ? trees.tabs->currentIndex() : 0;
    // The requirements are chosen, not followed: the caret leaves them be;
    // the frame's own pages after them have no tree to follow it.
    if (tab >= kRequirementsTab && !rfc().isIndex)
        return;
    TreeView* tree = tab != 0 ? trees.pageTree : trees.structureTree;
    if (!tree)
        return;
    const RfcText& text = rfc();
    const int line = lineFromPosition(selectedRange().end);
    if (text.isIndex && m_index) {
        // The index's groups are opened down to the entry: a found entry
        // must be seen in the tree, not hidden in a closed group.
        selectIndexTreeEntry(trees.structureTree, m_index->entryAtLine(line));
        return;
    }
    NavigatorTreeAdapter adapter(*tree);
    if (!text.isIndex && tab != 0)
        syncPageTree(text, adapter, m_document->fileLineOf(ShownLine::atIndex(line)));
    else
        syncStructureTree(text, cuts(), adapter, ShownLine::atIndex(line));
}

void ReadingView::showNavigatorMode()
{
    QString mode = QStringLiteral("Structure View");
    if (rfc().isIndex)
        mode = QStringLiteral("Index View");
    else if (const NavigatorTrees trees = m_host->navigator();
             trees.tabs && trees.tabs->currentIndex() == kRequirementsTab)
        mode = QStringLiteral("Requirements View");
    else if (trees.tabs && trees.tabs->currentIndex() == 1)
        mode = QStringLiteral("Page View");
    else if (trees.tabs && trees.tabs->currentIndex() > 1)
        mode = trees.tabs->tabText(trees.tabs->currentIndex()); // a page of the frame's: "Cited by"
    m_host->setModePane(mode);
}

} // namespace parchly
