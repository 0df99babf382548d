#include "frame/navigator_bar.h"

#include "analysis/references.h"
#include "analysis/rfc_text.h"
#include "app/parchly_app.h"
#include "platform/dialogs.h"
#include "platform/tab_strip.h"
#include "platform/tree_view.h"

#include <QFile>
#include <cctype>

namespace parchly {

namespace {

constexpr int kNavigatorControlId = 184;
constexpr int32_t kNoTarget = -1;

// A section title without its leading number ("7. References" -> "References").
std::string titleWithoutNumber(const QString& text)
{
    const std::string bytes = text.toStdString();
    size_t start = 0;
    while (start < bytes.size() && (std::isdigit(static_cast<unsigned char>(bytes[start])) ||
                                    bytes[start] == '.' || bytes[start] == ')' ||
                                    bytes[start] == ' ' || bytes[start] == '\t'))
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
    : CSizingControlBar(QStringLiteral("Navigator"), parentFrame, QSize(180, 100), true,
                        kNavigatorControlId),
      client_(client), tabs_(new TabStrip(clientArea())), firstTree_(new TreeView(clientArea())),
      secondTree_(new TreeView(clientArea()))
{
    setObjectName(QStringLiteral("NavigatorBar"));
    tabs_->setExpanding(false);
    tabs_->setDrawBase(false);
    setUpTree(firstTree_);
    setUpTree(secondTree_);
    secondTree_->hide();

    connect(tabs_, &TabStrip::tabChangedByUser, this, &NavigatorBar::ShowNavigatorTab);
    for (TreeView* tree : {firstTree_, secondTree_})
        connect(tree, &TreeView::selectionChangedBy, this,
                [this, tree](QTreeWidgetItem* item, SelectionCause cause) { routeSelection(tree, item, cause); });
    connect(firstTree_, &QTreeWidget::itemDoubleClicked, this, [this] { openFromIndexTree(); });
}

void NavigatorBar::ShowNavigatorTab(int tab)
{
    const RfcText* text = client_.navigatorText();
    if (text && text->isIndex)
        return;
    firstTree_->setVisible(tab == 0);
    secondTree_->setVisible(tab != 0);
    client_.navigatorTabShown();
}

void NavigatorBar::layoutClient(const QSize& clientSize)
{
    const int tabHeight = clientSize.height() < kTabStripHeight + 1 ? clientSize.height() : kTabStripHeight;
    tabs_->setGeometry(0, 0, clientSize.width(), tabHeight);
    const QRect treeRect(0, tabHeight, clientSize.width(), clientSize.height() - tabHeight);
    firstTree_->setGeometry(treeRect);
    secondTree_->setGeometry(treeRect);
}

void NavigatorBar::routeSelection(TreeView* tree, QTreeWidgetItem* item, SelectionCause cause)
{
    // The view follows the caret by selecting items itself; only the user's
    // choice moves the view.
    if (cause == SelectionCause::Program || !item)
        return;
    const RfcText* text = client_.navigatorText();
    const int32_t data = tree->GetItemData(item);
    if (!text || data == kNoTarget)
        return;

    if (!tree->GetParent(item)) {
        if (text->isIndex)
            client_.goToContentsEntry(data);
        else if (tabs_->GetSelectedTab() != 0)
            client_.goToFileLine(data);
        else
            client_.goToSectionHeading(data);
        return;
    }
    if (tree == secondTree_) {
        client_.goToContentsEntry(data);
        return;
    }
    const bool underReferences = isReferencesTitle(titleWithoutNumber(tree->GetItemText(tree->GetParent(item))));
    if (underReferences && !tree->GetChild(item)) {
        // A reference entry; an index outside the list leads nowhere.
        if (data >= 0 && data < static_cast<int32_t>(text->references.size()))
            client_.goToFileLine(text->references[data].firstLine);
        return;
    }
    client_.goToContentsEntry(data);
}

void NavigatorBar::openFromIndexTree()
{
    const RfcText* text = client_.navigatorText();
    CParchlyApp* app = CParchlyApp::instance();
    if (!text || !text->isIndex || !app)
        return;
    QTreeWidgetItem* item = firstTree_->GetSelected();
    if (!item || firstTree_->GetChild(item))
        return;
    const int32_t data = firstTree_->GetItemData(item);
    if (data < 0 || data >= static_cast<int32_t>(text->indexEntries.size()))
        return;
    const std::string path = rfcPath(app->settings().RfcRootPath, text->indexEntries[data].number);
    if (canOpenForReading(path))
        app->OpenDocumentFile(QFile::decodeName(path.c_str()));
    else
        dialogs().message(this, QFile::decodeName(path.c_str()) + QStringLiteral(" does NOT exist!"));
}

} // namespace parchly
