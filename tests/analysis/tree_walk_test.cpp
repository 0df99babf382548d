// Keeping the Structure and Page trees in step with a line, over a small
// tree held in memory.
#include "analysis/tree_walk.h"

#include <gtest/gtest.h>

#include <memory>

namespace parchly {
namespace {

struct Node {
    std::string text;
    int64_t data = -1;
    Node* parent = nullptr;
    bool expanded = true;
    Node* firstChild = nullptr;
    Node* next = nullptr;
};

class MemoryTree : public NavigatorTree {
public:
    Node* add(Node* parent, const std::string& text, int64_t data)
    {
        m_nodes.push_back(std::make_unique<Node>(Node{text, data, parent}));
        Node** slot = parent ? &parent->firstChild : &m_first;
        while (*slot)
            slot = &(*slot)->next;
        return *slot = m_nodes.back().get();
    }

    TreeItem firstTopLevelItem() const override { return m_first; }
    TreeItem parent(TreeItem item) const override { return node(item)->parent; }
    TreeItem firstChild(TreeItem item) const override { return node(item)->firstChild; }
    TreeItem nextSibling(TreeItem item) const override { return node(item)->next; }
    TreeItem nextVisible(TreeItem item) const override
    {
        if (node(item)->expanded && firstChild(item))
            return firstChild(item);
        for (TreeItem at = item; at != nullptr; at = parent(at)) {
            if (TreeItem next = nextSibling(at))
                return next;
        }
        return nullptr;
    }
    bool isExpanded(TreeItem item) const override { return node(item)->expanded; }
    int64_t data(TreeItem item) const override { return node(item)->data; }
    std::string text(TreeItem item) const override { return node(item)->text; }
    bool isSelected(TreeItem item) const override { return item == selected; }
    void select(TreeItem item) override
    {
        selected = item;
        ++selections;
    }

    TreeItem selected = nullptr;
    int selections = 0;

private:
    static const Node* node(TreeItem item) { return static_cast<const Node*>(item); }
    std::vector<std::unique_ptr<Node>> m_nodes;
    Node* m_first = nullptr;
};

// Abstract; Table of Contents with 1 (1.1), 2, 3 References (two
// references), 4 Author's Address.
struct StructureFixture {
    StructureFixture()
    {
        for (const int32_t line : {10, 20, 30, 40, 60}) {
            ContentEntry entry;
            entry.headingLine = line;
            entry.matched = true;
            text.contents.push_back(entry);
        }
        text.references.resize(2);
        text.references[0].firstLine = 44;
        text.references[1].firstLine = 50;
        for (ReferenceEntry& reference : text.references)
            reference.section = 3;

        tree.add(nullptr, "Abstract", 0);
        contents = tree.add(nullptr, "Table of Contents", -1);
        introduction = tree.add(contents, "1. Introduction", 0);
        purpose = tree.add(introduction, "1. Purpose", 1);
        protocol = tree.add(contents, "2. Protocol", 2);
        references = tree.add(contents, "3. References", 3);
        first = tree.add(references, "[1]", 0);
        second = tree.add(references, "[2]", 1);
        address = tree.add(contents, "Author's Address", 4);
    }

