// The Navigator of a document window: a tab strip over two trees. For an RFC
// the tabs are "Structure" (first tree) and "Page" (second tree); for the RFC
// index the single tab "Index" shows the first tree. The bar turns the
// user's choices in the trees into moves of the document's view.
#ifndef PARCHLY_FRAME_NAVIGATOR_BAR_H
#define PARCHLY_FRAME_NAVIGATOR_BAR_H

#include "ui/dock_bar.h"
#include "view/view_host.h"

#include <QTreeWidgetItem>
#include <vector>

namespace parchly {

struct RfcText;
class TabStrip;
class TreeView;
enum class SelectionCause;

// What the Navigator asks of the window it belongs to.
class NavigatorClient {
public:
    virtual ~NavigatorClient() = default;

    // The analysis of the window's document; null while there is none.
    virtual const RfcText* navigatorText() const = 0;

    virtual void goToSectionHeading(int heading) = 0;
    virtual void goToContentsEntry(int entry) = 0;
    virtual void goToFileLine(int line) = 0;

    // A tab was shown: select the caret's item and show the mode.
    virtual void navigatorTabShown() = 0;

    // An entry of the Index tree was chosen: open the file of RFC `number`,
    // or say that it does not exist.
    virtual void openIndexedRfc(int number) = 0;

    // A requirement of the Requirements tree was chosen.
    virtual void goToRequirement(int /*index*/) { }
};

class NavigatorBar : public DockBar {
    Q_OBJECT
public:
    static constexpr int kTabStripHeight = 22;

    NavigatorBar(QWidget* parentFrame, NavigatorClient& client);

    TabStrip* tabs() const { return m_tabs; }
    TreeView* firstTree() const { return m_firstTree; }
    TreeView* secondTree() const { return m_secondTree; }
    NavigatorTrees trees() const { return {m_firstTree, m_secondTree, m_tabs, m_requirementsTree}; }
    TreeView* requirementsTree() const { return m_requirementsTree; }

    // Shows the tree of `tab` (0 the first, any other the second); nothing
    // for the RFC index.
    void showNavigatorTab(int tab);

    // A tab after those of the trees ("Cited by") whose page stands in
    // place of the trees while it is current.
    void addPage(const QString& title, QWidget* page);
    // Brings the tab of an added page to the front.
    void showPage(QWidget* page);

protected:
    void layoutClient(const QSize& clientSize) override;

private:
    void routeSelection(TreeView* tree, QTreeWidgetItem* item, SelectionCause cause);
    void openFromIndexTree();

    NavigatorClient& m_client;
    TabStrip* m_tabs;
    TreeView* m_firstTree;
    TreeView* m_secondTree;
    TreeView* m_requirementsTree;
    std::vector<QWidget*> m_pages; // of the tabs after the three trees
};

} // namespace parchly

#endif
