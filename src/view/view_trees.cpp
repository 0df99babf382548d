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
#include "view/view_host.h"

#include <algorithm>
#include <cstdlib>

namespace parchly {

namespace {

constexpr size_t kTitleLimit = 256;
constexpr size_t kNumberLimit = 16;

// At most `limit` bytes of `bytes`, cut between characters of UTF-8 text,
// decoded as the shown text is.
QString treeText(const std::string& bytes, size_t limit)
{
    size_t length = std::min(bytes.size(), limit);
    if (length < bytes.size() && isValidUtf8(bytes)) {
        while (length > 0 && (static_cast<unsigned char>(bytes[length]) & 0xC0) == 0x80)
            --length;
    }
    return decodeRfcText(std::string_view(bytes).substr(0, length)).text;
}

bool startsWithDigit(const std::string& text)
{
    return !text.empty() && text[0] >= '0' && text[0] <= '9';
}

// Whether section `parent` holds section `child`: its number followed by a
// "." (or the same number again).
bool holdsSection(const std::string& parent, const std::string& child)
{
    return !parent.empty() && child.compare(0, parent.size(), parent) == 0 &&
           (child.size() == parent.size() || child[parent.size()] == '.');
}

QString entryLabel(const ContentEntry& entry, const ContentEntry* parentEntry)
{
    const QString title = treeText(entry.title, kTitleLimit);
    const std::string& number = entry.number;
    if (number.empty())
        return title;
    if (!parentEntry) {
        if (startsWithDigit(number)) {
            const size_t dot = number.rfind('.');
            const int last = std::atoi(number.c_str() + (dot == std::string::npos ? 0 : dot + 1));
            return QStringLiteral("%1. %2").arg(last).arg(title);
        }
        return QStringLiteral("%1. %2").arg(treeText(number, kNumberLimit), title);
    }
    const std::string& parentNumber = parentEntry->number;
    if (number.size() <= parentNumber.size())
        return title;
    size_t from = parentNumber.size();
    if (number[from] == '.')
        ++from;
    return QStringLiteral("%1. %2").arg(treeText(number.substr(from), kNumberLimit), title);
}

// Entries numbered 1, 2, 3, ... right after an entry with a (non-zero)
// number are its subsections, numbered relative to it: they get its number
// in front of theirs.
void renumberRelativeEntries(std::vector<ContentEntry>& contents, size_t first)
{
    if (first == 0 || contents[first].number != "1")
        return;
    const std::string base = contents[first - 1].number;
    if (!startsWithDigit(base) || std::atoi(base.c_str()) == 0)
        return;
    int expected = 1;
    for (size_t k = first; k < contents.size() && contents[k].number == std::to_string(expected); ++k, ++expected)
        contents[k].number = base + "." + contents[k].number;
}

TreeView::Item addItem(TreeView& tree, TreeView::Item parent, const QString& text, int32_t data, int image)
{
    TreeView::Item item = tree.insertItem(parent, text);
    tree.setItemData(item, data);
    tree.setItemImages(item, image, image + 1);
    return item;
}

} // namespace

void ReadingView::fillStructureTree(TreeView* tree)
{
    if (!tree)
        return;
    tree->clear();
    tree->setImageList(treeImages());
    RfcText& text = rfc();
    TreeView::Item contentsItem = nullptr;
    TreeView::Item abstractItem = nullptr;

    if (!text.structureFromText) {
        for (size_t i = 0; i < text.headings.size(); ++i) {
            const std::string& title = text.headings[i].title;
            TreeView::Item item = addItem(*tree, nullptr, treeText(title, kTitleLimit), int32_t(i), kStructureImage);
            if (title == "Abstract")
                abstractItem = item;
            if (title == "Table of Contents") {
                contentsItem = item;
                break;
            }
        }
    }
    if (!contentsItem && !text.contents.empty())
        contentsItem = addItem(*tree, nullptr, QStringLiteral("Table of Contents"), -1, kStructureImage);

    const bool hideInvalid = settings().HideInvalidContentEntryInTreeView;
    TreeView::Item lastEntryItem = nullptr;
    TreeView::Item firstEntryItem = nullptr;
    size_t nextReference = 0;
    for (size_t k = 0; k < text.contents.size(); ++k) {
        if (hideInvalid && text.contents[k].headingLine < 1)
            continue;
        renumberRelativeEntries(text.contents, k);
        const ContentEntry& entry = text.contents[k];

        TreeView::Item parent = contentsItem;
        if (!entry.number.empty()) {
            for (TreeView::Item walk = lastEntryItem; walk && walk != contentsItem; walk = tree->parentItem(walk)) {
                if (holdsSection(text.contents[size_t(tree->itemData(walk))].number, entry.number)) {
                    parent = walk;
                    break;
                }
            }
        }
        const ContentEntry* parentEntry =
            parent == contentsItem ? nullptr : &text.contents[size_t(tree->itemData(parent))];
        TreeView::Item item = addItem(*tree, parent, entryLabel(entry, parentEntry), int32_t(k), kStructureImage);
        lastEntryItem = item;
        if (!firstEntryItem) {
            firstEntryItem = item;
            tree->selectItem(item);
        }
        if (text.structureFromText && !abstractItem && entry.title == "Abstract")
            abstractItem = item;

        for (; nextReference < text.references.size() && text.references[nextReference].section == int32_t(k);
             ++nextReference) {
            const ReferenceEntry& reference = text.references[nextReference];
            QString label = treeText(reference.label, text.referencesWithoutTitles ? kTitleLimit : kNumberLimit);
            if (!text.referencesWithoutTitles)
                label += QLatin1Char(' ') + treeText(reference.title, kTitleLimit);
            addItem(*tree, item, label, int32_t(nextReference), kStructureImage);
        }
    }
    if (TreeView::Item chosen = abstractItem ? abstractItem : contentsItem)
        tree->selectItem(chosen);
}

void ReadingView::fillPageTree(TreeView* tree)
{
    if (!tree)
        return;
    tree->clear();
    tree->setImageList(treeImages());
    const std::vector<int32_t>& pageEnds = rfc().pageEnds;
    for (size_t k = 0; k + 1 < pageEnds.size(); ++k)
        addItem(*tree, nullptr, QStringLiteral("Page %1").arg(k + 1), pageEnds[k] + 1, kPageImage);
}

void ReadingView::showLineAtTop(int line)
{
    scrollLines(line - firstVisibleLine());
    const int start = lineStart(line);
    if (start >= 0)
        setSelection(start, start);
}

void ReadingView::goToSectionHeading(int heading)
{
    const RfcText& text = rfc();
    if (heading < 0 || size_t(heading) >= text.headings.size())
        return;
    int line = fileLineToDisplay(text, text.headings[size_t(heading)].line);
    if (line != 0)
        --line;
    showLineAtTop(line);
    recordPosition();
}

void ReadingView::goToContentsEntry(int entry)
{
    const RfcText& text = rfc();
    int target = 0;
    if (text.isIndex) {
        if (entry >= 0 && size_t(entry) < text.indexEntries.size())
            target = text.indexEntries[size_t(entry)].firstLine;
    } else if (entry >= 0 && size_t(entry) < text.contents.size()) {
        target = fileLineToDisplay(text, text.contents[size_t(entry)].headingLine);
    }
    if (target <= 0)
        return;
    showLineAtTop(target - 1);
    updateCurrentIndexEntry(-1);
    recordPosition();
}

void ReadingView::goToFileLine(int line)
{
    const int shown = fileLineToDisplay(rfc(), line);
    if (shown < 0 || shown >= lineCount())
        return;
    showLineAtTop(shown);
    recordPosition();
}

void ReadingView::selectNavigatorNode()
{
    const NavigatorTrees trees = m_host->navigator();
    const int tab = trees.tabs ? trees.tabs->currentIndex() : 0;
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
        syncPageTree(text, adapter, displayLineToFile(text, line));
    else
        syncStructureTree(text, adapter, line + 1);
}

void ReadingView::showNavigatorMode()
{
    QString mode = QStringLiteral("Structure View");
    if (rfc().isIndex)
        mode = QStringLiteral("Index View");
    else if (const NavigatorTrees trees = m_host->navigator(); trees.tabs && trees.tabs->currentIndex() != 0)
        mode = QStringLiteral("Page View");
    m_host->setModePane(mode);
}

} // namespace parchly