    RfcText text;
    MemoryTree tree;
    Node *contents, *introduction, *purpose, *protocol, *references, *first, *second, *address;
};

TEST(StructureTree, SelectsTheSectionOrReferenceHoldingTheLine)
{
    StructureFixture f;
    EXPECT_EQ(findContentsRoot(f.tree), f.contents);
    EXPECT_EQ(syncStructureTree(f.text, {}, f.tree, ShownLine::atNumber(5)), nullptr)
        << "above the first section";
    EXPECT_EQ(f.tree.selections, 0);

    const std::pair<int32_t, Node*> cases[] = {{25, f.purpose},
                                               {30, f.protocol},
                                               {42, f.references} /* before the first reference */,
                                               {45, f.first},
                                               {50, f.first} /* a range ends on the next reference's line */,
                                               {52, f.second},
                                               {70, f.address} /* the last item */};
    for (const auto& [line, item] : cases)
        EXPECT_EQ(syncStructureTree(f.text, {}, f.tree, ShownLine::atNumber(line)), item) << line;
    EXPECT_EQ(f.tree.selected, f.address);

    const int before = f.tree.selections;
    syncStructureTree(f.text, {}, f.tree, ShownLine::atNumber(75));
    EXPECT_EQ(f.tree.selections, before) << "an item already selected is not selected again";

    // A collapsed parent stands for its children.
    f.introduction->expanded = false;
    f.references->expanded = false;
    EXPECT_EQ(syncStructureTree(f.text, {}, f.tree, ShownLine::atNumber(25)), f.introduction);
    EXPECT_EQ(syncStructureTree(f.text, {}, f.tree, ShownLine::atNumber(45)), f.references);
}

// The record, not the title, tells a references section: RFC 1035 heads
// its references "REFERENCES and BIBLIOGRAPHY".
TEST(StructureTree, ReferencesUnderAnyTitleAreWalkedAsReferences)
{
    StructureFixture f;
    f.references->text = "9. REFERENCES and BIBLIOGRAPHY";
    EXPECT_EQ(syncStructureTree(f.text, {}, f.tree, ShownLine::atNumber(45)), f.first);
}

// Leaves under a section the record holds no references of are its
// subsections, whatever its title.
TEST(StructureTree, LeavesOfASectionWithoutReferencesAreSections)
{
    RfcText text;
    for (const int32_t line : {10, 20, 30}) {
        ContentEntry entry;
        entry.headingLine = line;
        entry.matched = true;
        text.contents.push_back(entry);
    }
    MemoryTree tree;
    Node* contents = tree.add(nullptr, "Table of Contents", -1);
    Node* references = tree.add(contents, "1. References", 0);
    Node* normative = tree.add(references, "1.1 Normative References", 1);
    tree.add(contents, "2. Address", 2);
    EXPECT_EQ(syncStructureTree(text, {}, tree, ShownLine::atNumber(25)), normative);
}

TEST(StructureTree, IndexStartsAtTheFirstItemAndMissingRootStopsTheWalk)
{
    RfcText index;
    index.isIndex = true;
    index.indexEntries = {RfcIndexEntry{1, 10, 12, "One"}, RfcIndexEntry{2, 14, 20, "Two"}};
    MemoryTree tree;
    tree.add(nullptr, "RFC 1", 0);
    Node* two = tree.add(nullptr, "RFC 2", 1);
    EXPECT_EQ(syncStructureTree(index, {}, tree, ShownLine::atNumber(15)), two);

    StructureFixture f;
    f.contents->text = "Contents";
    EXPECT_EQ(findContentsRoot(f.tree), nullptr);
    EXPECT_EQ(syncStructureTree(f.text, {}, f.tree, ShownLine::atNumber(25)), nullptr);
}

// The page item that holds a line, passing over items without a page, and
// its selection in the tree.
TEST(PageTree, ChoosesAndSelectsThePageThatHoldsTheLine)
{
    const std::vector<int64_t> pages = {0, 15, 28};
    const std::pair<int32_t, int> cases[] = {{14, 0}, {15, 1}, {500, 2}, {-3, -1}};
    for (const auto& [line, item] : cases)
        EXPECT_EQ(pageItemForLine(pages, FileLine::atIndex(line)), item) << line;
    EXPECT_EQ(pageItemForLine({}, FileLine::atIndex(3)), -1);
    EXPECT_EQ(pageItemForLine({0, -1, 30}, FileLine::atIndex(5)), -1);
    EXPECT_EQ(pageItemForLine({0, -1, 30}, FileLine::atIndex(31)), 2);

    RfcText text;
    MemoryTree tree;
    tree.add(nullptr, "Page 1", 0);
    Node* second = tree.add(nullptr, "Page 2", 15);
    tree.add(nullptr, "Page 3", 28);
    EXPECT_EQ(syncPageTree(text, tree, FileLine::atIndex(20)), second);
    syncPageTree(text, tree, FileLine::atIndex(21));
    EXPECT_EQ(tree.selections, 1) << "an item already selected is not selected again";
    text.isIndex = true;
    EXPECT_EQ(syncPageTree(text, tree, FileLine::atIndex(1)), nullptr);
    EXPECT_EQ(tree.selected, second);
}

} // namespace
} // namespace parchly
