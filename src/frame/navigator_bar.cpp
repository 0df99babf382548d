#include "frame/navigator_bar.h"

#include "analysis/references.h"
#include "analysis/rfc_text.h"
#include "platform/dialogs.h"
#include "platform/tab_strip.h"
#include "platform/tree_view.h"

#include <QFile>
#include <cctype>

namespace parchly {

namespace {

constexpr int32_t kNoTarget = -1;

// A section title without its leading number ("7. References" -> "References").
std::string titleWithoutNumber(const QString& text)
{
    const std::string bytes = text.toStdString();
    size_t start = 0;
    while (start < bytes.size()
           && (std::isdigit(static_cast<unsigned char>(bytes[start])) || bytes[start] == '.'
               || bytes[start] == ')' || bytes[start] == ' ' || bytes[start] == '\t'))
        ++start;
    return bytes.substr(start);
}

void setUpTree(TreeView* tree)
{
    tree->setFrameShape(QFrame::StyledPanel);
    tree->setFrameShadow(QFrame::Sunken);
    tree->setFocusPolicy(Qt::StrongFocus);
}

} // namespace

NavigatorBar::NavigatorBar(QWidget* parentFrame, NavigatorClient& client)
    : DockBar(QStringLiteral("Navigator"), parentFrame, QSize(180, 100), true)
    , m_client(client)
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
                    m_client.goToRequirement(m_requirementsTree->itemData(item));
            });

    connect(m_tabs, &TabStrip::tabChangedByUser, this, &NavigatorBar::showNavigatorTab);
    for (TreeView* tree : {m_firstTree, m_secondTree})
        connect(
            tree, &TreeView::selectionChangedBy, this,
            [this, tree](QTreeWidgetItem* item, SelectionCause cause) { routeSelection(tree, item, cause); });
    connect(m_firstTree, &QTreeWidget::itemDoubleClicked, this, [this] { openFromIndexTree(); });
}

void NavigatorBar::showNavigatorTab(int tab)
{
    const RfcText* text = m_client.navigatorText();
    if (text && text->isIndex)
        return;
    // The added pages' tabs follow the three trees' tabs.
    const int page = tab - (kRequirementsTab + 1);
    for (size_t i = 0; i < m_pages.size(); ++i)
        m_pages[i]->setVisible(int(i) == page);
    if (page >= 0 && page < int(m_pages.size())) {
        m_firstTree->hide();
        m_secondTree->hide();
        m_requirementsTree->hide();
        m_client.navigatorTabShown(); // the mode pane names the page
        return;
    }
    m_firstTree->setVisible(tab == 0);
    m_secondTree->setVisible(tab != 0 && tab != kRequirementsTab);
    m_requirementsTree->setVisible(tab == kRequirementsTab);
    m_client.navigatorTabShown();
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

void NavigatorBar::routeSelection(TreeView* tree, QTreeWidgetItem* item, SelectionCause cause)
{
    // The view follows the caret by selecting items itself; only the user's
    // choice moves the view.
    if (cause == SelectionCause::Program || !item)
        return;
    const RfcText* text = m_client.navigatorText();
    const int32_t data = tree->itemData(item);
    if (!text || data == kNoTarget)
        return;

    if (!tree->parentItem(item)) {
        if (text->isIndex)
            m_client.goToContentsEntry(data);
        else if (m_tabs->currentIndex() != 0)
            m_client.goToFileLine(data);
        else
            m_client.goToSectionHeading(data);
        return;
    }
    if (tree == m_secondTree) {
        m_client.goToContentsEntry(data);
        return;
    }
    const bool underReferences =
        isReferencesTitle(titleWithoutNumber(tree->itemText(tree->parentItem(item))));
    if (underReferences && !tree->firstChild(item)) {
        // A reference entry; an index outside the list leads nowhere.
        if (data >= 0 && data < static_cast<int32_t>(text->references.size()))
            m_client.goToFileLine(text->references[data].firstLine);
        return;
    }
    m_client.goToContentsEntry(data);
}

void NavigatorBar::openFromIndexTree()
{
    const RfcText* text = m_client.navigatorText();
    if (!text || !text->isIndex)
        return;
    QTreeWidgetItem* item = m_firstTree->currentItem();
    if (!item || m_firstTree->firstChild(item))
        return;
    const int32_t data = m_firstTree->itemData(item);
    if (data < 0 || data >= static_cast<int32_t>(text->indexEntries.size()))
        return;
    m_client.openIndexedRfc(text->indexEntries[data].number);
}

} // namespace parchly
