#include "frame/navigator_bar.h"

#include "analysis/references.h"
#include "analysis/rfc_text.h"
#include "analysis/tree_walk.h"
#include "index/index_tree.h"
#include "index/index_view.h"
#include "platform/tab_strip.h"
#include "platform/tree_images.h"
#include "platform/tree_view.h"
#include "settings/settings.h"
#include "view/navigator_tree_adapter.h"
#include "view/rfc_document.h"
#include "view/tree_building.h"

#include <algorithm>

namespace parchly {

namespace {

constexpr int32_t kNoTarget = -1;

void setUpTree(TreeView* tree)
{
    tree->setFrameShape(QFrame::StyledPanel);
    tree->setFrameShadow(QFrame::Sunken);
    tree->setFocusPolicy(Qt::StrongFocus);
}

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

// The titles of the tabs an RFC's Navigator shows; "Cited by" and "Errata"
// are the frame's pages after the three trees.
const char* const kRfcTabTitles[] = {"Structure", "Page", "Requirements", "Cited by", "Errata"};

// A width at which every tab of an RFC's Navigator is shown whole, not
// behind the tab strip's scroll arrows, with room for a title beside it.
int widthShowingEveryTab()
{
    TabStrip probe;
    for (const char* title : kRfcTabTitles)
        probe.addTab(QString::fromLatin1(title));
    return probe.sizeHint().width() + 16;
}

} // namespace

NavigatorBar::NavigatorBar(QWidget* parentFrame, RfcDocument& document, const RfcSettings& settings)
    : DockBar(QStringLiteral("Navigator"), parentFrame, QSize(widthShowingEveryTab(), 100), true)
    , m_document(document)
    , m_settings(settings)
    , m_tabs(new TabStrip(clientArea()))
    , m_firstTree(new TreeView(clientArea()))
    , m_secondTree(new TreeView(clientArea()))
    , m_requirementsTree(new TreeView(clientArea()))
{
    setObjectName(QStringLiteral("NavigatorBar"));
    m_tabs->setExpanding(false);
    m_tabs->setDrawBase(false);
    setUpTree(m_firstTree);
    setUpTree(m_secondTree);
    m_secondTree->hide();
    setUpTree(m_requirementsTree);
    m_requirementsTree->hide();
    connect(m_requirementsTree, &TreeView::selectionChangedBy, this,
            [this](QTreeWidgetItem* item, SelectionCause cause) {
                if (cause != SelectionCause::Program && item && m_requirementsTree->itemData(item) >= 0)
                    m_document.goToRequirement(m_requirementsTree->itemData(item));
            });
    connect(m_requirementsTree, &QTreeWidget::itemClicked, this, &NavigatorBar::stepThroughKeyword);
    connect(&m_document, &RfcDocument::loaded, this, &NavigatorBar::fillTrees);
    connect(&m_document, &RfcDocument::formatsChanged, this, &NavigatorBar::fillTrees);
    connect(&m_document, &RfcDocument::currentPositionChanged, this, &NavigatorBar::followLine);

    connect(m_tabs, &TabStrip::tabChangedByUser, this, &NavigatorBar::showNavigatorTab);
    for (TreeView* tree : {m_firstTree, m_secondTree})
        connect(
            tree, &TreeView::selectionChangedBy, this,
            [this, tree](QTreeWidgetItem* item, SelectionCause cause) { routeSelection(tree, item, cause); });
    connect(m_firstTree, &QTreeWidget::itemDoubleClicked, this, [this] { openFromIndexTree(); });
}

void NavigatorBar::fillTrees()
{
    RfcText& text = m_document.text();
    if (text.isIndex) {
        fillIndexTree(m_firstTree, text, m_settings.IndexLevelCounts);
        if (!m_tabsAdded)
            m_tabs->insertDataTab(0, QStringLiteral("Index"), 0);
        m_tabsAdded = true;
        return;
    }
    fillTree(*m_firstTree, structureTree(text, m_settings.HideInvalidContentEntryInTreeView),
             kStructureImage);
    fillTree(*m_secondTree, pageTree(text), kPageImage);
    fillTree(*m_requirementsTree, parchly::requirementsTree(text), kStructureImage);
    if (!m_tabsAdded) {
        m_tabs->insertDataTab(0, QStringLiteral("Structure"), 0);
        m_tabs->insertDataTab(1, QStringLiteral("Page"), 1);
        m_tabs->insertDataTab(kRequirementsTab, QStringLiteral("Requirements"), kRequirementsTab);
        m_tabsAdded = true;
    }
}

void NavigatorBar::followLine(ShownLine line)
{
    const RfcText& text = m_document.text();
    const int tab = m_tabs->currentIndex();
    if (text.isIndex) {
        // The index's groups are opened down to the entry: a found entry
        // must be seen in the tree, not hidden in a closed group.
        selectIndexTreeEntry(m_firstTree, indexEntryAtLine(text, line.index()));
        return;
    }
    // The requirements are chosen, not followed: the caret leaves them be;
    // the frame's own pages after them have no tree to follow it.
    if (tab >= kRequirementsTab)
        return;
    // An item that no longer holds the line must not stay selected: it would
    // tell the reader they are in the section they left.
    if (tab != 0) {
        NavigatorTreeAdapter pages(*m_secondTree);
        if (!syncPageTree(text, pages, m_document.fileLineOf(line)))
            m_secondTree->selectItem(nullptr);
        return;
    }
    NavigatorTreeAdapter structure(*m_firstTree);
    if (!syncStructureTree(text, m_document.cuts(), structure, line))
        m_firstTree->selectItem(frontMatterItemAt(m_document.fileLineOf(line)));
}

QTreeWidgetItem* NavigatorBar::frontMatterItemAt(FileLine line) const
{
    // The headings before the contents ("Abstract", "Status of This Memo")
    // are top-level items whose data is the heading's index.
    const RfcText& text = m_document.text();
    QTreeWidgetItem* holding = nullptr;
    for (int i = 0; i < m_firstTree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_firstTree->topLevelItem(i);
        const int32_t heading = m_firstTree->itemData(item);
        if (text.structureFromText || heading < 0 || heading >= int32_t(text.headings.size()))
            break;
        if (FileLine::atNumber(text.headings[size_t(heading)].line).index() > line.index())
            break;
        holding = item;
    }
    return holding;
}

QString NavigatorBar::mode() const
{
    if (m_document.text().isIndex)
        return QStringLiteral("Index View");
    const int tab = m_tabs->currentIndex();
    if (tab == kRequirementsTab)
        return QStringLiteral("Requirements View");
    if (tab > kRequirementsTab)
        return m_tabs->tabText(tab); // a page of the frame's: "Cited by"
    if (tab != 0)
        return QStringLiteral("Page View");
    return QStringLiteral("Structure View");
}

void NavigatorBar::showNavigatorTab(int tab)
{
    if (m_document.text().isIndex)
        return;
    // The added pages' tabs follow the three trees' tabs.
    const int page = tab - (kRequirementsTab + 1);
    for (size_t i = 0; i < m_pages.size(); ++i)
        m_pages[i]->setVisible(int(i) == page);
    if (page >= 0 && page < int(m_pages.size())) {
        m_firstTree->hide();
        m_secondTree->hide();
        m_requirementsTree->hide();
        emit modeChanged(mode()); // the mode pane names the page
        return;
    }
    m_firstTree->setVisible(tab == 0);
    m_secondTree->setVisible(tab != 0 && tab != kRequirementsTab);
    m_requirementsTree->setVisible(tab == kRequirementsTab);
    followLine(m_document.currentLine());
    emit modeChanged(mode());
}

void NavigatorBar::layoutClient(const QSize& clientSize)
{
    const int tabHeight = clientSize.height() < kTabStripHeight + 1 ? clientSize.height() : kTabStripHeight;
    m_tabs->setGeometry(0, 0, clientSize.width(), tabHeight);
    const QRect treeRect(0, tabHeight, clientSize.width(), clientSize.height() - tabHeight);
    m_firstTree->setGeometry(treeRect);
    m_secondTree->setGeometry(treeRect);
    m_requirementsTree->setGeometry(treeRect);
    for (QWidget* page : m_pages)
        page->setGeometry(treeRect);
}

void NavigatorBar::addPage(const QString& title, QWidget* page)
{
    page->setParent(clientArea());
    page->hide();
    m_pages.push_back(page);
    m_tabs->insertDataTab(m_tabs->count(), title, m_tabs->count());
    layoutClient(clientArea()->size());
}

void NavigatorBar::showPage(QWidget* page)
{
    const auto at = std::find(m_pages.begin(), m_pages.end(), page);
    if (at == m_pages.end())
        return;
    const int tab = kRequirementsTab + 1 + int(at - m_pages.begin());
    m_tabs->selectTab(tab);
    showNavigatorTab(tab);
}

void NavigatorBar::routeSelection(TreeView* tree, QTreeWidgetItem* item, SelectionCause cause)
{
    // The view follows the caret by selecting items itself; only the user's
    // choice moves the view.
    if (cause == SelectionCause::Program || !item)
        return;
    const RfcText& text = m_document.text();
    const int32_t data = tree->itemData(item);
    if (data == kNoTarget)
        return;

    if (!tree->parentItem(item)) {
        if (text.isIndex)
            m_document.goToContentsEntry(data);
        else if (m_tabs->currentIndex() != 0)
            m_document.goToFileLine(FileLine::atIndex(data));
        else
            m_document.goToSectionHeading(data);
        return;
    }
    if (tree == m_secondTree) {
        m_document.goToContentsEntry(data);
        return;
    }
    const bool underReferences = holdsReferences(text, tree->itemData(tree->parentItem(item)));
    if (underReferences && !tree->firstChild(item)) {
        // A reference entry; an index outside the list leads nowhere.
        if (data >= 0 && data < static_cast<int32_t>(text.references.size()))
            m_document.goToFileLine(FileLine::atIndex(text.references[data].firstLine));
        return;
    }
    m_document.goToContentsEntry(data);
}

void NavigatorBar::stepThroughKeyword(QTreeWidgetItem* item)
{
    const char* keyword = keywordOfRow(m_requirementsTree->itemData(item));
    if (!keyword)
        return;
    m_requirementsTree->expandItem(item); // the row lists its sentences
    // Each click goes on to the keyword's next sentence after the reading
    // position, from the last round to the first.
    const std::vector<RequirementSentence>& requirements = m_document.text().requirements;
    const int32_t here = m_document.fileLineOf(m_document.currentLine()).index();
    int first = -1;
    int next = -1;
    for (size_t i = 0; i < requirements.size() && next < 0; ++i) {
        if (requirements[i].keyword != keyword)
            continue;
        if (first < 0)
            first = int(i);
        const int32_t line = requirements[i].sentenceLine;
        if (line > here || (line == here && int(i) > m_lastStep))
            next = int(i);
    }
    m_lastStep = next >= 0 ? next : first;
    m_document.goToRequirement(m_lastStep);
}

void NavigatorBar::openFromIndexTree()
{
    const RfcText& text = m_document.text();
    if (!text.isIndex)
        return;
    QTreeWidgetItem* item = m_firstTree->currentItem();
    if (!item || m_firstTree->firstChild(item))
        return;
    const int32_t data = m_firstTree->itemData(item);
    if (data < 0 || data >= static_cast<int32_t>(text.indexEntries.size()))
        return;
    emit rfcChosen(text.indexEntries[data].number);
}

} // namespace parchly
